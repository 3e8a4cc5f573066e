#include "folderreader.h"

#include "drawer/filekinds.h"

#include "platform/filenamecodec.h"

#include <QCollator>
#include <QElapsedTimer>
#include <QLocale>
#include <QUtf8StringView>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace pindrel {

namespace {

int compareNumbers(qint64 pLeft, qint64 pRight)
{
    return pLeft < pRight ? -1 : (pLeft > pRight ? 1 : 0);
}

qint64 modifiedMs(const struct stat &pInfo)
{
    return static_cast<qint64>(pInfo.st_mtim.tv_sec) * 1000 + pInfo.st_mtim.tv_nsec / 1000000;
}

} // namespace

QCollator FolderReader::makeCollator()
{
    // The C locale compares code points only (no case folding, no numbers); a desktop started
    // without a language still gets names in the order people read them.
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

bool FolderReader::entryFor(int pFolderDescriptor, const QByteArray &pName, FolderEntry &pEntry)
{
    struct stat info
    {
    };
    if (::fstatat(pFolderDescriptor, pName.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    pEntry.nativeName = pName;
    pEntry.rawName = !QUtf8StringView(pName).isValidUtf8();
    pEntry.name = pEntry.rawName ? platform::decodeFileName(pName) : QString::fromUtf8(pName);
    pEntry.link = S_ISLNK(info.st_mode);
    if (pEntry.link) {
        // A link shows as what it points to; a dead one as itself.
        struct stat target
        {
        };
        if (::fstatat(pFolderDescriptor, pName.constData(), &target, 0) == 0)
            info = target;
    }
    pEntry.folder = S_ISDIR(info.st_mode);
    pEntry.size = pEntry.folder ? 0 : static_cast<qint64>(info.st_size);
    pEntry.modifiedMs = modifiedMs(info);
    return true;
}

bool FolderReader::read(const QByteArray &pFolder, const Pace &pPace,
                        const std::function<bool()> &pCancelled,
                        const std::function<void(QList<FolderEntry> &&)> &pDeliver,
                        QList<FolderEntry> &pRest, int &pError)
{
    pRest.clear();
    DIR *directory = ::opendir(pFolder.constData());
    if (directory == nullptr) {
        pError = errno;
        return false;
    }
    const int descriptor = ::dirfd(directory);
    QElapsedTimer sinceDelivery;
    sinceDelivery.start();
    bool first = true;
    quint32 seen = 0;
    while (const dirent *item = ::readdir(directory)) {
        if ((++seen & 0xFF) == 0 && pCancelled && pCancelled())
            break;
        if (item->d_name[0] == '.')
            continue; // ".", ".." and hidden entries
        FolderEntry entry;
        if (!entryFor(descriptor, QByteArray(item->d_name), entry))
            continue; // gone since the folder was read
        pRest.append(std::move(entry));

        const qsizetype limit = first ? pPace.firstChunkEntries : pPace.chunkEntries;
        const qint64 interval = first ? pPace.firstChunkMs : pPace.chunkMs;
        if ((pRest.size() >= limit || sinceDelivery.elapsed() >= interval) && pDeliver) {
            pDeliver(std::move(pRest));
            pRest = {};
            first = false;
            sinceDelivery.restart();
        }
    }
    ::closedir(directory);
    return true;
}

QList<int> FolderReader::sortedOrder(const QList<FolderEntry> &pEntries, int pColumn,
                                     Qt::SortOrder pOrder)
{
    const QCollator collator = makeCollator();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(static_cast<std::size_t>(pEntries.size()));
    for (const FolderEntry &entry : pEntries)
        keys.push_back(collator.sortKey(entry.name));
    QStringList types;
    if (pColumn == TypeColumn) {
        types.reserve(pEntries.size());
        for (const FolderEntry &entry : pEntries)
            types.append(FileKinds::shared().typeName(entry.name, entry.folder));
    }

    QList<int> order(pEntries.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    const auto less = [&](int pLeft, int pRight) {
        const FolderEntry &left = pEntries.at(pLeft);
        const FolderEntry &right = pEntries.at(pRight);
        if (left.folder != right.folder)
            return left.folder;
        int result = 0;
        if (pColumn == SizeColumn)
            result = compareNumbers(left.size, right.size);
        else if (pColumn == TypeColumn)
            result = types.at(pLeft).compare(types.at(pRight), Qt::CaseInsensitive);
        else if (pColumn == ModifiedColumn)
            result = compareNumbers(left.modifiedMs, right.modifiedMs);
        if (result == 0)
            result = keys[static_cast<std::size_t>(pLeft)].compare(
                keys[static_cast<std::size_t>(pRight)]);
        if (result == 0)
            result = std::strcmp(left.nativeName.constData(), right.nativeName.constData());
        return pOrder == Qt::AscendingOrder ? result < 0 : result > 0;
    };
    std::sort(order.begin(), order.end(), less);
    return order;
}

bool FolderReader::lessThan(const FolderEntry &pLeft, const FolderEntry &pRight, int pColumn,
                            Qt::SortOrder pOrder, const QCollator &pCollator)
{
    if (pLeft.folder != pRight.folder)
        return pLeft.folder;
    int result = 0;
    if (pColumn == SizeColumn)
        result = compareNumbers(pLeft.size, pRight.size);
    else if (pColumn == TypeColumn)
        result = FileKinds::shared()
                     .typeName(pLeft.name, pLeft.folder)
                     .compare(FileKinds::shared().typeName(pRight.name, pRight.folder),
                              Qt::CaseInsensitive);
    else if (pColumn == ModifiedColumn)
        result = compareNumbers(pLeft.modifiedMs, pRight.modifiedMs);
    if (result == 0)
        result = pCollator.compare(pLeft.name, pRight.name);
    if (result == 0)
        result = std::strcmp(pLeft.nativeName.constData(), pRight.nativeName.constData());
    return pOrder == Qt::AscendingOrder ? result < 0 : result > 0;
}

} // namespace pindrel
