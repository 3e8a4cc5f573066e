// The list window's custom entries: the host's own entries, which refer to no shell object.

#include "vexlo/namespacecombobox.h"

#include "entrymodel.h"
#include "vexlo/vexloenums.h"

#include "platform/shellnamespace.h"

#include <QtCore/QPointer>

#include <vector>

namespace vexlo {

namespace pf = pindrel::platform;

int CNamespaceComboBox::customPosition(int32_t pParent, int &pIndent) const
{
    switch (pParent) {
    case VXODesktop:
        // After the last desktop child, found from the end; the first place when there is none.
        pIndent = m_options.indent;
        for (int index = count() - 1; index >= 0; --index) {
            if (m_model->at(index).indent == m_options.indent)
                return index + 1;
        }
        return 0;
    case VXOMyComputer: {
        ItemIdList *computerList = nullptr;
        m_shell->specialFolderLocation(pf::CSIDL_DRIVES, &computerList);
        const pf::idlist::Unique computer(computerList);
        for (int index = 0; computer && index < count(); ++index) {
            const ItemIdList *own = m_model->at(index).record.idList();
            if (own && sameObject(own, computer.get())) {
                pIndent = m_model->at(index).indent + m_options.indent;
                return index + 1;
            }
        }
        return -1;
    }
    case VXOParentNone:
        pIndent = 0;
        return count();
    default:
        return -1;
    }
}

void CNamespaceComboBox::AddCustomItem(int32_t Parent, const QString &sText, int32_t iIcon)
{
    int indent = 0;
    const int position = customPosition(Parent, indent);
    if (position >= 0)
        insertCustomEntry(position, sText, iIcon, indent);
}

bool CNamespaceComboBox::DeleteCustomItem(const QString &sText)
{
    // Exact: the texts' UTF-16 code units, as the shown texts hold them.
    int index = 0;
    while (index < count() && m_model->at(index).text != sText)
        ++index;
    if (index >= count())
        return false;

    // Followed by its serial from here on: the selection of entry 0, and the hosts' handlers of
    // the events fired below, may remove entries in front of it. A path item stops being one
    // now, so that the selection does not remove it (and tell of it) a second time.
    const uint64_t serial = m_model->serialAt(index);
    std::erase(m_pathItems, serial);
    const QPointer<CNamespaceComboBox> self(this);
    emit OnBeforeItemDelete(CComboBoxItem(this, static_cast<int16_t>(index)));
    if (!self)
        return true;
    if (currentIndex() == m_model->rowOf(serial))
        SelectItem(0);
    if (!self)
        return true;
    const int row = m_model->rowOf(serial);
    if (row < 0)
        return true; // a handler removed it
    const bool logical = m_model->serialAt(row) == m_logicalSelection;
    const bool current = currentIndex() == row;
    m_model->remove(row); // frees the record and its list
    if (logical)
        setLogicalSelection(0);
    if (current)
        setCurrentIndex(count() > 0 ? 0 : -1);
    return true;
}

} // namespace vexlo
