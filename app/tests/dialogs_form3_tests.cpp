// The drawer editor driven through its widgets, with scripted choosers and a store that
// records what it is handed.

#include "dialogs/form3.h"
#include "dialogs_testsupport.h"
#include "startup/appstate.h"
#include "startup/registry.h"
#include "startup_testsupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace pindrel {
namespace {

using test::Write;

class DrawerEditor : public test::EditorFixture<Form3>
{
protected:
    void SetUp() override
    {
        openOn("[GRAL]\nCANTBOT=3\n"
               "[BUTTON1]\nCAPTION=Home\nPATH=/home\nICON=\n"
               "[BUTTON2]\nCAPTION=Work\nPATH=/srv/work\nICON=\n"
               "[BUTTON3]\nCAPTION=Photos\nPATH=/data/photos\nICON=/icons/photo.ico\n");
        m_state.setDrawerCount(3);
    }
};

TEST_F(DrawerEditor, ModesSetHeadingCaptionPictureAndFields)
{
    // Loaded without Inicializar: add mode with the design captions.
    EXPECT_EQ(m_editor->editIndex(), 0);
    EXPECT_EQ(m_editor->windowTitle(), QStringLiteral("Add Drawer"));
    EXPECT_TRUE(m_editor->imgAdd()->isVisible());
    EXPECT_FALSE(m_editor->imgMod()->isVisible());
    EXPECT_FALSE(m_editor->imgAdd()->pixmap().isNull());
    EXPECT_FALSE(m_editor->imgMod()->pixmap().isNull());

    m_editor->Inicializar(3);
    EXPECT_EQ(m_editor->editIndex(), 3);
    EXPECT_EQ(m_editor->windowTitle(), QStringLiteral("Configure drawer"));
    EXPECT_EQ(m_editor->lbltitulo()->text(), QStringLiteral("Configure drawer"));
    EXPECT_FALSE(m_editor->imgAdd()->isVisible());
    EXPECT_TRUE(m_editor->imgMod()->isVisible());
    EXPECT_EQ(m_editor->TextTitulo()->text(), QStringLiteral("Photos"));
    EXPECT_EQ(m_editor->TextRuta()->text(), QStringLiteral("/data/photos"));
    EXPECT_EQ(m_editor->TextIcon()->text(), QStringLiteral("/icons/photo.ico"));

    m_editor->Inicializar(0);
    EXPECT_EQ(m_editor->windowTitle(), QStringLiteral("Add drawer"));
    EXPECT_EQ(m_editor->lbltitulo()->text(), QStringLiteral("Add drawer"));
    EXPECT_TRUE(m_editor->imgAdd()->isVisible());
    EXPECT_TRUE(m_editor->TextTitulo()->text().isEmpty()) << "BUTTON0 does not exist";
    EXPECT_TRUE(m_writes.empty());
}

struct ValidationCase
{
    const char *name;
    const char *title;
    const char *path;
    const char *message;
    const char *focus;
};

const ValidationCase kValidation[] = {
    {"title_blank", "   ", "/tmp", "Please complete drawer's title.", "TextTitulo"},
    {"both_empty", "", "", "Please complete drawer's title.", "TextTitulo"},
    {"path_blank", "Docs", "    ", "Please complete the path.", "TextRuta"},
    {"path_empty", "Docs", "", "Please complete the path.", "TextRuta"},
};

class Validation : public DrawerEditor, public ::testing::WithParamInterface<ValidationCase>
{
};

TEST_P(Validation, KeepsTheDialogOpenWithTheFocusInTheField)
{
    const ValidationCase &row = GetParam();
    type(m_editor->TextTitulo(), QString::fromUtf8(row.title));
    type(m_editor->TextRuta(), QString::fromUtf8(row.path));
    // The focus starts in the other field, so moving it is the dialog's doing.
    (QString::fromLatin1(row.focus) == QLatin1String("TextRuta") ? m_editor->TextTitulo()
                                                                 : m_editor->TextRuta())
        ->setFocus();
    click(m_editor->cmdAceptar());
    ASSERT_EQ(m_messages.size(), 1U);
    EXPECT_EQ(m_messages[0], QString::fromUtf8(row.message));
    ASSERT_NE(m_editor->focusWidget(), nullptr);
    EXPECT_EQ(m_editor->focusWidget()->objectName(), QString::fromLatin1(row.focus));
    EXPECT_TRUE(m_editor->isVisible());
    EXPECT_TRUE(m_writes.empty());
}

INSTANTIATE_TEST_SUITE_P(DrawerEditor, Validation, ::testing::ValuesIn(kValidation),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST_F(DrawerEditor, AddHandsTheTextsOverAsTyped)
{
    type(m_editor->TextTitulo(), QStringLiteral("  My docs  "));
    type(m_editor->TextRuta(), QStringLiteral(" /home/me/docs "));
    type(m_editor->TextIcon(), QStringLiteral("  x.ico "));
    click(m_editor->cmdAceptar());
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(m_editor->result(), QDialog::Accepted);
    EXPECT_FALSE(m_editor->isVisible());
    ASSERT_GE(m_writes.size(), 3U);
    EXPECT_EQ(m_writes[0], (Write{"BUTTON4", "CAPTION", "  My docs  "}));
    EXPECT_EQ(m_writes[1], (Write{"BUTTON4", "PATH", " /home/me/docs "}));
    EXPECT_EQ(m_writes[2], (Write{"BUTTON4", "ICON", "  x.ico "}));
    EXPECT_EQ(m_writes.back(), (Write{"GRAL", "CANTBOT", "4"}));
    EXPECT_TRUE(m_host.calls.empty()) << "the editor rebuilds nothing itself";
}

TEST_F(DrawerEditor, ConfigureChangesOnlyThatDrawer)
{
    m_editor->Inicializar(2);
    type(m_editor->TextTitulo(), QStringLiteral("Job"));
    click(m_editor->cmdAceptar());
    EXPECT_EQ(m_writes,
              (std::vector<Write>{{"BUTTON2", "CAPTION", "Job"},
                                  {"BUTTON2", "PATH", "/srv/work"},
                                  {"BUTTON2", "ICON", ""}}));
    EXPECT_EQ(m_state.drawerCount(), 3);
}

TEST_F(DrawerEditor, AtTheLimitAddingClosesAfterTheRegistrysMessage)
{
    m_state.setDrawerCount(100);
    type(m_editor->TextTitulo(), QStringLiteral("One more"));
    type(m_editor->TextRuta(), QStringLiteral("/tmp"));
    click(m_editor->cmdAceptar());
    EXPECT_EQ(
        m_host.calls,
        std::vector<std::string>{"exclamation:You can't add another drawer. (Max. allowed 100)."});
    EXPECT_TRUE(m_writes.empty());
    EXPECT_EQ(m_editor->result(), QDialog::Accepted);
}

TEST_F(DrawerEditor, CancelWritesNothing)
{
    m_editor->Inicializar(1);
    type(m_editor->TextTitulo(), QStringLiteral("Changed"));
    click(m_editor->cmdCancelar());
    EXPECT_EQ(m_editor->result(), QDialog::Rejected);
    EXPECT_FALSE(m_editor->isVisible());
    EXPECT_TRUE(m_writes.empty());
}

TEST_F(DrawerEditor, FolderChooserFillsOrEmptiesThePath)
{
    QString withNul = QStringLiteral("/media/disk");
    withNul += QChar(0);
    withNul += QStringLiteral("garbage");
    const QString longPath = QLatin1Char('/') + QString(299, QLatin1Char('d'));
    m_chooser.answers = {QStringLiteral("/home/me/Music"), withNul, longPath, std::nullopt};

    click(m_editor->cmdRuta());
    EXPECT_EQ(m_editor->TextRuta()->text(), QStringLiteral("/home/me/Music"));
    click(m_editor->cmdRuta());
    EXPECT_EQ(m_editor->TextRuta()->text(), QStringLiteral("/media/disk"));
    click(m_editor->cmdRuta());
    EXPECT_EQ(m_editor->TextRuta()->text(), longPath.left(255));
    click(m_editor->cmdRuta());
    EXPECT_TRUE(m_editor->TextRuta()->text().isEmpty()) << "cancel empties the field";
    ASSERT_EQ(m_chooser.calls.size(), 4U);
    EXPECT_EQ(m_chooser.calls[0].kind, QStringLiteral("folder"));
    EXPECT_EQ(m_chooser.calls[0].title, QStringLiteral("Select a folder"));

    // A cancelled browser then Ok: the path is missing.
    type(m_editor->TextTitulo(), QStringLiteral("Music"));
    click(m_editor->cmdAceptar());
    EXPECT_EQ(m_messages, std::vector<QString>{QStringLiteral("Please complete the path.")});
}

TEST_F(DrawerEditor, IconChooserStartsInIconsWithTheFiveFilters)
{
    m_chooser.answers = {QStringLiteral("  /opt/pindrel/icons/music.ico  "), std::nullopt,
                         QLatin1Char('/') + QString(260, QLatin1Char('i'))};
    click(m_editor->cmdIcon());
    EXPECT_EQ(m_editor->TextIcon()->text(), QStringLiteral("/opt/pindrel/icons/music.ico"));
    ASSERT_EQ(m_chooser.calls.size(), 1U);
    const test::ScriptedChooser::Call &call = m_chooser.calls[0];
    EXPECT_EQ(call.kind, QStringLiteral("file"));
    EXPECT_EQ(call.title, QStringLiteral("Select an Icon file"));
    EXPECT_EQ(call.startFolder, QStringLiteral("/opt/pindrel/icons"));
    const QList<FileFilter> expected = {
        {QStringLiteral("Icon files (*.ico)"), QStringLiteral("*.ico")},
        {QStringLiteral("BMP files (*.bmp)"), QStringLiteral("*.bmp")},
        {QStringLiteral("GIF files (*.gif)"), QStringLiteral("*.gif")},
        {QStringLiteral("JPG files (*.jpg)"), QStringLiteral("*.jpg")},
        {QStringLiteral("All files (*.*)"), QStringLiteral("*.*")},
    };
    EXPECT_EQ(call.filters, expected);

    click(m_editor->cmdIcon());
    EXPECT_TRUE(m_editor->TextIcon()->text().isEmpty()) << "cancel empties the field";
    type(m_editor->TextIcon(), QStringLiteral("/keep.ico"));
    click(m_editor->cmdIcon());
    EXPECT_TRUE(m_editor->TextIcon()->text().isEmpty()) << "too long for the dialog";
}

} // namespace
} // namespace pindrel
