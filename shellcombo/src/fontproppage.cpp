#include "vexlo/fontproppage.h"

#include "vexlo/propertypagesite.h"

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QFontComboBox>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QVBoxLayout>

namespace vexlo {

FontPropPage::FontPropPage(PropertyPageSite &pSite, QWidget *pParent)
    : QWidget(pParent)
    , m_site(pSite)
    , m_family(new QFontComboBox(this))
    , m_size(new QSpinBox(this))
    , m_bold(new QCheckBox(QStringLiteral("&Bold"), this))
    , m_italic(new QCheckBox(QStringLiteral("&Italic"), this))
    , m_underline(new QCheckBox(QStringLiteral("&Underline"), this))
    , m_strikeOut(new QCheckBox(QStringLiteral("S&trikeout"), this))
    , m_sample(new QLabel(QStringLiteral("AaBbYyZz"), this))
{
    setObjectName(QStringLiteral("Font"));
    m_size->setRange(1, 512);
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setMinimumHeight(48);
    m_sample->setFrameShape(QFrame::StyledPanel);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Font:"), m_family);
    form->addRow(QStringLiteral("&Size:"), m_size);
    auto *styles = new QGroupBox(QStringLiteral("Effects"), this);
    auto *styleLayout = new QHBoxLayout(styles);
    for (QCheckBox *style : {m_bold, m_italic, m_underline, m_strikeOut})
        styleLayout->addWidget(style);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(styles);
    layout->addWidget(m_sample);
    layout->addStretch();

    const auto edited = [this] {
        showSample();
        if (!m_loading)
            emit changed();
    };
    connect(m_family, &QFontComboBox::currentFontChanged, this, edited);
    connect(m_size, &QSpinBox::valueChanged, this, edited);
    for (QCheckBox *style : {m_bold, m_italic, m_underline, m_strikeOut})
        connect(style, &QCheckBox::toggled, this, edited);
    load();
}

QString FontPropPage::title()
{
    return QStringLiteral("Font");
}

void FontPropPage::load()
{
    m_loading = true;
    const QFont font = m_site.readProperty("font").value<QFont>();
    m_family->setCurrentFont(font);
    m_size->setValue(font.pointSize() > 0 ? font.pointSize() : 9);
    m_bold->setChecked(font.bold());
    m_italic->setChecked(font.italic());
    m_underline->setChecked(font.underline());
    m_strikeOut->setChecked(font.strikeOut());
    m_loading = false;
    showSample();
}

QFont FontPropPage::chosenFont() const
{
    QFont font = m_site.readProperty("font").value<QFont>();
    font.setFamily(m_family->currentFont().family());
    font.setPointSize(m_size->value());
    font.setBold(m_bold->isChecked());
    font.setItalic(m_italic->isChecked());
    font.setUnderline(m_underline->isChecked());
    font.setStrikeOut(m_strikeOut->isChecked());
    return font;
}

bool FontPropPage::apply()
{
    const QFont font = chosenFont();
    // An unchanged font is not written, so that a control that takes its container's font
    // keeps doing so.
    if (font != m_site.readProperty("font").value<QFont>())
        m_site.writeProperty("font", font);
    return true;
}

void FontPropPage::showSample()
{
    m_sample->setFont(chosenFont());
}

} // namespace vexlo
