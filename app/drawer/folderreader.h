#pragma once

// The off-thread half of the file list's folder model: reading a folder's entries (names as
// bytes, one stat each) and putting them in order. Everything here runs on any thread and
// touches no shared state.
//
// Order, for every column and both directions: folders before files; then by the column
// (name, size, type, date modified), ties by name; names compare as people read them: without
// regard to case, digits by their number ("file2" before "file10").

#include "drawer/folderentry.h"

#include <QList>
#include <QtGlobal>

#include <functional>

class QCollator;

namespace pindrel {

class FolderReader
{
public:
    enum Column { NameColumn = 0, SizeColumn = 1, TypeColumn = 2, ModifiedColumn = 3 };

    // How often read() hands over what it has read: the first chunk early, so that a large
    // folder shows its first entries at once; then in larger chunks, so that adding them costs
    // the user-interface thread little each time.
    struct Pace
    {
        int firstChunkEntries = 256;
        int firstChunkMs = 15;
        int chunkEntries = 4096;
        int chunkMs = 40;
    };

    // Reads the folder pFolder (its path's bytes): hidden entries (a leading dot) left out, in
    // the order the folder gives them. pDeliver receives the entries read since its last call
    // when the pace says so; what is left is returned. pCancelled is polled between entries.
    // False, with the system's error number in pError, when the folder cannot be opened.
    static bool read(const QByteArray &pFolder, const Pace &pPace,
                     const std::function<bool()> &pCancelled,
                     const std::function<void(QList<FolderEntry> &&)> &pDeliver,
                     QList<FolderEntry> &pRest, int &pError);

    // The entry pName of the folder open as pFolderDescriptor; false when it vanished.
    static bool entryFor(int pFolderDescriptor, const QByteArray &pName, FolderEntry &pEntry);

    // The order of pEntries: element i is the index in pEntries of the entry that goes i-th.
    static QList<int> sortedOrder(const QList<FolderEntry> &pEntries, int pColumn,
                                  Qt::SortOrder pOrder);

    // The same order for two entries, with pCollator as made by makeCollator().
    static bool lessThan(const FolderEntry &pLeft, const FolderEntry &pRight, int pColumn,
                         Qt::SortOrder pOrder, const QCollator &pCollator);

    // A collator that compares names as the order above has it.
    static QCollator makeCollator();
};

} // namespace pindrel
