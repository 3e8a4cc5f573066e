#include "imagelist.h"

#include "artworkengine.h"
#include "overlaidiconengine.h"

#include <QtGui/QImage>
#include <QtGui/QPixmap>

namespace vexlo {

ImageList::ImageList()
{
    m_overlays.push_back(append(ArtworkEngine::icon(ArtworkEngine::Picture::ShareOverlay)));
    m_overlays.push_back(append(ArtworkEngine::icon(ArtworkEngine::Picture::LinkOverlay)));
}

QString ImageList::keyOf(const QIcon &pIcon)
{
    // Icons are made anew for every object, each with a new cache key, so the key cannot tell
    // two of the same kind apart: a theme icon's name can, and so can the small image of a
    // nameless one (a style's stock icon).
    if (pIcon.isNull())
        return QStringLiteral("null");
    if (!pIcon.name().isEmpty())
        return QStringLiteral("name:") + pIcon.name();
    const QImage image = pIcon.pixmap(QSize(16, 16)).toImage();
    return QStringLiteral("image:%1x%2:%3")
        .arg(image.width())
        .arg(image.height())
        .arg(qHashBits(image.constBits(), static_cast<size_t>(image.sizeInBytes())), 0, 16);
}

int ImageList::indexOf(const QIcon &pIcon)
{
    const QString key = keyOf(pIcon);
    const auto found = m_map.constFind(key);
    if (found != m_map.constEnd())
        return found.value();
    const int index = append(pIcon);
    m_map.insert(key, index);
    return index;
}

int ImageList::append(const QIcon &pIcon)
{
    m_icons.push_back(pIcon);
    return count() - 1;
}

QIcon ImageList::icon(int pIndex) const
{
    if (pIndex < 0 || pIndex >= count())
        return {};
    return m_icons[static_cast<size_t>(pIndex)];
}

QIcon ImageList::overlaid(int pImage, int pOverlay) const
{
    const int overlay = overlayImage(pOverlay);
    if (overlay < 0 || pImage < 0 || pImage >= count())
        return icon(pImage);
    // Images never change once added, so one combined icon per pair serves every entry.
    const uint64_t key = (static_cast<uint64_t>(static_cast<uint32_t>(pImage)) << 32)
        | static_cast<uint32_t>(pOverlay);
    auto found = m_overlaid.find(key);
    if (found == m_overlaid.end())
        found = m_overlaid.insert(key, QIcon(new OverlaidIconEngine(icon(pImage), icon(overlay))));
    return found.value();
}

int ImageList::setOverlayImage(int pImage)
{
    if (overlayCount() >= kMaxOverlays || pImage < 0 || pImage >= count())
        return -1;
    m_overlays.push_back(pImage);
    return overlayCount();
}

int ImageList::overlayImage(int pOverlay) const
{
    if (pOverlay < 1 || pOverlay > overlayCount())
        return -1;
    return m_overlays[static_cast<size_t>(pOverlay - 1)];
}

} // namespace vexlo
