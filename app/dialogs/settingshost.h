#pragma once

// What the settings dialog's Ok asks of the bar once the settings are written: the colours
// applied again, the drawer buttons rebuilt, and the bar docked again when its position or
// height changed. Form1 implements it; tests use a recording stand-in.

namespace pindrel {

class SettingsHost
{
public:
    virtual ~SettingsHost() = default;

    virtual void AplicarColoresMain() = 0;
    virtual void MostrarBotones() = 0;
    // Gives the bar's edge back, takes the height of the settings in memory and claims the
    // edge their position names ("TOP" or "BOTTOM"; none for any other), so that the work
    // area follows at once.
    virtual void redock() = 0;

protected:
    SettingsHost() = default;
    SettingsHost(const SettingsHost &) = default;
    SettingsHost &operator=(const SettingsHost &) = default;
};

} // namespace pindrel
