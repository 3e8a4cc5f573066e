#include "dragfiles/copycontroller.h"

#include "dragfiles/conflictdialog.h"
#include "dragfiles/copyprogresswindow.h"

#include <QMessageBox>
#include <QTimer>

namespace pindrel {

CopyController::CopyController(QObject *pParent)
    : QObject(pParent)
{
    m_askConflict = [](platform::CopyJob &pJob, const platform::TransferConflict &pConflict) {
        auto *dialog = new ConflictDialog(pConflict, pJob.mode());
        const QPointer<platform::CopyJob> job(&pJob);
        connect(dialog, &ConflictDialog::answered, dialog,
                [job](platform::ConflictChoice pChoice, bool pApplyToAll) {
                    if (job)
                        job->answerConflict(pChoice, pApplyToAll);
                });
        // A job that ends (cancelled from its window) takes its question with it.
        connect(&pJob, &QObject::destroyed, dialog, &QWidget::close);
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    };
    m_showMessage = [](const QString &pText) {
        auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Pindrel"), pText,
                                    QMessageBox::Ok);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowFlag(Qt::WindowStaysOnTopHint);
        box->show();
    };
}

CopyController::~CopyController() = default;

void CopyController::setMessageShower(std::function<void(const QString &)> pShow)
{
    if (pShow)
        m_showMessage = std::move(pShow);
}

void CopyController::add(const QString &pSource, const QString &pDestination,
                         platform::TransferMode pMode)
{
    m_pending[{pDestination, static_cast<int>(pMode)}] << pSource;
}

void CopyController::startQueued()
{
    auto pending = std::move(m_pending);
    m_pending.clear();
    for (const auto &[key, sources] : pending)
        transfer(sources, key.first, static_cast<platform::TransferMode>(key.second));
}

platform::CopyJob *CopyController::transfer(const QStringList &pSources,
                                            const QString &pDestination,
                                            platform::TransferMode pMode)
{
    auto *job = new platform::CopyJob(pSources, pDestination, pMode, this);
    watch(*job);
    job->start();
    emit jobStarted(job);
    return job;
}

void CopyController::watch(platform::CopyJob &pJob)
{
    connect(&pJob, &platform::CopyJob::conflictFound, this,
            [this, job = &pJob](const platform::TransferConflict &pConflict) {
                m_askConflict(*job, pConflict);
            });
    connect(&pJob, &platform::CopyJob::finished, this, [this, job = &pJob] { finished(*job); });
    showProgressLater(pJob);
}

void CopyController::showProgressLater(platform::CopyJob &pJob)
{
    // The window comes only for a job that takes a while, and not over its own question: a
    // job that waits for an answer is looked at again later.
    const QPointer<platform::CopyJob> job(&pJob);
    QTimer::singleShot(progressDelayMs, this, [this, job] {
        if (!job || job->outcome() != platform::CopyJob::Outcome::Running)
            return;
        if (job->isWaitingForAnswer()) {
            showProgressLater(*job);
            return;
        }
        auto *window = new CopyProgressWindow(*job);
        window->setObjectName(QStringLiteral("copyProgress"));
        connect(job, &platform::CopyJob::finished, window, &CopyProgressWindow::showReport);
        connect(window, &CopyProgressWindow::undoRequested, this, &CopyController::undoLast);
        m_windows[job] = window;
        window->show();
    });
}

void CopyController::finished(platform::CopyJob &pJob)
{
    const bool reported = !m_windows[&pJob].isNull();
    m_windows.remove(&pJob);
    if (!pJob.errorMessage().isEmpty() && !reported) {
        m_showMessage(pJob.errorMessage());
    } else if (!pJob.problems().isEmpty() && !reported) {
        // Nobody saw the copy: its problems come in a window of their own, with its undo.
        auto *report = new CopyProgressWindow(pJob);
        report->setObjectName(QStringLiteral("copyProgress"));
        connect(report, &CopyProgressWindow::undoRequested, this, &CopyController::undoLast);
        report->showReport();
    }
    if (pJob.canUndo()) {
        if (m_last && m_last != &pJob)
            m_last->deleteLater();
        m_last = &pJob;
        emit undoAvailabilityChanged();
    } else {
        // Still emitting: deleted once control is back in the event loop.
        pJob.deleteLater();
    }
    emit jobFinished(&pJob);
}

bool CopyController::canUndo() const
{
    return m_last && m_last->canUndo();
}

QString CopyController::undoText() const
{
    if (m_last && m_last->mode() == platform::TransferMode::Move)
        return QStringLiteral("Undo Move");
    return QStringLiteral("Undo Copy");
}

platform::CopyJob *CopyController::undoLast()
{
    if (!canUndo())
        return nullptr;
    std::unique_ptr<platform::CopyJob> undo = platform::CopyJob::undoLast(*m_last, this);
    m_last->deleteLater();
    m_last = nullptr;
    emit undoAvailabilityChanged();
    platform::CopyJob *job = undo.release(); // owned by this controller, its parent
    watch(*job);
    job->start();
    emit jobStarted(job);
    return job;
}

} // namespace pindrel
