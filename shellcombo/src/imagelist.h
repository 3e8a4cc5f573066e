#pragma once

// The control's private image list: the icons its entries are drawn with, by index. Shell icons
// are added on demand and each distinct icon once, so entries of the same kind share an index.
// Lives as long as the control object; the list window is re-created around it.

#include <QtCore/QHash>
#include <QtCore/QString>
#include <QtGui/QIcon>

#include <vector>

namespace vexlo {

class ImageList
{
public:
    // The index of a shell icon, appending it the first time it is seen. Themed icons are told
    // apart by their name, nameless ones by their small image.
    int indexOf(const QIcon &pIcon);
    // Appends an icon and returns its index.
    int append(const QIcon &pIcon);
    // The icon at pIndex; a null icon when out of range.
    QIcon icon(int pIndex) const;
    int count() const { return static_cast<int>(m_icons.size()); }

private:
    static QString keyOf(const QIcon &pIcon);

    std::vector<QIcon> m_icons;
    QHash<QString, int> m_map;
};

} // namespace vexlo
