#include "bar/bardrops.h"

#include "bar/barbutton.h"
#include "bar/barmenus.h"
#include "bar/buttonarray.h"
#include "bar/form1.h"
#include "dragfiles/clsdragfiles.h"
#include "dragfiles/copycontroller.h"
#include "startup/appstate.h"
#include "startup/registry.h"

#include "platform/desktopentry.h"
#include "platform/filenamecodec.h"

#include "txini/clsini.h"

#include <QAction>
#include <QMenu>

#include <sys/stat.h>
#include <unistd.h>

namespace pindrel {

BarDrops::BarDrops(Form1 &pBar)
    : QObject(&pBar)
    , m_bar(pBar)
    , m_cDrag(std::make_unique<clsDragFiles>())
    , m_copies(new CopyController(this))
{
    connect(m_cDrag.get(), &clsDragFiles::DragFiles, this, &BarDrops::cDrag_DragFiles);
    // The items of one drop go in one copy.
    connect(m_cDrag.get(), &clsDragFiles::dropEnded, m_copies, &CopyController::startQueued);

    // The undo of the last copy, right under the command that adds drawers.
    QMenu *mC = m_bar.mC();
    m_undo = new QAction(m_copies->undoText(), mC);
    m_undo->setObjectName(QStringLiteral("mCUndo"));
    mC->insertAction(m_bar.menus().entry(QStringLiteral("mCL1")), m_undo);
    connect(m_undo, &QAction::triggered, m_copies, &CopyController::undoLast);
    connect(m_copies, &CopyController::undoAvailabilityChanged, this, &BarDrops::updateUndoEntry);
    updateUndoEntry();
}

BarDrops::~BarDrops() = default;

void BarDrops::updateUndoEntry()
{
    m_undo->setText(m_copies->undoText());
    m_undo->setEnabled(m_copies->canUndo());
}

void BarDrops::InitDrag(quintptr pHWnd)
{
    m_cDrag->InitDrag(pHWnd);
}

void BarDrops::TerminateDrag(quintptr pHWnd)
{
    m_cDrag->TerminateDrag(pHWnd);
}

QString BarDrops::programTitle(const QString &pPath, const QString &pDisplayName)
{
    const QString ending = pDisplayName.right(4).toLower();
    if (ending == QLatin1String(".exe") || ending == QLatin1String(".bat"))
        return pDisplayName.left(pDisplayName.size() - 4);
    struct stat info = {};
    const QByteArray path = platform::encodeFileName(pPath);
    if (::stat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    if (pPath.endsWith(QLatin1String(".desktop"), Qt::CaseInsensitive))
        return platform::desktopEntryName(pPath);
    if (::access(path.constData(), X_OK) == 0)
        return pDisplayName;
    return {};
}

bool BarDrops::storable(const QString &pPath)
{
    // config.ini holds text: a name with bytes that are not UTF-8 would be stored changed and
    // name nothing afterwards.
    if (platform::displayFileName(pPath) == pPath)
        return true;
    m_bar.showExclamation(
        QStringLiteral("\"%1\" cannot be added: its name is not valid text, and config.ini "
                       "could not keep it.")
            .arg(platform::displayFileName(pPath)));
    return false;
}

void BarDrops::addProgram(const QString &pPath)
{
    QString path = pPath;
    QString displayName;
    QString typeName;
    QString typeFile;
    if (!m_cDrag->GetFileInfo(path, displayName, typeName, typeFile))
        return;
    const QString title = programTitle(pPath, displayName);
    if (title.isEmpty() || !storable(pPath))
        return;
    m_bar.registry().AgregarPrograma(title, pPath, 1);
}

void BarDrops::addDrawer(const QString &pPath)
{
    QString path = pPath;
    QString displayName;
    QString typeName;
    QString typeFile;
    if (!m_cDrag->GetFileInfo(path, displayName, typeName, typeFile) || !storable(pPath))
        return;
    m_bar.registry().AgregarBoton(displayName, pPath, QString(), 1);
}

void BarDrops::copyToDrawer(const QString &pPath, quintptr pHWnd)
{
    const int drawer = m_bar.cmdB().indexOfHWnd(pHWnd);
    if (drawer == 0)
        return;
    QString folder = QString::fromStdString(
        m_bar.state().ini().getLeerValor(Registry::drawerSection(drawer), "PATH"));
    // Without a folder the drawer takes nothing (it would otherwise be "/").
    if (folder.trimmed().isEmpty())
        return;
    if (!folder.endsWith(u'/'))
        folder += u'/';
    Copiar_Archivo(pPath, folder);
}

void BarDrops::cDrag_DragFiles(const QString &strFile, quintptr lhWnd, int32_t TypePath)
{
    m_bar.processPendingMessages();
    // The pump may have rebuilt the bar or closed it: the buttons are looked up afresh.
    if (m_bar.cmdProg() != nullptr && lhWnd == m_bar.cmdProg()->hWnd())
        addProgram(strFile);
    else if (m_bar.cmdAdd() == nullptr || lhWnd != m_bar.cmdAdd()->hWnd())
        copyToDrawer(strFile, lhWnd);
    else if (TypePath == 1)
        addDrawer(strFile);
}

void BarDrops::Copiar_Archivo(const QString &Origen, const QString &destino)
{
    m_copies->add(Origen, destino,
                  m_cDrag->dropMoves() ? platform::TransferMode::Move
                                       : platform::TransferMode::Copy);
}

} // namespace pindrel
