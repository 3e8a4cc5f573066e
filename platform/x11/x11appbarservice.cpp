#include "platform/x11appbarservice.h"

#include "ewmhconnection.h"
#include "randrmonitors.h"
#include "xcbreply.h"

#include <algorithm>
#include <cstdlib>

namespace pindrel::platform {

namespace {

// Spans are half-open: an empty one overlaps nothing.
bool overlapsHorizontally(const AppBarRect &pA, const AppBarRect &pB)
{
    return pA.left < pA.right && pB.left < pB.right && pA.left < pB.right && pB.left < pA.right;
}

bool overlapsVertically(const AppBarRect &pA, const AppBarRect &pB)
{
    return pA.top < pA.bottom && pB.top < pB.bottom && pA.top < pB.bottom && pB.top < pA.bottom;
}

int area(const AppBarRect &pRect)
{
    return std::max(0, pRect.width()) * std::max(0, pRect.height());
}

AppBarRect clipped(AppBarRect pRect, const AppBarRect &pBounds)
{
    pRect.left = std::clamp(pRect.left, pBounds.left, pBounds.right);
    pRect.right = std::clamp(pRect.right, pRect.left, pBounds.right);
    pRect.top = std::clamp(pRect.top, pBounds.top, pBounds.bottom);
    pRect.bottom = std::clamp(pRect.bottom, pRect.top, pBounds.bottom);
    return pRect;
}

// One step of queryPos: moves or cuts pRect for one band; true when it changed anything.
bool keepClearOf(AppBarRect &pRect, uint32_t pEdge, uint32_t pBandEdge, const AppBarRect &pBand)
{
    const AppBarRect before = pRect;
    const bool horizontalBar = pEdge == ABE_TOP || pEdge == ABE_BOTTOM;
    if (pBandEdge == pEdge) {
        // Another dock on the same edge sits nearer to it: stack beside it, keeping the size.
        if (horizontalBar && overlapsHorizontally(pRect, pBand)) {
            const int height = pRect.height();
            if (pEdge == ABE_TOP && pRect.top < pBand.bottom) {
                pRect.top = pBand.bottom;
                pRect.bottom = pRect.top + height;
            } else if (pEdge == ABE_BOTTOM && pRect.bottom > pBand.top) {
                pRect.bottom = pBand.top;
                pRect.top = pRect.bottom - height;
            }
        } else if (!horizontalBar && overlapsVertically(pRect, pBand)) {
            const int width = pRect.width();
            if (pEdge == ABE_LEFT && pRect.left < pBand.right) {
                pRect.left = pBand.right;
                pRect.right = pRect.left + width;
            } else if (pEdge == ABE_RIGHT && pRect.right > pBand.left) {
                pRect.right = pBand.left;
                pRect.left = pRect.right - width;
            }
        }
    } else if (horizontalBar && overlapsVertically(pRect, pBand)) {
        // A dock on a side edge takes its part of the bar's length.
        if (pBandEdge == ABE_LEFT && pRect.left < pBand.right)
            pRect.left = std::min(pBand.right, pRect.right);
        else if (pBandEdge == ABE_RIGHT && pRect.right > pBand.left)
            pRect.right = std::max(pBand.left, pRect.left);
    } else if (!horizontalBar && overlapsHorizontally(pRect, pBand)) {
        if (pBandEdge == ABE_TOP && pRect.top < pBand.bottom)
            pRect.top = std::min(pBand.bottom, pRect.bottom);
        else if (pBandEdge == ABE_BOTTOM && pRect.bottom > pBand.top)
            pRect.bottom = std::max(pBand.top, pRect.top);
    }
    return !(pRect == before);
}

// What the root window says of the window manager, asked without waiting for the answers.
struct WindowManagerClaims
{
    EwmhConnection::PendingCardinals check;
    EwmhConnection::PendingCardinals supported;
};

WindowManagerClaims requestWindowManagerClaims(EwmhConnection &pEwmh)
{
    xcb_ewmh_connection_t *ewmh = pEwmh.ewmh();
    return WindowManagerClaims{
        pEwmh.requestCardinalsOfEach({pEwmh.root()}, ewmh->_NET_SUPPORTING_WM_CHECK,
                                     XCB_ATOM_WINDOW),
        pEwmh.requestCardinalsOfEach({pEwmh.root()}, ewmh->_NET_SUPPORTED, XCB_ATOM_ATOM)};
}

bool reservesSpace(EwmhConnection &pEwmh, const WindowManagerClaims &pClaims)
{
    xcb_ewmh_connection_t *ewmh = pEwmh.ewmh();
    // A window manager proves it runs with a child window that names itself; a stale
    // _NET_SUPPORTED left by one that has gone does not count.
    const auto check = pEwmh.collect(pClaims.check).front();
    const auto supported = pEwmh.collect(pClaims.supported).front();
    if (!check || check->empty() || !supported)
        return false;
    const auto self =
        pEwmh.cardinals(check->front(), ewmh->_NET_SUPPORTING_WM_CHECK, XCB_ATOM_WINDOW);
    if (!self || self->empty() || self->front() != check->front())
        return false;
    return std::ranges::any_of(*supported, [ewmh](xcb_atom_t pAtom) {
        return pAtom == ewmh->_NET_WM_STRUT_PARTIAL || pAtom == ewmh->_NET_WM_STRUT;
    });
}

} // namespace

X11AppBarService::X11AppBarService(xcb_connection_t *pConnection, int pScreenNumber)
{
    if (pConnection != nullptr && pConnection == EwmhConnection::qtConnection()) {
        EwmhConnection *shared = EwmhConnection::forQt();
        if (shared != nullptr && shared->screenNumber() == pScreenNumber)
            m_ewmh = shared;
    }
    if (m_ewmh == nullptr) {
        m_ownEwmh = std::make_unique<EwmhConnection>(pConnection, pScreenNumber);
        m_ewmh = m_ownEwmh.get();
    }
}

X11AppBarService::~X11AppBarService() = default;

bool X11AppBarService::windowManagerReservesSpace() const
{
    if (!m_ewmh->isValid())
        return false;
    return reservesSpace(*m_ewmh, requestWindowManagerClaims(*m_ewmh));
}

bool X11AppBarService::newBar(AppBarData &pData)
{
    if (pData.hWnd == 0 || m_registered.contains(pData.hWnd) || !m_ewmh->isValid())
        return false;
    // The window must exist: its struts are what reserves the band. Asked together with the
    // window manager's claims, in one round trip.
    const auto window = static_cast<xcb_window_t>(pData.hWnd);
    const xcb_get_window_attributes_cookie_t attributesCookie =
        xcb_get_window_attributes(m_ewmh->connection(), window);
    const WindowManagerClaims claims = requestWindowManagerClaims(*m_ewmh);
    const Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(m_ewmh->connection(), attributesCookie, nullptr));
    const bool reserves = reservesSpace(*m_ewmh, claims);
    if (!attributes || !reserves)
        return false;
    m_registered.insert(pData.hWnd);
    return true;
}

bool X11AppBarService::getTaskbarPos(AppBarData &pData)
{
    // Only what lies on the bar's monitor counts, and only the part that does: a panel on
    // another monitor is no taskbar of this one.
    const AppBarRect monitor = screenRect();
    std::vector<Band> bands = otherBands(pData.hWnd);
    for (Band &band : bands)
        band.rect = clipped(band.rect, monitor);
    const auto largest =
        std::ranges::max_element(bands, {}, [](const Band &pBand) { return area(pBand.rect); });
    if (largest == bands.end() || area(largest->rect) == 0)
        return false;
    pData.rc = largest->rect;
    return true;
}

void X11AppBarService::queryPos(AppBarData &pData)
{
    if (pData.uEdge > ABE_BOTTOM)
        return;
    AppBarRect rect = pData.rc;
    rect.right = std::max(rect.right, rect.left);
    rect.bottom = std::max(rect.bottom, rect.top);
    const std::vector<Band> bands = otherBands(pData.hWnd);
    // Moving clear of one band can bring the rectangle onto the next one stacked behind it;
    // each band can push at most once per pass, so the passes are bounded.
    for (size_t pass = 0; pass <= bands.size(); ++pass) {
        bool changed = false;
        for (const Band &band : bands)
            changed = keepClearOf(rect, pData.uEdge, band.edge, band.rect) || changed;
        if (!changed)
            break;
    }
    pData.rc = rect;
}

void X11AppBarService::setPos(AppBarData &pData)
{
    if (!m_registered.contains(pData.hWnd))
        return;
    queryPos(pData);
    const AppBarRect root = rootRect();
    const AppBarRect rect = clipped(pData.rc, root);
    const auto window = static_cast<xcb_window_t>(pData.hWnd);
    xcb_ewmh_connection_t *ewmh = m_ewmh->ewmh();
    if (area(rect) == 0 || pData.uEdge > ABE_BOTTOM) {
        // Nothing left to reserve.
        xcb_delete_property(m_ewmh->connection(), window, ewmh->_NET_WM_STRUT_PARTIAL);
        xcb_delete_property(m_ewmh->connection(), window, ewmh->_NET_WM_STRUT);
        xcb_flush(m_ewmh->connection());
        return;
    }
    // Struts count from the edges of the whole root window, not of one monitor.
    xcb_ewmh_wm_strut_partial_t strut{};
    const auto lastX = static_cast<uint32_t>(rect.right - 1);
    const auto lastY = static_cast<uint32_t>(rect.bottom - 1);
    switch (pData.uEdge) {
    case ABE_LEFT:
        strut.left = static_cast<uint32_t>(rect.right);
        strut.left_start_y = static_cast<uint32_t>(rect.top);
        strut.left_end_y = lastY;
        break;
    case ABE_TOP:
        strut.top = static_cast<uint32_t>(rect.bottom);
        strut.top_start_x = static_cast<uint32_t>(rect.left);
        strut.top_end_x = lastX;
        break;
    case ABE_RIGHT:
        strut.right = static_cast<uint32_t>(root.right - rect.left);
        strut.right_start_y = static_cast<uint32_t>(rect.top);
        strut.right_end_y = lastY;
        break;
    default:
        strut.bottom = static_cast<uint32_t>(root.bottom - rect.top);
        strut.bottom_start_x = static_cast<uint32_t>(rect.left);
        strut.bottom_end_x = lastX;
        break;
    }
    m_reserved[pData.hWnd] = Band{pData.uEdge, rect, window};
    xcb_ewmh_set_wm_strut_partial(ewmh, window, strut);
    // The older property for window managers that know only the full-length struts.
    xcb_ewmh_set_wm_strut(ewmh, window, strut.left, strut.right, strut.top, strut.bottom);
    xcb_flush(m_ewmh->connection());
}

void X11AppBarService::remove(AppBarData &pData)
{
    if (m_registered.erase(pData.hWnd) == 0)
        return;
    const auto window = static_cast<xcb_window_t>(pData.hWnd);
    xcb_delete_property(m_ewmh->connection(), window, m_ewmh->ewmh()->_NET_WM_STRUT_PARTIAL);
    xcb_delete_property(m_ewmh->connection(), window, m_ewmh->ewmh()->_NET_WM_STRUT);
    xcb_flush(m_ewmh->connection());
}

bool X11AppBarService::setWorkArea(const AppBarRect &)
{
    // _NET_WORKAREA is the window manager's to write, computed from the struts; a client that
    // writes it is overruled at the next change. Left undone on purpose.
    return false;
}

AppBarRect X11AppBarService::screenRect() const
{
    // Straight from the server: Qt may not have caught up with a change yet.
    if (m_ewmh->isValid()) {
        const std::vector<Monitor> monitors = randrMonitors(*m_ewmh);
        if (const Monitor *primary = primaryMonitor(monitors))
            return primary->rect;
    }
    return rootRect();
}

AppBarRect X11AppBarService::workArea() const
{
    if (m_ewmh->isValid()) {
        const auto values = m_ewmh->cardinals(m_ewmh->root(), m_ewmh->ewmh()->_NET_WORKAREA);
        if (values && values->size() >= 4) {
            const auto &area = *values;
            return AppBarRect{static_cast<int>(area[0]), static_cast<int>(area[1]),
                              static_cast<int>(area[0] + area[2]),
                              static_cast<int>(area[1] + area[3])};
        }
    }
    return screenRect();
}

AppBarRect X11AppBarService::rootRect() const
{
    return AppBarRect{0, 0, m_ewmh->rootWidth(), m_ewmh->rootHeight()};
}

std::vector<X11AppBarService::Band>
X11AppBarService::bandsFrom(const std::optional<std::vector<uint32_t>> &pPartial,
                            const std::optional<std::vector<uint32_t>> &pFull) const
{
    std::vector<Band> bands;
    const AppBarRect root = rootRect();
    const auto add = [&](uint32_t pEdge, AppBarRect pRect) {
        pRect = clipped(pRect, root);
        if (area(pRect) > 0)
            bands.push_back(Band{pEdge, pRect});
    };
    const auto asInt = [](uint32_t pValue) { return static_cast<int>(pValue); };
    if (pPartial && pPartial->size() >= 12) {
        const auto &s = *pPartial;
        // left, right, top, bottom, then start and end of each, ends inclusive.
        if (s[0] > 0)
            add(ABE_LEFT, {0, asInt(s[4]), asInt(s[0]), asInt(s[5]) + 1});
        if (s[1] > 0)
            add(ABE_RIGHT, {root.right - asInt(s[1]), asInt(s[6]), root.right, asInt(s[7]) + 1});
        if (s[2] > 0)
            add(ABE_TOP, {asInt(s[8]), 0, asInt(s[9]) + 1, asInt(s[2])});
        if (s[3] > 0)
            add(ABE_BOTTOM,
                {asInt(s[10]), root.bottom - asInt(s[3]), asInt(s[11]) + 1, root.bottom});
        return bands;
    }
    if (pFull && pFull->size() >= 4) {
        const auto &s = *pFull;
        if (s[0] > 0)
            add(ABE_LEFT, {0, 0, asInt(s[0]), root.bottom});
        if (s[1] > 0)
            add(ABE_RIGHT, {root.right - asInt(s[1]), 0, root.right, root.bottom});
        if (s[2] > 0)
            add(ABE_TOP, {0, 0, root.right, asInt(s[2])});
        if (s[3] > 0)
            add(ABE_BOTTOM, {0, root.bottom - asInt(s[3]), root.right, root.bottom});
    }
    return bands;
}

void X11AppBarService::beginSequence()
{
    ++m_sequenceDepth;
}

void X11AppBarService::endSequence()
{
    if (m_sequenceDepth > 0 && --m_sequenceDepth == 0)
        m_look.reset();
}

std::vector<X11AppBarService::Band> X11AppBarService::otherBands(quintptr pOwnWindow) const
{
    // A registration asks three times within a millisecond; each look costs two round trips to
    // the X server, each a wait on a busy server while the bar starts.
    Look look;
    if (m_sequenceDepth == 0) {
        look = readLook();
    } else {
        if (!m_look)
            m_look = readLook();
        look = *m_look;
    }
    std::vector<Band> own;
    std::vector<Band> others;
    for (const Band &band : look.bands)
        (band.window == static_cast<uint32_t>(pOwnWindow) ? own : others).push_back(band);
    if (const auto reserved = m_reserved.find(pOwnWindow); reserved != m_reserved.end())
        own.push_back(reserved->second);
    if (look.workArea) {
        const std::vector<Band> implied = workAreaBands(*look.workArea, others, own);
        others.insert(others.end(), implied.begin(), implied.end());
    }
    return others;
}

std::vector<X11AppBarService::Band>
X11AppBarService::workAreaBands(const AppBarRect &pWorkArea, const std::vector<Band> &pOthers,
                                const std::vector<Band> &pOwn) const
{
    const AppBarRect root = rootRect();
    // How far from its own edge of the root a band reaches.
    const auto reach = [&root](uint32_t pEdge, const AppBarRect &pRect) {
        switch (pEdge) {
        case ABE_LEFT:
            return pRect.right - root.left;
        case ABE_TOP:
            return pRect.bottom - root.top;
        case ABE_RIGHT:
            return root.right - pRect.left;
        default:
            return root.bottom - pRect.top;
        }
    };
    const std::array<int, 4> insets = {pWorkArea.left - root.left, pWorkArea.top - root.top,
                                       root.right - pWorkArea.right,
                                       root.bottom - pWorkArea.bottom};
    const std::array<AppBarRect, 4> full = {
        AppBarRect{root.left, root.top, pWorkArea.left, root.bottom},
        AppBarRect{root.left, root.top, root.right, pWorkArea.top},
        AppBarRect{pWorkArea.right, root.top, root.right, root.bottom},
        AppBarRect{root.left, pWorkArea.bottom, root.right, root.bottom}};
    const auto explains = [&](const std::vector<Band> &pBands, uint32_t pEdge, int pInset) {
        return std::ranges::any_of(pBands, [&](const Band &pBand) {
            return pBand.edge == pEdge && reach(pEdge, pBand.rect) >= pInset;
        });
    };

    std::vector<Band> bands;
    for (uint32_t edge = ABE_LEFT; edge <= ABE_BOTTOM; ++edge) {
        const int inset = insets[edge];
        // A work area larger than the root, or not shrunk on this side: nothing reserved here.
        if (inset <= 0
            || inset >= (edge == ABE_LEFT || edge == ABE_RIGHT ? root.width() : root.height()))
            continue;
        if (explains(pOthers, edge, inset))
            continue;
        if (explains(pOwn, edge, inset)) {
            if (m_workAreaBands[edge])
                bands.push_back(*m_workAreaBands[edge]);
            continue;
        }
        const Band band{edge, full[edge], 0};
        m_workAreaBands[edge] = band;
        bands.push_back(band);
    }
    return bands;
}

X11AppBarService::Look X11AppBarService::readLook() const
{
    Look look;
    std::vector<Band> &bands = look.bands;
    if (!m_ewmh->isValid())
        return look;
    xcb_connection_t *connection = m_ewmh->connection();
    xcb_ewmh_connection_t *ewmh = m_ewmh->ewmh();

    // First round trip: the window manager's client list holds the managed docks (reparented
    // under a frame); the root's own children cover docks of a window manager that does not
    // reparent.
    const auto clientsPending =
        m_ewmh->requestCardinalsOfEach({m_ewmh->root()}, ewmh->_NET_CLIENT_LIST, XCB_ATOM_WINDOW);
    const auto workAreaPending =
        m_ewmh->requestCardinalsOfEach({m_ewmh->root()}, ewmh->_NET_WORKAREA);
    const xcb_query_tree_cookie_t treeCookie = xcb_query_tree(connection, m_ewmh->root());
    const auto clients = m_ewmh->collect(clientsPending).front();
    // Desktop 0's, the one the bar is on (it shows on all of them).
    if (const auto area = m_ewmh->collect(workAreaPending).front(); area && area->size() >= 4) {
        const auto &values = *area;
        look.workArea = AppBarRect{static_cast<int>(values[0]), static_cast<int>(values[1]),
                                   static_cast<int>(values[0] + values[2]),
                                   static_cast<int>(values[1] + values[3])};
    }
    const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(connection, treeCookie, nullptr));

    std::set<xcb_window_t> managed;
    if (clients)
        managed.insert(clients->begin(), clients->end());
    std::vector<xcb_window_t> unmanaged; // count only while viewable
    if (tree) {
        const xcb_window_t *children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            if (!managed.contains(children[i]))
                unmanaged.push_back(children[i]);
        }
    }
    std::set<xcb_window_t> candidateSet = managed;
    candidateSet.insert(unmanaged.begin(), unmanaged.end());
    const std::vector<xcb_window_t> candidates(candidateSet.begin(), candidateSet.end());

    // Second round trip: which unmanaged windows are viewable, and everybody's struts.
    const auto viewablePending = m_ewmh->requestViewableOfEach(unmanaged);
    const auto partialPending =
        m_ewmh->requestCardinalsOfEach(candidates, ewmh->_NET_WM_STRUT_PARTIAL);
    const auto fullPending = m_ewmh->requestCardinalsOfEach(candidates, ewmh->_NET_WM_STRUT);
    const std::vector<bool> viewable = m_ewmh->collect(viewablePending);
    const auto partial = m_ewmh->collect(partialPending);
    const auto full = m_ewmh->collect(fullPending);

    std::set<xcb_window_t> hidden;
    for (size_t i = 0; i < unmanaged.size(); ++i) {
        if (!viewable[i])
            hidden.insert(unmanaged[i]);
    }
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (hidden.contains(candidates[i]))
            continue;
        for (Band band : bandsFrom(partial[i], full[i])) {
            band.window = candidates[i];
            bands.push_back(band);
        }
    }
    return look;
}

} // namespace pindrel::platform
