#pragma once

// The control's property pages in one dialog, as a container shows them: the control's own
// page, then the font page, with OK, Cancel and Apply. OK and Apply apply every page; a page
// that refuses keeps the dialog open on it.

#include "vexlo/vexloexport.h"

#include <QtWidgets/QDialog>

class QDialogButtonBox;
class QTabWidget;

namespace vexlo {

class CVexloPropPage;
class FontPropPage;
class PropertyPageSite;

class VEXLO_EXPORT PropertiesDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PropertiesDialog(PropertyPageSite &pSite, QWidget *pParent = nullptr);

    CVexloPropPage *generalPage() const { return m_general; }
    FontPropPage *fontPage() const { return m_font; }
    // Applies every page; false when one refused (it is then the current tab).
    bool applyPages();

    void accept() override;

private:
    QTabWidget *m_tabs;
    CVexloPropPage *m_general;
    FontPropPage *m_font;
    QDialogButtonBox *m_buttons;
};

} // namespace vexlo
