#pragma once

// Icon lookups of the shell namespace (internal): the freedesktop icon theme by name, and the
// MIME database for files. Both need a QGuiApplication; without one they give a null icon.

#include <QtGui/QAbstractFileIconProvider>
#include <QtGui/QIcon>

#include <initializer_list>

namespace pindrel::platform::namespaceicons {

// False when there is no QGuiApplication (icons cannot be made then).
bool available();

// The first of pNames that the icon theme has; else the icon provider's icon of pFallback
// (which may be null when the desktop has no icon theme at all).
QIcon themed(std::initializer_list<const char *> pNames,
             QAbstractFileIconProvider::IconType pFallback);

// The icon of a file's type: its MIME type's icon, else the generic icon of its kind, else the
// plain document icon. The type is found from the name and, when the file can be read, its
// first bytes.
QIcon forFile(const QString &pPath);

} // namespace pindrel::platform::namespaceicons
