#pragma once

// A menu picture taken from the desktop's icon theme when it is first drawn, with a picture of
// our own where the theme has none (or has one that cannot be drawn here). Looking a name up
// in the icon themes checks many files; doing it at the first paint keeps it out of the bar's
// start-up.

#include <QIconEngine>
#include <QString>

#include <optional>

namespace pindrel {

class ThemedPicture : public QIconEngine
{
public:
    ThemedPicture(QString pThemeName, QString pFallbackFile);

    void paint(QPainter *pPainter, const QRect &pRect, QIcon::Mode pMode,
               QIcon::State pState) override;
    QPixmap pixmap(const QSize &pSize, QIcon::Mode pMode, QIcon::State pState) override;
    QSize actualSize(const QSize &pSize, QIcon::Mode pMode, QIcon::State pState) override;
    QIconEngine *clone() const override;
    QString key() const override;

    // The icon the picture stands for, looked up now if it was not yet.
    const QIcon &resolved();

private:
    QString m_themeName;
    QString m_fallbackFile;
    std::optional<QIcon> m_resolved;
};

} // namespace pindrel
