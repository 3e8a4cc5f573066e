#include "xdisplay.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <poll.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct FreeDeleter
{
    void operator()(void *pPointer) const { std::free(pPointer); }
};

template<typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

// openbox puts a client two levels below the root (frame, then the client); one more level
// keeps the search working with window managers that nest deeper.
constexpr int kSearchDepth = 4;

} // namespace

XDisplay::XDisplay(const QString &pDisplay)
{
    xcb_connection_t *connection = xcb_connect(pDisplay.toLocal8Bit().constData(), nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return;
    }
    m_connection = connection;
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &events);
    xcb_flush(m_connection);
}

XDisplay::~XDisplay()
{
    if (m_connection != nullptr)
        xcb_disconnect(m_connection);
}

void XDisplay::waitForActivity(int pTimeoutMs)
{
    if (m_connection == nullptr)
        return;
    pollfd descriptor{xcb_get_file_descriptor(m_connection), POLLIN, 0};
    // Events already read from the socket would not wake poll().
    bool queued = false;
    while (xcb_generic_event_t *event = xcb_poll_for_queued_event(m_connection)) {
        std::free(event);
        queued = true;
    }
    if (!queued)
        poll(&descriptor, 1, pTimeoutMs);
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
        std::free(event);
}

bool XDisplay::waitUntil(const std::function<bool()> &pCondition, int pTimeoutMs)
{
    const QDeadlineTimer deadline(pTimeoutMs);
    while (!pCondition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        waitForActivity(20);
    }
    return true;
}

xcb_atom_t XDisplay::atom(const char *pName)
{
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        m_connection,
        xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(pName)), pName),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

QByteArray XDisplay::rawProperty(xcb_window_t pWindow, xcb_atom_t pProperty, xcb_atom_t pType)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, pWindow, pProperty, pType, 0, 4096),
        nullptr));
    if (!reply || reply->type != pType)
        return {};
    const int length = xcb_get_property_value_length(reply.get());
    return QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())), length);
}

std::optional<std::vector<uint32_t>> XDisplay::cardinals(xcb_window_t pWindow,
                                                         const char *pProperty, xcb_atom_t pType)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, pWindow, atom(pProperty), pType, 0, 1024),
        nullptr));
    if (!reply || reply->type != pType || reply->format != 32)
        return std::nullopt;
    const auto *values = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    return std::vector<uint32_t>(values, values + xcb_get_property_value_length(reply.get()) / 4);
}

QStringList XDisplay::atomNames(xcb_window_t pWindow, const char *pProperty)
{
    QStringList names;
    const auto atoms = cardinals(pWindow, pProperty, XCB_ATOM_ATOM);
    if (!atoms)
        return names;
    for (const uint32_t value : *atoms) {
        const Reply<xcb_get_atom_name_reply_t> reply(
            xcb_get_atom_name_reply(m_connection, xcb_get_atom_name(m_connection, value), nullptr));
        if (reply) {
            names << QString::fromLatin1(xcb_get_atom_name_name(reply.get()),
                                         xcb_get_atom_name_name_length(reply.get()));
        }
    }
    return names;
}

QString XDisplay::title(xcb_window_t pWindow)
{
    const QByteArray name = rawProperty(pWindow, atom("_NET_WM_NAME"), atom("UTF8_STRING"));
    if (!name.isEmpty())
        return QString::fromUtf8(name);
    return QString::fromLatin1(rawProperty(pWindow, XCB_ATOM_WM_NAME, XCB_ATOM_STRING));
}

QStringList XDisplay::windowClass(xcb_window_t pWindow)
{
    QStringList parts;
    for (const QByteArray &part :
         rawProperty(pWindow, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).split('\0')) {
        if (!part.isEmpty())
            parts << QString::fromLatin1(part);
    }
    return parts;
}

std::optional<xcb_window_t> XDisplay::transientFor(xcb_window_t pWindow)
{
    const auto values = cardinals(pWindow, "WM_TRANSIENT_FOR", XCB_ATOM_WINDOW);
    if (!values || values->empty())
        return std::nullopt;
    return values->front();
}

std::optional<QRect> XDisplay::geometry(xcb_window_t pWindow)
{
    const Reply<xcb_get_geometry_reply_t> size(
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, pWindow), nullptr));
    if (!size)
        return std::nullopt;
    // The window manager's frame makes the position relative to the frame: ask the server
    // where the window's corner is on the root.
    const Reply<xcb_translate_coordinates_reply_t> corner(xcb_translate_coordinates_reply(
        m_connection, xcb_translate_coordinates(m_connection, pWindow, m_root, 0, 0), nullptr));
    if (!corner)
        return std::nullopt;
    return QRect(corner->dst_x, corner->dst_y, size->width, size->height);
}

void XDisplay::requestClose(xcb_window_t pWindow)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = pWindow;
    message.type = atom("_NET_CLOSE_WINDOW");
    // A timestamp of 0 ("current time") and source indication 2: a pager or taskbar acting for
    // the user, which window managers honour without further checks.
    message.data.data32[0] = XCB_CURRENT_TIME;
    message.data.data32[1] = 2;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_send_event(m_connection, 0, m_root, mask, reinterpret_cast<const char *>(&message));
    xcb_flush(m_connection);
}

void XDisplay::sendToRoot(xcb_window_t pWindow, const char *pType,
                          std::initializer_list<uint32_t> pData)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = pWindow;
    message.type = atom(pType);
    std::size_t index = 0;
    for (const uint32_t value : pData) {
        if (index < 5)
            message.data.data32[index++] = value;
    }
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_send_event(m_connection, 0, m_root, mask, reinterpret_cast<const char *>(&message));
    xcb_flush(m_connection);
}

void XDisplay::requestAbove(xcb_window_t pWindow, bool pAbove)
{
    // _NET_WM_STATE: action (0 remove, 1 add), the state, no second state, source 2 (a pager).
    sendToRoot(pWindow, "_NET_WM_STATE", {pAbove ? 1U : 0U, atom("_NET_WM_STATE_ABOVE"), 0, 2});
}

void XDisplay::requestActivate(xcb_window_t pWindow)
{
    // Source 2 (a pager acting for the user), current time, no window of the requester.
    sendToRoot(pWindow, "_NET_ACTIVE_WINDOW", {2, XCB_CURRENT_TIME, 0});
}

bool XDisplay::isViewable(xcb_window_t pWindow)
{
    const Reply<xcb_get_window_attributes_reply_t> reply(xcb_get_window_attributes_reply(
        m_connection, xcb_get_window_attributes(m_connection, pWindow), nullptr));
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

bool XDisplay::isOverrideRedirect(xcb_window_t pWindow)
{
    const Reply<xcb_get_window_attributes_reply_t> reply(xcb_get_window_attributes_reply(
        m_connection, xcb_get_window_attributes(m_connection, pWindow), nullptr));
    return reply && reply->override_redirect != 0;
}

void XDisplay::collectWindowsOf(xcb_window_t pParent, uint32_t pPid, int pDepth,
                                std::vector<Found> &pFound)
{
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, pParent), nullptr));
    if (!tree)
        return;
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    const xcb_atom_t pidAtom = atom("_NET_WM_PID");
    for (int i = 0; i < count; ++i) {
        const xcb_window_t child = children[i];
        const QByteArray pid = rawProperty(child, pidAtom, XCB_ATOM_CARDINAL);
        uint32_t value = 0;
        if (pid.size() == sizeof value)
            std::memcpy(&value, pid.constData(), sizeof value);
        if (value == pPid)
            pFound.push_back({child, isViewable(child)});
        else if (pDepth > 1)
            collectWindowsOf(child, pPid, pDepth - 1, pFound);
    }
}

std::vector<xcb_window_t> XDisplay::viewableWindowsOf(qint64 pPid)
{
    std::vector<Found> found;
    collectWindowsOf(m_root, static_cast<uint32_t>(pPid), kSearchDepth, found);
    std::vector<xcb_window_t> windows;
    for (const Found &entry : found) {
        if (entry.viewable)
            windows.push_back(entry.window);
    }
    return windows;
}

std::vector<xcb_window_t> XDisplay::windowsOf(qint64 pPid)
{
    std::vector<Found> found;
    collectWindowsOf(m_root, static_cast<uint32_t>(pPid), kSearchDepth, found);
    std::vector<xcb_window_t> windows;
    for (const Found &entry : found)
        windows.push_back(entry.window);
    return windows;
}

QRect XDisplay::workArea()
{
    const auto values = cardinals(m_root, "_NET_WORKAREA");
    if (!values || values->size() < 4)
        return {};
    return QRect(static_cast<int>((*values)[0]), static_cast<int>((*values)[1]),
                 static_cast<int>((*values)[2]), static_cast<int>((*values)[3]));
}

xcb_window_t XDisplay::activeWindow()
{
    const auto values = cardinals(m_root, "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW);
    return values && !values->empty() ? values->front() : xcb_window_t{XCB_WINDOW_NONE};
}

std::optional<xcb_window_t> XDisplay::panel()
{
    const auto clients = cardinals(m_root, "_NET_CLIENT_LIST", XCB_ATOM_WINDOW);
    if (!clients)
        return std::nullopt;
    for (const xcb_window_t window : *clients) {
        if (windowClass(window).contains(QStringLiteral("tint2"), Qt::CaseInsensitive)
            && cardinals(window, "_NET_WM_STRUT_PARTIAL"))
            return window;
    }
    return std::nullopt;
}
