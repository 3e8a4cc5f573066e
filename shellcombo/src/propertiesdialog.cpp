#include "vexlo/propertiesdialog.h"

#include "vexlo/fontproppage.h"
#include "vexlo/vexloproppage.h"

#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QVBoxLayout>

namespace vexlo {

PropertiesDialog::PropertiesDialog(PropertyPageSite &pSite, QWidget *pParent)
    : QDialog(pParent)
    , m_tabs(new QTabWidget(this))
    , m_general(new CVexloPropPage(pSite, m_tabs))
    , m_font(new FontPropPage(pSite, m_tabs))
    , m_buttons(new QDialogButtonBox(
          QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this))
{
    setWindowTitle(QStringLiteral("Vexlo Properties"));
    m_tabs->addTab(m_general, CVexloPropPage::title());
    m_tabs->addTab(m_font, FontPropPage::title());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);

    QPushButton *apply = m_buttons->button(QDialogButtonBox::Apply);
    apply->setEnabled(false);
    const auto edited = [apply] { apply->setEnabled(true); };
    connect(m_general, &CVexloPropPage::changed, this, edited);
    connect(m_font, &FontPropPage::changed, this, edited);
    connect(apply, &QPushButton::clicked, this, [this, apply] {
        if (applyPages())
            apply->setEnabled(false);
    });
    connect(m_buttons, &QDialogButtonBox::accepted, this, &PropertiesDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &PropertiesDialog::reject);
}

bool PropertiesDialog::applyPages()
{
    if (!m_general->apply()) {
        m_tabs->setCurrentWidget(m_general);
        return false;
    }
    m_font->apply();
    return true;
}

void PropertiesDialog::accept()
{
    if (applyPages())
        QDialog::accept();
}

} // namespace vexlo
