// The file list's name patterns and its folder checks, on names and on real folders.

#include "drawer/filelistfilterproxy.h"
#include "drawer/folderprobe.h"
#include "drawer_testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace pindrel {
namespace {

struct PatternRow
{
    const char *name;
    const char *pattern;
    const char *fileName;
    bool listed;
};

// The filter box builds "*" & text & "*.*"; an empty box gives "**.*".
const PatternRow kPatternRows[] = {
    {"star_lists_any_name", "*", "notes", true},
    {"starDotStar_lists_name_without_dot", "*.*", "README", true},
    {"starDotStar_lists_dotted_name", "*.*", "a.tar.gz", true},
    {"emptyFilterText_lists_all", "**.*", "Makefile", true},
    {"blank_pattern_lists_all", "   ", "x", true},
    {"filter_takes_bare_name", "*abc*.*", "abc", true},
    {"filter_takes_name_with_extension", "*abc*.*", "xabcy.txt", true},
    {"filter_takes_text_in_extension", "*abc*.*", "x.abc", true},
    {"filter_ignores_case", "*abc*.*", "ABC.TXT", true},
    {"filter_refuses_split_text", "*abc*.*", "ab.c", false},
    {"extension_takes_its_files", "*.txt", "a.TXT", true},
    {"extension_refuses_bare_name", "*.txt", "txt", false},
    {"extension_refuses_longer_extension", "*.txt", "a.txt.bak", false},
    {"trailing_dot_takes_name_without_dot", "*.", "README", true},
    {"trailing_dot_refuses_dotted_name", "*.", "a.txt", false},
    {"question_mark_is_one_character", "a?c.*", "abc.txt", true},
    {"question_mark_is_not_two", "a?c.*", "abbc.txt", false},
    {"list_of_patterns", "*.txt; *.md", "notes.md", true},
    {"list_of_patterns_refuses_others", "*.txt;*.md", "notes.doc", false},
    {"brackets_are_plain", "*[1]*.*", "a[1].txt", true},
    {"brackets_are_not_a_class", "*[1]*.*", "a1.txt", false},
    {"regex_characters_are_plain", "*(+)*.*", "x(+).txt", true},
};

TEST(DrawerFilterPattern, MatchesNamesAsTheFilterBoxExpects)
{
    for (const PatternRow &row : kPatternRows) {
        SCOPED_TRACE(row.name);
        FileListFilterProxy proxy;
        proxy.setPattern(QString::fromUtf8(row.pattern));
        EXPECT_EQ(proxy.matchesName(QString::fromUtf8(row.fileName)), row.listed);
    }
}

TEST(DrawerFilterPattern, KnowsWhenEverythingPasses)
{
    FileListFilterProxy proxy;
    EXPECT_TRUE(proxy.matchesEverything());
    proxy.setPattern(QStringLiteral("*.txt"));
    EXPECT_FALSE(proxy.matchesEverything());
    proxy.setPattern(QStringLiteral("**.*"));
    EXPECT_TRUE(proxy.matchesEverything());
    proxy.setPattern(QString());
    EXPECT_EQ(proxy.pattern(), QStringLiteral("*"));
}

class DrawerFolderProbe : public ::testing::Test
{
protected:
    QString at(const QString &pName) const { return m_root.filePath(pName); }
    QTemporaryDir m_root;
};

TEST_F(DrawerFolderProbe, TellsWhyAFolderCannotBeListed)
{
    using Verdict = FolderProbe::Verdict;
    test::makeFolder(at(QStringLiteral("present")));
    test::makeFile(at(QStringLiteral("file.txt")));
    ASSERT_TRUE(test::makeLink(at(QStringLiteral("gone")), at(QStringLiteral("dead"))));
    ASSERT_TRUE(test::makeLink(at(QStringLiteral("loopB")), at(QStringLiteral("loopA"))));
    ASSERT_TRUE(test::makeLink(at(QStringLiteral("loopA")), at(QStringLiteral("loopB"))));
    ASSERT_TRUE(test::makeLink(at(QStringLiteral("present")), at(QStringLiteral("toPresent"))));
    test::makeFolder(at(QStringLiteral("media/stick")));

    struct Row
    {
        const char *name;
        QString path;
        Verdict verdict;
        const char *messageStart;
    };
    const Row rows[] = {
        {"listable", at(QStringLiteral("present")), Verdict::Listable, ""},
        {"link_to_folder", at(QStringLiteral("toPresent")), Verdict::Listable, ""},
        {"missing", at(QStringLiteral("absent")), Verdict::Missing, "This folder does not exist: "},
        {"file_on_the_way", at(QStringLiteral("file.txt/below")), Verdict::Missing,
         "This folder does not exist: "},
        {"file", at(QStringLiteral("file.txt")), Verdict::NotAFolder, "This is not a folder: "},
        {"dead_link", at(QStringLiteral("dead")), Verdict::DeadLink,
         "This folder is a link to something that does not exist: "},
        {"link_loop", at(QStringLiteral("loopA")), Verdict::LinkLoop,
         "This folder is a link that leads back to itself: "},
        {"link_loop_on_the_way", at(QStringLiteral("loopA/inner")), Verdict::LinkLoop,
         "This folder is a link that leads back to itself: "},
        {"removed_drive", at(QStringLiteral("media/usb/photos")), Verdict::DriveMissing,
         "The drive holding this folder is not connected: "},
        {"missing_on_present_drive", at(QStringLiteral("media/stick/photos")), Verdict::Missing,
         "This folder does not exist: "},
        {"undecodable_name", at(QStringLiteral("bad\uFFFDname")), Verdict::UnreadableName,
         "The name of this folder is not valid text"},
    };
    const FolderProbe probe(QStringList{at(QStringLiteral("media"))});
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const FolderProbe::Result result = probe.check(row.path);
        EXPECT_EQ(result.verdict, row.verdict);
        if (result.listable()) {
            EXPECT_TRUE(result.message.isEmpty());
        } else {
            EXPECT_TRUE(result.message.startsWith(QString::fromUtf8(row.messageStart)))
                << result.message.toStdString();
            EXPECT_TRUE(result.message.contains(row.path)) << result.message.toStdString();
        }
    }
}

TEST_F(DrawerFolderProbe, RefusesAFolderThatMayNotBeRead)
{
    const QString locked = at(QStringLiteral("locked"));
    test::makeFolder(locked);
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    if (::access(QFile::encodeName(locked).constData(), R_OK) == 0) {
        QFile::setPermissions(
            locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        GTEST_SKIP() << "this user reads every folder (running as root)";
    }
    const FolderProbe::Result result = FolderProbe().check(locked);
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(result.verdict, FolderProbe::Verdict::NoPermission);
    EXPECT_EQ(result.message, QStringLiteral("You do not have permission to open ") + locked);
}

} // namespace
} // namespace pindrel
