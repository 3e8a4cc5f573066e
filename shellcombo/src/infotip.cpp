#include "infotip.h"

#include "platform/filenamecodec.h"
#include "platform/folderlisting.h"

#include <QtCore/QDateTime>
#include <QtCore/QLocale>
#include <QtCore/QMimeDatabase>

#include <sys/stat.h>

#include <vector>

namespace vexlo::infotip {

QString forPath(const QString &pPath)
{
    if (pPath.isEmpty())
        return {};
    // By bytes: the path may name a file whose name is not valid UTF-8.
    const QByteArray bytes = pindrel::platform::encodeFileName(pPath);
    struct stat info
    {
    };
    if (::stat(bytes.constData(), &info) != 0)
        return {};
    const bool folder = S_ISDIR(info.st_mode);
    const QLocale locale;
    QStringList lines;

    const QMimeDatabase mimes;
    const QMimeType type = folder ? mimes.mimeTypeForName(QStringLiteral("inode/directory"))
                                  : mimes.mimeTypeForFile(pPath);
    QString typeName = type.comment();
    if (typeName.isEmpty())
        typeName = folder ? QStringLiteral("Folder") : QStringLiteral("File");
    else
        typeName[0] = typeName[0].toUpper();
    lines << QStringLiteral("Type: ") + typeName;

    if (folder) {
        std::vector<pindrel::platform::FolderListingEntry> entries;
        if (pindrel::platform::listFolder(pPath, entries))
            lines << (entries.size() == 1
                          ? QStringLiteral("Contents: 1 item")
                          : QStringLiteral("Contents: %1 items")
                                .arg(locale.toString(static_cast<qulonglong>(entries.size()))));
    } else {
        lines << QStringLiteral("Size: ") + locale.formattedDataSize(info.st_size);
    }

    const QDateTime modified = QDateTime::fromSecsSinceEpoch(info.st_mtim.tv_sec);
    lines << QStringLiteral("Modified: ") + locale.toString(modified, QLocale::ShortFormat);
    return lines.join(u'\n');
}

} // namespace vexlo::infotip
