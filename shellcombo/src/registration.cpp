#include "vexlo/registration.h"

#include "vexlo/identifiers.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QJsonObject>
#include <QtCore/QLibraryInfo>
#include <QtCore/QPluginLoader>

#include <dlfcn.h>

namespace vexlo {

namespace {

constexpr char kDesignerInterface[] = "org.qt-project.Qt.QDesignerCustomWidgetInterface";

QString moduleFolder()
{
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void *>(&DllRegisterServer), &info) == 0 || !info.dli_fname)
        return {};
    return QFileInfo(QFile::decodeName(info.dli_fname)).canonicalPath();
}

// The plugin's metadata, read from the file without loading it: a Designer plugin whose
// metadata names the control's class.
bool isTheControlsPlugin(const QString &pPlugin)
{
    if (pPlugin.isEmpty() || !QFileInfo(pPlugin).isFile())
        return false;
    const QJsonObject metaData = QPluginLoader(pPlugin).metaData();
    return metaData.value(QLatin1String("IID")).toString() == QLatin1String(kDesignerInterface)
        && metaData.value(QLatin1String("MetaData"))
               .toObject()
               .value(QLatin1String("ClassID"))
               .toString()
        == QLatin1String(kControlClassId);
}

// Designer searches Qt's own plugin folder (and any on QT_PLUGIN_PATH) by itself.
bool designerSearches(const QString &pFolder)
{
    const QString qtFolder =
        QFileInfo(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/designer"))
            .canonicalFilePath();
    return !qtFolder.isEmpty() && QFileInfo(pFolder).canonicalFilePath() == qtFolder;
}

} // namespace

QString designerPluginPath()
{
    const QString name = QString::fromLatin1(kDesignerPluginFile);
    const QString beside = moduleFolder() + QStringLiteral("/designer/") + name;
    if (QFileInfo(beside).isFile())
        return beside;
    const QString installed = QStringLiteral(VEXLO_DESIGNER_PLUGIN_DIR "/") + name;
    return QFileInfo(installed).isFile() ? installed : QString();
}

QString userDesignerPluginFolder()
{
    return QDir::homePath() + QStringLiteral("/.designer/plugins");
}

int32_t registerDesignerPlugin(const QString &pPlugin, const QString &pUserFolder)
{
    if (!isTheControlsPlugin(pPlugin))
        return kSelfRegTypeLibraryFailed;
    const QString plugin = QFileInfo(pPlugin).canonicalFilePath();
    if (designerSearches(QFileInfo(plugin).path()))
        return kSelfRegOk;
    if (!QDir().mkpath(pUserFolder))
        return kSelfRegClassFailed;
    const QString link = pUserFolder + u'/' + QString::fromLatin1(kDesignerPluginFile);
    const QFileInfo existing(link);
    if (existing.isSymLink()) {
        if (existing.symLinkTarget() == plugin)
            return kSelfRegOk; // registered already
        if (!QFile::remove(link))
            return kSelfRegClassFailed;
    } else if (existing.exists()) {
        // A copy the user put there: Designer finds the control through it already.
        return isTheControlsPlugin(link) ? kSelfRegOk : kSelfRegClassFailed;
    }
    return QFile::link(plugin, link) ? kSelfRegOk : kSelfRegClassFailed;
}

int32_t unregisterDesignerPlugin(const QString &pUserFolder)
{
    const QString link = pUserFolder + u'/' + QString::fromLatin1(kDesignerPluginFile);
    const QFileInfo existing(link);
    if (!existing.isSymLink())
        return kSelfRegOk; // nothing of ours there
    return QFile::remove(link) ? kSelfRegOk : kSelfRegClassFailed;
}

} // namespace vexlo

int32_t DllRegisterServer()
{
    return vexlo::registerDesignerPlugin(vexlo::designerPluginPath(),
                                         vexlo::userDesignerPluginFolder());
}

int32_t DllUnregisterServer()
{
    return vexlo::unregisterDesignerPlugin(vexlo::userDesignerPluginFolder());
}
