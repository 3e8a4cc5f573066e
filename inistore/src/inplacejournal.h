#pragma once

// The journal of a rewrite in place (Linux only).
//
// A file whose folder refuses new files cannot be replaced by renaming a new copy over it: it
// is rewritten where it stands. So that a writer killed in the middle of that leaves nothing torn
// behind for good, the writer first records the old and the new content, durably, in a journal
// of its own user, outside the file's folder; the file's next reader or writer that finds the
// record finishes the rewrite and removes the record. A record names the file by device and
// inode, so any path to the file finds it.
//
// The journals live in $XDG_STATE_HOME/txini (by default ~/.local/state/txini), which survives
// a power cut, or, for a user without a home folder, in $XDG_RUNTIME_DIR/txini, else in
// /tmp/txini-<uid>. A journal folder or record that another user owns, or that others may write
// to, is never trusted: a rewrite in place then does not happen at all.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace txini {

class InPlaceJournal
{
public:
    InPlaceJournal(uint64_t pDevice, uint64_t pInode);

    // Records a rewrite of the file from pOld to pNew, on disk, before the file is touched.
    // False when there is no journal folder to use; the file must then not be rewritten.
    bool begin(std::string_view pOld, std::string_view pNew);
    // The rewrite is done (or undone): the record goes.
    void finish();

    // Whether a record of an unfinished rewrite of this file is there.
    bool exists() const;

    // What the file must hold, by the record, given what it holds now (pCurrent). nullopt when
    // there is no valid record, or when the file is not somewhere between the old and the new
    // content of the record: changed since by someone else, whose change is then kept.
    std::optional<std::string> pendingContent(std::string_view pCurrent) const;

    // The folder records go to; empty when there is none to use. Made (private to the user,
    // with the folders above it that are missing) when pCreate.
    static std::string folder(bool pCreate);

private:
    std::string recordPath() const;
    std::optional<std::pair<std::string, std::string>> readRecord() const;

    uint64_t m_device;
    uint64_t m_inode;
};

} // namespace txini
