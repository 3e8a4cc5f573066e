#include "bar/themedpicture.h"

#include "platform/themeiconcache.h"

#include <QPainter>

namespace pindrel {

ThemedPicture::ThemedPicture(QString pThemeName, QString pFallbackFile)
    : m_themeName(std::move(pThemeName))
    , m_fallbackFile(std::move(pFallbackFile))
{ }

const QIcon &ThemedPicture::resolved()
{
    if (!m_resolved) {
        const QIcon themed = platform::ThemeIconCache::themed(m_themeName);
        // A theme may list an icon it cannot draw here (an SVG without the SVG plugin).
        if (!themed.isNull() && !themed.pixmap(16, 16).isNull())
            m_resolved = themed;
        else
            m_resolved = QIcon(m_fallbackFile);
    }
    return *m_resolved;
}

void ThemedPicture::paint(QPainter *pPainter, const QRect &pRect, QIcon::Mode pMode,
                          QIcon::State pState)
{
    resolved().paint(pPainter, pRect, Qt::AlignCenter, pMode, pState);
}

QPixmap ThemedPicture::pixmap(const QSize &pSize, QIcon::Mode pMode, QIcon::State pState)
{
    return resolved().pixmap(pSize, pMode, pState);
}

QSize ThemedPicture::actualSize(const QSize &pSize, QIcon::Mode pMode, QIcon::State pState)
{
    return resolved().actualSize(pSize, pMode, pState);
}

QIconEngine *ThemedPicture::clone() const
{
    return new ThemedPicture(*this); // ownership passes to the QIcon that asked for it
}

QString ThemedPicture::key() const
{
    return QStringLiteral("ThemedPicture");
}

} // namespace pindrel
