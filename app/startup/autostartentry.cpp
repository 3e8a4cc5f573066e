#include "startup/autostartentry.h"

#include "platform/filenamecodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace pindrel {

namespace {

QString userAutostartFolder()
{
    // $XDG_CONFIG_HOME, or ~/.config when it is unset or not absolute.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart");
}

// One argument of an Exec line, quoted whole.
QString quotedArgument(const QString &pArgument)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar character : pArgument) {
        if (character == u'"' || character == u'`' || character == u'$' || character == u'\\')
            quoted += u'\\';
        quoted += character;
    }
    return quoted + u'"';
}

// A value of a desktop entry file as the file holds it.
QString escapedValue(const QString &pValue)
{
    QString escaped;
    for (const QChar character : pValue) {
        switch (character.unicode()) {
        case u'\\':
            escaped += QStringLiteral("\\\\");
            break;
        case u'\n':
            escaped += QStringLiteral("\\n");
            break;
        case u'\t':
            escaped += QStringLiteral("\\t");
            break;
        case u'\r':
            escaped += QStringLiteral("\\r");
            break;
        default:
            escaped += character;
        }
    }
    return escaped;
}

} // namespace

AutostartEntry::AutostartEntry()
    : AutostartEntry(userAutostartFolder(), QCoreApplication::applicationFilePath())
{ }

AutostartEntry::AutostartEntry(QString pFolder, QString pProgram)
    : m_folder(std::move(pFolder))
    , m_program(std::move(pProgram))
{ }

QString AutostartEntry::filePath() const
{
    return QDir(m_folder).filePath(QStringLiteral("pindrel.desktop"));
}

bool AutostartEntry::isEnabled() const
{
    return QFileInfo::exists(filePath());
}

bool AutostartEntry::isWritable(const QString &pProgram)
{
    // A desktop entry is UTF-8 text: a name that is not cannot be written into it. A "%" would
    // have to be doubled, and the desktop's own launcher then looks for the program by the
    // doubled name and finds nothing.
    return !pProgram.isEmpty() && platform::encodeFileName(pProgram) == pProgram.toUtf8()
        && !pProgram.contains(u'%');
}

QString AutostartEntry::execValue(const QString &pProgram)
{
    return escapedValue(quotedArgument(pProgram));
}

bool AutostartEntry::setEnabled(bool pEnabled) const
{
    if (!pEnabled)
        return !QFileInfo::exists(filePath()) || QFile::remove(filePath());
    if (!isWritable(m_program))
        return false;
    if (!QDir().mkpath(m_folder))
        return false;
    QSaveFile file(filePath());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Pindrel\n"
                                        "Comment=Drawers of folders and programs on a bar\n"
                                        "Exec=")
        + execValue(m_program)
        + QStringLiteral("\n"
                         "Terminal=false\n"
                         "X-GNOME-Autostart-enabled=true\n");
    file.write(text.toUtf8());
    return file.commit();
}

} // namespace pindrel
