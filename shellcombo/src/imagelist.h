#pragma once

// The control's private image list: the icons its entries are drawn with, by index, and the
// overlay images that can be drawn over them by overlay number. Shell icons are added on demand
// and each distinct icon once, so entries of the same kind share an index. Lives as long as
// the control object; the list window is re-created around it, so custom icons and overlays
// survive RefreshComboBox.
//
// A new list holds two images of the control's own: the share overlay (image 0, overlay 1) and
// the link overlay (image 1, overlay 2).

#include <QtCore/QHash>
#include <QtCore/QString>
#include <QtGui/QIcon>

#include <cstdint>
#include <vector>

namespace vexlo {

class ImageList
{
public:
    static constexpr int kMaxOverlays = 15;

    ImageList();

    // The index of a shell icon, appending it the first time it is seen. Themed icons are told
    // apart by their name, nameless ones by their small image.
    int indexOf(const QIcon &pIcon);
    // Appends an icon and returns its index.
    int append(const QIcon &pIcon);
    // The icon at pIndex; a null icon when out of range.
    QIcon icon(int pIndex) const;
    // The icon at pImage with overlay pOverlay drawn over it; the plain icon for overlay 0 or
    // an overlay number that is not defined.
    QIcon overlaid(int pImage, int pOverlay) const;
    int count() const { return static_cast<int>(m_icons.size()); }

    // Makes image pImage the next overlay and returns its number (3 to 15 after the two of the
    // control's own); -1, with nothing changed, when 15 overlays are defined or there is no
    // image pImage.
    int setOverlayImage(int pImage);
    int overlayCount() const { return static_cast<int>(m_overlays.size()); }
    // The image of overlay pOverlay; -1 when it is not defined.
    int overlayImage(int pOverlay) const;

private:
    static QString keyOf(const QIcon &pIcon);

    std::vector<QIcon> m_icons;
    QHash<QString, int> m_map;
    std::vector<int> m_overlays; // overlay n is image m_overlays[n - 1]
    mutable QHash<uint64_t, QIcon> m_overlaid; // made once per image and overlay
};

} // namespace vexlo
