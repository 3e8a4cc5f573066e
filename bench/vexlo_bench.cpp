// Benchmarks of the path combo (vexlo) on a sandbox namespace in a temporary folder:
//
//   populate   filling the list window of a desktop with 200 folders and a computer with 50
//              drives (and the root file system, which is always listed): goal at most 20 ms
//   setpath    SetPath of a folder 20 levels below a drive, which inserts 20 path items and
//              selects the last: goal at most 2 ms
//
// Building and tearing down the list window, and going back to the desktop between two
// SetPath calls, are not timed. The goal of each shows in its label.

#include "vexlo/namespacecombobox.h"

#include "platform/shellnamespace.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtWidgets/QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

namespace pf = pindrel::platform;

constexpr int kDrives = 50;
constexpr int kDesktopFolders = 200;
constexpr int kDepth = 20;

// The sandbox: mnt/dNN for the drives, home/Desktop/folderNNN on drive d00, and a folder chain
// l01/l02/.../l20 on drive d01.
class Sandbox
{
public:
    Sandbox()
    {
        QByteArray mounts = "/dev/root / ext4 rw 0 0\n";
        for (int drive = 0; drive < kDrives; ++drive) {
            const QString name = QStringLiteral("mnt/d%1").arg(drive, 2, 10, QChar(u'0'));
            makeDir(name);
            mounts += "/dev/sd" + QByteArray::number(drive) + ' ' + QFile::encodeName(path(name))
                + " ext4 rw 0 0\n";
        }
        for (int folder = 0; folder < kDesktopFolders; ++folder)
            makeDir(QStringLiteral("mnt/d00/home/Desktop/folder%1").arg(folder));
        makeDir(QStringLiteral("mnt/d00/home/Documents"));
        makeDir(QStringLiteral("mnt/d00/home/.trash"));
        makeDir(QStringLiteral("labels"));
        QString chain = QStringLiteral("mnt/d01");
        for (int level = 1; level <= kDepth; ++level)
            chain += QStringLiteral("/l%1").arg(level, 2, 10, QChar(u'0'));
        makeDir(chain);
        m_deepFolder = path(chain);

        QFile table(path(QStringLiteral("mounts")));
        if (table.open(QIODevice::WriteOnly))
            table.write(mounts);

        pf::NamespaceRoots roots;
        roots.desktopDir = path(QStringLiteral("mnt/d00/home/Desktop"));
        roots.homeDir = path(QStringLiteral("mnt/d00/home"));
        roots.documentsDir = path(QStringLiteral("mnt/d00/home/Documents"));
        roots.trashDir = path(QStringLiteral("mnt/d00/home/.trash"));
        roots.mountTable = path(QStringLiteral("mounts"));
        roots.mountPlaces = {path(QStringLiteral("mnt"))};
        roots.labelDir = path(QStringLiteral("labels"));
        m_shell = std::make_shared<pf::ShellNamespace>(roots);
    }

    std::shared_ptr<const pf::ShellNamespace> shell() const { return m_shell; }
    const QString &deepFolder() const { return m_deepFolder; }

private:
    QString path(const QString &pRelative) const { return m_dir.path() + u'/' + pRelative; }
    void makeDir(const QString &pRelative) const { QDir().mkpath(path(pRelative)); }

    QTemporaryDir m_dir;
    QString m_deepFolder;
    std::shared_ptr<pf::ShellNamespace> m_shell;
};

Sandbox &sandbox()
{
    static Sandbox instance;
    return instance;
}

void populate(benchmark::State &pState)
{
    const auto shell = sandbox().shell();
    int entries = 0;
    for (auto _ : pState) {
        pState.PauseTiming();
        auto combo = std::make_unique<vexlo::CNamespaceComboBox>(shell, true);
        pState.ResumeTiming();
        combo->populate();
        pState.PauseTiming();
        entries = combo->count();
        combo.reset();
        pState.ResumeTiming();
    }
    pState.counters["entries"] = entries;
    pState.SetLabel("goal <= 20 ms");
}
BENCHMARK(populate)->Unit(benchmark::kMillisecond);

void setPathDeep(benchmark::State &pState)
{
    vexlo::CNamespaceComboBox combo(sandbox().shell(), true);
    combo.populate();
    const QString folder = sandbox().deepFolder();
    size_t inserted = 0;
    for (auto _ : pState) {
        const bool selected = combo.SetPath(folder);
        benchmark::DoNotOptimize(selected);
        pState.PauseTiming();
        inserted = combo.pathItems().size();
        combo.SetPidl(nullptr);
        pState.ResumeTiming();
    }
    pState.counters["path_items"] = static_cast<double>(inserted);
    pState.SetLabel("goal <= 2 ms");
}
BENCHMARK(setPathDeep)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
