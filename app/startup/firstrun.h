#pragma once

// The first-run wizard: when there are no drawers, offers to add a set of drawers for the
// usual places. Asked at every start while the drawer count is below 1.
//
// The question, titled "Pindrel", with OK and Cancel:
//   "There are no drawers.\nDo you want to let this wizard to add some drawers for you?"
// On OK, after pending messages have run once, it adds through Registry::AgregarBoton (empty
// icon, the bar rebuilt after each), in this order:
//   "File System"   "/" (the root of the file system: there is no drive C here)
//   "My Documents"  special folder 5
//   "My Pictures"   special folder 39
//   "Desktop"       special folder 0
//   "Network"       special folder 19
// each of the last four only when its looked-up path, trimmed of spaces, is not empty.
// On Cancel nothing is written.

#include <functional>

#include <QString>

#include "startup/questionasker.h"

namespace pindrel {

class AppState;
class Registry;
class RegistryHost;

class FirstRunWizard
{
public:
    // A special folder's path by its shell folder number (CSIDL); empty when it has none.
    using SpecialFolderLookup = std::function<QString(int pFolderNumber)>;

    enum class Outcome {
        NotNeeded, // there are drawers: nothing asked
        Declined, // asked, Cancel: nothing written
        Added, // asked, OK: drawers added
    };

    // Special folder numbers the wizard looks up.
    static constexpr int kDocumentsFolder = 5;
    static constexpr int kPicturesFolder = 39;
    static constexpr int kDesktopFolder = 0;
    static constexpr int kNetworkFolder = 19;

    FirstRunWizard(AppState &pState, Registry &pRegistry, RegistryHost &pHost,
                   QuestionAsker &pAsker, SpecialFolderLookup pLookup);

    Outcome run();

    static QString title();
    static QString questionText();

private:
    AppState &m_state;
    Registry &m_registry;
    RegistryHost &m_host;
    QuestionAsker &m_asker;
    SpecialFolderLookup m_lookup;
};

} // namespace pindrel
