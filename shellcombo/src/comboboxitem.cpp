#include "vexlo/comboboxitem.h"

#include "vexlo/namespacecombobox.h"

namespace vexlo {

CComboBoxItem::CComboBoxItem(CNamespaceComboBox *pCombo, int16_t pIndex)
    : m_combo(pCombo)
    , m_index(pIndex)
{ }

CNamespaceComboBox *CComboBoxItem::combo() const
{
    return m_combo.data();
}

int32_t CComboBoxItem::IconIndex() const
{
    return m_combo ? m_combo->entryImage(m_index) : 0;
}

void CComboBoxItem::IconIndex(int32_t pValue)
{
    if (m_combo)
        m_combo->setEntryImage(m_index, pValue);
}

QString CComboBoxItem::Text() const
{
    return m_combo ? m_combo->entryText(m_index) : QString();
}

void CComboBoxItem::Text(const QString &pValue)
{
    if (m_combo)
        m_combo->setEntryText(m_index, pValue);
}

int32_t CComboBoxItem::OverlayIconIndex() const
{
    return m_combo ? m_combo->entryOverlay(m_index) : 0;
}

void CComboBoxItem::OverlayIconIndex(int32_t pValue)
{
    if (m_combo)
        m_combo->setEntryOverlay(m_index, pValue);
}

QVariant CComboBoxItem::UserData() const
{
    return m_combo ? m_combo->entryUserData(m_index) : QVariant();
}

void CComboBoxItem::UserData(const QVariant &pValue)
{
    if (m_combo)
        m_combo->setEntryUserData(m_index, pValue);
}

int16_t CComboBoxItem::ItemIndent() const
{
    return m_combo ? static_cast<int16_t>(m_combo->entryIndent(m_index)) : int16_t{0};
}

void CComboBoxItem::ItemIndent(int16_t pValue)
{
    if (m_combo)
        m_combo->setEntryIndent(m_index, pValue);
}

QString CComboBoxItem::DisplayName() const
{
    return m_combo ? m_combo->entryDisplayName(m_index) : QString();
}

QString CComboBoxItem::Path() const
{
    return m_combo ? m_combo->entryPath(m_index) : QString();
}

bool CComboBoxItem::Selected() const
{
    return m_combo && m_combo->hasEntry(m_index) && m_combo->currentIndex() == m_index;
}

intptr_t CComboBoxItem::Pidl() const
{
    if (!m_combo)
        return 0;
    if (m_combo->entryIsCustom(m_index))
        return -1; // the custom marker
    return reinterpret_cast<intptr_t>(m_combo->entryIdList(m_index));
}

std::optional<CComboBoxItem> CComboBoxItem::PreviousItem() const
{
    if (!m_combo || m_index <= 0)
        return std::nullopt;
    return CComboBoxItem(m_combo, static_cast<int16_t>(m_index - 1));
}

std::optional<CComboBoxItem> CComboBoxItem::NextItem() const
{
    if (!m_combo || m_index + 1 >= m_combo->count())
        return std::nullopt;
    return CComboBoxItem(m_combo, static_cast<int16_t>(m_index + 1));
}

int16_t CComboBoxItem::Children() const
{
    return m_combo ? static_cast<int16_t>(m_combo->entryChildren(m_index)) : int16_t{0};
}

uint32_t CComboBoxItem::Attributes(uint32_t pAttribs) const
{
    return m_combo ? m_combo->entryAttributes(m_index, pAttribs) : 0;
}

bool CComboBoxItem::IsCustom() const
{
    return m_combo && m_combo->entryIsCustom(m_index);
}

} // namespace vexlo
