#pragma once

// A window message that is not one of Qt's own events: WM_NULL, the drop message and any other
// number sent or posted through the message engine. It carries the message's number, its two
// parameters, the result the window gives back and, for a posted message, what its parameters
// point at (freed with the event).

#include <QEvent>

#include <cstdint>
#include <memory>

namespace pindrel {

class EngineMessage : public QEvent
{
public:
    EngineMessage(uint32_t pMessage, quintptr pWParam, quintptr pLParam,
                  std::shared_ptr<void> pPayload = {});
    ~EngineMessage() override;

    static QEvent::Type eventType();

    uint32_t message() const { return m_message; }
    quintptr wParam() const { return m_wParam; }
    quintptr lParam() const { return m_lParam; }
    qintptr result = 0;

private:
    uint32_t m_message;
    quintptr m_wParam;
    quintptr m_lParam;
    std::shared_ptr<void> m_payload;
};

} // namespace pindrel
