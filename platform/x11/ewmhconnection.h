#pragma once

// The EWMH atoms of one X connection (libxcb-ewmh) plus the few atoms outside the EWMH set,
// and the typed property reads the platform layer needs. Not part of the library's surface.

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace pindrel::platform {

class EwmhConnection
{
public:
    // Interns the atoms on pConnection (not owned) for screen pScreenNumber. isValid() tells
    // whether that worked.
    EwmhConnection(xcb_connection_t *pConnection, int pScreenNumber);
    ~EwmhConnection();

    EwmhConnection(const EwmhConnection &) = delete;
    EwmhConnection &operator=(const EwmhConnection &) = delete;

    // The connection of the running Qt application when its platform is xcb, else nullptr.
    // Built on first use and rebuilt if Qt's connection changed; any thread may build it.
    static EwmhConnection *forQt();
    // Qt's X connection, or nullptr when the platform is not xcb.
    static xcb_connection_t *qtConnection();

    bool isValid() const { return m_valid; }
    xcb_ewmh_connection_t *ewmh() { return &m_ewmh; }
    xcb_connection_t *connection() const { return m_connection; }
    int screenNumber() const { return m_screenNumber; }
    xcb_window_t root() const;
    uint16_t rootWidth() const;
    uint16_t rootHeight() const;

    // An atom by name, interned once (the few the program uses beside the EWMH set are
    // interned with it, in the same round trip).
    xcb_atom_t atom(const std::string &pName);

    // Property reads; nullopt when the property is missing or of another type or format.
    std::optional<std::vector<uint32_t>> cardinals(xcb_window_t pWindow, xcb_atom_t pProperty,
                                                   xcb_atom_t pType = XCB_ATOM_CARDINAL) const;
    std::optional<std::vector<xcb_atom_t>> atoms(xcb_window_t pWindow, xcb_atom_t pProperty) const;

    // The same reads for many windows, and whether each is an InputOutput window currently
    // viewable, in two halves: every request() is sent before the first answer is awaited, so a
    // batch, even of different requests, costs one round trip to the server instead of one each
    // (a busy server makes each round trip slow); collect() gives the answers in the windows'
    // order. A request not collected leaves its answers in the connection's queue until the
    // connection ends.
    struct PendingCardinals
    {
        std::vector<xcb_get_property_cookie_t> cookies;
        xcb_atom_t type = XCB_ATOM_CARDINAL;
    };
    struct PendingViewable
    {
        std::vector<xcb_get_window_attributes_cookie_t> cookies;
    };
    PendingCardinals requestCardinalsOfEach(const std::vector<xcb_window_t> &pWindows,
                                            xcb_atom_t pProperty,
                                            xcb_atom_t pType = XCB_ATOM_CARDINAL) const;
    PendingViewable requestViewableOfEach(const std::vector<xcb_window_t> &pWindows) const;
    std::vector<std::optional<std::vector<uint32_t>>>
    collect(const PendingCardinals &pPending) const;
    std::vector<bool> collect(const PendingViewable &pPending) const;

private:
    xcb_connection_t *m_connection;
    int m_screenNumber;
    xcb_ewmh_connection_t m_ewmh{};
    bool m_initialised = false;
    bool m_valid = false;
    std::unordered_map<std::string, xcb_atom_t> m_atoms;
};

} // namespace pindrel::platform
