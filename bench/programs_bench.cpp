// The program menu and the settings dialog, offscreen.
//
//   rebuild/launchers  MostrarProgramas with 100 programs, each a launcher of its own with its
//                      own picture file as Icon; beside it, in the same run, MostrarBotones with
//                      100 drawers with an icon each. Goal: at most 15 ms per rebuild of the
//                      programs. Counters: ms_programs, ms_drawers, programs_per_drawers (the
//                      ratio of the two) and goal_ratio (ms_programs / 15; at most 1 is met).
//   rebuild/mixed      the same with a mix: launchers naming theme icons, programs, and
//                      documents of several types.
//   open/settings      the settings dialog from construction (its controls filled from the
//                      settings) to the end of its first paint, warm (opened once before);
//                      beside it the drawer editor Form3 the same way. Goal: at most 60 ms.
//                      Counters: ms_settings, ms_form3, settings_per_form3, goal_ratio.

#include "bar/barbutton.h"
#include "bar/form1.h"
#include "bar/programmenu.h"
#include "dialogs/form3.h"
#include "dialogs/formconfig.h"
#include "dialogs/settingshost.h"
#include "startup/appstate.h"
#include "startup/registry.h"

#include "platform/themeiconcache.h"

#include "txini/clsini.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <functional>
#include <string>

namespace {

constexpr int kEntries = 100;
constexpr double kRebuildGoalMs = 15.0;
constexpr double kOpenGoalMs = 60.0;

QImage picture(int pSide, int pNumber)
{
    QImage image(pSide, pSide, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor::fromHsv((pNumber * 37) % 360, 180, 220));
    painter.drawEllipse(QRectF(1, 1, pSide - 2, pSide - 2));
    return image;
}

void writeFile(const QString &pPath, const QByteArray &pContent, bool pExecutable = false)
{
    QFile file(pPath);
    if (file.open(QIODevice::WriteOnly))
        file.write(pContent);
    file.close();
    if (pExecutable)
        file.setPermissions(file.permissions() | QFile::ExeOwner);
}

enum class Mix { Launchers, Mixed };

// A program folder: config.ini with 100 drawers with icons and 100 programs, and their files.
class Folder
{
public:
    explicit Folder(Mix pMix)
    {
        const QString files = m_folder.filePath(QStringLiteral("files"));
        QDir().mkpath(files);
        std::string config = "[MAIN]\nPOSITION=TOP\nHEIGHT=390\nBUTTONTYPE=1\n[GRAL]\nCANTBOT="
            + std::to_string(kEntries) + "\nCANTPROG=" + std::to_string(kEntries) + "\n";
        for (int n = 1; n <= kEntries; ++n) {
            const QString icon = files + QStringLiteral("/icon%1.png").arg(n);
            picture(n % 2 == 0 ? 32 : 48, n).save(icon);
            config += "[BUTTON" + std::to_string(n) + "]\nCAPTION=Folder " + std::to_string(n)
                + "\nPATH=/tmp\nICON=" + icon.toStdString() + "\n";
            config += "[PROGRAM" + std::to_string(n) + "]\nCAPTION=Program " + std::to_string(n)
                + "\nPATH=" + program(pMix, files, n, icon).toStdString() + "\n";
        }
        std::ofstream(configFile().toStdString()) << config;
    }

    QString folder() const { return m_folder.path(); }
    QString configFile() const { return m_folder.filePath(QStringLiteral("config.ini")); }

private:
    static QString program(Mix pMix, const QString &pFiles, int pNumber, const QString &pIcon)
    {
        const int kind = pMix == Mix::Launchers ? 0 : pNumber % 4;
        const QString base = pFiles + QStringLiteral("/program%1").arg(pNumber);
        static const char *const themeIcons[] = {"utilities-terminal", "accessories-text-editor",
                                                 "system-file-manager", "help-browser"};
        static const char *const documents[] = {".txt", ".png", ".pdf", ".html", ".odt", ".zip"};
        switch (kind) {
        case 0:
            writeFile(base + QStringLiteral(".desktop"),
                      "[Desktop Entry]\nType=Application\nName=P\nExec=true\nIcon=" + pIcon.toUtf8()
                          + "\n");
            return base + QStringLiteral(".desktop");
        case 1:
            writeFile(base + QStringLiteral(".desktop"),
                      QByteArray("[Desktop Entry]\nType=Application\nName=P\nExec=true\nIcon=")
                          + themeIcons[pNumber % 4] + "\n");
            return base + QStringLiteral(".desktop");
        case 2:
            writeFile(base, "#!/bin/sh\nexit 0\n", true);
            return base;
        default: {
            const QString document = base + QString::fromLatin1(documents[pNumber % 6]);
            writeFile(document, "content\n");
            return document;
        }
        }
    }

    QTemporaryDir m_folder;
};

double elapsedMs(const QElapsedTimer &pTimer)
{
    return static_cast<double>(pTimer.nsecsElapsed()) / 1e6;
}

// One thing timed against its reference, alternately, in each iteration: counters
// ms_<measured>, ms_<reference>, <measured>_per_<reference> and goal_ratio (ms_<measured> over
// pGoalMs; at most 1 is met).
struct Timed
{
    const char *name;
    std::function<void()> run;
};

void timeSideBySide(benchmark::State &pState, const Timed &pMeasured, const Timed &pReference,
                    double pGoalMs)
{
    double measured = 0;
    double reference = 0;
    for (auto _ : pState) {
        QElapsedTimer timer;
        timer.start();
        pMeasured.run();
        measured += elapsedMs(timer);
        timer.restart();
        pReference.run();
        reference += elapsedMs(timer);
    }
    const double runs = std::max(1.0, static_cast<double>(pState.iterations()));
    const std::string first = pMeasured.name;
    const std::string second = pReference.name;
    pState.counters["ms_" + first] = measured / runs;
    pState.counters["ms_" + second] = reference / runs;
    pState.counters[first + "_per_" + second] = reference > 0 ? measured / reference : 0;
    pState.counters["goal_ratio"] = measured / runs / pGoalMs;
}

void flushDeletions()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void rebuild(benchmark::State &pState, Mix pMix)
{
    Folder files(pMix);
    pindrel::AppState appState;
    appState.setProgramFolder(files.folder());
    appState.openStore(files.configFile());
    appState.settings().buttonStyle = 1;
    appState.settings().barHeight = 390;
    pindrel::Form1 bar(appState);
    bar.resize(1280, 26);
    bar.cmdBTemplate()->setHeightTwips(360);
    // Warm: the icon theme, the MIME database and the installed launchers read once.
    bar.MostrarProgramas();
    bar.MostrarBotones();
    flushDeletions();

    timeSideBySide(pState,
                   {"programs",
                    [&] {
                        bar.MostrarProgramas();
                        flushDeletions();
                    }},
                   {"drawers",
                    [&] {
                        bar.MostrarBotones();
                        flushDeletions();
                    }},
                   kRebuildGoalMs);
    if (bar.programMenu().entryCount() != kEntries)
        pState.SkipWithError("the rebuild did not make every entry");
}

// Shows pDialog and runs events until its first paint has ended.
void showUntilPainted(QDialog &pDialog)
{
    struct PaintWatch : QObject
    {
        bool painted = false;
        bool eventFilter(QObject *pWatched, QEvent *pEvent) override
        {
            if (pEvent->type() == QEvent::Paint)
                painted = true;
            return QObject::eventFilter(pWatched, pEvent);
        }
    } watch;
    pDialog.installEventFilter(&watch);
    pDialog.show();
    while (!watch.painted)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    // The paint event is over once control is back from the events that delivered it.
    QCoreApplication::processEvents();
    pDialog.removeEventFilter(&watch);
}

class QuietHost : public pindrel::SettingsHost
{
public:
    void AplicarColoresMain() override { }
    void MostrarBotones() override { }
    void redock() override { }
};

void open(benchmark::State &pState)
{
    Folder files(Mix::Launchers);
    pindrel::AppState appState;
    appState.setProgramFolder(files.folder());
    appState.openStore(files.configFile());
    appState.settings().position = QStringLiteral("TOP");
    appState.settings().barHeight = 390;
    pindrel::Form1 bar(appState);
    QuietHost host;

    const auto settings = [&] {
        pindrel::FormConfig dialog(appState, bar.registry(), host);
        showUntilPainted(dialog);
    };
    const auto editor = [&] {
        pindrel::Form3 dialog(appState, bar.registry());
        dialog.Inicializar(1);
        showUntilPainted(dialog);
    };
    settings(); // warm
    editor();

    timeSideBySide(pState, {"settings", settings}, {"form3", editor}, kOpenGoalMs);
}

} // namespace

BENCHMARK_CAPTURE(rebuild, launchers, Mix::Launchers)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(rebuild, mixed, Mix::Mixed)->Unit(benchmark::kMillisecond);
BENCHMARK(open)->Name("open/settings")->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    pindrel::platform::ThemeIconCache::adoptDesktopTheme();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
