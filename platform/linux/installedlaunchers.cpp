#include "linux/installedlaunchers.h"

#include "linux/gio.h"
#include "platform/filenamecodec.h"

#include <QtCore/QHash>

#include <climits>
#include <cstdlib>

namespace pindrel::platform {

namespace {

struct Launcher
{
    QString icon;
    bool programAlone = false;
};

struct Index
{
    bool current = false;
    bool watching = false;
    QHash<QByteArray, Launcher> byProgram;
};

Index &index()
{
    static Index instance;
    return instance;
}

void forget(GAppInfoMonitor *, gpointer)
{
    index().current = false;
}

// Whether the Exec line runs its program with nothing but field codes after it.
bool startsProgramAlone(GAppInfo *pInfo)
{
    const char *commandLine = g_app_info_get_commandline(pInfo);
    gint count = 0;
    gchar **argv = nullptr;
    if (commandLine == nullptr || !g_shell_parse_argv(commandLine, &count, &argv, nullptr))
        return false;
    bool alone = true;
    for (gint i = 1; i < count && alone; ++i)
        alone = argv[i][0] == '%';
    g_strfreev(argv);
    return alone;
}

// The program file a launcher's Exec starts: an absolute name, or a name looked up in PATH.
QByteArray programOf(GAppInfo *pInfo)
{
    const char *executable = g_app_info_get_executable(pInfo);
    if (executable == nullptr || executable[0] == '\0')
        return {};
    gchar *found = g_find_program_in_path(executable);
    if (found == nullptr)
        return {};
    const QByteArray program = InstalledLaunchers::resolved(QByteArray(found));
    g_free(found);
    return program;
}

QString iconOf(GAppInfo *pInfo)
{
    GIcon *icon = g_app_info_get_icon(pInfo);
    if (icon == nullptr)
        return {};
    // A single theme name comes back as the name, a picture file as its path.
    gchar *text = g_icon_to_string(icon);
    const QString name = text != nullptr ? decodeFileName(QByteArray(text)) : QString();
    g_free(text);
    return name.startsWith(u'.') ? QString() : name;
}

void rebuild(Index &pIndex)
{
    pIndex.byProgram.clear();
    GList *all = g_app_info_get_all();
    for (GList *item = all; item != nullptr; item = item->next) {
        auto *info = static_cast<GAppInfo *>(item->data);
        const QByteArray program = programOf(info);
        const QString icon = iconOf(info);
        if (program.isEmpty() || icon.isEmpty())
            continue;
        const bool alone = startsProgramAlone(info);
        const auto known = pIndex.byProgram.constFind(program);
        if (known == pIndex.byProgram.constEnd() || (alone && !known->programAlone))
            pIndex.byProgram.insert(program, Launcher{icon, alone});
    }
    g_list_free_full(all, g_object_unref);
    pIndex.current = true;
}

} // namespace

QByteArray InstalledLaunchers::resolved(const QByteArray &pNativePath)
{
    char *path = ::realpath(pNativePath.constData(), nullptr);
    if (path == nullptr)
        return {};
    const QByteArray result(path);
    std::free(path);
    return result;
}

QString InstalledLaunchers::iconFor(const QString &pProgram)
{
    Index &known = index();
    if (!known.watching) {
        // The monitor lives as long as the process: it is what tells the index to go stale.
        GAppInfoMonitor *monitor = g_app_info_monitor_get();
        g_signal_connect_data(monitor, "changed", reinterpret_cast<GCallback>(&forget), nullptr,
                              nullptr, G_CONNECT_DEFAULT);
        known.watching = true;
    }
    if (!known.current)
        rebuild(known);
    const QByteArray program = resolved(encodeFileName(pProgram));
    if (program.isEmpty())
        return {};
    return known.byProgram.value(program).icon;
}

} // namespace pindrel::platform
