// The bar's own controls: the push button, the control array cmdB, the image lists, the
// menu-image component and the loading of picture files. Offscreen at 96 DPI (15 twips a pixel).

#include "bar/barbutton.h"
#include "bar/buttonarray.h"
#include "bar/captionwidths.h"
#include "bar/drawerbuttonlayout.h"
#include "bar/hookmenu.h"
#include "bar/imagelist.h"
#include "bar/picturefile.h"
#include "startup/olecolor.h"

#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QImageReader>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace pindrel {
namespace {

QPixmap filled(int pWidth, int pHeight, const QColor &pColor = Qt::blue)
{
    QPixmap picture(pWidth, pHeight);
    picture.fill(pColor);
    return picture;
}

// ---- BarButton ----------------------------------------------------------------------------

struct HimetricCase
{
    const char *name;
    int pixels;
    int32_t himetric;
};

const HimetricCase kHimetric[] = {
    {"none", 0, 0},
    {"sixteen", 16, 423},
    {"thirty_two", 32, 847},
    {"forty_eight", 48, 1270},
};

class PictureWidth : public ::testing::TestWithParam<HimetricCase>
{
};

TEST_P(PictureWidth, IsReportedInHundredthsOfAMillimetre)
{
    QWidget parent;
    BarButton button(&parent);
    if (GetParam().pixels > 0)
        button.setPicture(filled(GetParam().pixels, GetParam().pixels));
    EXPECT_EQ(button.pictureWidthHimetric(), GetParam().himetric);
}

INSTANTIATE_TEST_SUITE_P(BarButton, PictureWidth, ::testing::ValuesIn(kHimetric),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST(BarButton, BackColorIsPaintedAndABadColourChangesNothing)
{
    QWidget parent;
    BarButton button(&parent);
    button.resize(40, 20);
    EXPECT_TRUE(button.setBackColor(0x000000FF)); // red
    EXPECT_FALSE(button.setBackColor(static_cast<int32_t>(0x01000005U))); // a palette index
    EXPECT_EQ(button.backColor(), 0x000000FF);
    const QImage shot = button.grab().toImage();
    EXPECT_EQ(shot.pixelColor(20, 10), QColor(255, 0, 0));

    // A system colour follows the palette it is painted with.
    EXPECT_TRUE(button.setBackColor(kOleButtonFace));
    QPalette palette = button.palette();
    palette.setColor(QPalette::Button, QColor(0, 128, 0));
    button.setPalette(palette);
    EXPECT_EQ(button.grab().toImage().pixelColor(20, 10), colorFromOle(kOleButtonFace, palette));
}

TEST(BarButton, CaptionIsDrawnLiterallyInTheTextColour)
{
    QWidget parent;
    BarButton button(&parent);
    button.resize(120, 24);
    button.setBackColor(0x00FFFFFF);
    button.setForeColor(0x00000000);
    button.setCaption(QStringLiteral("&Docs"));
    EXPECT_EQ(button.caption(), QStringLiteral("&Docs"));
    const QImage shot = button.grab().toImage();
    int dark = 0;
    for (int x = 0; x < shot.width(); ++x) {
        for (int y = 3; y < shot.height() - 3; ++y)
            dark += shot.pixelColor(x, y).lightness() < 100 ? 1 : 0;
    }
    EXPECT_GT(dark, 10) << "no caption drawn";

    // The stored default makes the text colour the button face: the caption stays readable.
    button.setBackColor(kOleButtonFace);
    button.setForeColor(kOleButtonFace);
    const QImage same = button.grab().toImage();
    const QColor face = colorFromOle(kOleButtonFace, button.palette());
    int visible = 0;
    for (int x = 0; x < same.width(); ++x) {
        for (int y = 3; y < same.height() - 3; ++y)
            visible += same.pixelColor(x, y) != face ? 1 : 0;
    }
    EXPECT_GT(visible, 10) << "caption drawn in the colour of its background";
}

// Records what reaches the widget behind the button.
class PressRecorder : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};

TEST(BarButton, MouseEventsCarryButtonShiftAndTwips)
{
    PressRecorder parent;
    parent.resize(200, 50);
    BarButton button(&parent);
    button.setGeometry(10, 10, 60, 24);
    parent.show();
    QSignalSpy down(&button, &BarButton::mouseDown);
    QSignalSpy up(&button, &BarButton::mouseUp);
    QSignalSpy clicked(&button, &BarButton::clicked);

    QTest::mousePress(&button, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier,
                      QPoint(4, 6));
    QTest::mouseRelease(&button, Qt::RightButton, Qt::AltModifier, QPoint(4, 6));
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down.at(0).at(0).toInt(), 2);
    EXPECT_EQ(down.at(0).at(1).toInt(), 3);
    EXPECT_FLOAT_EQ(down.at(0).at(2).toFloat(), 60.0F);
    EXPECT_FLOAT_EQ(down.at(0).at(3).toFloat(), 90.0F);
    ASSERT_EQ(up.count(), 1);
    EXPECT_EQ(up.at(0).at(1).toInt(), 4);
    EXPECT_EQ(clicked.count(), 0) << "a right click is no click";
    EXPECT_EQ(parent.presses, 0) << "the right press went through to the bar";

    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(4, 6));
    EXPECT_EQ(down.count(), 2);
    EXPECT_EQ(down.at(1).at(0).toInt(), 1);
    EXPECT_EQ(clicked.count(), 1);
    QTest::mouseClick(&button, Qt::MiddleButton);
    EXPECT_EQ(down.at(2).at(0).toInt(), 4);
    EXPECT_EQ(parent.presses, 0);
}

TEST(BarButton, TwipsGeometryIsWholePixels)
{
    QWidget parent;
    BarButton button(&parent);
    button.setLeftTwips(750);
    button.setTopTwips(15);
    button.setWidthTwips(847); // 56.47 pixels
    button.setHeightTwips(360);
    EXPECT_EQ(button.geometry(), QRect(50, 1, 56, 24));
    EXPECT_FLOAT_EQ(button.widthTwips(), 840.0F);
    button.setWidthTwips(-100);
    EXPECT_EQ(button.width(), 0);
}

TEST(BarButton, AssistiveTechnologySeesANamedPushButton)
{
    QWidget parent;
    auto *button = new BarButton(&parent);
    button->setToolTip(QStringLiteral("Documents"));
    struct Row
    {
        const char *name;
        QString caption;
        QString expectedName;
    };
    const Row rows[] = {
        {"caption", QStringLiteral("Docs & more"), QStringLiteral("Docs & more")},
        {"changed caption", QStringLiteral("Music"), QStringLiteral("Music")},
        {"picture only: the tooltip names it", QString(), QStringLiteral("Documents")},
    };
    for (const Row &row : rows) {
        button->setCaption(row.caption);
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(button);
        ASSERT_NE(accessible, nullptr) << row.name;
        EXPECT_EQ(accessible->role(), QAccessible::Button) << row.name;
        EXPECT_EQ(accessible->text(QAccessible::Name), row.expectedName) << row.name;
        EXPECT_EQ(accessible->text(QAccessible::Description), QStringLiteral("Documents"))
            << row.name;
        EXPECT_FALSE(accessible->state().focusable) << row.name;
    }

    // Pressing it through its action clicks it; a disabled button offers no press.
    QAccessibleActionInterface *actions =
        QAccessible::queryAccessibleInterface(button)->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    QSignalSpy clicked(button, &BarButton::clicked);
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(clicked.wait(1000));
    button->setEnabled(false);
    EXPECT_FALSE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
}

// ---- ButtonArray --------------------------------------------------------------------------

TEST(ButtonArray, NewMembersCopyTheTemplateAsItIsWhenTheyAreCreated)
{
    QWidget bar;
    ButtonArray cmdB(&bar);
    BarButton &first = cmdB.templateButton();
    first.setGeometry(0, 1, 80, 24);
    first.setBackColor(0x0000FF00);
    first.setForeColor(0x00FF0000);
    BarButton *one = cmdB.load(1);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->backColor(), 0x0000FF00);
    EXPECT_EQ(one->foreColor(), 0x00FF0000);
    EXPECT_EQ(one->size(), QSize(80, 24));
    EXPECT_FALSE(one->isVisibleTo(&bar));

    first.setBackColor(0x000000FF);
    BarButton *two = cmdB.load(2);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->backColor(), 0x000000FF) << "created after the change: the new colour";
    EXPECT_EQ(one->backColor(), 0x0000FF00) << "created before: keeps its own";
}

TEST(ButtonArray, LoadsAndUnloadsByIndex)
{
    QWidget bar;
    ButtonArray cmdB(&bar);
    EXPECT_EQ(cmdB.count(), 1);
    EXPECT_EQ(cmdB.ubound(), 0);
    EXPECT_EQ(cmdB.load(0), nullptr) << "the template exists";
    EXPECT_EQ(cmdB.load(-1), nullptr);
    QPointer<BarButton> one = cmdB.load(1);
    ASSERT_NE(cmdB.load(3), nullptr);
    EXPECT_EQ(cmdB.load(1), nullptr) << "index in use";
    EXPECT_EQ(cmdB.count(), 3);
    EXPECT_EQ(cmdB.ubound(), 3);
    EXPECT_EQ(cmdB.item(2), nullptr);
    EXPECT_EQ(cmdB.indexOfHWnd(cmdB.item(3)->hWnd()), 3);
    EXPECT_EQ(cmdB.indexOfHWnd(cmdB.templateButton().hWnd()), 0) << "the template is no drawer";
    EXPECT_EQ(cmdB.indexOfHWnd(0), 0);

    EXPECT_FALSE(cmdB.unload(0));
    EXPECT_FALSE(cmdB.unload(2));
    EXPECT_TRUE(cmdB.unload(1));
    EXPECT_EQ(cmdB.item(1), nullptr);
    EXPECT_EQ(cmdB.count(), 2);
    // Hidden and nameless at once, gone with the next turn of the event loop.
    ASSERT_FALSE(one.isNull());
    EXPECT_FALSE(one->isVisibleTo(&bar));
    EXPECT_TRUE(one->objectName().isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(one.isNull());
}

TEST(ButtonArray, ForwardsMouseEventsWithTheIndex)
{
    QWidget bar;
    bar.resize(300, 30);
    ButtonArray cmdB(&bar);
    BarButton *seven = cmdB.load(7);
    seven->setGeometry(10, 1, 40, 24);
    seven->show();
    bar.show();
    QSignalSpy down(&cmdB, &ButtonArray::mouseDown);
    QSignalSpy up(&cmdB, &ButtonArray::mouseUp);
    QTest::mouseClick(seven, Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down.at(0).at(0).toInt(), 7);
    EXPECT_EQ(down.at(0).at(2).toInt(), 1);
    ASSERT_EQ(up.count(), 1);
    EXPECT_EQ(up.at(0).at(0).toInt(), 7);
}

// ---- ImageList ----------------------------------------------------------------------------

TEST(ImageList, KeyedOneBasedPositions)
{
    ImageList img(32);
    EXPECT_FALSE(img.add(0, QStringLiteral("zero"), filled(32, 32)));
    EXPECT_FALSE(img.add(2, QStringLiteral("gap"), filled(32, 32)));
    EXPECT_TRUE(img.add(1, QStringLiteral("icon3"), filled(32, 32, Qt::red)));
    EXPECT_TRUE(img.add(2, QStringLiteral("icon5"), filled(32, 32, Qt::green)));
    EXPECT_TRUE(img.add(1, QStringLiteral("icon1"), filled(32, 32, Qt::blue)));
    EXPECT_FALSE(img.add(QStringLiteral("icon5"), filled(32, 32))) << "duplicate key";
    EXPECT_FALSE(img.add(QStringLiteral("null"), QPixmap()));
    EXPECT_EQ(img.count(), 3);
    EXPECT_EQ(img.indexOf(QStringLiteral("icon1")), 1);
    EXPECT_EQ(img.indexOf(QStringLiteral("icon3")), 2);
    EXPECT_EQ(img.indexOf(QStringLiteral("Icon3")), 0) << "keys are case-sensitive";
    EXPECT_EQ(img.picture(QStringLiteral("icon5")).toImage().pixelColor(5, 5), QColor(Qt::green));
    EXPECT_EQ(img.picture(2).toImage().pixelColor(5, 5), QColor(Qt::red));
    EXPECT_TRUE(img.picture(4).isNull());
    EXPECT_TRUE(img.picture(QStringLiteral("icon2")).isNull());
    img.clear();
    EXPECT_EQ(img.count(), 0);
    EXPECT_TRUE(img.add(1, QStringLiteral("icon1"), filled(32, 32))) << "keys free after clear";
}

TEST(ImageList, StoresEveryPictureAtItsSize)
{
    ImageList imgP(16);
    ASSERT_TRUE(imgP.add(QStringLiteral("wide"), filled(64, 16, Qt::red)));
    const QImage stored = imgP.picture(QStringLiteral("wide")).toImage();
    EXPECT_EQ(stored.size(), QSize(16, 16));
    // Shape kept: a 4:1 picture is a 16 × 4 band across the middle.
    EXPECT_EQ(stored.pixelColor(8, 8), QColor(Qt::red));
    EXPECT_EQ(stored.pixelColor(8, 1).alpha(), 0);
}

// On a screen of a higher device pixel ratio the list keeps as many more pixels, so the icons
// are sharp there, while buttons measure them in device-independent pixels as before.
TEST(ImageList, KeepsThePixelsOfTheScreensRatio)
{
    struct Row
    {
        const char *name;
        qreal ratio;
        int deviceSide;
    };
    const Row rows[] = {{"ratio_1", 1.0, 32}, {"ratio_1_5", 1.5, 48}, {"ratio_2", 2.0, 64}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        ImageList img(32);
        img.setDevicePixelRatio(row.ratio);
        EXPECT_EQ(img.deviceSide(), row.deviceSide);
        ASSERT_TRUE(img.add(QStringLiteral("icon1"), filled(256, 256, Qt::blue)));
        const QPixmap stored = img.picture(QStringLiteral("icon1"));
        EXPECT_EQ(stored.size(), QSize(row.deviceSide, row.deviceSide));
        EXPECT_EQ(stored.deviceIndependentSize(), QSizeF(32, 32));
        QWidget parent;
        BarButton button(&parent);
        button.setPicture(stored);
        EXPECT_EQ(button.pictureWidthHimetric(), 847);
    }
}

// ---- HookMenu -----------------------------------------------------------------------------

TEST(HookMenu, MenuFontIsTahomaOrTheNearestFace)
{
    const QFont font = HookMenu::menuFont();
    ASSERT_FALSE(font.families().isEmpty());
    EXPECT_EQ(font.families().first(), QStringLiteral("Tahoma"));
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 8.25);
    EXPECT_EQ(font.weight(), QFont::Normal);
    EXPECT_FALSE(QFontInfo(font).family().isEmpty());
}

TEST(HookMenu, AttachStylesMenusAndGivesDesignPictures)
{
    QWidget bar;
    auto *menu = new QMenu(&bar);
    QAction *add = menu->addAction(QStringLiteral("Add Drawer..."));
    add->setObjectName(QStringLiteral("mCAdd"));
    QAction *web = menu->addAction(QStringLiteral("Visit our website"));
    web->setObjectName(QStringLiteral("mCWeb"));
    HookMenu hMenu;
    hMenu.attach(&bar);
    EXPECT_EQ(menu->font().families().value(0), QStringLiteral("Tahoma"));
    EXPECT_FALSE(add->icon().isNull());
    EXPECT_FALSE(add->icon().pixmap(16, 16).isNull());
    EXPECT_TRUE(web->icon().isNull());
}

TEST(HookMenu, RunTimePicturesAreSixteenSquare)
{
    QMenu menu;
    QAction *program = menu.addAction(QStringLiteral("Editor"));
    QAction *other = menu.addAction(QStringLiteral("Other"));
    HookMenu hMenu;
    hMenu.setPicture(program, filled(48, 24, Qt::red));
    const QList<QSize> sizes = program->icon().availableSizes();
    ASSERT_EQ(sizes.size(), 1);
    EXPECT_EQ(sizes.first(), QSize(16, 16));
    EXPECT_TRUE(other->icon().isNull());
    hMenu.setPicture(program, QPixmap());
    EXPECT_TRUE(program->icon().isNull());
    hMenu.setPicture(nullptr, filled(16, 16)); // nothing to do, nothing breaks
}

// ---- picture files ------------------------------------------------------------------------

class PictureFiles : public ::testing::Test
{
protected:
    QString path(const char *pName) const { return m_folder.filePath(QString::fromLatin1(pName)); }
    QString save(const char *pName, const QImage &pImage, const char *pFormat) const
    {
        const QString file = path(pName);
        EXPECT_TRUE(pImage.save(file, pFormat)) << pName;
        return file;
    }
    QString write(const char *pName, const QByteArray &pBytes) const
    {
        QFile file(path(pName));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(pBytes);
        return file.fileName();
    }
    QByteArray bytesOf(const QString &pFile) const
    {
        QFile file(pFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_folder;
};

// The CRC of a PNG chunk (ISO 3309), over its type and data.
uint32_t pngCrc(const QByteArray &pBytes)
{
    uint32_t crc = 0xFFFFFFFFU;
    for (const char byte : pBytes) {
        crc ^= static_cast<uint8_t>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ ((crc & 1U) != 0 ? 0xEDB88320U : 0U);
    }
    return crc ^ 0xFFFFFFFFU;
}

void putBigEndian(QByteArray &pBytes, int pAt, uint32_t pValue)
{
    for (int i = 0; i < 4; ++i)
        pBytes[pAt + i] = static_cast<char>((pValue >> (24 - 8 * i)) & 0xFFU);
}

// The smallest GIF: one pixel.
const QByteArray kOnePixelGif = QByteArray::fromHex(
    "47494638396101000100800000ff000000000021f90401000000002c00000000010001000002024401003b");

QImage picture(int pWidth, int pHeight)
{
    QImage image(pWidth, pHeight, QImage::Format_ARGB32);
    image.fill(QColor(200, 30, 30));
    return image;
}

TEST_F(PictureFiles, FormatsQtReadsLoadAtMostThirtyTwoSquare)
{
    struct Row
    {
        const char *name;
        const char *format;
        QSize size;
        QSize expected;
    };
    const Row rows[] = {
        {"plain.png", "PNG", {32, 32}, {32, 32}},
        {"small.bmp", "BMP", {16, 16}, {16, 16}},
        {"photo.jpg", "JPG", {640, 480}, {32, 24}},
        {"tall.png", "PNG", {100, 400}, {8, 32}},
        {"wrong-name.gif", "PNG", {32, 32}, {32, 32}},
        // Told by the first bytes, whatever the name says...
        {"bitmap.png", "BMP", {16, 16}, {16, 16}},
        {"photo.ico", "JPG", {64, 48}, {32, 24}},
        // ...and a format the first bytes are not looked at for goes to every reader.
        {"pixmap.img", "XPM", {8, 8}, {8, 8}},
    };
    for (const Row &row : rows) {
        const QString file =
            save(row.name, picture(row.size.width(), row.size.height()), row.format);
        const QPixmap loaded = loadPictureFile(file, 32);
        EXPECT_EQ(loaded.size(), row.expected) << row.name;
    }
    // Qt writes no GIF; this one is written by hand.
    EXPECT_EQ(loadPictureFile(write("dot.gif", kOnePixelGif), 32).size(), QSize(1, 1));
}

// Paletted pictures keep their colours wherever they are drawn: a 1-bit picture turned into a
// pixmap as it is would be drawn as a mask in the painter's colours.
TEST_F(PictureFiles, PalettedPicturesShowInTheirOwnColours)
{
    const QColor blue(30, 120, 200);
    QImage mono(48, 48, QImage::Format_Mono);
    mono.setColorTable({blue.rgb(), qRgb(255, 255, 255)});
    mono.fill(0);
    QImage indexed(20, 20, QImage::Format_Indexed8);
    indexed.setColorTable({blue.rgb()});
    indexed.fill(0);
    struct Row
    {
        const char *name;
        QString file;
    };
    const Row rows[] = {
        // As ImageMagick writes a picture of one colour: a PNG with a 1-bit palette.
        {"written by ImageMagick",
         QStringLiteral(PINDREL_SOURCE_DIR "/app/tests/pictures/one-colour.png")},
        {"1-bit, scaled down", save("mono.png", mono, "PNG")},
        {"8-bit palette", save("indexed.png", indexed, "PNG")},
        {"8-bit palette bitmap", save("indexed.bmp", indexed, "BMP")},
    };
    for (const Row &row : rows) {
        const QPixmap loaded = loadPictureFile(row.file, 32);
        ASSERT_FALSE(loaded.isNull()) << row.name;
        EXPECT_LE(loaded.width(), 32) << row.name;
        QImage canvas(loaded.size(), QImage::Format_RGB32);
        canvas.fill(Qt::black);
        QPainter painter(&canvas);
        painter.setPen(Qt::red);
        painter.drawPixmap(0, 0, loaded);
        painter.end();
        EXPECT_EQ(canvas.pixelColor(loaded.width() / 2, loaded.height() / 2), blue) << row.name;
    }
}

TEST_F(PictureFiles, IconFileGivesItsThirtyTwoPixelImage)
{
    const QString shipped = QStringLiteral(PINDREL_SOURCE_DIR "/app/resources/icons/folder.ico");
    ASSERT_TRUE(QFile::exists(shipped));
    EXPECT_EQ(loadPictureFile(shipped, 32).size(), QSize(32, 32));
    EXPECT_EQ(loadPictureFile(shipped, 16).size(), QSize(16, 16));
}

TEST_F(PictureFiles, WhatIsNoPictureLoadsNothing)
{
    const QString good = save("good.png", picture(32, 32), "PNG");
    const QByteArray png = bytesOf(good);
    const QString icon = QStringLiteral(PINDREL_SOURCE_DIR "/app/resources/icons/music.ico");
    const QByteArray ico = bytesOf(icon);
    ASSERT_GT(png.size(), 100);
    ASSERT_GT(ico.size(), 1000);

    // A PNG whose valid header declares 100,000 × 100,000 pixels, with no data behind it.
    QByteArray huge = png.left(33);
    putBigEndian(huge, 16, 100000);
    putBigEndian(huge, 20, 100000);
    putBigEndian(huge, 29, pngCrc(huge.mid(12, 17)));
    // The header is read up to the first data chunk: an empty one ends the file.
    QByteArray data = QByteArray::fromRawData("\0\0\0\0IDAT", 8);
    data.append(QByteArray(4, '\0'));
    putBigEndian(data, 8, pngCrc(QByteArrayLiteral("IDAT")));
    huge += data;
    QImageReader declared(write("declared.png", huge));
    ASSERT_EQ(declared.size(), QSize(100000, 100000)) << "the header is not read as intended";

    QDir(m_folder.path()).mkdir(QStringLiteral("folder.png"));
    const QString fifo = path("pipe.png");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);

    const struct
    {
        const char *name;
        QString file;
    } rows[] = {
        {"missing", path("missing.png")},
        {"empty_path", QString()},
        {"text", write("notes.png", "these are not pixels\n")},
        {"empty_file", write("empty.ico", {})},
        {"truncated_png", write("cut.png", png.left(png.size() / 2))},
        {"truncated_ico", write("cut.ico", ico.left(ico.size() / 3))},
        {"huge_declared", write("huge.png", huge)},
        {"folder", path("folder.png")},
        {"pipe", fifo},
    };
    for (const auto &row : rows)
        EXPECT_TRUE(loadPictureFile(row.file, 32).isNull()) << row.name;
}

// ---- layout helpers -------------------------------------------------------------------------

TEST(DrawerButtonLayout, CaptionWidthIsTheWidestLine)
{
    QFont font;
    const QFontMetrics metrics(font);
    const QString first = QStringLiteral("short");
    const QString second = QStringLiteral("a much longer second line");
    const QString wide = QStringLiteral("by far the widest line of all the lines here");
    struct Row
    {
        const char *name;
        QString caption;
        QString widestLine;
    };
    const Row rows[] = {
        {"LF", first + QLatin1Char('\n') + second, second},
        {"CR LF", first + QStringLiteral("\r\n") + second, second},
        {"CR alone", second + QLatin1Char('\r') + first, second},
        {"widest in the middle", first + QLatin1Char('\n') + wide + QLatin1Char('\r') + second,
         wide},
        {"widest last, after a blank line", first + QStringLiteral("\r\n\r\n") + wide, wide},
        {"LF CR is two breaks", first + QStringLiteral("\n\r") + second, second},
        {"trailing break", wide + QLatin1Char('\n'), wide},
        {"single line", second, second},
        {"breaks only", QStringLiteral("\r\n\n"), QString()},
    };
    for (const Row &row : rows)
        EXPECT_FLOAT_EQ(captionWidthTwips(font, row.caption, 15),
                        static_cast<float>(metrics.horizontalAdvance(row.widestLine)) * 15)
            << row.name;
    EXPECT_FLOAT_EQ(captionWidthTwips(font, QString(), 15), 0.0F);
    // Right-to-left text is measured like any other.
    EXPECT_GT(captionWidthTwips(font, QStringLiteral("\u05DE\u05D2\u05D9\u05E8\u05D4"), 15), 0.0F);
}

TEST(DrawerButtonLayout, CaptionsMeasuredOnASecondThreadMeasureAsHere)
{
    QFont font;
    font.setPointSize(11);
    const std::vector<QString> captions = {
        QString(),
        QStringLiteral("Documents 1"),
        QStringLiteral("two\nlines of text"),
        QStringLiteral("\u05DE\u05D2\u05D9\u05E8\u05D4"),
        QStringLiteral("W&W"),
        QString(),
    };
    CaptionWidths widths(font, captions, 15);
    for (size_t i = 0; i < captions.size(); ++i)
        EXPECT_FLOAT_EQ(widths.at(i), captionWidthTwips(font, captions[i], 15)) << i;
    EXPECT_GT(widths.at(1), 0.0F);
    EXPECT_FLOAT_EQ(widths.at(captions.size()), 0.0F); // past the list
}

TEST(DrawerButtonLayout, TrimSpacesLeavesOtherBlanks)
{
    EXPECT_EQ(trimSpaces(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    EXPECT_EQ(trimSpaces(QStringLiteral("\tx\t")), QStringLiteral("\tx\t"));
    EXPECT_EQ(trimSpaces(QStringLiteral("    ")), QString());
}

} // namespace
} // namespace pindrel
