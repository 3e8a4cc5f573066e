#include "dialogs/formconfig.h"

#include "bar/embeddedresources.h"
#include "dialogs/editorframe.h"
#include "dialogs/olecolorcombo.h"
#include "dialogs/programlistpage.h"
#include "dialogs/settingshost.h"
#include "startup/appstate.h"
#include "startup/autostartentry.h"
#include "startup/settings.h"

#include "platform/themeiconcache.h"

#include "txini/clsini.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace pindrel {

namespace {

constexpr int kProgramsPage = 3;
constexpr int kMaximumHeight = 9999;

QComboBox *combo(QWidget *pParent, const char *pName, const QStringList &pItems)
{
    auto *box = new QComboBox(pParent);
    box->setObjectName(QString::fromLatin1(pName));
    box->addItems(pItems);
    return box;
}

// A row past the combo's items leaves it without a selection.
void selectRow(QComboBox *pCombo, int32_t pRow)
{
    pCombo->setCurrentIndex(pRow >= 0 && pRow < pCombo->count() ? static_cast<int>(pRow) : -1);
}

OleColorCombo *colorCombo(QWidget *pParent, const char *pName)
{
    auto *box = new OleColorCombo(pParent);
    box->setObjectName(QString::fromLatin1(pName));
    return box;
}

// An opacity slider, 0 to 100, with the percentage beside it.
QSlider *opacitySlider(QWidget *pParent, const char *pName, QWidget *&pRow)
{
    pRow = new QWidget(pParent);
    auto *slider = new QSlider(Qt::Horizontal, pRow);
    slider->setObjectName(QString::fromLatin1(pName));
    slider->setRange(0, 100);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(10);
    slider->setPageStep(10);
    auto *percent = new QLabel(pRow);
    percent->setMinimumWidth(percent->fontMetrics().horizontalAdvance(QStringLiteral("100 %")));
    percent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QObject::connect(slider, &QSlider::valueChanged, percent, [percent](int pValue) {
        percent->setText(QStringLiteral("%1 %").arg(pValue));
    });
    percent->setText(QStringLiteral("%1 %").arg(slider->value()));
    auto *layout = new QHBoxLayout(pRow);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(slider, 1);
    layout->addWidget(percent);
    return slider;
}

QGroupBox *frame(QWidget *pParent, const QString &pCaption, QFormLayout *&pRows)
{
    auto *box = new QGroupBox(pCaption, pParent);
    pRows = new QFormLayout(box);
    pRows->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return box;
}

QWidget *page(QWidget *pParent, QWidget *pFrame)
{
    auto *widget = new QWidget(pParent);
    auto *layout = new QVBoxLayout(widget);
    layout->addWidget(pFrame);
    layout->addStretch(1);
    return widget;
}

void write(txini::_clsIni &pIni, const char *pSection, const char *pKey, int32_t pValue)
{
    pIni.doAdd(pSection, pKey, std::to_string(pValue));
}

} // namespace

FormConfig::FormConfig(AppState &pState, Registry &pRegistry, SettingsHost &pHost, QWidget *pParent)
    : QDialog(pParent)
    , m_state(pState)
    , m_registry(pRegistry)
    , m_host(pHost)
    , m_autostart(std::make_unique<AutostartEntry>())
{
    ensureEmbeddedResources();
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Configure"));
    m_showExclamation = [this](const QString &pText) {
        QMessageBox::warning(this, QStringLiteral("Pindrel"), pText);
    };

    auto *picture = new QLabel(this);
    const QIcon icon = platform::ThemeIconCache::themed(QStringLiteral("preferences-system"));
    picture->setPixmap(icon.isNull() ? QPixmap(QStringLiteral(":/menu/mCConf.png"))
                                     : icon.pixmap(32, 32));
    m_lbltitulo = new QLabel(QStringLiteral("Configure"), this);
    m_lbltitulo->setObjectName(QStringLiteral("lbltitulo"));
    QFont heading = m_lbltitulo->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.25);
    m_lbltitulo->setFont(heading);

    m_ssTab = new QTabWidget(this);
    m_ssTab->setObjectName(QStringLiteral("ssTab"));
    m_ssTab->addTab(buildMainPage(), QStringLiteral("Main Window"));
    m_ssTab->addTab(buildButtonsPage(), QStringLiteral("Buttons"));
    m_ssTab->addTab(buildDrawersPage(), QStringLiteral("Drawers"));
    m_programs = new ProgramListPage(m_state, m_registry, m_ssTab);
    m_ssTab->addTab(m_programs, QStringLiteral("Programs"));

    m_cmdAceptar = EditorFrame::button(this, "cmdAceptar", QStringLiteral("Ok"));
    m_cmdAceptar->setDefault(true);
    m_cmdCancelar = EditorFrame::button(this, "cmdCancelar", QStringLiteral("Cancel"));
    m_programs->setDefaultButton(m_cmdAceptar);

    auto *headingRow = new QHBoxLayout;
    headingRow->addWidget(picture);
    headingRow->addWidget(m_lbltitulo, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdAceptar);
    buttons->addWidget(m_cmdCancelar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(headingRow);
    layout->addWidget(m_ssTab, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_cmdAceptar, &QPushButton::clicked, this, &FormConfig::cmdAceptar_Click);
    connect(m_cmdCancelar, &QPushButton::clicked, this, &FormConfig::cmdCancelar_Click);
    connect(m_ssTab, &QTabWidget::currentChanged, this, &FormConfig::ssTab_TabChange);

    // The keyboard starts on the tabs and goes through each page top to bottom, then Ok and
    // Cancel.
    QWidget *order[] = {m_ssTab,
                        m_pvAlto,
                        m_comboTheme,
                        m_comboPos,
                        m_slMain,
                        m_pvColMain,
                        m_chkAutostart,
                        m_comboBut,
                        m_pvColBoton,
                        m_pvColFore,
                        m_slForm,
                        m_pvColForm,
                        m_programs->ListP(),
                        m_programs->cmdAdd(),
                        m_programs->cmdMod(),
                        m_programs->cmdDel(),
                        m_programs->cmdUp(),
                        m_programs->cmdDown(),
                        m_cmdAceptar,
                        m_cmdCancelar};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    m_ssTab->setFocus();

    loadSettings();
}

FormConfig::~FormConfig() = default;

QWidget *FormConfig::buildMainPage()
{
    QFormLayout *rows = nullptr;
    QGroupBox *visual = frame(this, QStringLiteral("Visual options"), rows);
    m_pvAlto = new QSpinBox(visual);
    m_pvAlto->setObjectName(QStringLiteral("pvAlto"));
    m_pvAlto->setRange(0, kMaximumHeight);
    m_pvAlto->setSingleStep(1);
    m_pvAlto->setSuffix(QStringLiteral(" twips"));
    m_comboTheme = combo(visual, "ComboTheme", {});
    m_comboPos = combo(visual, "ComboPos", {});
    QWidget *sliderRow = nullptr;
    m_slMain = opacitySlider(visual, "slMain", sliderRow);
    m_pvColMain = colorCombo(visual, "pvColMain");
    rows->addRow(QStringLiteral("Height"), m_pvAlto);
    rows->addRow(QStringLiteral("Visual theme"), m_comboTheme);
    rows->addRow(QStringLiteral("Position"), m_comboPos);
    rows->addRow(QStringLiteral("Set the opacity of the main window"), sliderRow);
    rows->addRow(QStringLiteral("Background color"), m_pvColMain);

    QWidget *widget = page(this, visual);
    m_chkAutostart = new QCheckBox(QStringLiteral("Start Pindrel when I log in"), widget);
    m_chkAutostart->setObjectName(QStringLiteral("chkAutostart"));
    qobject_cast<QVBoxLayout *>(widget->layout())->insertWidget(1, m_chkAutostart);
    return widget;
}

QWidget *FormConfig::buildButtonsPage()
{
    QFormLayout *rows = nullptr;
    QGroupBox *colors = frame(this, QStringLiteral("Colors"), rows);
    m_comboBut = combo(colors, "ComboBut", {});
    m_pvColBoton = colorCombo(colors, "pvColBoton");
    m_pvColFore = colorCombo(colors, "pvColFore");
    rows->addRow(QStringLiteral("Type"), m_comboBut);
    rows->addRow(QStringLiteral("Background color"), m_pvColBoton);
    rows->addRow(QStringLiteral("Fore color"), m_pvColFore);
    return page(this, colors);
}

QWidget *FormConfig::buildDrawersPage()
{
    QFormLayout *rows = nullptr;
    QGroupBox *options = frame(this, QStringLiteral("Window's options"), rows);
    QWidget *sliderRow = nullptr;
    m_slForm = opacitySlider(options, "slForm", sliderRow);
    m_pvColForm = colorCombo(options, "pvColForm");
    rows->addRow(QStringLiteral("Set the opacity of each drawer"), sliderRow);
    rows->addRow(QStringLiteral("Background color"), m_pvColForm);
    return page(this, options);
}

void FormConfig::loadSettings()
{
    const Settings &settings = m_state.settings();
    m_comboPos->clear();
    m_comboPos->addItems({QStringLiteral("1.BOTTOM"), QStringLiteral("2.TOP")});
    m_comboPos->setCurrentIndex(settings.position == QLatin1String("TOP") ? 1 : 0);

    m_pvAlto->setValue(settings.barHeight);
    m_slMain->setValue(settings.barOpacity);
    m_slForm->setValue(settings.formOpacity);

    m_comboBut->clear();
    m_comboBut->addItems({QStringLiteral("1.Text only"), QStringLiteral("2.Text and Icon"),
                          QStringLiteral("3.Icon only")});
    selectRow(m_comboBut, settings.buttonStyle);
    m_comboTheme->clear();
    m_comboTheme->addItems({QStringLiteral("(Nothing)"), QStringLiteral("Gray scale 1"),
                            QStringLiteral("Gray scale 2"), QStringLiteral("Black"),
                            QStringLiteral("XP Style")});
    selectRow(m_comboTheme, settings.theme);

    m_pvColMain->setValue(settings.barColor);
    m_pvColBoton->setValue(settings.buttonColor);
    m_pvColFore->setValue(settings.buttonTextColor);
    m_pvColForm->setValue(settings.formColor);

    m_autostartLoaded = m_autostart->isEnabled();
    m_chkAutostart->setChecked(m_autostartLoaded);
}

void FormConfig::setDialogRunner(std::function<void(QDialog &)> pRunner)
{
    m_programs->setDialogRunner(std::move(pRunner));
}

void FormConfig::setFileChooser(FileChooser *pChooser)
{
    m_programs->setFileChooser(pChooser);
}

void FormConfig::setAutostartEntry(const AutostartEntry &pEntry)
{
    m_autostart = std::make_unique<AutostartEntry>(pEntry);
    m_autostartLoaded = m_autostart->isEnabled();
    m_chkAutostart->setChecked(m_autostartLoaded);
}

void FormConfig::setExclamation(std::function<void(const QString &)> pShow)
{
    if (pShow)
        m_showExclamation = std::move(pShow);
}

QString FormConfig::autostartFailedMessage()
{
    return QStringLiteral("Could not change whether Pindrel starts when you log in.");
}

void FormConfig::Mostrar(const QString &pSolapa)
{
    const QString name = pSolapa.trimmed();
    static const QString kPages[] = {QStringLiteral("main"), QStringLiteral("buttons"),
                                     QStringLiteral("drawers"), QStringLiteral("programs")};
    for (int index = 0; index < 4; ++index) {
        if (name == kPages[index]) {
            m_ssTab->setCurrentIndex(index);
            return;
        }
    }
}

void FormConfig::ssTab_TabChange(int pIndex)
{
    if (pIndex == kProgramsPage)
        m_programs->refill();
}

bool FormConfig::applyAutostart()
{
    const bool wanted = m_chkAutostart->isChecked();
    // Only a change is applied: an entry the user did not touch stays as the desktop has it.
    if (wanted == m_autostartLoaded)
        return true;
    if (!m_autostart->setEnabled(wanted))
        return false;
    m_autostartLoaded = wanted;
    return true;
}

void FormConfig::cmdAceptar_Click()
{
    // Not a setting of config.ini: done first, so that a failure stops Ok with nothing written.
    if (!applyAutostart()) {
        m_showExclamation(autostartFailedMessage());
        return;
    }
    Settings &settings = m_state.settings();
    const QString oldPosition = settings.position;
    const int16_t oldHeight = settings.barHeight;
    txini::_clsIni &ini = m_state.ini();

    settings.barOpacity = static_cast<int16_t>(m_slMain->value());
    settings.formOpacity = static_cast<int16_t>(m_slForm->value());
    write(ini, "TRANSPARENCIA", "MAIN", settings.barOpacity);
    write(ini, "TRANSPARENCIA", "FORM", settings.formOpacity);

    settings.position =
        m_comboPos->currentIndex() == 0 ? QStringLiteral("BOTTOM") : QStringLiteral("TOP");
    ini.doAdd("MAIN", "POSITION", settings.position.toStdString());

    settings.barHeight = static_cast<int16_t>(m_pvAlto->value());
    write(ini, "MAIN", "HEIGHT", settings.barHeight);

    settings.buttonStyle = m_comboBut->currentIndex();
    write(ini, "MAIN", "BUTTONTYPE", settings.buttonStyle);
    settings.theme = static_cast<int16_t>(m_comboTheme->currentIndex());
    write(ini, "COLORS", "THEME", settings.theme);

    settings.barColor = m_pvColMain->value();
    settings.buttonColor = m_pvColBoton->value();
    settings.buttonTextColor = m_pvColFore->value();
    settings.formColor = m_pvColForm->value();
    write(ini, "COLORS", "MAIN", settings.barColor);
    write(ini, "COLORS", "BUTTON", settings.buttonColor);
    write(ini, "COLORS", "FORE", settings.buttonTextColor);
    write(ini, "COLORS", "FORM", settings.formColor);

    m_host.AplicarColoresMain();
    // The edge and the height take effect at once, not at the next start.
    if (settings.position != oldPosition || settings.barHeight != oldHeight)
        m_host.redock();
    m_host.MostrarBotones();
    accept();
}

void FormConfig::cmdCancelar_Click()
{
    reject();
}

} // namespace pindrel
