#pragma once

// The pictures compiled into the program (resources/pindrel.qrc): the menu images under
// ":/menu/", the dialogs' pictures under ":/dialogs/". The program code lives in a static
// library, whose resource data the linker would drop unless something asks for it: every
// class that uses a ":/" picture calls this first. Calling it again does nothing.

namespace pindrel {

void ensureEmbeddedResources();

} // namespace pindrel
