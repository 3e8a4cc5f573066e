#pragma once

// The message engine of clsDragFiles: an object receives chosen messages of windows of its own
// process before and/or after the window's own handling, may consume a message and set the
// message's result.
//
// Windows and messages over Qt:
//   window    a widget of this process, named by its handle (windowhandles.h: a native window's
//             X id, or the handle an alien widget was given).
//   message   every event delivered to the widget. Qt's events are numbered WM_APP (0x8000)
//             plus the event type, with the event's address as wParam and 0 as lParam; messages
//             sent or posted through sendMessage/postMessage (EngineMessage) keep their number
//             and parameters: WM_NULL (0), the drop message WM_DROPFILES (0x233). WM_DESTROY (2)
//             is the widget's destruction: its before call runs as the widget goes, there is no
//             window procedure left to call, and the window is given back at once.
//   previous  the widget's own handling (its event()). The before call runs in an event filter,
//   procedure ahead of the widget. A message in the after table is delivered to the widget by
//             the engine itself so that the after call can follow; event filters installed on
//             the widget before the take-over do not see such a message.
//   result    for an EngineMessage its result field; for Qt's events 1 when the widget took
//             the event (event() true and the event accepted), else 0. A consumed Qt event is
//             left accepted when the callback set a non-zero result and ignored when it set 0,
//             which lets Qt offer an ignored input event to the parent widget, as it does with
//             any ignored event.
//
// The registry is keyed by the handle in decimal followed by "h"; each window has two tables of
// MSG_ENTRIES (32) message numbers, ALL_MESSAGES (-1) for every message, freed slots (0) reused.
// Take-over, release, the nesting counter, the give-back at the outermost invocation and at
// destruction, and the reported errors (zReport: the system log and a message box titled
// "Error in clsDragFiles.<routine>") follow the contract of the engine's operations below.
// Messages in neither table reach the widget without any call into the owner and without any
// allocation. User-interface thread only.

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QPointer>

namespace pindrel {

class SubclassStub;

// The owner's callback. lReturn is the message's result (0 on entry of the before call, the
// window's result on entry of the after call); lParamUser the window's user value.
class SubclassCallback
{
public:
    virtual ~SubclassCallback() = default;
    virtual void zSubclass_Proc(bool bBefore, bool &bHandled, qintptr &lReturn, quintptr lhWnd,
                                uint32_t uMsg, quintptr wParam, quintptr lParam,
                                qintptr &lParamUser) = 0;

protected:
    SubclassCallback() = default;
    SubclassCallback(const SubclassCallback &) = default;
    SubclassCallback &operator=(const SubclassCallback &) = default;
};

class SubclassEngine
{
public:
    static constexpr uint32_t WM_NULL = 0;
    static constexpr uint32_t WM_DESTROY = 2;
    static constexpr uint32_t WM_DROPFILES = 0x233;
    static constexpr uint32_t WM_APP = 0x8000;
    static constexpr uint32_t ALL_MESSAGES = 0xFFFFFFFFU; // -1
    static constexpr int MSG_ENTRIES = 32;
    enum When : int { MSG_BEFORE = 1, MSG_AFTER = 2, MSG_BEFORE_AND_AFTER = 3 };

    // pClassName names the class in the reports ("clsDragFiles").
    explicit SubclassEngine(QString pClassName);
    // Gives every window back (ssc_ReleaseAll).
    virtual ~SubclassEngine();

    SubclassEngine(const SubclassEngine &) = delete;
    SubclassEngine &operator=(const SubclassEngine &) = delete;

    // pOwner null: the engine's own handler (ownCallback). bUnicode is kept for the record;
    // Qt's events have no narrow and wide forms. The owner must stay alive while it holds
    // windows.
    bool ssc_Subclass(quintptr lhWnd, qintptr lParamUser = 0, SubclassCallback *pOwner = nullptr,
                      bool bUnicode = false);
    void ssc_AddMessage(quintptr lhWnd, uint32_t uMsg, int pWhen = MSG_AFTER);
    void ssc_RemoveMessage(quintptr lhWnd, uint32_t uMsg, int pWhen = MSG_AFTER);
    // The widget's own handling of the message (see above); 0 for a window not taken over.
    // For one of Qt's messages wParam must be the event.
    qintptr ssc_CallPrevious(quintptr lhWnd, uint32_t uMsg, quintptr wParam, quintptr lParam);
    qintptr ssc_UserValue(quintptr lhWnd);
    void ssc_UserValue(quintptr lhWnd, qintptr pValue);
    void ssc_Release(quintptr lhWnd);
    void ssc_ReleaseAll();

    // The message number of a Qt event type (WM_APP + type).
    static uint32_t qtMessage(int pEventType);
    // Sends a message to a window of this process at once and gives back its result; 0 for no
    // such window.
    static qintptr sendMessage(quintptr lhWnd, uint32_t uMsg, quintptr wParam, quintptr lParam);
    // Queues a message for a window; pPayload (what the parameters point at) lives until the
    // message has been handled. False for no such window.
    static bool postMessage(quintptr lhWnd, uint32_t uMsg, quintptr wParam, quintptr lParam,
                            std::shared_ptr<void> pPayload = {});

    // Where zReport's two outputs go; by default the system log and a message box with an
    // exclamation icon. Tests record them.
    using LogWriter = std::function<void(const QString &pText)>;
    using MessageBoxShower = std::function<void(const QString &pTitle, const QString &pText)>;
    void setReportOutputs(LogWriter pLog, MessageBoxShower pBox);

    // The registry's keys in their order (for the tests and for diagnostics).
    std::vector<QString> registryKeys() const;

protected:
    // The engine's own window-message handler; none in the engine itself.
    virtual SubclassCallback *ownCallback() { return nullptr; }
    void zReport(const char *pRoutine, const QString &pMessage);

private:
    struct Entry
    {
        QString key;
        QPointer<SubclassStub> stub;
    };
    static QString keyOf(quintptr lhWnd);
    // zMap_VFunction: the window's live stub; reports when there is no registry yet.
    SubclassStub *zMap_VFunction(quintptr lhWnd);
    void zAddMsg(uint32_t uMsg, SubclassStub &pStub, bool pBefore);
    void zDelMsg(uint32_t uMsg, SubclassStub &pStub, bool pBefore);

    QString m_className;
    bool m_registryCreated = false;
    std::vector<Entry> m_registry;
    LogWriter m_log;
    MessageBoxShower m_box;
};

} // namespace pindrel
