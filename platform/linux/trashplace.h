#pragma once

// The desktop's trash for the copy job's undo (internal). GIO puts an item in the trash but
// does not say where it went; these find it again, so that a replaced item can come back.

#include <QtCore/QByteArray>
#include <QtCore/QString>

#include <optional>

typedef struct _GCancellable GCancellable;

namespace pindrel::platform {

// Moves pPath (raw bytes) to the trash with g_file_trash and returns where it now lies (in a
// trash's files/ folder); empty when it is in the trash but could not be found there again.
// nullopt, with pWhy set, when it could not be trashed.
std::optional<QByteArray> moveToTrash(const QByteArray &pPath, GCancellable *pCancellable,
                                      QString &pWhy);

// Puts the trashed pInTrash back at pOriginal, which must be free, and removes its trash
// information file.
bool restoreFromTrash(const QByteArray &pInTrash, const QByteArray &pOriginal);

} // namespace pindrel::platform
