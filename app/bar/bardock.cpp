#include "bar/bardock.h"

#include "bar/appbarlayout.h"

#include <algorithm>

namespace pindrel {

int boundedBarHeight(int pHeight, int pMonitorHeight)
{
    const int highest = std::max(kMinimumBarHeight, pMonitorHeight / 3);
    return std::clamp(pHeight, kMinimumBarHeight, highest);
}

BarDock::BarDock() = default;

BarDock::~BarDock() = default;

void BarDock::setService(std::unique_ptr<platform::AppBarService> pService)
{
    m_service = std::move(pService);
}

platform::AppBarService &BarDock::service()
{
    if (!m_service)
        m_service = platform::createAppBarService();
    return *m_service;
}

platform::AppBarRect BarDock::monitor()
{
    return service().screenRect();
}

std::optional<platform::AppBarRect> BarDock::registerBar(quintptr pWindow, uint32_t pEdge,
                                                         int pWidth, int pHeight)
{
    if (m_registered)
        return std::nullopt;
    platform::AppBarService &appBar = service();
    // The calls below see the other docks as they are when it starts.
    const platform::AppBarSequence sequence(appBar);
    const platform::AppBarRect screenRect = appBar.screenRect();

    m_record = platform::AppBarData{};
    m_record.cbSize = 36;
    m_record.hWnd = pWindow;
    m_record.uCallbackMessage = 0x400;
    if (!appBar.newBar(m_record)) {
        remove();
        return std::nullopt;
    }
    m_registered = true;

    // Without a taskbar the record's rectangle stays empty, which cuts nothing away.
    m_record.rc = platform::AppBarRect{screenRect.left, screenRect.bottom, screenRect.right,
                                       screenRect.bottom};
    appBar.getTaskbarPos(m_record);
    m_record.rc = appBarProposal(screenRect, m_record.rc, pEdge, pWidth, pHeight);
    m_record.uEdge = pEdge;
    appBar.queryPos(m_record);
    appBar.setPos(m_record);
    return m_record.rc;
}

void BarDock::remove()
{
    if (!m_registered || !m_service)
        return;
    m_service->remove(m_record);
    m_registered = false;
}

void BarDock::restoreWorkArea()
{
    if (m_service)
        m_service->setWorkArea(m_service->screenRect());
}

} // namespace pindrel
