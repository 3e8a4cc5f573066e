#include "xprops.h"

#include <QtCore/QProcess>
#include <QtGui/QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace xprops {

namespace {

struct FreeDeleter
{
    void operator()(void *pPointer) const { std::free(pPointer); }
};

template<typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

} // namespace

xcb_connection_t *qtConnection()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_window_t rootOf(xcb_connection_t *pConnection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(pConnection)).data->root;
}

xcb_atom_t atom(xcb_connection_t *pConnection, const char *pName)
{
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        pConnection,
        xcb_intern_atom(pConnection, 0, static_cast<uint16_t>(std::strlen(pName)), pName),
        nullptr));
    if (!reply)
        return XCB_ATOM_NONE;
    return reply->atom;
}

std::optional<std::vector<uint32_t>> cardinals(xcb_connection_t *pConnection, xcb_window_t pWindow,
                                               const char *pProperty, xcb_atom_t pType)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        pConnection,
        xcb_get_property(pConnection, 0, pWindow, atom(pConnection, pProperty), pType, 0, 1024),
        nullptr));
    if (!reply || reply->type != pType || reply->format != 32)
        return std::nullopt;
    const auto *values = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    return std::vector<uint32_t>(values, values + xcb_get_property_value_length(reply.get()) / 4);
}

QStringList atomNames(xcb_connection_t *pConnection, xcb_window_t pWindow, const char *pProperty)
{
    QStringList names;
    const auto atoms = cardinals(pConnection, pWindow, pProperty, XCB_ATOM_ATOM);
    if (!atoms)
        return names;
    for (const uint32_t value : *atoms) {
        const Reply<xcb_get_atom_name_reply_t> reply(
            xcb_get_atom_name_reply(pConnection, xcb_get_atom_name(pConnection, value), nullptr));
        if (reply) {
            names << QString::fromLatin1(xcb_get_atom_name_name(reply.get()),
                                         xcb_get_atom_name_name_length(reply.get()));
        }
    }
    return names;
}

void setCardinals(xcb_connection_t *pConnection, xcb_window_t pWindow, const char *pProperty,
                  xcb_atom_t pType, const std::vector<uint32_t> &pValues)
{
    xcb_change_property(pConnection, XCB_PROP_MODE_REPLACE, pWindow, atom(pConnection, pProperty),
                        pType, 32, static_cast<uint32_t>(pValues.size()), pValues.data());
    xcb_flush(pConnection);
}

void setAtoms(xcb_connection_t *pConnection, xcb_window_t pWindow, const char *pProperty,
              const std::vector<const char *> &pNames)
{
    std::vector<uint32_t> atoms;
    for (const char *name : pNames)
        atoms.push_back(atom(pConnection, name));
    setCardinals(pConnection, pWindow, pProperty, XCB_ATOM_ATOM, atoms);
}

void remove(xcb_connection_t *pConnection, xcb_window_t pWindow, const char *pProperty)
{
    xcb_delete_property(pConnection, pWindow, atom(pConnection, pProperty));
    xcb_flush(pConnection);
}

xcb_window_t createWindow(xcb_connection_t *pConnection, int pX, int pY, int pWidth, int pHeight)
{
    const xcb_window_t window = xcb_generate_id(pConnection);
    xcb_create_window(pConnection, XCB_COPY_FROM_PARENT, window, rootOf(pConnection),
                      static_cast<int16_t>(pX), static_cast<int16_t>(pY),
                      static_cast<uint16_t>(pWidth), static_cast<uint16_t>(pHeight), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_flush(pConnection);
    return window;
}

bool isViewable(xcb_connection_t *pConnection, xcb_window_t pWindow)
{
    const Reply<xcb_get_window_attributes_reply_t> reply(xcb_get_window_attributes_reply(
        pConnection, xcb_get_window_attributes(pConnection, pWindow), nullptr));
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

QString xprop(uint32_t pWindow, const char *pProperty)
{
    QProcess process;
    process.start(
        QStringLiteral("xprop"),
        {QStringLiteral("-id"), QString::number(pWindow), QString::fromLatin1(pProperty)});
    if (!process.waitForFinished(10000))
        return QStringLiteral("(xprop did not finish)");
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

} // namespace xprops
