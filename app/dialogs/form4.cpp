#include "dialogs/form4.h"

#include "bar/drawerbuttonlayout.h"
#include "dialogs/editorframe.h"
#include "dialogs/filechooser.h"
#include "startup/appstate.h"
#include "startup/registry.h"

#include "platform/filenamecodec.h"

#include "txini/clsini.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <sys/stat.h>

namespace pindrel {

Form4::Form4(AppState &pState, Registry &pRegistry, QWidget *pParent)
    : EditorDialog(pState, pRegistry, QStringLiteral("Add program"), pParent)
{
    buildControls();
}

Form4::~Form4() = default;

void Form4::buildControls()
{
    m_textTitulo = field("TextTitulo");
    m_textRuta = field("TextRuta");
    m_cmdRuta = EditorFrame::button(this, "cmdRuta", QStringLiteral("Change"));

    place({{"Title", m_textTitulo, nullptr}, {"Path", m_textRuta, m_cmdRuta}});

    connect(cmdAceptar(), &QPushButton::clicked, this, &Form4::cmdAceptar_Click);
    connect(cmdCancelar(), &QPushButton::clicked, this, &Form4::cmdCancelar_Click);
    connect(m_cmdRuta, &QPushButton::clicked, this, &Form4::cmdRuta_Click);
}

QList<FileFilter> Form4::programFilters()
{
    // Programs here carry no extension: the first filter lists what this desktop can start.
    return {
        {QStringLiteral("Programs and launchers"), QStringLiteral("*"), true},
        {QStringLiteral("EXE files (*.exe)"), QStringLiteral("*.exe")},
        {QStringLiteral("BAT files (*.bat)"), QStringLiteral("*.bat")},
        {QStringLiteral("All files (*.*)"), QStringLiteral("*.*")},
    };
}

bool Form4::fileExists(const QString &pPath)
{
    // Asked with the name's own bytes, so a name that is not UTF-8 is found too.
    struct stat info = {};
    return !pPath.isEmpty() && ::stat(platform::encodeFileName(pPath).constData(), &info) == 0
        && S_ISREG(info.st_mode);
}

void Form4::Inicializar(int16_t pIndex)
{
    const QString caption =
        pIndex != 0 ? QStringLiteral("Configure program") : QStringLiteral("Add program");
    showMode(pIndex != 0, caption);

    m_editIndex = pIndex;

    txini::_clsIni &ini = m_state.ini();
    const std::string section = Registry::programSection(pIndex);
    m_textTitulo->setText(QString::fromStdString(ini.getLeerValor(section, "CAPTION")));
    m_textRuta->setText(
        platform::decodeFileName(QByteArray::fromStdString(ini.getLeerValor(section, "PATH"))));
}

void Form4::cmdAceptar_Click()
{
    if (trimSpaces(m_textTitulo->text()).isEmpty()) {
        exclaim(QStringLiteral("Please complete program's name."));
        m_textTitulo->setFocus();
        return;
    }
    const QString path = trimSpaces(m_textRuta->text());
    if (path.isEmpty()) {
        exclaim(QStringLiteral("Please complete the path."));
        m_textRuta->setFocus();
        return;
    }
    // config.ini holds one value a line: a path with a line break could not be stored, and
    // the program would be added without it.
    if (!fileExists(path) || path.contains(u'\n') || path.contains(u'\r')) {
        exclaim(QStringLiteral("Can't find the file.\r\nPlease, check the path is correct."));
        m_textRuta->setFocus();
        return;
    }
    // The texts go to the store as typed: only the checks trim them.
    if (m_editIndex != 0) {
        m_registry.ModificarPrograma(m_editIndex, m_textTitulo->text(), m_textRuta->text(), 1);
    } else {
        m_registry.AgregarPrograma(m_textTitulo->text(), m_textRuta->text(), 1);
    }
    accept();
}

void Form4::cmdCancelar_Click()
{
    reject();
}

QString Form4::startFolder() const
{
    const QString typed = trimSpaces(m_textRuta->text());
    if (fileExists(typed))
        return QDir::cleanPath(typed + QStringLiteral("/.."));
    return m_state.programFolder().isEmpty() ? QCoreApplication::applicationDirPath()
                                             : m_state.programFolder();
}

void Form4::cmdRuta_Click()
{
    const std::optional<QString> file = chooser().chooseFile(
        this, QStringLiteral("Select a Program"), startFolder(), programFilters());
    // Cancelling keeps the path the user typed: there is nothing to put in its place.
    if (file)
        m_textRuta->setText(trimSpaces(*file));
}

} // namespace pindrel
