#pragma once

// What the bar's menus need from the bar beyond what the registry needs: opening and closing a
// drawer, re-applying the looks, starting the updater and closing the program. Form1 implements
// it; tests use a recording stand-in.

#include "startup/registryhost.h"

#include <QString>

#include <cstdint>

namespace pindrel {

class BarMenuHost : public RegistryHost
{
public:
    // Opens drawer pIndex's window, or closes it when it is open.
    virtual void AlternarCajon(int16_t pIndex) = 0;
    virtual void SetTheme() = 0;
    virtual void AplicarTransparenciaMain() = 0;
    // Starts "update.exe" of the program's folder with pArgument, when it is there.
    virtual void startUpdater(const QString &pArgument) = 0;
    // "Close Pindrel": the bar's unload step, then the end of the program.
    virtual void mCCerrar_Click() = 0;

protected:
    BarMenuHost() = default;
    BarMenuHost(const BarMenuHost &) = default;
    BarMenuHost &operator=(const BarMenuHost &) = default;
};

} // namespace pindrel
