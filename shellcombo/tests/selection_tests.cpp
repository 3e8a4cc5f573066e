// The selection road, through every method that ends on it, and the user's own choice.

#include "combosandbox.h"
#include "eventrecorder.h"

#include "vexlo/namespacecombobox.h"
#include "vexlo/vexloenums.h"

#include "platform/taskallocator.h"

#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>

namespace pf = pindrel::platform;
using vexlo::CNamespaceComboBox;
using vexlo::ComboOptions;

namespace {

// A populated list window over a fresh sandbox, with its events recorded. Without options the
// list is:
//   0 Desktop  1 Computer  2 File System  3 c  4 d  5 Home  6 Documents  7 Trash  8 .hidden
//   9 Alpha  10 Beta
struct Harness
{
    explicit Harness(const ComboOptions &pOptions = {})
        : shell(sandbox.makeShell())
        , combo(std::make_unique<CNamespaceComboBox>(shell, false))
    {
        combo->setOptions(pOptions);
        combo->populate();
        events.listen(combo.get());
    }

    QString path(const char *pRelative) const { return sandbox.path(QString::fromUtf8(pRelative)); }
    bool setPath(const char *pRelative) { return combo->SetPath(path(pRelative)); }
    // The absolute list of a desktop child's descendant, reached through the namespace's own
    // enumeration (not through a path, which parses through the drives).
    pf::idlist::Unique below(const pf::ItemIdList *pFolder, const QStringList &pNames) const
    {
        pf::idlist::Unique current(pf::idlist::copy(pFolder));
        for (const QString &name : pNames) {
            pf::idlist::Unique next;
            for (pf::ItemIdList *child :
                 shell->enumChildren(current.get(), pf::SHCONTF_FOLDERS | pf::SHCONTF_NONFOLDERS)) {
                pf::idlist::Unique owned(child);
                if (!next && shell->displayNameOf(child) == name)
                    next = std::move(owned);
            }
            current = std::move(next);
        }
        return current;
    }
    pf::idlist::Unique desktopChild(const QString &pName) const
    {
        const pf::idlist::Unique desktop(pf::idlist::empty());
        return below(desktop.get(), {pName});
    }

    ComboSandbox sandbox;
    std::shared_ptr<pf::ShellNamespace> shell;
    std::unique_ptr<CNamespaceComboBox> combo;
    EventRecorder events;
};

ComboOptions options(std::function<void(ComboOptions &)> pChange)
{
    ComboOptions changed;
    pChange(changed);
    return changed;
}

QString add(int pIndex, const char *pText, int pIndent)
{
    return EventRecorder::add(pIndex, QString::fromUtf8(pText), pIndent);
}

QString remove(int pIndex, const char *pText)
{
    return EventRecorder::remove(pIndex, QString::fromUtf8(pText));
}

const QString kChanged = QStringLiteral("changed");

struct SelectionCase
{
    const char *name;
    ComboOptions options;
    std::function<void(Harness &)> before; // events are cleared after it
    std::function<bool(Harness &)> action;
    bool result;
    QStringList events; // "{root}" stands for the sandbox root
    const char *selectedText; // "{root}" likewise
    size_t pathItems;
};

void noSetup(Harness &) { }

} // namespace

TEST(Selection, Table)
{
    const auto toSystem32 = [](Harness &pHarness) {
        ASSERT_TRUE(pHarness.setPath("mnt/c/Windows/System32"));
    };
    const SelectionCase cases[] = {
        {"selecting the selected folder fires nothing",
         {},
         toSystem32,
         [](Harness &h) { return h.setPath("mnt/c/Windows/System32"); },
         true,
         {},
         "System32",
         2},
        {"a folder two levels under a listed drive",
         {},
         noSetup,
         [](Harness &h) { return h.setPath("mnt/c/Windows/System32"); },
         true,
         {add(4, "Windows", 3), add(5, "System32", 4), kChanged},
         "System32",
         2},
        {"the same with an indentation step of 2",
         options([](auto &o) { o.indent = 2; }),
         noSetup,
         [](Harness &h) { return h.setPath("mnt/c/Windows/System32"); },
         true,
         {add(4, "Windows", 6), add(5, "System32", 8), kChanged},
         "System32",
         2},
        {"another drive removes the path items last first",
         {},
         toSystem32,
         [](Harness &h) { return h.setPath("mnt/d"); },
         true,
         {remove(5, "System32"), remove(4, "Windows"), kChanged},
         "d",
         0},
        {"a deeper folder below the same drive replaces the path items",
         {},
         toSystem32,
         [](Harness &h) { return h.setPath("mnt/c/Program Files/App"); },
         true,
         {remove(5, "System32"), remove(4, "Windows"), add(4, "Program Files", 3), add(5, "App", 4),
          kChanged},
         "App",
         2},
        {"the desktop fires even when it is selected",
         {},
         noSetup,
         [](Harness &h) { return h.combo->SetSpecialFolder(0); },
         true,
         {kChanged},
         "Desktop",
         0},
        {"no list selects the desktop and removes the path items",
         {},
         toSystem32,
         [](Harness &h) { return h.combo->SetPidl(nullptr); },
         true,
         {remove(5, "System32"), remove(4, "Windows"), kChanged},
         "Desktop",
         0},
        {"the empty list is the desktop",
         {},
         noSetup,
         [](Harness &h) {
             const pf::idlist::Unique empty(pf::idlist::empty());
             return h.combo->SetPidl(empty.get());
         },
         true,
         {kChanged},
         "Desktop",
         0},
        {"a folder under the documents entry goes below it",
         {},
         noSetup,
         [](Harness &h) {
             const auto documents = specialFolder(*h.shell, vexlo::PERSONAL);
             const auto folder =
                 h.below(documents.get(), {QStringLiteral("Letters"), QStringLiteral("2024")});
             return h.combo->SetPidl(folder.get());
         },
         true,
         {add(7, "Letters", 2), add(8, "2024", 3), kChanged},
         "2024",
         2},
        {"a path under home parses through its drive",
         {},
         noSetup,
         [](Harness &h) { return h.setPath("mnt/c/home/Documents/Letters"); },
         true,
         {add(4, "home", 3), add(5, "Documents", 4), add(6, "Letters", 5), kChanged},
         "Letters",
         3},
        {"a desktop child already listed is selected in place",
         {},
         toSystem32,
         [](Harness &h) {
             const auto alpha = h.desktopChild(QStringLiteral("Alpha"));
             return h.combo->SetPidl(alpha.get());
         },
         true,
         {remove(5, "System32"), remove(4, "Windows"), kChanged},
         "Alpha",
         0},
        {"a drive mounted after population goes below the computer",
         {},
         [](Harness &h) {
             h.sandbox.addDrive(QStringLiteral("mnt/e"));
             h.sandbox.makeDir(QStringLiteral("mnt/e/Stuff"));
         },
         [](Harness &h) { return h.setPath("mnt/e/Stuff"); },
         true,
         {add(2, "e", 2), add(3, "Stuff", 3), kChanged},
         "Stuff",
         2},
        {"a file without ShowFile is refused",
         {},
         noSetup,
         [](Harness &h) { return h.setPath("mnt/c/Windows/notes.txt"); },
         false,
         {},
         "Desktop",
         0},
        {"a file with ShowFile is inserted with its folder",
         options([](auto &o) { o.showFile = true; }),
         noSetup,
         [](Harness &h) { return h.setPath("mnt/c/Windows/notes.txt"); },
         true,
         {add(4, "Windows", 3), add(5, "notes.txt", 4), kChanged},
         "notes.txt",
         2},
        {"a path that does not parse",
         {},
         toSystem32,
         [](Harness &h) { return h.combo->SetPath(QStringLiteral("relative/Windows")); },
         false,
         {},
         "System32",
         2},
        {"a path that does not exist",
         {},
         noSetup,
         [](Harness &h) { return h.setPath("mnt/c/Nowhere"); },
         false,
         {},
         "Desktop",
         0},
        {"a special folder without a counterpart",
         {},
         noSetup,
         [](Harness &h) { return h.combo->SetSpecialFolder(vexlo::CONTROLS); },
         false,
         {},
         "Desktop",
         0},
        {"the computer by its special-folder number",
         {},
         noSetup,
         [](Harness &h) { return h.combo->SetSpecialFolder(vexlo::DRIVES); },
         true,
         {kChanged},
         "Computer",
         0},
        {"a virtual folder",
         {},
         noSetup,
         [](Harness &h) { return h.combo->SetSpecialFolder(vexlo::BITBUCKET); },
         true,
         {kChanged},
         "Trash",
         0},
        {"a virtual folder without ShowVirtualFolders is refused",
         options([](auto &o) { o.showVirtualFolders = false; }),
         noSetup,
         [](Harness &h) { return h.combo->SetSpecialFolder(vexlo::BITBUCKET); },
         false,
         {},
         "Desktop",
         0},
        {"drives only: a folder selects its drive and inserts nothing",
         options([](auto &o) { o.showDrivesOnly = true; }),
         noSetup,
         [](Harness &h) { return h.setPath("mnt/d/Data/Deep"); },
         true,
         {kChanged},
         "d",
         0},
        {"drives only: the drive already selected fires nothing",
         options([](auto &o) { o.showDrivesOnly = true; }),
         [](Harness &h) { ASSERT_TRUE(h.setPath("mnt/d/Data")); },
         [](Harness &h) { return h.setPath("mnt/d/Data/Deep"); },
         true,
         {},
         "d",
         0},
        {"drives only: an object without a path is refused",
         options([](auto &o) { o.showDrivesOnly = true; }),
         noSetup,
         [](Harness &h) { return h.combo->SetSpecialFolder(vexlo::DRIVES); },
         false,
         {},
         "File System",
         0},
        {"drives only: a desktop folder selects the drive holding it",
         options([](auto &o) { o.showDrivesOnly = true; }),
         noSetup,
         [](Harness &h) {
             const auto alpha = h.desktopChild(QStringLiteral("Alpha"));
             return h.combo->SetPidl(alpha.get());
         },
         true,
         {kChanged},
         "c",
         0},
        {"GoUp at the desktop does nothing",
         {},
         noSetup,
         [](Harness &h) {
             h.combo->GoUp();
             return true;
         },
         true,
         {},
         "Desktop",
         0},
        {"GoUp at a drive selects the computer",
         {},
         [](Harness &h) { ASSERT_TRUE(h.setPath("mnt/c")); },
         [](Harness &h) {
             h.combo->GoUp();
             return true;
         },
         true,
         {kChanged},
         "Computer",
         0},
        {"GoUp at a desktop child selects the desktop",
         {},
         [](Harness &h) { ASSERT_TRUE(h.combo->SetSpecialFolder(vexlo::DRIVES)); },
         [](Harness &h) {
             h.combo->GoUp();
             return true;
         },
         true,
         {kChanged},
         "Desktop",
         0},
        {"GoUp at a path item selects its parent anew",
         {},
         toSystem32,
         [](Harness &h) {
             h.combo->GoUp();
             return true;
         },
         true,
         {remove(5, "System32"), remove(4, "Windows"), add(4, "Windows", 3), kChanged},
         "Windows",
         1},
        {"SelectItem at the number of entries",
         {},
         noSetup,
         [](Harness &h) { return h.combo->SelectItem(h.combo->ItemsCount()); },
         false,
         {},
         "Desktop",
         0},
        {"SelectItem below 0",
         {},
         noSetup,
         [](Harness &h) { return h.combo->SelectItem(-1); },
         false,
         {},
         "Desktop",
         0},
        {"SelectItem of a drive",
         {},
         noSetup,
         [](Harness &h) { return h.combo->SelectItem(4); },
         true,
         {kChanged},
         "d",
         0},
        {"SelectItem of the selected path item processes it anew",
         {},
         toSystem32,
         [](Harness &h) { return h.combo->SelectItem(5); },
         true,
         {remove(5, "System32"), remove(4, "Windows"), add(4, "Windows", 3), add(5, "System32", 4),
          kChanged},
         "System32",
         2},
        {"SelectItem of a refused file still reports true",
         options([](auto &o) { o.showFile = true; }),
         [](Harness &h) {
             ASSERT_TRUE(h.setPath("mnt/c/Windows/notes.txt"));
             ComboOptions changed = h.combo->options();
             changed.showFile = false;
             h.combo->setOptions(changed);
         },
         [](Harness &h) { return h.combo->SelectItem(5); },
         true,
         {},
         "notes.txt",
         2},
        {"full path: only the deepest path item shows its path",
         options([](auto &o) { o.showFullPath = true; }),
         noSetup,
         [](Harness &h) { return h.setPath("mnt/c/Windows/System32"); },
         true,
         {add(4, "Windows", 3), add(5, "{root}/mnt/c/Windows/System32", 4), kChanged},
         "{root}/mnt/c/Windows/System32",
         2},
        {"full path: an entry already listed shows its path",
         options([](auto &o) { o.showFullPath = true; }),
         noSetup,
         [](Harness &h) { return h.setPath("mnt/d"); },
         true,
         {kChanged},
         "{root}/mnt/d",
         0},
        {"full path: the previous selection gets its name back",
         options([](auto &o) { o.showFullPath = true; }),
         [](Harness &h) { ASSERT_TRUE(h.setPath("mnt/d")); },
         [](Harness &h) { return h.setPath("mnt/c") && h.combo->entryText(4) == u"d"; },
         true,
         {kChanged},
         "{root}/mnt/c",
         0},
    };

    for (const SelectionCase &row : cases) {
        SCOPED_TRACE(row.name);
        Harness harness(row.options);
        ASSERT_TRUE(harness.sandbox.isValid());
        row.before(harness);
        harness.events.clear();

        EXPECT_EQ(row.action(harness), row.result);

        QStringList expected = row.events;
        expected.replaceInStrings(QStringLiteral("{root}"), harness.sandbox.root());
        EXPECT_EQ(harness.events.events(), expected);
        const QString selectedText = QString::fromUtf8(row.selectedText)
                                         .replace(QStringLiteral("{root}"), harness.sandbox.root());
        EXPECT_EQ(harness.combo->currentText(), selectedText);
        EXPECT_EQ(harness.combo->pathItems().size(), row.pathItems);
    }
}

TEST(Selection, CustomEntryRemovesThePathItemsAndKeepsTheLogicalSelection)
{
    Harness harness;
    ASSERT_TRUE(harness.setPath("mnt/c/Windows/System32"));
    const int custom = harness.combo->insertCustomEntry(-1, QStringLiteral("Mine"), 0, 0);
    harness.events.clear();

    EXPECT_TRUE(harness.combo->SelectItem(custom));
    // The custom entry moved up by the two removed path items; it stays selected.
    EXPECT_EQ(harness.events.events(),
              QStringList({remove(5, "System32"), remove(4, "Windows"), kChanged}));
    EXPECT_EQ(harness.combo->currentText(), QStringLiteral("Mine"));
    EXPECT_EQ(harness.combo->logicalSelection(), 5);
    EXPECT_TRUE(harness.combo->pathItems().empty());

    harness.events.clear();
    harness.combo->GoUp(); // nothing while a custom entry is selected
    EXPECT_TRUE(harness.events.events().isEmpty());
    EXPECT_EQ(harness.combo->currentText(), QStringLiteral("Mine"));
}

TEST(Selection, CallersListStaysTheCallers)
{
    Harness harness;
    const size_t before = pf::TaskAllocator::instance().outstanding();
    {
        const auto folder = parsePath(*harness.shell, harness.path("mnt/d/Data"));
        ASSERT_TRUE(harness.combo->SetPidl(folder.get()));
        // Still readable and unchanged after the call: the entry holds its own copy.
        EXPECT_EQ(harness.shell->pathFromIdList(folder.get()), harness.path("mnt/d/Data"));
        EXPECT_NE(harness.combo->entryIdList(harness.combo->currentIndex()), folder.get());
    }
    // One entry (Data) was added; the caller's list went with its owner.
    EXPECT_EQ(pf::TaskAllocator::instance().outstanding(), before + 1);
}

TEST(Selection, AnEntrysOwnListCanBeSelectedWhileItsEntryGoes)
{
    Harness harness;
    ASSERT_TRUE(harness.setPath("mnt/c/Windows/System32"));
    // Windows' own list, selected while the selection removes Windows itself.
    EXPECT_TRUE(harness.combo->SetPidl(harness.combo->entryIdList(4)));
    EXPECT_EQ(harness.combo->currentText(), QStringLiteral("Windows"));
    EXPECT_EQ(harness.combo->pathItems().size(), 1u);
}

TEST(UserChoice, KeysChooseTheNextEntryAndFireItemSelectedLast)
{
    Harness harness;
    harness.combo->show();
    ASSERT_TRUE(harness.setPath("mnt/c/Windows/System32"));
    harness.events.clear();

    // The closed list moves to the entry after System32: d.
    QTest::keyClick(harness.combo.get(), Qt::Key_Down);
    EXPECT_EQ(harness.events.events(),
              QStringList({remove(5, "System32"), remove(4, "Windows"), kChanged,
                           QStringLiteral("chosen")}));
    EXPECT_EQ(harness.combo->currentText(), QStringLiteral("d"));
}

TEST(UserChoice, ChoosingTheSelectedPathItemAgainProcessesItAnew)
{
    Harness harness;
    ASSERT_TRUE(harness.setPath("mnt/c/Windows/System32"));
    harness.events.clear();

    emit harness.combo->activated(5);
    EXPECT_EQ(harness.events.events(),
              QStringList({remove(5, "System32"), remove(4, "Windows"), add(4, "Windows", 3),
                           add(5, "System32", 4), kChanged, QStringLiteral("chosen")}));
    EXPECT_EQ(harness.combo->currentText(), QStringLiteral("System32"));
}
