#include "bar_testsupport.h"

#include "startup_testsupport.h"

#include "txini/clsini.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>

namespace pindrel::test {

bool DockingAppBar::getTaskbarPos(platform::AppBarData &pData)
{
    pData.rc = {0, 770, 1280, 800};
    return true;
}

std::optional<QString> ScriptedChooser::next()
{
    if (answers.empty())
        return std::nullopt;
    const bool chosen = answers.front().has_value();
    const QString text = answers.front().value_or(QString());
    answers.pop_front();
    if (!chosen)
        return std::nullopt;
    return text;
}

std::optional<QString> ScriptedChooser::chooseFolder(QWidget *, const QString &pPrompt)
{
    calls.push_back({QStringLiteral("folder"), pPrompt, QString(), {}});
    return next();
}

std::optional<QString> ScriptedChooser::chooseFile(QWidget *, const QString &pTitle,
                                                   const QString &pStartFolder,
                                                   const QList<FileFilter> &pFilters)
{
    calls.push_back({QStringLiteral("file"), pTitle, pStartFolder, pFilters});
    return next();
}

BarOnFolder::BarOnFolder()
{
    QDir(m_folder.path()).mkpath(QStringLiteral("background"));
    QDir(m_folder.path()).mkpath(QStringLiteral("icons"));
}

BarOnFolder::~BarOnFolder()
{
    m_bar.reset();
    flushDeletions();
}

QString BarOnFolder::configPath() const
{
    return m_folder.filePath(QStringLiteral("config.ini"));
}

QString BarOnFolder::filePath(const QString &pName) const
{
    return m_folder.filePath(pName);
}

void BarOnFolder::writeConfig(const std::string &pBytes) const
{
    writeBytes(configPath(), pBytes);
}

std::string BarOnFolder::readValue(const std::string &pSection, const std::string &pKey) const
{
    txini::clsIni ini;
    ini.File(configPath().toStdString());
    return ini.getLeerValor(pSection, pKey);
}

Form1 &BarOnFolder::start()
{
    m_state.setProgramFolder(m_folder.path());
    m_bar = std::make_unique<Form1>(m_state);
    m_bar->setAppBarService(std::make_unique<DockingAppBar>(removals));
    m_bar->setConfigLocator([this] { return configPath(); });
    m_bar->setQuestionAsker(&m_asker);
    m_bar->setSpecialFolderLookup([](int) { return QString(); });
    m_bar->setExclamationHandler([this](const QString &pText) { exclamations.push_back(pText); });
    m_bar->Form_Load();
    auto shell = std::make_unique<RecordingShell>();
    m_shell = shell.get();
    m_state.setShell(std::move(shell));
    return *m_bar;
}

std::string drawersConfig(int pCount, int pStyle, int pHeight, const std::string &pIcon)
{
    std::string text = "[MAIN]\nPOSITION=TOP\nHEIGHT=" + std::to_string(pHeight) + "\nBUTTONTYPE="
        + std::to_string(pStyle) + "\n[GRAL]\nCANTBOT=" + std::to_string(pCount) + "\n";
    for (int n = 1; n <= pCount; ++n) {
        text += "[BUTTON" + std::to_string(n) + "]\nCAPTION=Drawer " + std::to_string(n)
            + "\nPATH=/tmp\nICON=" + pIcon + "\n";
    }
    return text;
}

void flushDeletions()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace pindrel::test
