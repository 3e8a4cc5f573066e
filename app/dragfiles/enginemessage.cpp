#include "dragfiles/enginemessage.h"

namespace pindrel {

EngineMessage::EngineMessage(uint32_t pMessage, quintptr pWParam, quintptr pLParam,
                             std::shared_ptr<void> pPayload)
    : QEvent(eventType())
    , m_message(pMessage)
    , m_wParam(pWParam)
    , m_lParam(pLParam)
    , m_payload(std::move(pPayload))
{ }

EngineMessage::~EngineMessage() = default;

QEvent::Type EngineMessage::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

} // namespace pindrel
