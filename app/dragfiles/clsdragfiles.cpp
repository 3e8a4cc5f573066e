#include "dragfiles/clsdragfiles.h"

#include "platform/filenamecodec.h"
#include "platform/idlist.h"
#include "platform/shellnamespace.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QPainter>
#include <QPointer>
#include <QStyle>

#include <sys/stat.h>

namespace pindrel {

namespace {

bool isDirectory(const QString &pPath)
{
    struct stat info = {};
    const QByteArray path = platform::encodeFileName(pPath);
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

QString cleanPath(QString pPath)
{
    while (pPath.size() > 1 && pPath.endsWith(u'/'))
        pPath.chop(1);
    return pPath;
}

} // namespace

clsDragFiles::clsDragFiles(QObject *pParent)
    : QObject(pParent)
    , SubclassEngine(QStringLiteral("clsDragFiles"))
{ }

clsDragFiles::~clsDragFiles()
{
    ssc_ReleaseAll();
}

void clsDragFiles::setShellNamespace(std::shared_ptr<const platform::ShellNamespace> pNamespace)
{
    m_namespace = std::move(pNamespace);
}

const platform::ShellNamespace &clsDragFiles::shellNamespace() const
{
    if (!m_namespace)
        m_namespace = std::make_shared<const platform::ShellNamespace>();
    return *m_namespace;
}

bool clsDragFiles::InitDrag(quintptr lhWnd)
{
    if (ssc_Subclass(lhWnd, 0, nullptr, false)) {
        ssc_AddMessage(lhWnd, WM_DROPFILES, MSG_BEFORE);
        m_acceptor.DragAcceptFiles(lhWnd, true);
    }
    return false;
}

bool clsDragFiles::TerminateDrag(quintptr lhWnd)
{
    m_acceptor.DragAcceptFiles(lhWnd, false);
    ssc_Release(lhWnd);
    return false;
}

int32_t clsDragFiles::typeOfPath(const QString &pPath) const
{
    int32_t kind = 0;
    if (isDirectory(pPath))
        kind = 1;
    const QString path = cleanPath(pPath);
    if (path == QLatin1String("/"))
        return 2;
    if (kind == 1) {
        for (const QString &drive : shellNamespace().drives()) {
            if (cleanPath(drive) == path)
                return 2;
        }
    }
    return kind;
}

void clsDragFiles::zSubclass_Proc(bool bBefore, bool &, qintptr &, quintptr lhWnd, uint32_t uMsg,
                                  quintptr wParam, quintptr, qintptr &)
{
    if (!bBefore || uMsg != WM_DROPFILES)
        return;
    const int count = DragQueryFileCount(wParam);
    m_dropMoves = reinterpret_cast<const DropFiles *>(wParam)->move;
    // A handler may end this object (the program closing from a message box): stop then.
    const QPointer<clsDragFiles> self(this);
    for (int i = 0; i < count && self; ++i) {
        const QString path = DragQueryFile(wParam, i);
        emit DragFiles(path, lhWnd, typeOfPath(path));
    }
    if (!self)
        return;
    m_dropMoves = false;
    emit dropEnded(lhWnd);
}

bool clsDragFiles::GetFileInfo(QString &sPath, QString &DisplayName, QString &TypeName,
                               QString &TypeFile)
{
    const bool folder = isDirectory(sPath);
    TypeFile = folder ? QStringLiteral("Directorio") : QStringLiteral("Archivo");
    if (typeOfPath(sPath) == 2)
        TypeFile = QStringLiteral("Root Path");
    DisplayName.clear();
    TypeName.clear();
    if (!sPath.startsWith(u'/'))
        return false;

    // Named as the namespace names it; a path that is not there is named from itself, as the
    // shell answers from the name and the attributes alone.
    platform::ItemIdList *parsed = nullptr;
    if (shellNamespace().parseDisplayName(sPath, &parsed)) {
        const platform::idlist::Unique list(parsed);
        DisplayName = shellNamespace().displayNameOf(list.get());
    }
    if (DisplayName.isEmpty()) {
        const QString path = cleanPath(sPath);
        DisplayName = path.mid(path.lastIndexOf(u'/') + 1);
    }
    const QMimeDatabase mimeTypes;
    TypeName = folder
        ? mimeTypes.mimeTypeForName(QStringLiteral("inode/directory")).comment()
        : mimeTypes.mimeTypeForFile(platform::displayFileName(sPath), QMimeDatabase::MatchExtension)
              .comment();
    return true;
}

QVariant clsDragFiles::GetIconFile(QString &sPathFile, QPainter &lHdc)
{
    const QFileIconProvider icons;
    const QIcon icon = icons.icon(QFileInfo(sPathFile));
    const int size = QApplication::style()->pixelMetric(QStyle::PM_LargeIconSize);
    icon.paint(&lHdc, QRect(0, 0, size, size));
    return {};
}

} // namespace pindrel
