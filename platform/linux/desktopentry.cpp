#include "platform/desktopentry.h"

#include "platform/filenamecodec.h"

#include <glib.h>

namespace pindrel::platform {

QString desktopEntryName(const QString &pPath)
{
    g_autoptr(GKeyFile) entry = g_key_file_new();
    const QByteArray path = encodeFileName(pPath);
    if (g_key_file_load_from_file(entry, path.constData(), G_KEY_FILE_NONE, nullptr) == 0)
        return {};
    g_autofree gchar *type = g_key_file_get_string(entry, G_KEY_FILE_DESKTOP_GROUP,
                                                   G_KEY_FILE_DESKTOP_KEY_TYPE, nullptr);
    if (type == nullptr || g_strcmp0(type, G_KEY_FILE_DESKTOP_TYPE_APPLICATION) != 0)
        return {};
    if (g_key_file_get_boolean(entry, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_HIDDEN,
                               nullptr)
        != 0)
        return {};
    g_autofree gchar *name = g_key_file_get_locale_string(
        entry, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_NAME, nullptr, nullptr);
    return name == nullptr ? QString() : QString::fromUtf8(name).trimmed();
}

} // namespace pindrel::platform
