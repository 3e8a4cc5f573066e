#pragma once

// The module's register and unregister entry points. On this desktop the form designer that
// hosts controls is Qt Designer, and registering the control means making Designer find its
// plugin (the control's Designer plugin, which carries the control's identities in its
// metadata):
//
//   DllRegisterServer    checks the plugin beside the module (its "type library": the plugin's
//                        metadata must name the control's class), then writes the plugin's
//                        registration into the user's Designer plugin folder
//                        (~/.designer/plugins): a link to the plugin. A plugin installed in
//                        Qt's own designer folder is found without one, and none is written.
//   DllUnregisterServer  removes that link (only a link, and only one to a plugin of this
//                        name); nothing else is kept anywhere.
//
// Both give 0 on success, SELFREG_E_TYPELIB (0x80040200) when the plugin is missing or is not
// the control's, and SELFREG_E_CLASS (0x80040201) when the registration cannot be written or
// removed. Registering twice succeeds both times; so does unregistering.

#include "vexlo/vexloexport.h"

#include <QtCore/QString>

#include <cstdint>

namespace vexlo {

inline constexpr int32_t kSelfRegOk = 0;
inline constexpr int32_t kSelfRegTypeLibraryFailed = static_cast<int32_t>(0x80040200u);
inline constexpr int32_t kSelfRegClassFailed = static_cast<int32_t>(0x80040201u);

// The plugin's file name.
inline constexpr char kDesignerPluginFile[] = "libvexlodesigner.so";

// Where the module finds its plugin: its own folder's "designer" folder (the build tree, and a
// copy installed the same way), else the folder cmake --install puts it in; "" when neither
// holds it.
VEXLO_EXPORT QString designerPluginPath();
// The user's own Designer plugin folder.
VEXLO_EXPORT QString userDesignerPluginFolder();

// The two steps with their places given.
VEXLO_EXPORT int32_t registerDesignerPlugin(const QString &pPlugin, const QString &pUserFolder);
VEXLO_EXPORT int32_t unregisterDesignerPlugin(const QString &pUserFolder);

} // namespace vexlo

extern "C" {
VEXLO_EXPORT int32_t DllRegisterServer();
VEXLO_EXPORT int32_t DllUnregisterServer();
}
