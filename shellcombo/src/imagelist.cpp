#include "imagelist.h"

#include <QtGui/QImage>
#include <QtGui/QPixmap>

namespace vexlo {

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

} // namespace vexlo
