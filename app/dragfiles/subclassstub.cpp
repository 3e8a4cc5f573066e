#include "dragfiles/subclassstub.h"

#include "dragfiles/enginemessage.h"

namespace pindrel {

bool MessageTable::matches(uint32_t pMessage) const
{
    if (count == -1)
        return true;
    for (int32_t i = 0; i < count && i < SubclassEngine::MSG_ENTRIES; ++i) {
        if (entries[static_cast<size_t>(i)] == pMessage)
            return true;
    }
    return false;
}

SubclassStub::SubclassStub(QWidget *pWidget, quintptr pHandle, SubclassCallback *pCallback,
                           qintptr pUserValue, bool pWide)
    : userValue(pUserValue)
    , m_widget(pWidget)
    , m_window(pHandle)
    , m_callback(pCallback)
    , m_wide(pWide)
{ }

SubclassStub::~SubclassStub()
{
    if (m_widget)
        m_widget->removeEventFilter(this);
}

void SubclassStub::install()
{
    m_widget->installEventFilter(this);
    connect(m_widget.data(), &QObject::destroyed, this, &SubclassStub::widgetDestroyed);
}

uint32_t SubclassStub::messageOf(QEvent *pEvent, quintptr &pWParam, quintptr &pLParam)
{
    if (pEvent->type() == EngineMessage::eventType()) {
        const auto *message = static_cast<EngineMessage *>(pEvent);
        pWParam = message->wParam();
        pLParam = message->lParam();
        return message->message();
    }
    pWParam = reinterpret_cast<quintptr>(pEvent);
    pLParam = 0;
    return SubclassEngine::qtMessage(pEvent->type());
}

void SubclassStub::setResult(QEvent *pEvent, qintptr pResult)
{
    if (pEvent->type() == EngineMessage::eventType())
        static_cast<EngineMessage *>(pEvent)->result = pResult;
    else
        pEvent->setAccepted(pResult != 0);
}

qintptr SubclassStub::callPrevious(QObject *pWidget, QEvent *pEvent)
{
    // QObject::event is public; the widget's own override runs.
    const bool taken = pWidget->event(pEvent);
    if (pEvent->type() == EngineMessage::eventType())
        return static_cast<EngineMessage *>(pEvent)->result;
    return taken && pEvent->isAccepted() ? 1 : 0;
}

bool SubclassStub::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    quintptr wParam = 0;
    quintptr lParam = 0;
    const uint32_t message = messageOf(pEvent, wParam, lParam);
    const bool callBefore = before.matches(message);
    const bool callAfter = after.matches(message);
    if (!callBefore && !callAfter && !removal)
        return false; // straight to the widget

    ++m_nesting;
    bool handled = false;
    qintptr result = 0;
    if (callBefore && m_callback != nullptr)
        m_callback->zSubclass_Proc(true, handled, result, m_window, message, wParam, lParam,
                                   userValue);
    if (handled) {
        setResult(pEvent, result);
        --m_nesting;
        return true;
    }
    if (!callAfter || m_released) {
        // Qt hands the event to the widget as soon as this returns. A window waiting for its
        // removal is given back now, at the outermost level: nothing of the stub runs after
        // the widget's handling in this case.
        if (removal && m_nesting == 1)
            giveBack();
        --m_nesting;
        return false;
    }

    result = callPrevious(pWatched, pEvent);
    if (!m_widget) {
        // The widget went during its own handling: its destruction has set the removal.
        --m_nesting;
        if (m_nesting == 0)
            giveBack();
        return true;
    }
    if (removal && m_nesting == 1) {
        setResult(pEvent, result);
        giveBack();
        --m_nesting;
        return true;
    }
    if (m_callback != nullptr && after.matches(message)) {
        handled = false;
        m_callback->zSubclass_Proc(false, handled, result, m_window, message, wParam, lParam,
                                   userValue);
    }
    setResult(pEvent, result);
    --m_nesting;
    return true;
}

void SubclassStub::widgetDestroyed()
{
    ++m_nesting;
    if (before.matches(SubclassEngine::WM_DESTROY) && m_callback != nullptr) {
        bool handled = false;
        qintptr result = 0;
        m_callback->zSubclass_Proc(true, handled, result, m_window, SubclassEngine::WM_DESTROY, 0,
                                   0, userValue);
    }
    removal = true;
    --m_nesting;
    if (m_nesting == 0)
        giveBack();
}

void SubclassStub::giveBack()
{
    if (m_released)
        return;
    m_released = true;
    before = {};
    after = {};
    m_callback = nullptr;
    if (m_widget) {
        m_widget->removeEventFilter(this);
        disconnect(m_widget.data(), nullptr, this, nullptr);
    }
    deleteLater();
}

} // namespace pindrel
