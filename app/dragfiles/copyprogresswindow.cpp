#include "dragfiles/copyprogresswindow.h"

#include "platform/copyjob.h"
#include "platform/filenamecodec.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace pindrel {

namespace {

constexpr int kBarSteps = 1000;

QString items(int pCount)
{
    return pCount == 1 ? QStringLiteral("1 item") : QStringLiteral("%1 items").arg(pCount);
}

QString duration(qint64 pSeconds)
{
    if (pSeconds < 60)
        return pSeconds == 1 ? QStringLiteral("1 second")
                             : QStringLiteral("%1 seconds").arg(pSeconds);
    const qint64 minutes = (pSeconds + 30) / 60;
    return minutes == 1 ? QStringLiteral("1 minute") : QStringLiteral("%1 minutes").arg(minutes);
}

} // namespace

CopyProgressWindow::CopyProgressWindow(platform::CopyJob &pJob, QWidget *pParent)
    : QDialog(pParent, Qt::Window | Qt::WindowStaysOnTopHint)
    , m_job(&pJob)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Pindrel"));
    m_headline = new QLabel(headline(pJob, false), this);
    m_headline->setObjectName(QStringLiteral("headline"));
    m_headline->setWordWrap(true);
    m_current = new QLabel(this);
    m_current->setObjectName(QStringLiteral("current"));
    m_current->setTextFormat(Qt::PlainText);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, kBarSteps);
    m_bar->setTextVisible(false);
    m_details = new QLabel(this);
    m_details->setObjectName(QStringLiteral("details"));
    m_problems = new QLabel(this);
    m_problems->setObjectName(QStringLiteral("problems"));
    m_problems->setWordWrap(true);
    m_problems->setTextFormat(Qt::PlainText);
    m_problems->hide();

    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_undo =
        new QPushButton(pJob.mode() == platform::TransferMode::Move ? QStringLiteral("Undo Move")
                                                                    : QStringLiteral("Undo Copy"),
                        this);
    m_close = new QPushButton(QStringLiteral("Close"), this);
    m_undo->hide();
    m_close->hide();
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        if (m_job)
            m_job->cancel();
        m_cancel->setEnabled(false);
    });
    connect(m_undo, &QPushButton::clicked, this, [this] {
        emit undoRequested();
        close();
    });
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(&pJob, &platform::CopyJob::progressChanged, this, &CopyProgressWindow::update);
    // Only the last copy can be undone: once a later one takes its place, this one goes.
    connect(&pJob, &QObject::destroyed, m_undo, &QWidget::hide);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_undo);
    buttons->addWidget(m_close);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_headline);
    layout->addWidget(m_current);
    layout->addWidget(m_bar);
    layout->addWidget(m_details);
    layout->addWidget(m_problems);
    layout->addLayout(buttons);
    setMinimumWidth(480);
    update(pJob.lastProgress());
}

CopyProgressWindow::~CopyProgressWindow() = default;

QString CopyProgressWindow::headline(const platform::CopyJob &pJob, bool pDone)
{
    QString where = platform::displayFileName(pJob.destination());
    while (where.size() > 1 && where.endsWith(u'/'))
        where.chop(1);
    if (pJob.isUndo()) {
        return pDone ? QStringLiteral("Undone: %1 put back.").arg(items(pJob.sources().size()))
                     : QStringLiteral("Undoing the last copy in \"%1\"").arg(where);
    }
    const bool move = pJob.mode() == platform::TransferMode::Move;
    if (!pDone) {
        return QStringLiteral("%1 %2 to \"%3\"")
            .arg(move ? QStringLiteral("Moving") : QStringLiteral("Copying"),
                 items(pJob.sources().size()), where);
    }
    const int placed = static_cast<int>(pJob.placedItems().size());
    QString text =
        QStringLiteral("%1 %2 to \"%3\".")
            .arg(move ? QStringLiteral("Moved") : QStringLiteral("Copied"), items(placed), where);
    if (pJob.outcome() == platform::CopyJob::Outcome::Cancelled)
        text = QStringLiteral("Cancelled. ") + text;
    return text;
}

QString CopyProgressWindow::details(const platform::TransferProgress &pProgress, qint64 pElapsedMs)
{
    const QLocale locale;
    QString text = QStringLiteral("%1 of %2")
                       .arg(locale.formattedDataSize(pProgress.bytesDone),
                            locale.formattedDataSize(pProgress.bytesTotal));
    // Speed and time left once there is something to go by.
    if (pElapsedMs >= 500 && pProgress.bytesDone > 0) {
        const double perSecond =
            static_cast<double>(pProgress.bytesDone) * 1000.0 / static_cast<double>(pElapsedMs);
        text += QStringLiteral(" \u2014 %1/s")
                    .arg(locale.formattedDataSize(static_cast<qint64>(perSecond)));
        const qint64 left = pProgress.bytesTotal - pProgress.bytesDone;
        if (left > 0 && perSecond > 0) {
            text +=
                QStringLiteral(" \u2014 about %1 left")
                    .arg(duration(static_cast<qint64>(static_cast<double>(left) / perSecond) + 1));
        }
    }
    return text;
}

void CopyProgressWindow::update(const platform::TransferProgress &pProgress)
{
    const QString current = pProgress.current.mid(pProgress.current.lastIndexOf(u'/') + 1);
    m_current->setText(
        QStringLiteral("%1 (%2 of %3)")
            .arg(platform::displayFileName(current))
            .arg(std::min(pProgress.itemsDone + 1, std::max(pProgress.itemsTotal, 1)))
            .arg(std::max(pProgress.itemsTotal, 1)));
    double done = 0;
    if (pProgress.bytesTotal > 0)
        done = static_cast<double>(pProgress.bytesDone) / static_cast<double>(pProgress.bytesTotal);
    else if (pProgress.itemsTotal > 0)
        done = static_cast<double>(pProgress.itemsDone) / static_cast<double>(pProgress.itemsTotal);
    m_bar->setValue(static_cast<int>(done * kBarSteps));
    m_details->setText(details(pProgress, m_job ? m_job->elapsedMs() : 0));
}

void CopyProgressWindow::showReport()
{
    if (!m_job)
        return;
    m_headline->setText(headline(*m_job, true));
    m_current->hide();
    m_bar->setValue(kBarSteps);
    QStringList lines;
    if (!m_job->errorMessage().isEmpty())
        lines << m_job->errorMessage();
    lines << m_job->problems();
    m_problems->setText(lines.join(u'\n'));
    m_problems->setVisible(!lines.isEmpty());
    m_cancel->hide();
    m_undo->setVisible(m_job->canUndo());
    update(m_job->lastProgress());
    m_close->show();
    m_close->setDefault(true);
    show();
    raise();
}

} // namespace pindrel
