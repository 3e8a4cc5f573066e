// Files dragged out of a real file manager (pcmanfm) onto the real program's bar, with the mouse
// driven by xdotool: a file dropped on a drawer button is copied into the drawer's folder, a
// folder dropped on the add button becomes a drawer.

#include "pindrelondesktop.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>

namespace {

// Icon-only buttons: the add button at the left end, drawer 1 centred at x = 62.
constexpr QPoint kAddButton(10, 10);
constexpr QPoint kFirstDrawer(62, kBarHeight / 2);

// The centres of the pure red areas of the screen, left to right: the thumbnails the file
// manager shows for the red pictures of the source folder.
std::vector<QPoint> redAreas()
{
    QProcess import;
    import.start(QStringLiteral("/usr/bin/import"),
                 {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
    if (!import.waitForFinished(kTimeoutMs))
        return {};
    const QImage screen = QImage::fromData(import.readAllStandardOutput(), "PNG");
    std::vector<QPoint> centres;
    int runStart = -1;
    int top = screen.height();
    int bottom = -1;
    for (int x = 0; x <= screen.width(); ++x) {
        bool red = false;
        for (int y = 0; x < screen.width() && y < screen.height(); ++y) {
            const QRgb pixel = screen.pixel(x, y);
            if (qRed(pixel) > 230 && qGreen(pixel) < 30 && qBlue(pixel) < 30) {
                red = true;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        if (red && runStart < 0)
            runStart = x;
        if (!red && runStart >= 0) {
            if (x - runStart >= 16)
                centres.emplace_back((runStart + x) / 2, (top + bottom) / 2);
            runStart = -1;
            top = screen.height();
            bottom = -1;
        }
    }
    return centres;
}

class DropOnDesktop : public PindrelOnDesktop
{
protected:
    void TearDown() override
    {
        if (fileManager.state() != QProcess::NotRunning) {
            fileManager.kill();
            fileManager.waitForFinished();
        }
        PindrelOnDesktop::TearDown();
    }

    // Drags with the left button from pFrom to pTo in small steps, as a hand would: the source
    // starts its drag after the first moves, the target sees the pointer arrive.
    static void drag(const QPoint &pFrom, const QPoint &pTo)
    {
        QStringList steps{QStringLiteral("mousemove"), QString::number(pFrom.x()),
                          QString::number(pFrom.y()), QStringLiteral("mousedown"),
                          QStringLiteral("1")};
        const QPoint path[] = {pFrom + QPoint(8, 8), pFrom + QPoint(20, 20), (pFrom + pTo) / 2,
                               pTo + QPoint(3, 3), pTo};
        for (const QPoint &point : path) {
            steps << QStringLiteral("sleep") << QStringLiteral("0.15")
                  << QStringLiteral("mousemove") << QString::number(point.x())
                  << QString::number(point.y());
        }
        steps << QStringLiteral("sleep") << QStringLiteral("0.3") << QStringLiteral("mouseup")
              << QStringLiteral("1");
        runXdotool(steps);
    }

    static void writePicture(const QString &pPath)
    {
        QImage picture(64, 64, QImage::Format_RGB32);
        picture.fill(Qt::red);
        picture.save(pPath, "PNG");
    }

    // The file manager on pFolder, once its two red thumbnails show.
    std::vector<QPoint> showInFileManager(const QString &pFolder)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), cache.path());
        fileManager.setProcessEnvironment(environment);
        fileManager.setProcessChannelMode(QProcess::MergedChannels);
        fileManager.start(QStringLiteral("pcmanfm"), {pFolder});
        std::vector<QPoint> found;
        waitUntil([&] {
            found = redAreas();
            return found.size() == 2 || fileManager.state() == QProcess::NotRunning;
        });
        return found;
    }

    QTemporaryDir source;
    QTemporaryDir drawer;
    QTemporaryDir cache;
    QProcess fileManager;
};

TEST_F(DropOnDesktop, FileOntoADrawerAndFolderOntoTheAddButton)
{
    ASSERT_TRUE(source.isValid() && drawer.isValid() && cache.isValid());
    // Folders first, then by name: [NewDrawer] [b-red.png] [c-red.png].
    ASSERT_TRUE(QDir(source.path()).mkdir(QStringLiteral("NewDrawer")));
    writePicture(source.filePath(QStringLiteral("b-red.png")));
    writePicture(source.filePath(QStringLiteral("c-red.png")));
    ASSERT_TRUE(writeConfig(
        {position("TOP"),
         {QStringLiteral("MAIN"), QStringLiteral("BUTTONTYPE"), QStringLiteral("2")},
         {QStringLiteral("GRAL"), QStringLiteral("CANTBOT"), QStringLiteral("1")},
         {QStringLiteral("BUTTON1"), QStringLiteral("CAPTION"), QStringLiteral("Inbox")},
         {QStringLiteral("BUTTON1"), QStringLiteral("PATH"), drawer.path()},
         {QStringLiteral("BUTTON1"), QStringLiteral("ICON"), QString()}}));
    QProcess &pindrel = start();
    const auto bar = waitForBar(pindrel);
    ASSERT_TRUE(bar) << describe(pindrel);
    ASSERT_EQ(settledGeometry(*bar, dockedAtTop()), dockedAtTop());

    const std::vector<QPoint> pictures = showInFileManager(source.path());
    ASSERT_EQ(pictures.size(), 2U)
        << "the file manager did not show the pictures: " << fileManager.readAll().toStdString();

    drag(pictures[0], kFirstDrawer);
    const QString copied = drawer.filePath(QStringLiteral("b-red.png"));
    EXPECT_TRUE(waitUntil([&] { return QFile::exists(copied); }))
        << "nothing arrived in the drawer's folder; " << describe(pindrel);
    EXPECT_TRUE(QFile::exists(source.filePath(QStringLiteral("b-red.png"))))
        << "the drop moved the file instead of copying it";
    EXPECT_FALSE(QFile::exists(drawer.filePath(QStringLiteral("c-red.png"))));

    // The folder sits one cell left of the first picture.
    const QPoint folder = pictures[0] - (pictures[1] - pictures[0]);
    drag(folder, kAddButton);
    const IniEntry added{QStringLiteral("BUTTON2"), QStringLiteral("PATH"),
                         source.filePath(QStringLiteral("NewDrawer"))};
    EXPECT_TRUE(waitUntil([&] {
        const IniEntries entries = parseIni(copy.readConfig());
        return std::find(entries.begin(), entries.end(), added) != entries.end();
    })) << "the folder did not become a drawer; "
        << describe(pindrel);
    const IniEntries entries = parseIni(copy.readConfig());
    EXPECT_NE(std::find(entries.begin(), entries.end(),
                        IniEntry{QStringLiteral("BUTTON2"), QStringLiteral("CAPTION"),
                                 QStringLiteral("NewDrawer")}),
              entries.end());
}

} // namespace
