#include "platform/shell.h"

#include "linux/gio.h"
#include "platform/filenamecodec.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QLoggingCategory>
#include <QtCore/QUrl>
#include <QtGui/QDesktopServices>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace pindrel::platform {

Q_LOGGING_CATEGORY(lcShell, "pindrel.platform.shell")

namespace {

// The file system is asked with the name's exact bytes: Qt's own file classes would turn the
// bytes of a name that is not valid UTF-8 into U+FFFD and look for another file.
QByteArray nativeName(const QString &pPath)
{
    return encodeFileName(pPath);
}

bool nativeStat(const QString &pPath, struct stat &pInfo)
{
    return ::stat(nativeName(pPath).constData(), &pInfo) == 0;
}

bool isRegularFile(const QString &pPath)
{
    struct stat info = {};
    return nativeStat(pPath, info) && S_ISREG(info.st_mode);
}

// Absolute and clean, worked out on the text alone, so the name's bytes stay as they are.
QString absolutePath(const QString &pPath)
{
    if (QDir::isAbsolutePath(pPath))
        return QDir::cleanPath(pPath);
    return QDir::cleanPath(QDir::currentPath() + u'/' + pPath);
}

QString folderOf(const QString &pAbsolutePath)
{
    const qsizetype slash = pAbsolutePath.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : pAbsolutePath.left(slash);
}

// The first bytes of a file, empty when it cannot be read.
QByteArray head(const QString &pPath, int pCount)
{
    const int descriptor = ::open(nativeName(pPath).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return {};
    QByteArray bytes(pCount, '\0');
    const ssize_t read = ::read(descriptor, bytes.data(), static_cast<size_t>(pCount));
    ::close(descriptor);
    bytes.resize(read > 0 ? static_cast<qsizetype>(read) : 0);
    return bytes;
}

// A launcher of Type=Link names a web page or a document rather than a program.
QUrl linkTarget(const QString &pPath)
{
    GKeyFile *file = g_key_file_new();
    QUrl target;
    if (g_key_file_load_from_file(file, nativeName(pPath).constData(), G_KEY_FILE_NONE, nullptr)) {
        gchar *type = g_key_file_get_string(file, G_KEY_FILE_DESKTOP_GROUP,
                                            G_KEY_FILE_DESKTOP_KEY_TYPE, nullptr);
        gchar *url = g_key_file_get_string(file, G_KEY_FILE_DESKTOP_GROUP,
                                           G_KEY_FILE_DESKTOP_KEY_URL, nullptr);
        if (type != nullptr && url != nullptr && qstrcmp(type, G_KEY_FILE_DESKTOP_TYPE_LINK) == 0)
            target = QUrl::fromUserInput(QString::fromUtf8(url));
        g_free(url);
        g_free(type);
    }
    g_key_file_free(file);
    return target;
}

} // namespace

Shell::~Shell() = default;

bool Shell::isRunnable(const QString &pPath)
{
    if (!isRegularFile(pPath) || ::access(nativeName(pPath).constData(), X_OK) != 0)
        return false;
    // What the kernel runs by itself: a native program or a script naming its interpreter. A
    // Windows program ("MZ"), or a document that merely has the execute bit (common on
    // shared drives), is not.
    const QByteArray start = head(pPath, 4);
    return start
        == QByteArrayLiteral("\x7f"
                             "ELF")
        || start.startsWith("#!");
}

bool Shell::isDesktopEntry(const QString &pPath)
{
    return pPath.endsWith(QLatin1String(".desktop")) && isRegularFile(pPath);
}

QUrl Shell::fileUrl(const QString &pPath)
{
    const QByteArray bytes = nativeName(pPath);
    if (bytes == pPath.toUtf8())
        return QUrl::fromLocalFile(pPath);
    // QUrl would encode the text as UTF-8; the name's own bytes go percent-encoded instead.
    return QUrl::fromEncoded(QByteArrayLiteral("file://") + bytes.toPercentEncoding("/"));
}

bool Shell::open(const QString &pPath)
{
    if (pPath.trimmed().isEmpty())
        return false;
    const QString path = absolutePath(pPath);
    struct stat info = {};
    if (!nativeStat(path, info))
        return false;
    // A launcher may carry the execute bit and a "#!" line of its own: it is still started
    // as a launcher, never run as a script.
    if (isDesktopEntry(path))
        return launchDesktopEntry(path);
    if (isRunnable(path)) {
        // Started in its own folder, as a program started from a file manager would be.
        return startDetached(path, {}, folderOf(path));
    }
    return openWithDefaultHandler(fileUrl(path));
}

bool Shell::shellExecute(const QString &pFile, const QStringList &pArgs, const QString &pWorkDir)
{
    if (pFile.trimmed().isEmpty())
        return false;
    QString program = pFile;
    if (QDir::isRelativePath(pFile) && !pWorkDir.isEmpty())
        program = QDir(pWorkDir).filePath(pFile);
    if (!isRunnable(program))
        return false;
    return startDetached(absolutePath(program), pArgs, pWorkDir);
}

bool Shell::openUrl(const QUrl &pUrl)
{
    if (!pUrl.isValid() || pUrl.isEmpty())
        return false;
    return openWithDefaultHandler(pUrl);
}

bool Shell::run(const QString &pPath)
{
    if (pPath.trimmed().isEmpty() || !isRunnable(pPath))
        return false;
    const QFileInfo info(pPath);
    return startDetached(info.absoluteFilePath(), {}, info.absolutePath());
}

bool Shell::openWithDefaultApplication(const QString &pPath)
{
    if (pPath.trimmed().isEmpty() || !QFileInfo::exists(pPath))
        return false;
    return openWithDefaultHandler(QUrl::fromLocalFile(QFileInfo(pPath).absoluteFilePath()));
}

bool Shell::startDetached(const QString &pProgram, const QStringList &pArgs,
                          const QString &pWorkDir)
{
    // The program is executed itself, with the exact bytes of its name and arguments: no
    // command shell sees them. Without G_SPAWN_DO_NOT_REAP_CHILD the child is detached and
    // reaped by the system, as a program started from a file manager is.
    std::vector<QByteArray> bytes;
    bytes.push_back(nativeName(pProgram));
    for (const QString &argument : pArgs)
        bytes.push_back(nativeName(argument));
    std::vector<gchar *> argv;
    for (QByteArray &argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const QByteArray folder = nativeName(pWorkDir);
    GError *error = nullptr;
    const gboolean started =
        g_spawn_async(folder.isEmpty() ? nullptr : folder.constData(), argv.data(), nullptr,
                      G_SPAWN_DEFAULT, nullptr, nullptr, nullptr, &error);
    if (error != nullptr) {
        qCWarning(lcShell) << "cannot start" << pProgram << error->message;
        g_error_free(error);
    }
    return started != FALSE;
}

bool Shell::openWithDefaultHandler(const QUrl &pUrl)
{
    return QDesktopServices::openUrl(pUrl);
}

bool Shell::launchDesktopEntry(const QString &pPath)
{
    GDesktopAppInfo *info = g_desktop_app_info_new_from_filename(nativeName(pPath).constData());
    if (info == nullptr) {
        // Not an application launcher: a link launcher opens what it points to; anything
        // else (a broken file, a program that TryExec says is missing) starts nothing.
        const QUrl target = linkTarget(pPath);
        if (target.isValid() && !target.isEmpty())
            return openWithDefaultHandler(target);
        qCWarning(lcShell) << "not a launcher this desktop can start:" << pPath;
        return false;
    }
    // GIO expands the field codes (for no files), runs Terminal=true entries in a terminal
    // and starts the program in the folder Path names.
    GError *error = nullptr;
    const gboolean started = g_desktop_app_info_launch_uris_as_manager(
        info, nullptr, nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr, nullptr, &error);
    if (error != nullptr) {
        qCWarning(lcShell) << "cannot start" << pPath << error->message;
        g_error_free(error);
    }
    g_object_unref(info);
    return started != FALSE;
}

} // namespace pindrel::platform
