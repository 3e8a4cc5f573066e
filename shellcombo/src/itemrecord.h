#pragma once

// The item record of one entry: the entry's own absolute identifier list (none for the desktop
// entry), or the custom marker for an entry that refers to no shell object, and the client's
// user data. The record owns its list; the list goes back to the task allocator with the record.

#include "platform/idlist.h"

#include <QtCore/QVariant>

#include <utility>

namespace vexlo {

class ItemRecord
{
public:
    using ItemIdList = pindrel::platform::ItemIdList;

    // A shell entry holding pList (nullptr for the desktop entry).
    static ItemRecord shell(pindrel::platform::idlist::Unique pList)
    {
        return ItemRecord(std::move(pList), false);
    }
    // A custom entry.
    static ItemRecord custom() { return ItemRecord({}, true); }

    bool isCustom() const { return m_custom; }
    bool isDesktop() const { return !m_custom && !m_list; }
    // The entry's list; nullptr for the desktop entry and a custom entry.
    const ItemIdList *idList() const { return m_list.get(); }

    const QVariant &userData() const { return m_userData; }
    void setUserData(const QVariant &pValue) { m_userData = pValue; }

private:
    ItemRecord(pindrel::platform::idlist::Unique pList, bool pCustom)
        : m_list(std::move(pList))
        , m_custom(pCustom)
    { }

    pindrel::platform::idlist::Unique m_list;
    bool m_custom;
    QVariant m_userData;
};

} // namespace vexlo
