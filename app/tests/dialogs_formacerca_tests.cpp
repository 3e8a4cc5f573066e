// The about box: its labels for a given version, the link's colours and what closes it.

#include "bar_testsupport.h"
#include "dialogs/buildinfo.h"
#include "dialogs/formacerca.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace pindrel {
namespace {

const QUrl kSite(QStringLiteral("https://pindrel.example.org/"));

struct VersionCase
{
    const char *name;
    ProgramVersion version;
    const char *versionLabel;
    const char *revisionLabel;
};

const VersionCase kVersions[] = {
    {"beta", {2, 1, 0}, "Version 2.1", "Beta version"},
    {"revision_14", {2, 1, 14}, "Version 2.1", "Revision 14"},
    {"two_digit_minor", {3, 10, 2}, "Version 3.10", "Revision 2"},
};

class AboutLabels : public ::testing::TestWithParam<VersionCase>
{
};

TEST_P(AboutLabels, ShowTheVersion)
{
    FormAcerca about(nullptr, GetParam().version, kSite);
    EXPECT_EQ(about.lblProductName()->text(), QStringLiteral("Pindrel"));
    EXPECT_EQ(about.lblVersion()->text(), QString::fromLatin1(GetParam().versionLabel));
    EXPECT_EQ(about.lblRev()->text(), QString::fromLatin1(GetParam().revisionLabel));
    EXPECT_TRUE(about.lblPlatform()->text().startsWith(QStringLiteral("For Linux")));
    EXPECT_TRUE(about.lblVersion2()->text().isEmpty());
    EXPECT_FALSE(about.lblCopyright()->text().isEmpty());
    EXPECT_FALSE(about.Label1()->text().isEmpty());
    EXPECT_TRUE(about.link()->text().contains(QStringLiteral("pindrel.example.org")));
    EXPECT_FALSE(about.imgLogo()->pixmap().isNull());
    EXPECT_FALSE(about.ImageEmpresas()->pixmap().isNull());
    for (const QLabel *label :
         {about.lblProductName(), about.lblVersion(), about.lblRev(), about.lblPlatform(),
          about.lblCopyright(), about.Label1(), about.Label16()})
        EXPECT_EQ(label->font().families().value(0), QStringLiteral("Trebuchet MS"))
            << label->objectName().toStdString();
    EXPECT_TRUE(about.windowTitle().isEmpty());
    EXPECT_TRUE(about.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

INSTANTIATE_TEST_SUITE_P(FormAcerca, AboutLabels, ::testing::ValuesIn(kVersions),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST(FormAcerca, BuildVersionIsTheProjectVersion)
{
    const ProgramVersion version = programVersion();
    EXPECT_EQ(version.major, PINDREL_TEST_VERSION_MAJOR);
    EXPECT_EQ(version.minor, PINDREL_TEST_VERSION_MINOR);
    EXPECT_EQ(version.revision, PINDREL_TEST_VERSION_PATCH);
}

void moveOver(QWidget *pWidget)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), pWidget->mapToGlobal(QPointF(2, 2)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pWidget, &move);
}

TEST(FormAcerca, LinkTurnsRedOnceItsColourIsNormal)
{
    FormAcerca about(nullptr, {2, 1, 0}, kSite);
    const QColor normal = about.palette().color(QPalette::ButtonText);
    const QColor red(255, 0, 0);
    moveOver(about.link());
    EXPECT_NE(about.linkColor(), red) << "the flag is false when the box opens";
    moveOver(about.lblPlatform());
    EXPECT_EQ(about.linkColor(), normal);
    moveOver(about.link());
    EXPECT_EQ(about.linkColor(), red);
    moveOver(about.imgLogo());
    EXPECT_EQ(about.linkColor(), normal);
    moveOver(about.link());
    moveOver(&about);
    EXPECT_EQ(about.linkColor(), normal);
}

enum class Action {
    ClickLink,
    ClickPlatform,
    ClickLogo,
    KeyA,
    ShiftAlone,
    PressWindow,
    PressLabel
};

struct CloseCase
{
    const char *name;
    Action action;
    bool closes;
};

const CloseCase kCloses[] = {
    {"click_link", Action::ClickLink, false},
    {"click_platform", Action::ClickPlatform, true},
    {"click_logo", Action::ClickLogo, true},
    {"key", Action::KeyA, true},
    {"shift_alone", Action::ShiftAlone, false},
    {"press_window", Action::PressWindow, true},
    {"press_label_only", Action::PressLabel, false},
};

class Closing : public ::testing::TestWithParam<CloseCase>
{
};

TEST_P(Closing, WhatClosesTheBox)
{
    test::RecordingShell shell;
    FormAcerca about(&shell, {2, 1, 0}, kSite);
    about.show();
    QApplication::setActiveWindow(&about);
    ASSERT_TRUE(about.isVisible());
    switch (GetParam().action) {
    case Action::ClickLink:
        QTest::mouseClick(about.link(), Qt::LeftButton);
        break;
    case Action::ClickPlatform:
        QTest::mouseClick(about.lblPlatform(), Qt::LeftButton);
        break;
    case Action::ClickLogo:
        QTest::mouseClick(about.imgLogo(), Qt::LeftButton);
        break;
    case Action::KeyA:
        QTest::keyClick(&about, Qt::Key_A);
        break;
    case Action::ShiftAlone:
        QTest::keyPress(&about, Qt::Key_Shift);
        break;
    case Action::PressWindow:
        QTest::mousePress(&about, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
        break;
    case Action::PressLabel:
        QTest::mousePress(about.lblPlatform(), Qt::LeftButton);
        break;
    }
    EXPECT_EQ(!about.isVisible(), GetParam().closes);
    const bool linkClicked = GetParam().action == Action::ClickLink;
    ASSERT_EQ(shell.opened.size(), linkClicked ? 1U : 0U);
    if (linkClicked) {
        EXPECT_EQ(shell.opened[0], kSite);
    }
}

INSTANTIATE_TEST_SUITE_P(FormAcerca, Closing, ::testing::ValuesIn(kCloses),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

} // namespace
} // namespace pindrel
