// The rebuild of the drawer buttons (Form1::MostrarBotones) with 100 drawers that all have an
// icon, offscreen: the count read from config.ini, the old buttons removed and deleted, 100
// pictures loaded into img, 100 buttons created, placed and shown.
//
//   rebuild/<style>   one whole rebuild; the goal is at most 30 ms on the project's reference
//                     machine. Counters: ms_per_rebuild, goal_ratio (ms / 30; at most 1 is
//                     met) and icon_share, the part of the rebuild spent loading the icon files.
//   icons             the 100 icon files loaded alone, the reference the share is taken from.
//
// The icons are a realistic mix made in a temporary folder: 48-pixel .ico, 64-pixel .png,
// 32-pixel .bmp and 128-pixel .jpg files, one kind after the other.

#include "bar/barbutton.h"
#include "bar/buttonarray.h"
#include "bar/drawerbuttons.h"
#include "bar/form1.h"
#include "bar/picturefile.h"
#include "startup/appstate.h"

#include "txini/clsini.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kDrawers = 100;
constexpr double kGoalMilliseconds = 30.0;

struct IconKind
{
    const char *suffix;
    const char *format;
    int side;
};

constexpr IconKind kKinds[] = {
    {"ico", "ICO", 48}, {"png", "PNG", 64}, {"bmp", "BMP", 32}, {"jpg", "JPG", 128}};

QImage iconImage(int pSide, int pNumber)
{
    QImage image(pSide, pSide, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor::fromHsv((pNumber * 37) % 360, 180, 220));
    painter.drawRoundedRect(QRectF(2, 2, pSide - 4, pSide - 4), pSide / 6.0, pSide / 6.0);
    return image;
}

// A program folder with config.ini and the icons, shared by every benchmark of the run.
class Fixture
{
public:
    Fixture()
    {
        std::string config = "[MAIN]\nPOSITION=TOP\nHEIGHT=390\nBUTTONTYPE=1\n[GRAL]\nCANTBOT="
            + std::to_string(kDrawers) + "\n";
        for (int n = 1; n <= kDrawers; ++n) {
            const IconKind &kind = kKinds[n % std::size(kKinds)];
            const QString icon = m_folder.filePath(
                QStringLiteral("icons/drawer%1.%2").arg(n).arg(QString::fromLatin1(kind.suffix)));
            QDir().mkpath(m_folder.filePath(QStringLiteral("icons")));
            iconImage(kind.side, n).save(icon, kind.format);
            icons.push_back(icon);
            config += "[BUTTON" + std::to_string(n) + "]\nCAPTION=Project folder "
                + std::to_string(n) + "\nPATH=/home/marta/project-" + std::to_string(n)
                + "\nICON=" + icon.toStdString() + "\n";
        }
        std::ofstream(m_folder.filePath(QStringLiteral("config.ini")).toStdString()) << config;
    }

    QString folder() const { return m_folder.path(); }
    QString config() const { return m_folder.filePath(QStringLiteral("config.ini")); }

    std::vector<QString> icons;

private:
    QTemporaryDir m_folder;
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

using Clock = std::chrono::steady_clock;

void rebuild(benchmark::State &pState)
{
    Fixture &files = fixture();
    pindrel::AppState appState;
    appState.setProgramFolder(files.folder());
    appState.openStore(files.config());
    appState.settings().buttonStyle = static_cast<int32_t>(pState.range(0));
    appState.settings().barHeight = 390;
    pindrel::Form1 bar(appState);
    bar.resize(1280, 26);
    bar.cmdBTemplate()->setHeightTwips(360); // as start-up sizes it for a 390-twip bar

    // The loader the bar uses, timed.
    Clock::duration iconTime{};
    bar.drawerButtons().setPictureLoader([&iconTime](const QString &pPath) {
        const Clock::time_point start = Clock::now();
        QPixmap picture = pindrel::loadPictureFile(pPath, 32);
        iconTime += Clock::now() - start;
        return picture;
    });
    bar.MostrarBotones(); // the first buttons, so that every timed rebuild removes 100
    iconTime = {};

    Clock::duration total{};
    for (auto _ : pState) {
        const Clock::time_point start = Clock::now();
        bar.MostrarBotones();
        // The removed buttons are deleted when control returns to the event loop: part of
        // the cost of a rebuild.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        total += Clock::now() - start;
    }
    const double runs = static_cast<double>(pState.iterations());
    const double milliseconds =
        std::chrono::duration<double, std::milli>(total).count() / std::max(runs, 1.0);
    pState.counters["ms_per_rebuild"] = milliseconds;
    pState.counters["goal_ratio"] = milliseconds / kGoalMilliseconds;
    pState.counters["icon_share"] = total.count() > 0
        ? std::chrono::duration<double>(iconTime).count()
            / std::chrono::duration<double>(total).count()
        : 0.0;
    if (bar.cmdB().ubound() != kDrawers)
        pState.SkipWithError("the rebuild did not create every button");
}

void icons(benchmark::State &pState)
{
    Fixture &files = fixture();
    for (auto _ : pState) {
        for (const QString &icon : files.icons)
            benchmark::DoNotOptimize(pindrel::loadPictureFile(icon, 32));
    }
}

} // namespace

BENCHMARK(rebuild)->Name("rebuild/text_and_icon")->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(rebuild)->Name("rebuild/icon_only")->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(rebuild)->Name("rebuild/text_only")->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(icons)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
