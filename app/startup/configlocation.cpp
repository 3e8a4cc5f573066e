#include "startup/configlocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace pindrel {

namespace {

constexpr char kFileName[] = "/config.ini";

} // namespace

bool canCreateFilesIn(const QString &pFolder)
{
    if (pFolder.isEmpty())
        return false;
    // The store replaces config.ini through a new file in the same folder, so creating a file
    // there is exactly what it needs. The probe is removed when it goes out of scope.
    QTemporaryFile probe(pFolder + QStringLiteral("/.pindrel-probe-XXXXXX"));
    return probe.open();
}

QString userConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/pindrel");
}

QString chooseConfigFile(const QString &pProgramFolder, const QString &pUserFolder,
                         const FolderWritableTest &pIsWritable)
{
    if (pIsWritable && pIsWritable(pProgramFolder))
        return pProgramFolder + QLatin1String(kFileName);
    // Failing to create it is not reported: the store's writes then fail the same quiet way.
    QDir().mkpath(pUserFolder);
    return pUserFolder + QLatin1String(kFileName);
}

bool isSystemFolder(const QString &pFolder)
{
    const QString canonical = QDir(pFolder).canonicalPath();
    return canonical == QLatin1String("/usr") || canonical.startsWith(QLatin1String("/usr/"));
}

QString configFilePath()
{
    return chooseConfigFile(QCoreApplication::applicationDirPath(), userConfigFolder(),
                            [](const QString &pFolder) {
                                return !isSystemFolder(pFolder) && canCreateFilesIn(pFolder);
                            });
}

} // namespace pindrel
