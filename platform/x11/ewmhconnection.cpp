#include "ewmhconnection.h"

#include "xcbreply.h"

#include <QtGui/QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace pindrel::platform {

namespace {

// Interned with the EWMH atoms, in the same round trip.
constexpr std::array<const char *, 1> kExtraAtoms = {"_NET_WM_WINDOW_OPACITY"};

// The screen Qt's connection was opened on: Qt connects to $DISPLAY (or -display), whose screen
// part is the default screen.
int defaultScreenNumber()
{
    char *host = nullptr;
    int display = 0;
    int screen = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen) == 0)
        return 0;
    std::free(host);
    return screen;
}

} // namespace

EwmhConnection::EwmhConnection(xcb_connection_t *pConnection, int pScreenNumber)
    : m_connection(pConnection)
    , m_screenNumber(pScreenNumber)
{
    if (m_connection == nullptr || xcb_connection_has_error(m_connection) != 0)
        return;
    xcb_intern_atom_cookie_t *cookies = xcb_ewmh_init_atoms(m_connection, &m_ewmh);
    if (cookies == nullptr)
        return;
    // The atoms outside the EWMH set that the program uses, asked in the same round trip.
    std::vector<std::pair<std::string, xcb_intern_atom_cookie_t>> extras;
    for (const char *name : kExtraAtoms)
        extras.emplace_back(
            name, xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name));
    // On failure the library has freed what it allocated already.
    m_initialised = xcb_ewmh_init_atoms_replies(&m_ewmh, cookies, nullptr) != 0;
    m_valid = m_initialised && m_screenNumber >= 0 && m_screenNumber < m_ewmh.nb_screens;
    for (const auto &[name, cookie] : extras) {
        const Reply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(m_connection, cookie, nullptr));
        if (reply)
            m_atoms.emplace(name, reply->atom);
    }
}

EwmhConnection::~EwmhConnection()
{
    if (m_initialised)
        xcb_ewmh_connection_wipe(&m_ewmh);
}

xcb_connection_t *EwmhConnection::qtConnection()
{
    if (qGuiApp == nullptr || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

EwmhConnection *EwmhConnection::forQt()
{
    // One per process, following the application: a test that makes a new QGuiApplication gets
    // a new connection, and the old atoms must not be used on it. Made under a lock: a start
    // may prepare it on another thread while the user-interface thread comes to need it.
    static std::mutex guard;
    static std::unique_ptr<EwmhConnection> shared;
    xcb_connection_t *connection = qtConnection();
    if (connection == nullptr)
        return nullptr;
    const std::lock_guard lock(guard);
    if (!shared || shared->connection() != connection)
        shared = std::make_unique<EwmhConnection>(connection, defaultScreenNumber());
    return shared->isValid() ? shared.get() : nullptr;
}

xcb_window_t EwmhConnection::root() const
{
    if (!m_valid)
        return XCB_WINDOW_NONE;
    return m_ewmh.screens[m_screenNumber]->root;
}

uint16_t EwmhConnection::rootWidth() const
{
    return m_valid ? m_ewmh.screens[m_screenNumber]->width_in_pixels : 0;
}

uint16_t EwmhConnection::rootHeight() const
{
    return m_valid ? m_ewmh.screens[m_screenNumber]->height_in_pixels : 0;
}

xcb_atom_t EwmhConnection::atom(const std::string &pName)
{
    if (const auto found = m_atoms.find(pName); found != m_atoms.end())
        return found->second;
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(pName.size()), pName.c_str());
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(m_connection, cookie, nullptr));
    if (!reply)
        return XCB_ATOM_NONE;
    m_atoms.emplace(pName, reply->atom);
    return reply->atom;
}

namespace {

// 1024 values are far more than any property read here holds (_NET_WORKAREA has four per
// desktop).
constexpr uint32_t kMaxValues = 1024;

std::optional<std::vector<uint32_t>> valuesOf(xcb_get_property_reply_t *pReply, xcb_atom_t pType)
{
    const Reply<xcb_get_property_reply_t> reply(pReply);
    if (!reply || reply->type != pType || reply->format != 32)
        return std::nullopt;
    const auto *values = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::vector<uint32_t>(values, values + count);
}

bool viewableIn(xcb_get_window_attributes_reply_t *pReply)
{
    const Reply<xcb_get_window_attributes_reply_t> reply(pReply);
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE
        && reply->_class == XCB_WINDOW_CLASS_INPUT_OUTPUT;
}

} // namespace

std::optional<std::vector<uint32_t>>
EwmhConnection::cardinals(xcb_window_t pWindow, xcb_atom_t pProperty, xcb_atom_t pType) const
{
    return collect(requestCardinalsOfEach({pWindow}, pProperty, pType)).front();
}

EwmhConnection::PendingCardinals
EwmhConnection::requestCardinalsOfEach(const std::vector<xcb_window_t> &pWindows,
                                       xcb_atom_t pProperty, xcb_atom_t pType) const
{
    PendingCardinals pending;
    pending.type = pType;
    pending.cookies.reserve(pWindows.size());
    for (const xcb_window_t window : pWindows)
        pending.cookies.push_back(
            xcb_get_property(m_connection, 0, window, pProperty, pType, 0, kMaxValues));
    return pending;
}

EwmhConnection::PendingViewable
EwmhConnection::requestViewableOfEach(const std::vector<xcb_window_t> &pWindows) const
{
    PendingViewable pending;
    pending.cookies.reserve(pWindows.size());
    for (const xcb_window_t window : pWindows)
        pending.cookies.push_back(xcb_get_window_attributes(m_connection, window));
    return pending;
}

std::vector<std::optional<std::vector<uint32_t>>>
EwmhConnection::collect(const PendingCardinals &pPending) const
{
    std::vector<std::optional<std::vector<uint32_t>>> answers;
    answers.reserve(pPending.cookies.size());
    for (const xcb_get_property_cookie_t cookie : pPending.cookies)
        answers.push_back(
            valuesOf(xcb_get_property_reply(m_connection, cookie, nullptr), pPending.type));
    return answers;
}

std::vector<bool> EwmhConnection::collect(const PendingViewable &pPending) const
{
    std::vector<bool> answers;
    answers.reserve(pPending.cookies.size());
    for (const xcb_get_window_attributes_cookie_t cookie : pPending.cookies)
        answers.push_back(
            viewableIn(xcb_get_window_attributes_reply(m_connection, cookie, nullptr)));
    return answers;
}

std::optional<std::vector<xcb_atom_t>> EwmhConnection::atoms(xcb_window_t pWindow,
                                                             xcb_atom_t pProperty) const
{
    return cardinals(pWindow, pProperty, XCB_ATOM_ATOM);
}

} // namespace pindrel::platform
