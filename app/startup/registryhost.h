#pragma once

// What the registry procedures need from the bar: its two rebuild operations, its current
// height, the message box of the drawer limit and one pass of the message pump. Form1
// implements it; tests use a recording stand-in.

#include <QString>

namespace pindrel {

class RegistryHost
{
public:
    virtual ~RegistryHost() = default;

    // Rebuilds the drawer buttons from config.ini (this also reloads the drawer count).
    virtual void MostrarBotones() = 0;
    // Rebuilds the program menu from config.ini.
    virtual void MostrarProgramas() = 0;
    // The bar window's current height in twips.
    virtual float barHeightTwips() const = 0;
    // A message box with an exclamation icon titled "Pindrel" showing pText; returns when the
    // user has closed it.
    virtual void showExclamation(const QString &pText) = 0;
    // Lets pending window messages run once.
    virtual void processPendingMessages() = 0;

protected:
    RegistryHost() = default;
    RegistryHost(const RegistryHost &) = default;
    RegistryHost &operator=(const RegistryHost &) = default;
};

} // namespace pindrel
