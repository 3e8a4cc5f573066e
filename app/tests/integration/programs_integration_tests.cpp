// The programs button and the settings dialog of the real program on the shared desktop: the
// program menu pops up below the button and starts what it lists, the other buttons offer
// "Add program..." and "Configure...", and the settings dialog moves the bar to the bottom
// edge at once.

#include "pindrelondesktop.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// The programs button at a bar height of 390 twips: beside the add button, 21 pixels square.
constexpr int kProgramsButtonX = 25 + 10;
constexpr int kProgramsButtonY = 10;

class ProgramsOnDesktop : public PindrelOnDesktop
{
protected:
    // A script in the program folder that leaves pMarker there when it runs.
    QString script(const QString &pName, const QString &pMarker)
    {
        const QString path = copy.programFolder() + u'/' + pName;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write("#!/bin/sh\ntouch '" + QFile::encodeName(marker(pMarker)) + "'\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    QString marker(const QString &pName) const { return copy.programFolder() + u'/' + pName; }

    // Two programs that leave "first-ran" and "second-ran", on a bar docked at the top.
    IniEntries twoPrograms()
    {
        IniEntries entries = withOneDrawer({position("TOP")});
        entries.push_back(
            {QStringLiteral("GRAL"), QStringLiteral("CANTPROG"), QStringLiteral("2")});
        entries.push_back(
            {QStringLiteral("PROGRAM1"), QStringLiteral("CAPTION"), QStringLiteral("First")});
        entries.push_back({QStringLiteral("PROGRAM1"), QStringLiteral("PATH"),
                           script(QStringLiteral("first tool"), QStringLiteral("first-ran"))});
        entries.push_back(
            {QStringLiteral("PROGRAM2"), QStringLiteral("CAPTION"), QStringLiteral("Second")});
        entries.push_back({QStringLiteral("PROGRAM2"), QStringLiteral("PATH"),
                           script(QStringLiteral("second $(tool)"), QStringLiteral("second-ran"))});
        return entries;
    }

    // Starts the program on pEntries; the docked bar, nullopt when it did not come.
    std::optional<xcb_window_t> startDocked(const IniEntries &pEntries, QProcess *&pProcess)
    {
        if (!writeConfig(pEntries))
            return std::nullopt;
        pProcess = &start();
        const auto bar = waitForBar(*pProcess);
        if (!bar || settledGeometry(*bar, dockedAtTop()) != dockedAtTop())
            return std::nullopt;
        return bar;
    }

    // Clicks pButton (1 left, 3 right) at pX, pY; the pop-up menu that comes, once mapped.
    std::optional<xcb_window_t> popUpAt(QProcess &pProcess, int pX, int pY, int pButton)
    {
        runXdotool({QStringLiteral("mousemove"), QString::number(pX), QString::number(pY),
                    QStringLiteral("click"), QString::number(pButton)});
        return waitForWindow(pProcess,
                             [&](xcb_window_t pWindow) { return x().isOverrideRedirect(pWindow); });
    }

    // A dialog of pProcess titled pTitle, once the window manager has given it the keyboard.
    std::optional<xcb_window_t> waitForActiveDialog(QProcess &pProcess, const QString &pTitle)
    {
        const auto dialog = waitForWindow(pProcess, [&](xcb_window_t pWindow) {
            return x().title(pWindow) == pTitle
                && x().atomNames(pWindow, "_NET_WM_WINDOW_TYPE")
                       .contains(QStringLiteral("_NET_WM_WINDOW_TYPE_DIALOG"));
        });
        if (!dialog || !waitUntil([&] { return x().activeWindow() == *dialog; }))
            return std::nullopt;
        return dialog;
    }

    void keys(const QStringList &pKeys) { runXdotool(QStringList{QStringLiteral("key")} + pKeys); }
};

TEST_F(ProgramsOnDesktop, LeftPressShowsTheProgramsInOrderAndChoosingOneStartsIt)
{
    QProcess *pindrel = nullptr;
    ASSERT_TRUE(startDocked(twoPrograms(), pindrel)) << (pindrel ? describe(*pindrel) : "");

    const auto menu = popUpAt(*pindrel, kProgramsButtonX, kProgramsButtonY, 1);
    ASSERT_TRUE(menu) << "no program menu: " << describe(*pindrel);
    // Below the programs button, at the bar's height.
    const auto placed = x().geometry(*menu);
    ASSERT_TRUE(placed.has_value());
    EXPECT_EQ(placed->topLeft(), QPoint(25, kBarHeight));
    // The first entry is the first program: Down reaches it from a menu with none active.
    ASSERT_NO_FATAL_FAILURE(keys({QStringLiteral("Down"), QStringLiteral("Return")}));
    EXPECT_TRUE(waitUntil([&] { return QFileInfo::exists(marker(QStringLiteral("first-ran"))); }))
        << describe(*pindrel);
    EXPECT_FALSE(QFileInfo::exists(marker(QStringLiteral("second-ran"))));

    // The last entry is the second program, and no command shell expanded its name.
    ASSERT_TRUE(waitUntil([&] { return !x().isViewable(*menu); }));
    ASSERT_TRUE(popUpAt(*pindrel, kProgramsButtonX, kProgramsButtonY, 1));
    ASSERT_NO_FATAL_FAILURE(keys({QStringLiteral("Up"), QStringLiteral("Return")}));
    EXPECT_TRUE(waitUntil([&] { return QFileInfo::exists(marker(QStringLiteral("second-ran"))); }))
        << describe(*pindrel);
    EXPECT_FALSE(QFileInfo::exists(copy.programFolder() + QStringLiteral("/tool")));
}

TEST_F(ProgramsOnDesktop, RightPressOffersAddProgramAndConfigure)
{
    QProcess *pindrel = nullptr;
    ASSERT_TRUE(startDocked(twoPrograms(), pindrel)) << (pindrel ? describe(*pindrel) : "");

    // "Add program..." first, "Configure..." last.
    ASSERT_TRUE(popUpAt(*pindrel, kProgramsButtonX, kProgramsButtonY, 3)) << describe(*pindrel);
    ASSERT_NO_FATAL_FAILURE(keys({QStringLiteral("Down"), QStringLiteral("Return")}));
    const auto editor = waitForActiveDialog(*pindrel, QStringLiteral("Add program"));
    ASSERT_TRUE(editor) << describe(*pindrel);
    ASSERT_NO_FATAL_FAILURE(keys({QStringLiteral("Escape")}));
    ASSERT_TRUE(waitUntil([&] { return !x().isViewable(*editor); }));

    ASSERT_TRUE(popUpAt(*pindrel, kProgramsButtonX, kProgramsButtonY, 3)) << describe(*pindrel);
    ASSERT_NO_FATAL_FAILURE(keys({QStringLiteral("Up"), QStringLiteral("Return")}));
    const auto settings = waitForActiveDialog(*pindrel, QStringLiteral("Configure"));
    ASSERT_TRUE(settings) << describe(*pindrel);
    ASSERT_NO_FATAL_FAILURE(keys({QStringLiteral("Escape")}));
    EXPECT_TRUE(waitUntil([&] { return !x().isViewable(*settings); }));
}

TEST_F(ProgramsOnDesktop, SettingsMoveTheBarToTheBottomAtOnce)
{
    QProcess *pindrel = nullptr;
    const auto bar = startDocked(withOneDrawer({position("TOP")}), pindrel);
    ASSERT_TRUE(bar) << (pindrel ? describe(*pindrel) : "");
    ASSERT_EQ(settledWorkArea(workAreaBelowBar()), workAreaBelowBar());

    // The bar menu's "Configure..." is the second entry from the end.
    ASSERT_TRUE(popUpAt(*pindrel, screen.width() / 2, kBarHeight / 2, 3)) << describe(*pindrel);
    ASSERT_NO_FATAL_FAILURE(
        keys({QStringLiteral("Up"), QStringLiteral("Up"), QStringLiteral("Return")}));
    ASSERT_TRUE(waitForActiveDialog(*pindrel, QStringLiteral("Configure"))) << describe(*pindrel);
    // From the tabs: the height, the theme, then the position, from "2.TOP" up to "1.BOTTOM";
    // Return is the dialog's Ok.
    ASSERT_NO_FATAL_FAILURE(
        keys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"),
              QStringLiteral("Up"), QStringLiteral("Return")}));

    const QRect above(0, panel.top() - kBarHeight, screen.width(), kBarHeight);
    EXPECT_EQ(settledGeometry(*bar, above), above) << describe(*pindrel);
    const QRect shrunk(0, 0, baseline.width(), baseline.height() - kBarHeight);
    EXPECT_EQ(settledWorkArea(shrunk), shrunk);

    const auto entry = [](const char *pSection, const char *pKey, const char *pValue) {
        return IniEntry{QString::fromLatin1(pSection), QString::fromLatin1(pKey),
                        QString::fromLatin1(pValue)};
    };
    // The keys in the order start-up wrote them, holding what Ok wrote.
    const IniEntries expected{
        entry("MAIN", "POSITION", "BOTTOM"),
        entry("MAIN", "HEIGHT", "390"),
        entry("MAIN", "BUTTONTYPE", "0"),
        entry("GRAL", "CANTBOT", "1"),
        entry("BUTTON1", "CAPTION", "Temp"),
        entry("BUTTON1", "PATH", ""),
        entry("BUTTON1", "ICON", ""),
        entry("TRANSPARENCIA", "MAIN", "100"),
        entry("TRANSPARENCIA", "FORM", "100"),
        entry("COLORS", "MAIN", "-2147483633"),
        entry("COLORS", "BUTTON", "-2147483633"),
        entry("COLORS", "FORE", "-2147483633"),
        entry("COLORS", "FORM", "-2147483630"),
        entry("COLORS", "THEME", "0"),
    };
    IniEntries written = parseIni(copy.readConfig());
    for (IniEntry &stored : written) {
        if (stored.section == QLatin1String("BUTTON1") && stored.key == QLatin1String("PATH"))
            stored.value.clear(); // the temporary folder's name
    }
    EXPECT_EQ(written, expected) << copy.readConfig().toStdString();
}

} // namespace
