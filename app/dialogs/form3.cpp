#include "dialogs/form3.h"

#include "bar/drawerbuttonlayout.h"
#include "dialogs/editorframe.h"
#include "dialogs/filechooser.h"
#include "startup/appstate.h"
#include "startup/registry.h"

#include "txini/clsini.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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
    : EditorDialog(pState, pRegistry, QStringLiteral("Add Drawer"), pParent)
{
    buildControls();
}

Form3::~Form3() = default;

void Form3::buildControls()
{
    m_textTitulo = field("TextTitulo");
    m_textRuta = field("TextRuta");
    m_textIcon = field("TextIcon");
    m_cmdRuta = EditorFrame::button(this, "cmdRuta", QStringLiteral("Change"));
    m_cmdIcon = EditorFrame::button(this, "cmdIcon", QStringLiteral("Select"));

    // The title field spans the buttons' column as well: it is the widest.
    place({{"Title", m_textTitulo, nullptr},
           {"Path", m_textRuta, m_cmdRuta},
           {"Icon", m_textIcon, m_cmdIcon}});

    connect(cmdAceptar(), &QPushButton::clicked, this, &Form3::cmdAceptar_Click);
    connect(cmdCancelar(), &QPushButton::clicked, this, &Form3::cmdCancelar_Click);
    connect(m_cmdRuta, &QPushButton::clicked, this, &Form3::cmdRuta_Click);
    connect(m_cmdIcon, &QPushButton::clicked, this, &Form3::cmdIcon_Click);
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
    showMode(pIndex != 0, caption);

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
        exclaim(QStringLiteral("Please complete drawer's title."));
        m_textTitulo->setFocus();
        return;
    }
    if (trimSpaces(m_textRuta->text()).isEmpty()) {
        exclaim(QStringLiteral("Please complete the path."));
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
