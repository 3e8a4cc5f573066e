#pragma once

// Thumbnails of image files, decoded on a private thread pool at their final size (the reader
// scales while decoding, so a large photo never sits in memory whole). The user-interface
// thread only asks for a thumbnail and is told when one arrives; it never waits for a decode.
//
// Requests made last are decoded first, so the items on screen now come before the ones the user
// scrolled past. cancel() drops every queued request, the cache, and the results of decodes that
// are still running (a folder change); the destructor waits for the running decodes to end.

#include <QHash>
#include <QIcon>
#include <QObject>
#include <QQueue>
#include <QSet>
#include <QThreadPool>

#include <atomic>
#include <memory>

namespace pindrel {

class ThumbnailLoader : public QObject
{
    Q_OBJECT

public:
    explicit ThumbnailLoader(QObject *pParent = nullptr);
    ~ThumbnailLoader() override;

    // Longest side of a thumbnail in device-independent pixels, and the device pixel ratio of
    // the screen it is shown on: a thumbnail is decoded at deviceEdge() pixels a side and
    // tagged with the ratio, so that it is sharp there. Changing either cancels and empties
    // the cache.
    void setEdge(int pEdge, qreal pRatio = 1.0);
    int edge() const { return m_edge; }
    int deviceEdge() const;

    // The thumbnail of pPath when it is ready; otherwise a null icon, and a decode is queued
    // unless one is pending or the file failed to decode since the last cancel().
    QIcon thumbnail(const QString &pPath);

    // True for a name whose suffix an installed image reader handles.
    static bool isImageFile(const QString &pPath);

    void cancel();
    // Decodes queued or running whose results are still wanted.
    int pendingCount() const { return static_cast<int>(m_pending.size()); }

signals:
    void thumbnailReady(const QString &pPath);

private:
    void deliver(int pGeneration, const QString &pPath, const QImage &pImage);

    QThreadPool m_pool;
    // Read by the decoding threads to skip work that a cancel() made pointless.
    std::shared_ptr<std::atomic<int>> m_generation = std::make_shared<std::atomic<int>>(0);
    int m_edge = 96;
    qreal m_ratio = 1.0;
    int m_nextPriority = 0;
    QHash<QString, QIcon> m_cache;
    QQueue<QString> m_cacheOrder; // oldest first, for eviction
    QSet<QString> m_pending;
    QSet<QString> m_failed;
};

} // namespace pindrel
