// A property test: sessions of random selections over a random folder tree, with the list's
// invariants checked after every step and every identifier list accounted for.

#include "combosandbox.h"
#include "eventrecorder.h"

#include "vexlo/namespacecombobox.h"

#include "platform/taskallocator.h"

#include <QtCore/QDirIterator>

#include <gtest/gtest.h>

#include <random>

namespace pf = pindrel::platform;
using vexlo::CNamespaceComboBox;
using vexlo::ComboOptions;

namespace {

constexpr unsigned kSeed = 20240607;
constexpr int kSessions = 24;
constexpr int kStepsPerSession = 80;

// Grows a random tree of folders (and a few files) under the sandbox's drives.
QStringList growTree(ComboSandbox &pSandbox, std::mt19937 &pRandom)
{
    QStringList folders = {QStringLiteral("mnt/c"), QStringLiteral("mnt/d")};
    std::uniform_int_distribution<int> letter(0, 25);
    for (int made = 0; made < 60; ++made) {
        const QString parent =
            folders[std::uniform_int_distribution<qsizetype>(0, folders.size() - 1)(pRandom)];
        if (parent.count(u'/') > 7)
            continue;
        QString name;
        for (int length = 0; length < 3; ++length)
            name += QChar(u'a' + letter(pRandom));
        const QString child = parent + u'/' + name;
        if (made % 5 == 4) {
            pSandbox.makeFile(child + QStringLiteral(".txt"));
        } else {
            pSandbox.makeDir(child);
            folders.append(child);
        }
    }
    // Every object of the sandbox's drives, folders and files.
    QStringList objects;
    QDirIterator walk(pSandbox.path(QStringLiteral("mnt")),
                      QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                      QDirIterator::Subdirectories);
    while (walk.hasNext())
        objects.append(walk.next());
    objects.sort();
    return objects;
}

// Lists the entries hold (every entry but the desktop and custom ones) plus the window's own
// list of the desktop.
size_t listsHeld(const CNamespaceComboBox &pCombo)
{
    size_t lists = 1;
    for (int index = 0; index < pCombo.count(); ++index)
        lists += pCombo.entryIdList(index) ? 1 : 0;
    return lists;
}

void checkInvariants(const CNamespaceComboBox &pCombo, const pf::ShellNamespace &pShell)
{
    const ComboOptions &options = pCombo.options();
    for (int index = 0; index < pCombo.count(); ++index) {
        const pf::ItemIdList *list = pCombo.entryIdList(index);
        if (!list)
            continue;
        const int expected = options.showDrivesOnly ? 0 : pf::idlist::level(list) * options.indent;
        ASSERT_EQ(pCombo.entryIndent(index), expected) << "entry " << index;
    }
    const std::vector<int> &items = pCombo.pathItems();
    for (size_t position = 0; position < items.size(); ++position) {
        const int index = items[position];
        ASSERT_TRUE(pCombo.hasEntry(index));
        // A block of consecutive entries, each the child of the entry before it.
        if (position > 0) {
            ASSERT_EQ(index, items[position - 1] + 1);
        }
        const pf::ItemIdList *list = pCombo.entryIdList(index);
        const int level = pf::idlist::level(list);
        const pf::idlist::Unique parent(pf::idlist::firstN(list, level - 1));
        const pf::ItemIdList *before = pCombo.entryIdList(index - 1);
        if (level > 1) {
            ASSERT_EQ(pShell.compareIds(before, parent.get()), 0) << "path item " << index;
        }
    }
    if (!items.empty()) {
        ASSERT_EQ(pCombo.currentIndex(), items.back());
    }
}

} // namespace

TEST(RandomSelections, KeepTheListConsistentAndLeakNoIdentifierList)
{
    std::mt19937 random(kSeed);
    ComboSandbox sandbox;
    ASSERT_TRUE(sandbox.isValid());
    const QStringList objects = growTree(sandbox, random);
    ASSERT_GT(objects.size(), 40);
    const auto shell = sandbox.makeShell();
    const int specialFolders[] = {0, 3, 5, 10, 16, 17, 40};

    const size_t baseline = pf::TaskAllocator::instance().outstanding();
    int deepSelections = 0; // steps that left two or more path items
    for (int session = 0; session < kSessions; ++session) {
        SCOPED_TRACE(::testing::Message() << "session " << session << " (seed " << kSeed << ")");
        ComboOptions options;
        options.indent = std::uniform_int_distribution<int>(1, 3)(random);
        options.showFile = random() % 2 == 0;
        options.showFullPath = random() % 2 == 0;
        options.showVirtualFolders = random() % 3 != 0;
        options.showDrivesOnly = random() % 5 == 0;
        {
            CNamespaceComboBox combo(shell, session % 2 == 0);
            combo.setOptions(options);
            combo.populate();
            EventRecorder events;
            events.listen(&combo);

            for (int step = 0; step < kStepsPerSession; ++step) {
                const int countBefore = combo.count();
                events.clear();
                const int kind = std::uniform_int_distribution<int>(0, 9)(random);
                QString target;
                bool selected = false;
                if (kind <= 4) {
                    target = objects[std::uniform_int_distribution<qsizetype>(
                        0, objects.size() - 1)(random)];
                    selected = combo.SetPath(target);
                } else if (kind == 5) {
                    combo.SetSpecialFolder(specialFolders[random() % std::size(specialFolders)]);
                } else if (kind == 6) {
                    combo.GoUp();
                } else if (kind == 7) {
                    combo.SelectItem(std::uniform_int_distribution<int>(-1, combo.count())(random));
                } else if (kind == 8) {
                    emit combo.activated(
                        std::uniform_int_distribution<int>(0, combo.count() - 1)(random));
                } else {
                    // An entry's own list, which the selection may remove on its way.
                    const int index =
                        std::uniform_int_distribution<int>(0, combo.count() - 1)(random);
                    combo.SetPidl(combo.entryIdList(index));
                }
                SCOPED_TRACE(::testing::Message()
                             << "step " << step << " kind " << kind << " " << target.toStdString());

                ASSERT_NO_FATAL_FAILURE(checkInvariants(combo, *shell));
                EXPECT_EQ(combo.count() - countBefore,
                          events.count(QStringLiteral("add "))
                              - events.count(QStringLiteral("delete ")));
                EXPECT_EQ(pf::TaskAllocator::instance().outstanding(), baseline + listsHeld(combo));
                // A path selected outside drives-only mode is what the list now shows.
                if (selected && !options.showDrivesOnly) {
                    EXPECT_EQ(combo.entryPath(combo.currentIndex()), target);
                }
                deepSelections += combo.pathItems().size() >= 2 ? 1 : 0;
            }
        }
        ASSERT_EQ(pf::TaskAllocator::instance().outstanding(), baseline);
    }
    // The sessions did reach deep folders, not only the entries of the population.
    EXPECT_GT(deepSelections, kSessions * kStepsPerSession / 10);
}
