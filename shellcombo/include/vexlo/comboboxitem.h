#pragma once

// ComboBoxItem: the automation object through which a client reads and changes one entry of the
// list window. It holds only the list window and the index it was made for; it does not follow
// the entry when entries are inserted or removed before it, and it reads the entry now at that
// index. An item whose index no longer exists (or whose list window is gone) reads empty values
// ("", 0, false, an empty variant, nothing) and ignores writes; it raises no error.
//
// Item objects are cheap values: one is made anew each time a client asks for one.

#include "vexlo/vexloexport.h"

#include <QtCore/QMetaType>
#include <QtCore/QPointer>
#include <QtCore/QString>
#include <QtCore/QVariant>

#include <cstdint>
#include <optional>

namespace vexlo {

class CNamespaceComboBox;

class VEXLO_EXPORT CComboBoxItem
{
public:
    CComboBoxItem() = default; // reads as an item of a list window that is gone
    CComboBoxItem(CNamespaceComboBox *pCombo, int16_t pIndex);

    // 1: the entry's image (private image index); writing sets image and selected image.
    int32_t IconIndex() const;
    void IconIndex(int32_t pValue);
    // 2: the shown text; writing keeps at most 259 characters.
    QString Text() const;
    void Text(const QString &pValue);
    // 3: the overlay number (VXOOverlayIconTypes, or 3..15 for added overlays).
    int32_t OverlayIconIndex() const;
    void OverlayIconIndex(int32_t pValue);
    // 4: a copy of the entry's own variant; writing replaces it with a copy.
    QVariant UserData() const;
    void UserData(const QVariant &pValue);
    // 5: the indentation, in the list's units; writing does not redraw.
    int16_t ItemIndent() const;
    void ItemIndent(int16_t pValue);
    // 6: the shell display name of the entry's object (the desktop's for the desktop entry;
    // "" for a custom entry).
    QString DisplayName() const;
    // 7: the index this object was made for.
    int16_t ItemIndex() const { return m_index; }
    // 8: the file-system path of the entry's object (the desktop folder for the desktop entry);
    // "" when it has none or the entry is custom.
    QString Path() const;
    // 9: true when the entry is the combo box's current selection.
    bool Selected() const;
    // 10: the entry's identifier list as an address: 0 for the desktop entry, -1 for a custom
    // entry. The list stays the control's: a client must neither change nor free it, and it is
    // valid only while the entry exists.
    intptr_t Pidl() const;
    // 11, 12: the item objects of the neighbouring entries; nothing before entry 0 or after
    // the last entry.
    std::optional<CComboBoxItem> PreviousItem() const;
    std::optional<CComboBoxItem> NextItem() const;
    // 13: the entries after this one, to the end of the list, whose indentation is this
    // entry's plus the control's indentation step (Indent).
    int16_t Children() const;
    // 14: the object's attributes among the bits of pAttribs (VXOAttributeTypes); 0 for a
    // custom entry.
    uint32_t Attributes(uint32_t pAttribs) const;
    // 15: true when the entry is a custom entry.
    bool IsCustom() const;

    // The list window the item was made for; nullptr once it is gone.
    CNamespaceComboBox *combo() const;

private:
    QPointer<CNamespaceComboBox> m_combo;
    int16_t m_index = 0;
};

} // namespace vexlo

Q_DECLARE_METATYPE(vexlo::CComboBoxItem)
