#pragma once

// CVexloPropPage: the control's own property page, "General" (dialog 200, 250 x 110 dialog
// units). Each box is bound to the property of its name through a PropertyPageSite:
//
//   201 "&Enabled" enabled        202 "&Show file" ShowFile        230 "A&utoComplete"
//   206 "&IncludeUrls"            208 "Show&OverlayIcons"          210 "Show&VirtualFolders"
//   203 "&Dropdown lines :" DropDownLines, 1 to 100, with its up-down 213
//   207 "I&ndent :" Indent, 0 to 100, with its up-down 214           205 "Show&FullPath"
//   217 "&Tooltip Type:" TooltipType: "None", "Path", "Shell InfoTip", "Both" (index = value)
//   218 "S&howDrivesOnly"          219 "AutoU&pdate"                211 "&About..." the about box
//
// Each control's object name is its property's ("About" for the button) and its "controlId"
// property its number. Applying validates the two numbers against their ranges first: a value
// outside is refused (a message says so and the box takes the focus) and nothing is written.

#include "vexlo/vexloexport.h"

#include <QtWidgets/QWidget>

class QCheckBox;
class QComboBox;

namespace vexlo {

class PropertyPageSite;
class UpDownBox;

class VEXLO_EXPORT CVexloPropPage : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWidthUnits = 250; // dialog units
    static constexpr int kHeightUnits = 110;

    explicit CVexloPropPage(PropertyPageSite &pSite, QWidget *pParent = nullptr);

    // "General"
    static QString title();

    // Shows the site's current values.
    void load();
    // Writes every value to the site; false, writing nothing, when a number is out of range.
    bool apply();
    // The refusal of the last apply ("" when it went through).
    QString refusal() const { return m_refusal; }

    QSize sizeHint() const override;

signals:
    // A box was changed since the last load or apply.
    void changed();

private:
    QCheckBox *addCheck(int pId, const QString &pText, const char *pProperty);
    UpDownBox *addNumber(int pId, int pSpinId, const char *pProperty, int pMinimum, int pMaximum);
    bool accepts(UpDownBox *pBox);

    PropertyPageSite &m_site;
    QList<QCheckBox *> m_checks;
    UpDownBox *m_dropDownLines = nullptr;
    UpDownBox *m_indent = nullptr;
    QComboBox *m_tooltipType = nullptr;
    QString m_refusal;
};

} // namespace vexlo
