#include "dialogs/form3.h"

#include "bar/drawerbuttonlayout.h"
#include "bar/embeddedresources.h"
#include "dialogs/filechooser.h"
#include "dialogs/systemfilechooser.h"
#include "startup/appstate.h"
#include "startup/registry.h"

#include "txini/clsini.h"

#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace pindrel {

namespace {

// A chosen folder as the browser's fixed buffer returned it: up to the first NUL, at most
// 255 characters.
QString asBrowserResult(const QString &pPath)
{
    const qsizetype nul = pPath.indexOf(QChar(0));
    return (nul < 0 ? pPath : pPath.left(nul)).left(Form3::kMaximumPathLength);
}

} // namespace

Form3::Form3(AppState &pState, Registry &pRegistry, QWidget *pParent)
    : QDialog(pParent)
    , m_state(pState)
    , m_registry(pRegistry)
{
    ensureEmbeddedResources();
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Add Drawer"));
    buildControls();
    m_showExclamation = [this](const QString &pText) {
        QMessageBox::warning(this, QStringLiteral("Pindrel"), pText);
    };
}

Form3::~Form3() = default;

void Form3::buildControls()
{
    m_imgAdd = new QLabel(this);
    m_imgAdd->setObjectName(QStringLiteral("imgAdd"));
    m_imgAdd->setPixmap(QPixmap(QStringLiteral(":/dialogs/imgAdd.png")));
    m_imgMod = new QLabel(this);
    m_imgMod->setObjectName(QStringLiteral("imgMod"));
    m_imgMod->setPixmap(QPixmap(QStringLiteral(":/dialogs/imgMod.png")));
    m_imgMod->hide();

    m_lbltitulo = new QLabel(QStringLiteral("Add Drawer"), this);
    m_lbltitulo->setObjectName(QStringLiteral("lbltitulo"));
    QFont heading = m_lbltitulo->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.25);
    m_lbltitulo->setFont(heading);

    m_textTitulo = new QLineEdit(this);
    m_textTitulo->setObjectName(QStringLiteral("TextTitulo"));
    m_textRuta = new QLineEdit(this);
    m_textRuta->setObjectName(QStringLiteral("TextRuta"));
    m_textIcon = new QLineEdit(this);
    m_textIcon->setObjectName(QStringLiteral("TextIcon"));
    m_cmdRuta = new QPushButton(QStringLiteral("Change"), this);
    m_cmdRuta->setObjectName(QStringLiteral("cmdRuta"));
    m_cmdRuta->setAutoDefault(false);
    m_cmdIcon = new QPushButton(QStringLiteral("Select"), this);
    m_cmdIcon->setObjectName(QStringLiteral("cmdIcon"));
    m_cmdIcon->setAutoDefault(false);
    m_cmdAceptar = new QPushButton(QStringLiteral("Ok"), this);
    m_cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    m_cmdAceptar->setDefault(true);
    m_cmdCancelar = new QPushButton(QStringLiteral("Cancel"), this);
    m_cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    m_cmdCancelar->setAutoDefault(false);

    auto *headingRow = new QHBoxLayout;
    headingRow->addWidget(m_imgAdd);
    headingRow->addWidget(m_imgMod);
    headingRow->addWidget(m_lbltitulo, 1);

    // The title field spans the buttons' column as well: it is the widest of the three.
    const int fieldWidth = fontMetrics().averageCharWidth() * 40;
    m_textTitulo->setMinimumWidth(fieldWidth);
    m_textRuta->setMinimumWidth(fieldWidth);
    m_textIcon->setMinimumWidth(fieldWidth);
    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Title"), this), 0, 0);
    fields->addWidget(m_textTitulo, 0, 1, 1, 2);
    fields->addWidget(new QLabel(QStringLiteral("Path"), this), 1, 0);
    fields->addWidget(m_textRuta, 1, 1);
    fields->addWidget(m_cmdRuta, 1, 2);
    fields->addWidget(new QLabel(QStringLiteral("Icon"), this), 2, 0);
    fields->addWidget(m_textIcon, 2, 1);
    fields->addWidget(m_cmdIcon, 2, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdAceptar);
    buttons->addWidget(m_cmdCancelar);

    auto *page = new QVBoxLayout(this);
    page->addLayout(headingRow);
    page->addLayout(fields);
    page->addLayout(buttons);
    page->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_cmdAceptar, &QPushButton::clicked, this, &Form3::cmdAceptar_Click);
    connect(m_cmdCancelar, &QPushButton::clicked, this, &Form3::cmdCancelar_Click);
    connect(m_cmdRuta, &QPushButton::clicked, this, &Form3::cmdRuta_Click);
    connect(m_cmdIcon, &QPushButton::clicked, this, &Form3::cmdIcon_Click);
}

void Form3::setFileChooser(FileChooser *pChooser)
{
    m_chooser = pChooser;
}

void Form3::setExclamation(std::function<void(const QString &)> pShow)
{
    if (pShow)
        m_showExclamation = std::move(pShow);
}

FileChooser &Form3::chooser()
{
    if (m_chooser != nullptr)
        return *m_chooser;
    if (!m_systemChooser)
        m_systemChooser = std::make_unique<SystemFileChooser>();
    return *m_systemChooser;
}

QList<FileFilter> Form3::iconFilters()
{
    return {
        {QStringLiteral("Icon files (*.ico)"), QStringLiteral("*.ico")},
        {QStringLiteral("BMP files (*.bmp)"), QStringLiteral("*.bmp")},
        {QStringLiteral("GIF files (*.gif)"), QStringLiteral("*.gif")},
        {QStringLiteral("JPG files (*.jpg)"), QStringLiteral("*.jpg")},
        {QStringLiteral("All files (*.*)"), QStringLiteral("*.*")},
    };
}

QString Form3::iconsFolder() const
{
    const QString program = m_state.programFolder().isEmpty()
        ? QCoreApplication::applicationDirPath()
        : m_state.programFolder();
    return QDir(program).filePath(QStringLiteral("icons"));
}

void Form3::Inicializar(int16_t pIndex)
{
    const QString caption =
        pIndex != 0 ? QStringLiteral("Configure drawer") : QStringLiteral("Add drawer");
    m_imgAdd->setVisible(pIndex == 0);
    m_imgMod->setVisible(pIndex != 0);
    (pIndex != 0 ? m_imgMod : m_imgAdd)->raise();
    m_lbltitulo->setText(caption);
    setWindowTitle(caption);

    m_editIndex = pIndex;

    txini::_clsIni &ini = m_state.ini();
    const std::string section = Registry::drawerSection(pIndex);
    m_textTitulo->setText(QString::fromStdString(ini.getLeerValor(section, "CAPTION")));
    m_textRuta->setText(QString::fromStdString(ini.getLeerValor(section, "PATH")));
    m_textIcon->setText(QString::fromStdString(ini.getLeerValor(section, "ICON")));
}

void Form3::cmdAceptar_Click()
{
    if (trimSpaces(m_textTitulo->text()).isEmpty()) {
        m_showExclamation(QStringLiteral("Please complete drawer's title."));
        m_textTitulo->setFocus();
        return;
    }
    if (trimSpaces(m_textRuta->text()).isEmpty()) {
        m_showExclamation(QStringLiteral("Please complete the path."));
        m_textRuta->setFocus();
        return;
    }
    // The texts go to the store as typed: only the emptiness test trims them.
    if (m_editIndex != 0) {
        m_registry.ModificarBoton(m_editIndex, m_textTitulo->text(), m_textRuta->text(),
                                  m_textIcon->text(), 0);
    } else {
        m_registry.AgregarBoton(m_textTitulo->text(), m_textRuta->text(), m_textIcon->text(), 0);
    }
    accept();
}

void Form3::cmdCancelar_Click()
{
    reject();
}

void Form3::cmdRuta_Click()
{
    const std::optional<QString> folder =
        chooser().chooseFolder(this, QStringLiteral("Select a folder"));
    m_textRuta->setText(folder ? asBrowserResult(*folder) : QString());
}

void Form3::cmdIcon_Click()
{
    const std::optional<QString> file = chooser().chooseFile(
        this, QStringLiteral("Select an Icon file"), iconsFolder(), iconFilters());
    // A path longer than the field takes does not fit the dialog's buffer: the dialog fails,
    // and a failed dialog counts as cancelled.
    if (!file || file->size() > kMaximumPathLength) {
        m_textIcon->clear();
        return;
    }
    m_textIcon->setText(trimSpaces(*file));
}

} // namespace pindrel
