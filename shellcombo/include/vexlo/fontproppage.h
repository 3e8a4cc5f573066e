#pragma once

// The font page that follows the control's own page: the control's "font", by family, size
// and style, with a sample in the font chosen.

#include "vexlo/vexloexport.h"

#include <QtWidgets/QWidget>

class QCheckBox;
class QFontComboBox;
class QLabel;
class QSpinBox;

namespace vexlo {

class PropertyPageSite;

class VEXLO_EXPORT FontPropPage : public QWidget
{
    Q_OBJECT

public:
    explicit FontPropPage(PropertyPageSite &pSite, QWidget *pParent = nullptr);

    // "Font"
    static QString title();

    void load();
    bool apply();
    QFont chosenFont() const;

signals:
    void changed();

private:
    void showSample();

    PropertyPageSite &m_site;
    QFontComboBox *m_family;
    QSpinBox *m_size;
    QCheckBox *m_bold;
    QCheckBox *m_italic;
    QCheckBox *m_underline;
    QCheckBox *m_strikeOut;
    QLabel *m_sample;
    bool m_loading = false;
};

} // namespace vexlo
