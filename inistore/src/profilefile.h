#pragma once

// File access for the engine: reading the current document of a file, and changing it safely.
//
// A change runs as one read-modify-write under an exclusive lock on the file, so that writers
// in several processes never lose each other's updates, and it replaces the file atomically (a
// temporary file in the same folder, flushed, then renamed over the old one with its
// permissions), so that a crash leaves either the old or the new file, never a torn one.
//
// A writable file in a folder that refuses new files is rewritten where it stands instead.
// Readers take a shared lock, so none sees such a rewrite half done, and the rewrite is
// recorded in a journal first (inplacejournal.h), so that one cut short by a crash is finished
// by the next reader or writer.
//
// A write follows symbolic links as writepath.h describes; a dangling link is written through,
// creating the file it names.

#include <functional>
#include <memory>
#include <string>

#include "inidocument.h"

namespace txini {

class ProfileFile
{
public:
    explicit ProfileFile(std::string pPath);

    // The file as it is now; nullptr when it does not exist or cannot be read.
    std::shared_ptr<const IniDocument> read() const;
    // The same for pPath; a file this thread read before and that has not changed since costs
    // one file-status call and nothing else.
    static std::shared_ptr<const IniDocument> readFile(const char *pPath);

    enum class Create { IfMissing, Never };
    enum class Outcome {
        Written, // the edit changed the document and the file was replaced
        Unchanged, // the edit changed nothing (or the file was missing and not created)
        Failed, // the file could not be read, locked or written; it is as it was
    };
    // Runs pEdit on the current document under the lock; pEdit returns whether it changed it.
    Outcome update(Create pCreate, const std::function<bool(IniDocument &)> &pEdit) const;
    // After Failed: the errno of the cause (EISDIR for a folder, EACCES for a read-only file,
    // EPERM for a link that is not followed, ...).
    int error() const { return m_error; }

private:
    std::string m_path;
    mutable int m_error = 0;
};

} // namespace txini
