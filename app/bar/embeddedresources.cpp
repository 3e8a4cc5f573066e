#include "bar/embeddedresources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE declares a function of the global namespace: it cannot be used inside one.
static void initPindrelResources()
{
    Q_INIT_RESOURCE(pindrel);
}

namespace pindrel {

void ensureEmbeddedResources()
{
    [[maybe_unused]] static const bool registered = [] {
        initPindrelResources();
        return true;
    }();
}

} // namespace pindrel
