#include "recentlocations.h"

#include "platform/filenamecodec.h"

#include <QtCore/QFile>
#include <QtCore/QSet>
#include <QtCore/QXmlStreamReader>

#include <sys/stat.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace vexlo::recentlocations {

namespace {

// "file:///a/b%20c" to "/a/b c". The escapes are turned back into bytes before the bytes become
// text, so that a name that is not valid UTF-8 keeps its bytes. Other schemes give "".
QString localPathOf(const QString &pHref)
{
    static const QString kScheme = QStringLiteral("file://");
    if (!pHref.startsWith(kScheme))
        return {};
    QString rest = pHref.mid(kScheme.size());
    // A host part ("file://host/path") is allowed only for this machine, which is all a local
    // path can mean.
    const qsizetype slash = rest.indexOf(u'/');
    if (slash < 0)
        return {};
    rest = rest.mid(slash);
    const QByteArray bytes = QByteArray::fromPercentEncoding(rest.toUtf8());
    return pindrel::platform::decodeFileName(bytes);
}

// pPath as a suggestion: "" when it is gone, with a trailing '/' when it is a folder.
QString existing(const QString &pPath)
{
    struct stat info
    {
    };
    if (::stat(pindrel::platform::encodeFileName(pPath).constData(), &info) != 0)
        return {};
    return S_ISDIR(info.st_mode) && !pPath.endsWith(u'/') ? pPath + u'/' : pPath;
}

} // namespace

QStringList read(const QString &pListFile, int pLimit)
{
    QFile file(pListFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Each bookmark: its location and when it was last touched (ISO 8601 in UTC, so the texts
    // sort as the times do).
    std::vector<std::pair<QString, QString>> bookmarks;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"bookmark")
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        const QString path = localPathOf(attributes.value(QLatin1String("href")).toString());
        if (path.isEmpty())
            continue;
        const QString modified = attributes.value(QLatin1String("modified")).toString();
        const QString visited = attributes.value(QLatin1String("visited")).toString();
        bookmarks.emplace_back(path, std::max(modified, visited));
    }
    std::stable_sort(bookmarks.begin(), bookmarks.end(),
                     [](const auto &pA, const auto &pB) { return pA.second > pB.second; });
    QStringList result;
    QSet<QString> seen;
    for (const auto &[path, when] : bookmarks) {
        if (result.size() >= pLimit)
            break;
        if (seen.contains(path))
            continue;
        seen.insert(path);
        const QString suggestion = existing(path);
        if (!suggestion.isEmpty())
            result << suggestion;
    }
    return result;
}

} // namespace vexlo::recentlocations
