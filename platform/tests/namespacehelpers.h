#pragma once

// Small readers used by the namespace tests: parse into an owned list, and the display names
// along a list or of an enumeration.

#include "namespacesandbox.h"

#include <QtCore/QStringList>

inline pindrel::platform::idlist::Unique parsed(const pindrel::platform::ShellNamespace &pNs,
                                                const QString &pPath)
{
    pindrel::platform::ItemIdList *list = nullptr;
    pNs.parseDisplayName(pPath, &list);
    return pindrel::platform::idlist::Unique(list);
}

inline pindrel::platform::idlist::Unique special(const pindrel::platform::ShellNamespace &pNs,
                                                 int pCsidl)
{
    pindrel::platform::ItemIdList *list = nullptr;
    pNs.specialFolderLocation(pCsidl, &list);
    return pindrel::platform::idlist::Unique(list);
}

// The display name of every level of pList, from the top.
inline QStringList chainNames(const pindrel::platform::ShellNamespace &pNs,
                              const pindrel::platform::ItemIdList *pList)
{
    QStringList names;
    for (int n = 1; n <= pindrel::platform::idlist::level(pList); ++n) {
        const pindrel::platform::idlist::Unique prefix(pindrel::platform::idlist::firstN(pList, n));
        names << pNs.displayNameOf(prefix.get());
    }
    return names;
}

inline QStringList namesOf(const pindrel::platform::ShellNamespace &pNs, const OwnedLists &pLists)
{
    QStringList names;
    for (size_t i = 0; i < pLists.size(); ++i)
        names << pNs.displayNameOf(pLists[i]);
    return names;
}

// The child of pFolder named pName among all its entries (hidden ones included); null when
// there is none.
inline pindrel::platform::idlist::Unique childNamed(const pindrel::platform::ShellNamespace &pNs,
                                                    const pindrel::platform::ItemIdList *pFolder,
                                                    const QString &pName)
{
    using namespace pindrel::platform;
    OwnedLists children(
        pNs.enumChildren(pFolder, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN));
    for (idlist::Unique &child : children.lists) {
        if (pNs.displayNameOf(child.get()) == pName)
            return std::move(child);
    }
    return {};
}
