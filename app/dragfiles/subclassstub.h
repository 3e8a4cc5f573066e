#pragma once

// The interception stub of one window (internal to the message engine): an event filter on the
// widget with the window's record, its two message tables and the dispatch. A stub deletes
// itself (deleteLater) when it gives its window back; until then released() is false, which is
// what the engine's "valid code" checks look at.

#include "dragfiles/subclassengine.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <array>

namespace pindrel {

class MessageTable
{
public:
    // A count of -1 matches everything; otherwise entries 1..count, 0 a free slot.
    bool matches(uint32_t pMessage) const;
    int32_t count = 0;
    std::array<uint32_t, SubclassEngine::MSG_ENTRIES> entries{};
};

class SubclassStub : public QObject
{
    Q_OBJECT

public:
    SubclassStub(QWidget *pWidget, quintptr pHandle, SubclassCallback *pCallback,
                 qintptr pUserValue, bool pWide);
    ~SubclassStub() override;

    // Installs the stub as the widget's procedure.
    void install();
    bool released() const { return m_released; }
    quintptr window() const { return m_window; }
    bool wide() const { return m_wide; }

    MessageTable before;
    MessageTable after;
    qintptr userValue;
    bool removal = false;

    // The widget's own handling of pEvent, with the engine's result.
    static qintptr callPrevious(QObject *pWidget, QEvent *pEvent);
    QWidget *widget() const { return m_widget.data(); }

protected:
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    void widgetDestroyed();
    void giveBack();
    static uint32_t messageOf(QEvent *pEvent, quintptr &pWParam, quintptr &pLParam);
    static void setResult(QEvent *pEvent, qintptr pResult);

    QPointer<QWidget> m_widget;
    quintptr m_window;
    SubclassCallback *m_callback;
    bool m_wide;
    int m_nesting = 0;
    bool m_released = false;
};

} // namespace pindrel
