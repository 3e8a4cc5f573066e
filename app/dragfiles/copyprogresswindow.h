#pragma once

// The window of one running copy, shown once the copy has taken longer than about half a
// second: what is copied where, the item being copied, a bar over the bytes, items and bytes
// done, the speed and the time left, and Cancel. When the copy ends the window reports it:
// what was done, what could not be, and Undo (for a copy or move that placed something) and
// Close.

#include <QDialog>
#include <QPointer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace pindrel {

namespace platform {
class CopyJob;
struct TransferProgress;
} // namespace platform

class CopyProgressWindow : public QDialog
{
    Q_OBJECT

public:
    explicit CopyProgressWindow(platform::CopyJob &pJob, QWidget *pParent = nullptr);
    ~CopyProgressWindow() override;

    // Turns the window into the report of the ended job.
    void showReport();

    // "Copying 3 items to /home/me/Drawer" and its past form.
    static QString headline(const platform::CopyJob &pJob, bool pDone);
    // "12.3 MB of 1.0 GB — 85.2 MB/s — about 11 seconds left".
    static QString details(const platform::TransferProgress &pProgress, qint64 pElapsedMs);

    QPushButton *undoButton() const { return m_undo; }
    QPushButton *cancelButton() const { return m_cancel; }

signals:
    void undoRequested();

private:
    void update(const platform::TransferProgress &pProgress);

    QPointer<platform::CopyJob> m_job;
    QLabel *m_headline = nullptr;
    QLabel *m_current = nullptr;
    QProgressBar *m_bar = nullptr;
    QLabel *m_details = nullptr;
    QLabel *m_problems = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_undo = nullptr;
    QPushButton *m_close = nullptr;
};

} // namespace pindrel
