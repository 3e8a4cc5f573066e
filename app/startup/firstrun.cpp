#include "startup/firstrun.h"

#include <array>

#include "startup/appstate.h"
#include "startup/registry.h"
#include "startup/registryhost.h"

namespace pindrel {

namespace {

// The place a folder window shows for the whole file system.
constexpr char kRootTitle[] = "File System";
constexpr char kRootFolder[] = "/";

struct SpecialDrawer
{
    const char *title;
    int folderNumber;
};

constexpr std::array<SpecialDrawer, 4> kSpecialDrawers = {{
    {"My Documents", FirstRunWizard::kDocumentsFolder},
    {"My Pictures", FirstRunWizard::kPicturesFolder},
    {"Desktop", FirstRunWizard::kDesktopFolder},
    {"Network", FirstRunWizard::kNetworkFolder},
}};

// Trims spaces only: a path of tabs is a path, if a strange one.
bool isBlank(const QString &pText)
{
    for (const QChar character : pText) {
        if (character != QLatin1Char(' '))
            return false;
    }
    return true;
}

} // namespace

FirstRunWizard::FirstRunWizard(AppState &pState, Registry &pRegistry, RegistryHost &pHost,
                               QuestionAsker &pAsker, SpecialFolderLookup pLookup)
    : m_state(pState)
    , m_registry(pRegistry)
    , m_host(pHost)
    , m_asker(pAsker)
    , m_lookup(std::move(pLookup))
{ }

QString FirstRunWizard::title()
{
    return QStringLiteral("Pindrel");
}

QString FirstRunWizard::questionText()
{
    return QStringLiteral("There are no drawers.\n"
                          "Do you want to let this wizard to add some drawers for you?");
}

FirstRunWizard::Outcome FirstRunWizard::run()
{
    if (m_state.drawerCount() >= 1)
        return Outcome::NotNeeded;
    if (m_asker.ask(title(), questionText()) != QuestionAsker::Answer::Ok)
        return Outcome::Declined;

    m_host.processPendingMessages();
    const QString noIcon;
    constexpr int16_t rebuild = -1;
    m_registry.AgregarBoton(QString::fromLatin1(kRootTitle), QString::fromLatin1(kRootFolder),
                            noIcon, rebuild);
    for (const SpecialDrawer &drawer : kSpecialDrawers) {
        const QString path = m_lookup ? m_lookup(drawer.folderNumber) : QString();
        if (!isBlank(path))
            m_registry.AgregarBoton(QString::fromLatin1(drawer.title), path, noIcon, rebuild);
    }
    return Outcome::Added;
}

} // namespace pindrel
