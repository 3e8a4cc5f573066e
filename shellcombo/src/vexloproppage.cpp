#include "vexlo/vexloproppage.h"

#include "vexlo/propertypagesite.h"

#include "updownbox.h"

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

namespace vexlo {

namespace {

constexpr char kControlId[] = "controlId";

// The controls' numbers.
constexpr int kEnabled = 201, kShowFile = 202, kDropDownLines = 203, kShowFullPath = 205;
constexpr int kIncludeUrls = 206, kIndent = 207, kShowOverlayIcons = 208;
constexpr int kShowVirtualFolders = 210, kAbout = 211, kDropDownSpin = 213, kIndentSpin = 214;
constexpr int kTooltipType = 217, kShowDrivesOnly = 218, kAutoUpdate = 219, kAutoComplete = 230;

} // namespace

CVexloPropPage::CVexloPropPage(PropertyPageSite &pSite, QWidget *pParent)
    : QWidget(pParent)
    , m_site(pSite)
{
    setObjectName(QStringLiteral("General"));
    setProperty(kControlId, 200);
    auto *grid = new QGridLayout(this);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    // Left: what the list shows and does.
    auto *left = new QVBoxLayout;
    left->addWidget(addCheck(kEnabled, QStringLiteral("&Enabled"), "enabled"));
    left->addWidget(addCheck(kShowFile, QStringLiteral("&Show file"), "ShowFile"));
    left->addWidget(addCheck(kAutoComplete, QStringLiteral("A&utoComplete"), "AutoComplete"));
    left->addWidget(addCheck(kIncludeUrls, QStringLiteral("&IncludeUrls"), "IncludeUrls"));
    left->addWidget(
        addCheck(kShowOverlayIcons, QStringLiteral("Show&OverlayIcons"), "ShowOverlayIcons"));
    left->addWidget(
        addCheck(kShowVirtualFolders, QStringLiteral("Show&VirtualFolders"), "ShowVirtualFolders"));
    left->addStretch();

    // Middle: the numbers, each under its label, and the full path.
    auto *middle = new QVBoxLayout;
    m_dropDownLines = addNumber(kDropDownLines, kDropDownSpin, "DropDownLines", 1, 100);
    auto *linesLabel = new QLabel(QStringLiteral("&Dropdown lines :"), this);
    linesLabel->setBuddy(m_dropDownLines);
    middle->addWidget(linesLabel);
    middle->addWidget(m_dropDownLines);
    m_indent = addNumber(kIndent, kIndentSpin, "Indent", 0, 100);
    auto *indentLabel = new QLabel(QStringLiteral("I&ndent :"), this);
    indentLabel->setBuddy(m_indent);
    middle->addWidget(indentLabel);
    middle->addWidget(m_indent);
    middle->addWidget(addCheck(kShowFullPath, QStringLiteral("Show&FullPath"), "ShowFullPath"));
    middle->addStretch();

    // Right: the tooltip, the drives, updating, and the about box.
    auto *right = new QVBoxLayout;
    m_tooltipType = new QComboBox(this);
    m_tooltipType->setObjectName(QStringLiteral("TooltipType"));
    m_tooltipType->setProperty(kControlId, kTooltipType);
    m_tooltipType->addItems({QStringLiteral("None"), QStringLiteral("Path"),
                             QStringLiteral("Shell InfoTip"), QStringLiteral("Both")});
    connect(m_tooltipType, &QComboBox::activated, this, &CVexloPropPage::changed);
    auto *tipLabel = new QLabel(QStringLiteral("&Tooltip Type:"), this);
    tipLabel->setBuddy(m_tooltipType);
    right->addWidget(tipLabel);
    right->addWidget(m_tooltipType);
    right->addWidget(
        addCheck(kShowDrivesOnly, QStringLiteral("S&howDrivesOnly"), "ShowDrivesOnly"));
    right->addWidget(addCheck(kAutoUpdate, QStringLiteral("AutoU&pdate"), "AutoUpdate"));
    right->addStretch();
    auto *about = new QPushButton(QStringLiteral("&About..."), this);
    about->setObjectName(QStringLiteral("About"));
    about->setProperty(kControlId, kAbout);
    about->setAutoDefault(false);
    connect(about, &QPushButton::clicked, this, [this] { m_site.showAbout(); });
    right->addWidget(about, 0, Qt::AlignRight);

    grid->addLayout(left, 0, 0);
    grid->addLayout(middle, 0, 1);
    grid->addLayout(right, 0, 2);
    load();
}

QString CVexloPropPage::title()
{
    return QStringLiteral("General");
}

QCheckBox *CVexloPropPage::addCheck(int pId, const QString &pText, const char *pProperty)
{
    auto *check = new QCheckBox(pText, this);
    check->setObjectName(QString::fromLatin1(pProperty));
    check->setProperty(kControlId, pId);
    connect(check, &QCheckBox::clicked, this, &CVexloPropPage::changed);
    m_checks << check;
    return check;
}

UpDownBox *CVexloPropPage::addNumber(int pId, int pSpinId, const char *pProperty, int pMinimum,
                                     int pMaximum)
{
    auto *box = new UpDownBox(pMinimum, pMaximum, this);
    box->setObjectName(QString::fromLatin1(pProperty));
    box->setProperty(kControlId, pId);
    box->setProperty("spinId", pSpinId);
    connect(box, &QSpinBox::textChanged, this, &CVexloPropPage::changed);
    return box;
}

QSize CVexloPropPage::sizeHint() const
{
    // Dialog units of the page's font: a quarter of the average character width across, an
    // eighth of the character height down.
    const QFontMetrics metrics(font());
    const qreal averageWidth = metrics.horizontalAdvance(QStringLiteral(
                                   "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"))
        / 52.0;
    const QSize units(qRound(kWidthUnits * averageWidth / 4.0),
                      qRound(kHeightUnits * metrics.height() / 8.0));
    return units.expandedTo(QWidget::sizeHint());
}

void CVexloPropPage::load()
{
    for (QCheckBox *check : std::as_const(m_checks))
        check->setChecked(m_site.readProperty(check->objectName().toLatin1().constData()).toBool());
    m_dropDownLines->setValue(m_site.readProperty("DropDownLines").toInt());
    m_indent->setValue(m_site.readProperty("Indent").toInt());
    m_tooltipType->setCurrentIndex(m_site.readProperty("TooltipType").toInt());
    m_refusal.clear();
}

bool CVexloPropPage::accepts(UpDownBox *pBox)
{
    pBox->interpretText(); // what is typed, even while the box still has the focus
    if (pBox->inRange())
        return true;
    m_refusal = QStringLiteral("Please enter an integer between %1 and %2.")
                    .arg(pBox->rangeMinimum())
                    .arg(pBox->rangeMaximum());
    pBox->setFocus();
    pBox->selectAll();
    // Not modal to the program: the page stays as it is, with the value to mend.
    auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Vexlo"), m_refusal,
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return false;
}

bool CVexloPropPage::apply()
{
    m_refusal.clear();
    if (!accepts(m_dropDownLines) || !accepts(m_indent))
        return false;
    for (QCheckBox *check : std::as_const(m_checks))
        m_site.writeProperty(check->objectName().toLatin1().constData(), check->isChecked());
    m_site.writeProperty("DropDownLines", m_dropDownLines->value());
    m_site.writeProperty("Indent", m_indent->value());
    m_site.writeProperty("TooltipType", m_tooltipType->currentIndex());
    return true;
}

} // namespace vexlo
