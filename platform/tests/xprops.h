#pragma once

// Reading and writing X properties straight through xcb, independent of the code under test.

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace xprops {

// Qt's own X connection and the root window of its first screen.
xcb_connection_t *qtConnection();
xcb_window_t rootOf(xcb_connection_t *pConnection);

xcb_atom_t atom(xcb_connection_t *pConnection, const char *pName);

// nullopt when the property is missing or of another type.
std::optional<std::vector<uint32_t>> cardinals(xcb_connection_t *pConnection, xcb_window_t pWindow,
                                               const char *pProperty,
                                               xcb_atom_t pType = XCB_ATOM_CARDINAL);
// The names of an ATOM list property, empty when missing.
QStringList atomNames(xcb_connection_t *pConnection, xcb_window_t pWindow, const char *pProperty);

void setCardinals(xcb_connection_t *pConnection, xcb_window_t pWindow, const char *pProperty,
                  xcb_atom_t pType, const std::vector<uint32_t> &pValues);
void setAtoms(xcb_connection_t *pConnection, xcb_window_t pWindow, const char *pProperty,
              const std::vector<const char *> &pNames);
void remove(xcb_connection_t *pConnection, xcb_window_t pWindow, const char *pProperty);

// A plain InputOutput window on the root, not mapped.
xcb_window_t createWindow(xcb_connection_t *pConnection, int pX, int pY, int pWidth, int pHeight);
bool isViewable(xcb_connection_t *pConnection, xcb_window_t pWindow);

// The output of "xprop -id WINDOW PROPERTY", trimmed: a second, independent reader.
QString xprop(uint32_t pWindow, const char *pProperty);

} // namespace xprops
