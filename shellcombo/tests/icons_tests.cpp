// The private image list as hosts reach it: the overlays of shared and linked folders and how
// they are drawn, custom icons from pictures and files, and added overlays.

#include "combosandbox.h"

#include "vexlo/namespacecombobox.h"
#include "vexlo/vexloctrl.h"
#include "vexlo/vexloenums.h"

#include <QtCore/QFile>
#include <QtGui/QBitmap>
#include <QtGui/QIcon>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>

#include <gtest/gtest.h>

#include <functional>

using vexlo::CVexloCtrl;

namespace {

class IconsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Alpha is shared (a user share naming it), Linked is a symbolic link to d's Data.
        sandbox.makeDir(QStringLiteral("shares"));
        QFile share(sandbox.path(QStringLiteral("shares/alpha")));
        ASSERT_TRUE(share.open(QIODevice::WriteOnly));
        share.write("#VERSION 2\npath=" + QFile::encodeName(desktop(QStringLiteral("Alpha")))
                    + "\ncomment=\nusershare_acl=S-1-1-0:F\nguest_ok=n\n");
        share.close();
        ASSERT_TRUE(QFile::link(sandbox.path(QStringLiteral("mnt/d/Data")),
                                desktop(QStringLiteral("Linked"))));
    }

    QString desktop(const QString &pName) const
    {
        return sandbox.path(QStringLiteral("mnt/c/home/Desktop/") + pName);
    }

    std::unique_ptr<CVexloCtrl> makeControl(bool pOverlays = true)
    {
        auto control = std::make_unique<CVexloCtrl>(sandbox.makeShell());
        control->setUserShareFolder(sandbox.path(QStringLiteral("shares")));
        control->ShowOverlayIcons(pOverlays);
        control->createControlWindow();
        return control;
    }

    // The desktop child named pText.
    static int indexOf(const CVexloCtrl &pControl, const QString &pText)
    {
        for (int16_t index = 0; index < pControl.ItemsCount(); ++index) {
            if (pControl.ComboBoxItem(index)->Text() == pText)
                return index;
        }
        return -1;
    }

    // The file pName in the sandbox, written by pWrite.
    QString pictureFile(const QString &pName, const std::function<bool(const QString &)> &pWrite)
    {
        const QString path = sandbox.path(pName);
        EXPECT_TRUE(pWrite(path)) << qPrintable(path);
        return path;
    }

    static QImage square(int pWidth, int pHeight)
    {
        QImage image(pWidth, pHeight, QImage::Format_ARGB32);
        image.fill(QColor(0x20, 0x80, 0xc0));
        return image;
    }

    ComboSandbox sandbox;
};

} // namespace

TEST_F(IconsTest, SharedFoldersAndLinksGetTheirOverlays)
{
    struct Row
    {
        const char *entry;
        bool overlays;
        int overlay;
    };
    const Row rows[] = {
        {"Alpha", true, vexlo::VXOOverlayIconShare},
        {"Linked", true, vexlo::VXOOverlayIconShortcut},
        {"Beta", true, vexlo::VXOOverlayIconNone},
        {"Alpha", false, vexlo::VXOOverlayIconNone},
        {"Linked", false, vexlo::VXOOverlayIconNone},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.entry) + (row.overlays ? " with overlays" : " without"));
        const auto control = makeControl(row.overlays);
        const int index = indexOf(*control, QString::fromUtf8(row.entry));
        ASSERT_GE(index, 0);
        EXPECT_EQ(control->ComboBoxItem(static_cast<int16_t>(index))->OverlayIconIndex(),
                  row.overlay);
    }
}

TEST_F(IconsTest, TheOverlayIsDrawnOverTheIconAtBothPixelRatios)
{
    const auto control = makeControl();
    vexlo::CNamespaceComboBox *combo = control->listWindow();
    const int shared = indexOf(*control, QStringLiteral("Alpha"));
    const int plain = indexOf(*control, QStringLiteral("Beta"));
    // Both drawn with the same picture, whatever the icon theme.
    const int32_t image =
        control->AddCustomIcon(QString(), QIcon(QPixmap::fromImage(square(32, 32))));
    for (const int index : {shared, plain})
        control->ComboBoxItem(static_cast<int16_t>(index))->IconIndex(image);
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        const auto drawn = [&](int pIndex) {
            return combo->itemIcon(pIndex)
                .pixmap(QSize(16, 16), ratio)
                .toImage()
                .convertToFormat(QImage::Format_ARGB32);
        };
        const QImage withOverlay = drawn(shared);
        const QImage without = drawn(plain);
        EXPECT_EQ(withOverlay.size(), QSize(16, 16) * ratio);
        EXPECT_NE(withOverlay, without);
        // The overlay sits in the lower left; the upper right shows the folder as it is.
        const QRect upperRight(QPoint(8, 0) * ratio, QSize(8, 7) * ratio);
        EXPECT_EQ(withOverlay.copy(upperRight), without.copy(upperRight));
    }
}

TEST_F(IconsTest, AddedOverlaysStopAtFifteenAndOutliveTheWindow)
{
    const auto control = makeControl();
    const int32_t image =
        control->AddCustomIcon(QString(), QIcon(QPixmap::fromImage(square(16, 16))));
    ASSERT_GE(image, 0);
    EXPECT_EQ(control->SetOverlayIcon(image + 100), -1); // no such image: no number spent
    for (int32_t expected = 3; expected <= 14; ++expected)
        EXPECT_EQ(control->SetOverlayIcon(image), expected);
    control->RefreshComboBox();
    EXPECT_EQ(control->SetOverlayIcon(image), 15); // the thirteenth
    EXPECT_EQ(control->SetOverlayIcon(image), -1);

    // An entry may then wear an added overlay.
    const int beta = indexOf(*control, QStringLiteral("Beta"));
    vexlo::CComboBoxItem item = *control->ComboBoxItem(static_cast<int16_t>(beta));
    const QImage before = control->listWindow()->itemIcon(beta).pixmap(16).toImage();
    item.OverlayIconIndex(15);
    EXPECT_NE(control->listWindow()->itemIcon(beta).pixmap(16).toImage(), before);
}

TEST_F(IconsTest, CustomIconsFromPicturesAndFiles)
{
    const auto save = [](const QImage &pImage, const char *pFormat) {
        return [pImage, pFormat](const QString &pPath) { return pImage.save(pPath, pFormat); };
    };
    const auto write = [](const QByteArray &pBytes) {
        return [pBytes](const QString &pPath) {
            QFile file(pPath);
            return file.open(QIODevice::WriteOnly) && file.write(pBytes) == pBytes.size();
        };
    };
    const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='16' height='16'>"
                           "<rect width='16' height='16' fill='#3070c0'/></svg>";
    struct Row
    {
        const char *name;
        QString path;
        QVariant picture;
        int images; // 0: refused
    };
    const Row rows[] = {
        {"an icon file", pictureFile("one.ico", save(square(16, 16), "ICO")), {}, 1},
        {"an icon file named in capitals",
         pictureFile("two.ICO", save(square(16, 16), "ICO")),
         {},
         0},
        {"a bitmap file", pictureFile("one.bmp", save(square(16, 16), "BMP")), {}, 1},
        {"a bitmap strip", pictureFile("strip.bmp", save(square(48, 16), "BMP")), {}, 3},
        {"a PNG file", pictureFile("one.png", save(square(16, 16), "PNG")), {}, 1},
        {"an SVG file", pictureFile("one.svg", write(svg)), {}, 1},
        {"a file that is not there", sandbox.path(QStringLiteral("gone.png")), {}, 0},
        {"a bitmap file that is not one", pictureFile("fake.bmp", write("not a picture")), {}, 0},
        {"a file of another kind", pictureFile("notes.txt", write("x")), {}, 0},
        {"an icon", {}, QIcon(QPixmap::fromImage(square(16, 16))), 1},
        {"an empty icon", {}, QIcon(), 0},
        {"a pixmap strip", {}, QPixmap::fromImage(square(64, 32)), 2},
        {"an image", {}, square(20, 16), 1},
        {"a bitmap", {}, QBitmap::fromPixmap(QPixmap::fromImage(square(16, 16))), 1},
        {"a picture of another kind, with a good path",
         pictureFile("three.png", save(square(16, 16), "PNG")), QStringLiteral("not a picture"), 0},
    };
    const auto control = makeControl();
    const QVariant marker = QIcon(QPixmap::fromImage(square(16, 16)));
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const int32_t first = control->AddCustomIcon(QString(), marker);
        const int32_t index = control->AddCustomIcon(row.path, row.picture);
        const int32_t next = control->AddCustomIcon(QString(), marker);
        if (row.images == 0) {
            EXPECT_EQ(index, -1);
            EXPECT_EQ(next, first + 1);
        } else {
            EXPECT_EQ(index, first + 1);
            EXPECT_EQ(next, index + row.images);
        }
    }
}
