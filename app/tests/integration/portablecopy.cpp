#include "portablecopy.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

constexpr char kProgramName[] = "pindrel";

} // namespace

PortableCopy::PortableCopy()
{
    if (!m_root.isValid()) {
        m_error = QStringLiteral("no temporary folder for the copy");
        return;
    }
    const QDir root(m_root.path());
    if (!root.mkpath(QStringLiteral("bin/background"))) {
        m_error = QStringLiteral("cannot create %1/bin/background").arg(root.path());
        return;
    }
    // A copy rather than a link: the program finds its folder, config.ini and single-instance
    // key through its own path.
    if (!QFile::copy(QStringLiteral(PINDREL_PROGRAM), programFile())) {
        m_error = QStringLiteral("cannot copy %1").arg(QStringLiteral(PINDREL_PROGRAM));
        return;
    }
    const QDir backgrounds(QStringLiteral(PINDREL_BACKGROUND_DIR));
    const QStringList pictures = backgrounds.entryList(QDir::Files);
    if (pictures.isEmpty()) {
        m_error = QStringLiteral("no theme pictures in %1").arg(backgrounds.path());
        return;
    }
    for (const QString &picture : pictures) {
        if (!QFile::copy(backgrounds.filePath(picture),
                         root.filePath(QStringLiteral("bin/background/") + picture))) {
            m_error = QStringLiteral("cannot copy the picture %1").arg(picture);
            return;
        }
    }
    if (!QFile::link(QStringLiteral(PINDREL_LIBRARY_DIR), root.filePath(QStringLiteral("lib"))))
        m_error = QStringLiteral("cannot link lib/ to %1").arg(QStringLiteral(PINDREL_LIBRARY_DIR));
}

PortableCopy::~PortableCopy() = default;

QString PortableCopy::programFolder() const
{
    return QDir(m_root.path()).filePath(QStringLiteral("bin"));
}

QString PortableCopy::programFile() const
{
    return QDir(programFolder()).filePath(QLatin1String(kProgramName));
}

QString PortableCopy::configFile() const
{
    return QDir(programFolder()).filePath(QStringLiteral("config.ini"));
}

bool PortableCopy::writeConfig(const QByteArray &pContent) const
{
    QFile file(configFile());
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(pContent) == pContent.size();
}

QByteArray PortableCopy::readConfig() const
{
    QFile file(configFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QStringList PortableCopy::programFolderListing() const
{
    const QDir folder(programFolder());
    QStringList entries;
    QDirIterator it(folder.path(),
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << folder.relativeFilePath(it.next());
    entries.sort();
    return entries;
}

std::unique_ptr<QProcess> PortableCopy::start() const
{
    auto process = std::make_unique<QProcess>();
    process->setProgram(programFile());
    // Not the program folder: config.ini must be found beside the program, not in the
    // current folder.
    process->setWorkingDirectory(m_root.path());
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->start();
    // The process id must be known before the program can map a window.
    process->waitForStarted();
    return process;
}
