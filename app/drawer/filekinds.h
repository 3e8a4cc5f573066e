#pragma once

// The icon and the type name of a folder entry, told by its name alone and remembered per
// extension, so that an entry usually costs a hash lookup: folders of a hundred thousand
// entries are listed without reading any file and without asking the MIME database per entry.
// "archive.tar.gz" is told from "file.gz" by all of its extensions. A name without an extension
// counts as a plain file (matching whole names against the MIME globs costs a regular expression
// each). The theme's icon of a type falls back to its generic icon and then to the style's.
//
// Looking an icon up in the desktop's theme takes a few milliseconds per type, which adds up
// when a folder shows many types at once; the first time a type is asked for, icon() answers
// with the plain file icon and looks the type's own icon up shortly after, one type per pass of
// the event loop, announcing each with iconsChanged().
//
// typeName() may be called from any thread (sorting by type happens off the user-interface
// thread); icon() only from the user-interface thread.

#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace pindrel {

class FileKinds : public QObject
{
    Q_OBJECT

public:
    // Made on first use, which must be on the user-interface thread (the file list does that).
    static FileKinds &shared();

    QIcon icon(const QString &pName, bool pFolder);
    QString typeName(const QString &pName, bool pFolder);

signals:
    // Icons of one or more types have been looked up since the last time.
    void iconsChanged();

private:
    FileKinds();
    // The MIME type name for pName; m_lock held.
    QString mimeNameOf(const QString &pName);
    void lookUpNextIcon();

    QMutex m_lock;
    QMimeDatabase m_mimeTypes;
    QHash<QString, QString> m_byExtension; // lower-case extensions to MIME type names
    QHash<QString, QString> m_typeNames; // MIME type names to their descriptions
    QHash<QString, QIcon> m_icons; // MIME type names to icons
    QStringList m_iconsToLookUp; // MIME type names, oldest first
    QIcon m_folderIcon;
    QIcon m_fileIcon;
    QTimer m_lookUpTimer;
};

} // namespace pindrel
