// The program editor driven through its widgets, with a scripted chooser, a store that records
// what it is handed and real files for the existence test.

#include "dialogs/form4.h"
#include "dialogs_testsupport.h"
#include "startup/appstate.h"
#include "startup/registry.h"
#include "startup_testsupport.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace pindrel {
namespace {

using test::Write;

class ProgramEditor : public test::EditorFixture<Form4>
{
protected:
    void SetUp() override
    {
        m_tool = m_config.folder() + QStringLiteral("/tool");
        test::writeBytes(m_tool, "#!/bin/sh\n");
        openOn("[GRAL]\nCANTPROG=2\n[PROGRAM1]\nCAPTION=Shell\nPATH=/bin/sh\n"
               "[PROGRAM2]\nCAPTION=Tool\nPATH="
               + m_tool.toStdString() + "\n");
        m_state.setProgramCount(2);
    }

    QString m_tool;
};

TEST_F(ProgramEditor, ModesSetHeadingCaptionPictureAndFields)
{
    EXPECT_EQ(m_editor->editIndex(), 0);
    EXPECT_EQ(m_editor->windowTitle(), QStringLiteral("Add program"));
    EXPECT_TRUE(m_editor->imgAdd()->isVisible());
    EXPECT_FALSE(m_editor->imgMod()->isVisible());

    m_editor->Inicializar(2);
    EXPECT_EQ(m_editor->windowTitle(), QStringLiteral("Configure program"));
    EXPECT_EQ(m_editor->lbltitulo()->text(), QStringLiteral("Configure program"));
    EXPECT_TRUE(m_editor->imgMod()->isVisible());
    EXPECT_FALSE(m_editor->imgAdd()->isVisible());
    EXPECT_EQ(m_editor->TextTitulo()->text(), QStringLiteral("Tool"));
    EXPECT_EQ(m_editor->TextRuta()->text(), m_tool);

    m_editor->Inicializar(0);
    EXPECT_EQ(m_editor->windowTitle(), QStringLiteral("Add program"));
    EXPECT_TRUE(m_editor->TextRuta()->text().isEmpty()) << "PROGRAM0 does not exist";
    EXPECT_TRUE(m_writes.empty());
}

// The checks in their order: the name before the path, the path before the file.
struct CheckRow
{
    const char *name;
    const char *title;
    const char *path; // "<tool>" stands for the existing file, "<folder>" for its folder
    const char *message;
    const char *focus;
};

const CheckRow kChecks[] = {
    {"name_blank_before_a_bad_path", "   ", "/no/such/file", "Please complete program's name.",
     "TextTitulo"},
    {"name_empty", "", "<tool>", "Please complete program's name.", "TextTitulo"},
    {"path_blank", "Tool", "   ", "Please complete the path.", "TextRuta"},
    {"missing_file", "Tool", "/no/such/file",
     "Can't find the file.\r\nPlease, check the path is correct.", "TextRuta"},
    {"folder_is_no_file", "Tool", "<folder>",
     "Can't find the file.\r\nPlease, check the path is correct.", "TextRuta"},
    {"line_break_the_file_cannot_hold", "Tool", "<newline>",
     "Can't find the file.\r\nPlease, check the path is correct.", "TextRuta"},
};

class Check : public ProgramEditor, public ::testing::WithParamInterface<CheckRow>
{
};

TEST_P(Check, KeepsTheDialogOpenWithTheFocusInTheField)
{
    const CheckRow &row = GetParam();
    QString path = QString::fromUtf8(row.path);
    const QString withLineBreak = m_config.folder() + QStringLiteral("/two\nlines");
    test::writeBytes(withLineBreak, "#!/bin/sh\n");
    path.replace(QStringLiteral("<tool>"), m_tool)
        .replace(QStringLiteral("<folder>"), m_config.folder())
        .replace(QStringLiteral("<newline>"), withLineBreak);
    type(m_editor->TextTitulo(), QString::fromUtf8(row.title));
    m_editor->TextRuta()->setText(path); // as a chooser answers: typing enters no line break
    m_editor->cmdRuta()->setFocus();
    click(m_editor->cmdAceptar());
    EXPECT_EQ(m_messages, std::vector<QString>{QString::fromUtf8(row.message)});
    ASSERT_NE(m_editor->focusWidget(), nullptr);
    EXPECT_EQ(m_editor->focusWidget()->objectName(), QString::fromLatin1(row.focus));
    EXPECT_TRUE(m_editor->isVisible());
    EXPECT_TRUE(m_writes.empty());
}

INSTANTIATE_TEST_SUITE_P(ProgramEditor, Check, ::testing::ValuesIn(kChecks),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST_F(ProgramEditor, OkHandsTheTextsOverAsTypedAndRebuildsTheMenu)
{
    // Blanks around the path pass the file test, which trims; the texts go as typed.
    type(m_editor->TextTitulo(), QStringLiteral(" My tool "));
    type(m_editor->TextRuta(), QStringLiteral("  ") + m_tool + QStringLiteral(" "));
    click(m_editor->cmdAceptar());
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(m_editor->result(), QDialog::Accepted);
    EXPECT_EQ(m_writes,
              (std::vector<Write>{{"PROGRAM3", "CAPTION", " My tool "},
                                  {"PROGRAM3", "PATH", "  " + m_tool.toStdString() + " "},
                                  {"GRAL", "CANTPROG", "3"}}));
    EXPECT_EQ(m_host.calls, std::vector<std::string>{"MostrarProgramas"});

    m_writes.clear();
    Form4 configure(m_state, m_registry);
    configure.Inicializar(1);
    configure.cmdAceptar_Click();
    EXPECT_EQ(
        m_writes,
        (std::vector<Write>{{"PROGRAM1", "CAPTION", "Shell"}, {"PROGRAM1", "PATH", "/bin/sh"}}));
    EXPECT_EQ(m_state.programCount(), 3);
}

TEST_F(ProgramEditor, CancelWritesNothing)
{
    m_editor->Inicializar(1);
    type(m_editor->TextTitulo(), QStringLiteral("Changed"));
    click(m_editor->cmdCancelar());
    EXPECT_EQ(m_editor->result(), QDialog::Rejected);
    EXPECT_TRUE(m_writes.empty());
}

TEST_F(ProgramEditor, ChangeOffersProgramsFirstAndKeepsTheTypedPathOnCancel)
{
    m_chooser.answers = {QStringLiteral("  /usr/bin/env  "), std::nullopt};
    type(m_editor->TextRuta(), m_tool);
    click(m_editor->cmdRuta());
    EXPECT_EQ(m_editor->TextRuta()->text(), QStringLiteral("/usr/bin/env"));
    ASSERT_EQ(m_chooser.calls.size(), 1U);
    const test::ScriptedChooser::Call &call = m_chooser.calls[0];
    EXPECT_EQ(call.kind, QStringLiteral("file"));
    EXPECT_EQ(call.title, QStringLiteral("Select a Program"));
    EXPECT_EQ(call.startFolder, m_config.folder()) << "the folder of the program in the field";
    const QList<FileFilter> expected = {
        {QStringLiteral("Programs and launchers"), QStringLiteral("*"), true},
        {QStringLiteral("EXE files (*.exe)"), QStringLiteral("*.exe")},
        {QStringLiteral("BAT files (*.bat)"), QStringLiteral("*.bat")},
        {QStringLiteral("All files (*.*)"), QStringLiteral("*.*")},
    };
    EXPECT_EQ(call.filters, expected);

    // Cancelling keeps what the user had; a path naming no file starts in the program folder.
    type(m_editor->TextRuta(), QStringLiteral("/typed/by/hand"));
    click(m_editor->cmdRuta());
    EXPECT_EQ(m_editor->TextRuta()->text(), QStringLiteral("/typed/by/hand"));
    EXPECT_EQ(m_chooser.calls[1].startFolder, QStringLiteral("/opt/pindrel"));
}

} // namespace
} // namespace pindrel
