#include "thumbnailloader.h"

#include "bar/picturefile.h"

#include "platform/filenamecodec.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QThread>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace pindrel {

namespace {

// Thumbnails kept at once; an icon view rarely shows more than a few hundred.
constexpr int kCacheSize = 2000;

const QSet<QString> &imageSuffixes()
{
    static const QSet<QString> suffixes = [] {
        QSet<QString> result;
        const QList<QByteArray> formats = QImageReader::supportedImageFormats();
        for (const QByteArray &format : formats)
            result.insert(QString::fromLatin1(format).toLower());
        return result;
    }();
    return suffixes;
}

QImage decode(const QString &pPath, int pEdge)
{
    // Opened by its bytes: Qt's own file names cannot reach names that are not valid UTF-8.
    const int descriptor =
        ::open(platform::encodeFileName(pPath).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return {};
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return {};
    }
    QImageReader reader(&file, QFileInfo(pPath).suffix().toLatin1());
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    // Paletted pictures are scaled below, once in colour (see inTrueColour).
    if (full.isValid() && (full.width() > pEdge || full.height() > pEdge)
        && !isPaletted(reader.imageFormat()))
        reader.setScaledSize(full.scaled(pEdge, pEdge, Qt::KeepAspectRatio));
    QImage image = inTrueColour(reader.read());
    // Readers that cannot scale while decoding (or do not know the size up front) still must
    // not hand a full-size picture to the user-interface thread.
    if (!image.isNull() && (image.width() > pEdge || image.height() > pEdge))
        image = image.scaled(pEdge, pEdge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace

ThumbnailLoader::ThumbnailLoader(QObject *pParent)
    : QObject(pParent)
{
    // Leave a core to the user-interface thread and the folder lister.
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1));
}

ThumbnailLoader::~ThumbnailLoader()
{
    cancel();
    m_pool.waitForDone();
}

void ThumbnailLoader::setEdge(int pEdge, qreal pRatio)
{
    const qreal ratio = pRatio >= 1.0 ? pRatio : 1.0;
    if (pEdge <= 0 || (pEdge == m_edge && qFuzzyCompare(ratio, m_ratio)))
        return;
    cancel();
    m_edge = pEdge;
    m_ratio = ratio;
}

int ThumbnailLoader::deviceEdge() const
{
    return static_cast<int>(std::ceil(m_edge * m_ratio - 0.01));
}

bool ThumbnailLoader::isImageFile(const QString &pPath)
{
    const QString suffix = QFileInfo(pPath).suffix().toLower();
    return !suffix.isEmpty() && imageSuffixes().contains(suffix);
}

QIcon ThumbnailLoader::thumbnail(const QString &pPath)
{
    const auto cached = m_cache.constFind(pPath);
    if (cached != m_cache.constEnd())
        return *cached;
    if (m_pending.contains(pPath) || m_failed.contains(pPath) || pPath.isEmpty())
        return {};

    m_pending.insert(pPath);
    const int generation = m_generation->load();
    const int edge = deviceEdge();
    // Later requests first: a rising priority makes the pool work from the newest end.
    const int priority = m_nextPriority;
    m_nextPriority = m_nextPriority == std::numeric_limits<int>::max() ? 0 : m_nextPriority + 1;
    std::shared_ptr<std::atomic<int>> current = m_generation;
    m_pool.start(
        [this, current, generation, edge, pPath] {
            if (current->load() != generation)
                return;
            const QImage image = decode(pPath, edge);
            if (current->load() != generation)
                return;
            // Queued to this object's thread; the destructor waits for the pool, so the object
            // outlives every decode that could post here.
            QMetaObject::invokeMethod(
                this, [this, generation, pPath, image] { deliver(generation, pPath, image); },
                Qt::QueuedConnection);
        },
        priority);
    return {};
}

void ThumbnailLoader::cancel()
{
    m_generation->fetch_add(1);
    m_pool.clear();
    m_pending.clear();
    m_failed.clear();
    m_cache.clear();
    m_cacheOrder.clear();
}

void ThumbnailLoader::deliver(int pGeneration, const QString &pPath, const QImage &pImage)
{
    if (pGeneration != m_generation->load())
        return;
    m_pending.remove(pPath);
    if (pImage.isNull()) {
        m_failed.insert(pPath);
        return;
    }
    // Pixmaps belong to the user-interface thread, so the conversion happens here, once.
    QPixmap picture = QPixmap::fromImage(pImage);
    picture.setDevicePixelRatio(m_ratio);
    m_cache.insert(pPath, QIcon(picture));
    m_cacheOrder.enqueue(pPath);
    while (m_cacheOrder.size() > kCacheSize)
        m_cache.remove(m_cacheOrder.dequeue());
    emit thumbnailReady(pPath);
}

} // namespace pindrel
