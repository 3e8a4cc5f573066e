// The settings dialog driven through its widgets: what it shows of the settings in memory, what
// Ok writes and asks of the bar, the pages Mostrar selects, the program list's commands and
// keys, the colour combos and the autostart check box. The store records what it is handed.

#include "bar_testsupport.h"
#include "dialogs/form4.h"
#include "dialogs/formconfig.h"
#include "dialogs/olecolorcombo.h"
#include "dialogs/programlistpage.h"
#include "dialogs/settingshost.h"
#include "startup/appstate.h"
#include "startup/autostartentry.h"
#include "startup/registry.h"
#include "startup_testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace pindrel {
namespace {

using test::Write;

class RecordingSettingsHost : public SettingsHost
{
public:
    void AplicarColoresMain() override { calls.emplace_back("AplicarColoresMain"); }
    void MostrarBotones() override { calls.emplace_back("MostrarBotones"); }
    void redock() override { calls.emplace_back("redock"); }
    std::vector<std::string> calls;
};

class SettingsDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writePrograms(3);
        m_state.openStore(m_config.path(), std::make_unique<test::RecordingIni>(m_writes));
        m_state.setProgramCount(3);
        Settings &settings = m_state.settings();
        settings = Settings{80,
                            90,
                            QStringLiteral("TOP"),
                            390,
                            1,
                            0x00112233,
                            kOleButtonFace,
                            kOleButtonText,
                            static_cast<int32_t>(0x80000005U),
                            2};
    }

    void writePrograms(int pCount)
    {
        std::string text = "[GRAL]\nCANTPROG=" + std::to_string(pCount) + "\n";
        for (int i = 1; i <= pCount; ++i) {
            text += "[PROGRAM" + std::to_string(i) + "]\nCAPTION=P" + std::to_string(i)
                + "\nPATH=/bin/true\n";
        }
        m_config.write(text);
    }

    FormConfig &open()
    {
        m_dialog = std::make_unique<FormConfig>(m_state, m_registry, m_settingsHost);
        m_dialog->setAutostartEntry(
            AutostartEntry(m_config.folder() + QStringLiteral("/autostart"), m_program));
        m_dialog->setExclamation([this](const QString &pText) { m_messages.push_back(pText); });
        m_dialog->setDialogRunner([this](QDialog &pDialog) {
            if (auto *editor = dynamic_cast<Form4 *>(&pDialog)) {
                m_editors.push_back(editor->editIndex());
                if (m_editorAction)
                    m_editorAction(*editor);
            }
        });
        m_dialog->programs().setConfirmation([this](const QString &pText) {
            m_messages.push_back(pText);
            return m_confirm;
        });
        m_dialog->show();
        QApplication::setActiveWindow(m_dialog.get());
        return *m_dialog;
    }

    QStringList rows() const
    {
        QStringList texts;
        const QListWidget *list = m_dialog->programs().ListP();
        for (int row = 0; row < list->count(); ++row)
            texts << list->item(row)->text();
        return texts;
    }

    test::TempConfig m_config;
    QString m_program = QStringLiteral("/opt/pindrel/pindrel");
    std::vector<Write> m_writes;
    AppState m_state;
    test::RecordingHost m_registryHost;
    Registry m_registry{m_state, m_registryHost};
    RecordingSettingsHost m_settingsHost;
    std::unique_ptr<FormConfig> m_dialog;
    std::vector<QString> m_messages;
    std::vector<int16_t> m_editors;
    std::function<void(Form4 &)> m_editorAction;
    bool m_confirm = true;
};

// ---- what the controls show ---------------------------------------------------------------

struct LoadRow
{
    const char *name;
    const char *position;
    int32_t style;
    int16_t theme;
    int16_t height;
    int comboPos;
    int comboBut;
    int comboTheme;
    int shownHeight;
};

const LoadRow kLoads[] = {
    {"top", "TOP", 0, 0, 390, 1, 0, 0, 390},
    {"bottom", "BOTTOM", 2, 4, 600, 0, 2, 4, 600},
    {"lower_case_top_is_bottom", "top", 1, 3, 0, 0, 1, 3, 0},
    {"other_position_is_bottom", "LEFT", 1, 1, 9999, 0, 1, 1, 9999},
    {"style_and_theme_out_of_range", "TOP", 7, 5, 390, 1, -1, -1, 390},
    {"negative_numbers", "TOP", -1, -1, -5, 1, -1, -1, 0},
};

class Load : public SettingsDialog, public ::testing::WithParamInterface<LoadRow>
{
};

TEST_P(Load, ShowsTheSettingsInMemory)
{
    const LoadRow &row = GetParam();
    Settings &settings = m_state.settings();
    settings.position = QString::fromLatin1(row.position);
    settings.buttonStyle = row.style;
    settings.theme = row.theme;
    settings.barHeight = row.height;
    FormConfig &dialog = open();
    EXPECT_EQ(dialog.ComboPos()->currentIndex(), row.comboPos);
    EXPECT_EQ(dialog.ComboBut()->currentIndex(), row.comboBut);
    EXPECT_EQ(dialog.ComboTheme()->currentIndex(), row.comboTheme);
    EXPECT_EQ(dialog.pvAlto()->value(), row.shownHeight);
    EXPECT_EQ(dialog.slMain()->value(), 80);
    EXPECT_EQ(dialog.slForm()->value(), 90);
    EXPECT_EQ(dialog.pvColMain()->value(), 0x00112233);
    EXPECT_EQ(dialog.pvColForm()->value(), static_cast<int32_t>(0x80000005U));
    EXPECT_EQ(dialog.ssTab()->currentIndex(), 0);
    EXPECT_EQ(dialog.programs().ListP()->count(), 0) << "the list fills with its page";
    EXPECT_TRUE(m_writes.empty());
}

INSTANTIATE_TEST_SUITE_P(SettingsDialog, Load, ::testing::ValuesIn(kLoads),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST_F(SettingsDialog, CaptionsOfTheDialogTabsAndCombos)
{
    FormConfig &dialog = open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Configure"));
    QStringList tabs;
    for (int index = 0; index < dialog.ssTab()->count(); ++index)
        tabs << dialog.ssTab()->tabText(index);
    EXPECT_EQ(tabs,
              (QStringList{QStringLiteral("Main Window"), QStringLiteral("Buttons"),
                           QStringLiteral("Drawers"), QStringLiteral("Programs")}));
    const auto items = [](const QComboBox *pCombo) {
        QStringList texts;
        for (int index = 0; index < pCombo->count(); ++index)
            texts << pCombo->itemText(index);
        return texts;
    };
    EXPECT_EQ(items(dialog.ComboPos()),
              (QStringList{QStringLiteral("1.BOTTOM"), QStringLiteral("2.TOP")}));
    EXPECT_EQ(items(dialog.ComboBut()),
              (QStringList{QStringLiteral("1.Text only"), QStringLiteral("2.Text and Icon"),
                           QStringLiteral("3.Icon only")}));
    EXPECT_EQ(items(dialog.ComboTheme()),
              (QStringList{QStringLiteral("(Nothing)"), QStringLiteral("Gray scale 1"),
                           QStringLiteral("Gray scale 2"), QStringLiteral("Black"),
                           QStringLiteral("XP Style")}));
    EXPECT_EQ(dialog.pvAlto()->minimum(), 0);
    EXPECT_EQ(dialog.pvAlto()->maximum(), 9999);
    EXPECT_EQ(dialog.slMain()->maximum(), 100);
    EXPECT_EQ(dialog.chkAutostart()->text(), QStringLiteral("Start Pindrel when I log in"));
}

// ---- Ok -----------------------------------------------------------------------------------

struct OkRow
{
    const char *name;
    int comboPos;
    int comboBut;
    int height;
    const char *position;
    const char *buttonType;
    bool redocks;
};

const OkRow kOks[] = {
    {"unchanged_top", 1, 1, 390, "TOP", "1", false},
    {"bottom", 0, 1, 390, "BOTTOM", "1", true},
    {"no_position_selected_is_top", -1, 2, 390, "TOP", "2", false},
    {"no_button_type_writes_minus_one", 1, -1, 390, "TOP", "-1", false},
    {"height_changed", 1, 0, 450, "TOP", "0", true},
};

class Ok : public SettingsDialog, public ::testing::WithParamInterface<OkRow>
{
};

TEST_P(Ok, WritesInOrderThenAppliesAndCloses)
{
    const OkRow &row = GetParam();
    FormConfig &dialog = open();
    dialog.ComboPos()->setCurrentIndex(row.comboPos);
    dialog.ComboBut()->setCurrentIndex(row.comboBut);
    dialog.pvAlto()->setValue(row.height);
    dialog.slMain()->setValue(55);
    QTest::mouseClick(dialog.cmdAceptar(), Qt::LeftButton);

    const std::string height = std::to_string(row.height);
    EXPECT_EQ(m_writes,
              (std::vector<Write>{
                  {"TRANSPARENCIA", "MAIN", "55"},
                  {"TRANSPARENCIA", "FORM", "90"},
                  {"MAIN", "POSITION", row.position},
                  {"MAIN", "HEIGHT", height},
                  {"MAIN", "BUTTONTYPE", row.buttonType},
                  {"COLORS", "THEME", "2"},
                  {"COLORS", "MAIN", std::to_string(0x00112233)},
                  {"COLORS", "BUTTON", "-2147483633"},
                  {"COLORS", "FORE", "-2147483630"},
                  {"COLORS", "FORM", "-2147483643"},
              }));
    const std::vector<std::string> applied = row.redocks
        ? std::vector<std::string>{"AplicarColoresMain", "redock", "MostrarBotones"}
        : std::vector<std::string>{"AplicarColoresMain", "MostrarBotones"};
    EXPECT_EQ(m_settingsHost.calls, applied);
    EXPECT_EQ(m_state.settings().position, QString::fromLatin1(row.position));
    EXPECT_EQ(m_state.settings().barOpacity, 55);
    EXPECT_EQ(m_state.settings().buttonStyle, std::stoi(row.buttonType));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

INSTANTIATE_TEST_SUITE_P(SettingsDialog, Ok, ::testing::ValuesIn(kOks),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST_F(SettingsDialog, CancelWritesNothing)
{
    FormConfig &dialog = open();
    dialog.slMain()->setValue(10);
    dialog.chkAutostart()->setChecked(true);
    QTest::mouseClick(dialog.cmdCancelar(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(m_writes.empty());
    EXPECT_TRUE(m_settingsHost.calls.empty());
    EXPECT_EQ(m_state.settings().barOpacity, 80);
    EXPECT_FALSE(QFile::exists(m_config.folder() + QStringLiteral("/autostart/pindrel.desktop")));
}

// ---- pages --------------------------------------------------------------------------------

struct PageRow
{
    const char *name;
    const char *solapa;
    int page;
};

const PageRow kPages[] = {
    {"programs", "programs", 3},
    {"capital_p_stays", "Programs", 0},
    {"drawers_trimmed", "  drawers ", 2},
    {"buttons", "buttons", 1},
    {"main", "main", 0},
    {"empty", "", 0},
    {"unknown", "colors", 0},
};

class Page : public SettingsDialog, public ::testing::WithParamInterface<PageRow>
{
};

TEST_P(Page, MostrarSelectsExactNamesOnly)
{
    FormConfig &dialog = open();
    dialog.Mostrar(QString::fromLatin1(GetParam().solapa));
    EXPECT_EQ(dialog.ssTab()->currentIndex(), GetParam().page);
    const QStringList filled = {QStringLiteral("P1"), QStringLiteral("P2"), QStringLiteral("P3")};
    EXPECT_EQ(rows(), GetParam().page == 3 ? filled : QStringList());
}

INSTANTIATE_TEST_SUITE_P(SettingsDialog, Page, ::testing::ValuesIn(kPages),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

// ---- the program list ---------------------------------------------------------------------

class ProgramList : public SettingsDialog
{
protected:
    ProgramListPage &page()
    {
        if (!m_dialog) {
            open().Mostrar(QStringLiteral("programs"));
            m_dialog->programs().ListP()->setFocus();
        }
        return m_dialog->programs();
    }
    void key(Qt::Key pKey, Qt::KeyboardModifiers pModifiers = Qt::NoModifier)
    {
        QTest::keyClick(page().ListP(), pKey, pModifiers);
    }
    void select(int pRow) { page().ListP()->setCurrentRow(pRow); }
};

TEST_F(ProgramList, DeletingAsksThenSelectsTheSameRowOrTheLast)
{
    select(2);
    m_confirm = false;
    key(Qt::Key_Delete);
    EXPECT_EQ(m_messages,
              std::vector<QString>{
                  QStringLiteral("You will delete the selected program. Are you sure?")});
    EXPECT_EQ(rows().size(), 3) << "Cancel deletes nothing";

    m_confirm = true;
    page().cmdDel_Click();
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("P1"), QStringLiteral("P2")}));
    EXPECT_EQ(page().selectedRow(), 1) << "the new last row";
    select(0);
    page().cmdDel_Click();
    EXPECT_EQ(rows(), QStringList{QStringLiteral("P2")});
    EXPECT_EQ(page().selectedRow(), 0);
    page().cmdDel_Click();
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(page().selectedRow(), -1);
    EXPECT_EQ(m_state.programCount(), 0);
    page().cmdDel_Click(); // nothing selected: nothing asked
    EXPECT_EQ(m_messages.size(), 4U);
}

TEST_F(ProgramList, ShiftArrowsMoveTheProgramAndTheSelectionFollows)
{
    select(0);
    key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_TRUE(m_writes.empty()) << "the first row does not move";
    EXPECT_EQ(page().selectedRow(), 0);

    key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(rows(),
              (QStringList{QStringLiteral("P2"), QStringLiteral("P1"), QStringLiteral("P3")}));
    EXPECT_EQ(page().selectedRow(), 1);
    key(Qt::Key_Down, Qt::ShiftModifier | Qt::KeypadModifier);
    EXPECT_EQ(page().selectedRow(), 2);
    const std::size_t moves = m_writes.size();
    key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(m_writes.size(), moves) << "the last row does not move";

    key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(page().selectedRow(), 1);
    EXPECT_EQ(rows(),
              (QStringList{QStringLiteral("P2"), QStringLiteral("P1"), QStringLiteral("P3")}));
    // Up with Ctrl as well is no move, only the list's own cursor.
    key(Qt::Key_Up, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(rows()[0], QStringLiteral("P2"));
    EXPECT_EQ(m_registryHost.calls,
              (std::vector<std::string>{"pump", "MostrarProgramas", "pump", "MostrarProgramas",
                                        "pump", "MostrarProgramas"}));
}

TEST_F(ProgramList, KeysAndDoubleClickOpenTheEditor)
{
    select(1);
    key(Qt::Key_Return);
    key(Qt::Key_Enter);
    select(2);
    emit page().ListP()->itemDoubleClicked(page().ListP()->item(2));
    key(Qt::Key_Insert);
    EXPECT_EQ(m_editors, (std::vector<int16_t>{2, 2, 3, 0}));
    EXPECT_EQ(page().selectedRow(), 2) << "add without a new program keeps the selection";
    EXPECT_TRUE(m_dialog->isVisible()) << "Enter in the list is not the dialog's Ok";
    EXPECT_TRUE(m_writes.empty());
}

TEST_F(ProgramList, AddingSelectsTheNewLastRow)
{
    select(0);
    m_editorAction = [this](Form4 &pEditor) {
        QTest::keyClicks(pEditor.TextTitulo(), QStringLiteral("New"));
        QTest::keyClicks(pEditor.TextRuta(), QStringLiteral("/bin/true"));
        pEditor.cmdAceptar_Click();
    };
    page().cmdAdd_Click();
    EXPECT_EQ(rows().last(), QStringLiteral("New"));
    EXPECT_EQ(page().selectedRow(), 3);
}

TEST_F(ProgramList, OkIsNotTheDefaultWhileTheListHasTheFocus)
{
    QPushButton *ok = open().cmdAceptar();
    EXPECT_TRUE(ok->isDefault());
    m_dialog->Mostrar(QStringLiteral("programs"));
    m_dialog->programs().ListP()->setFocus();
    EXPECT_FALSE(ok->isDefault());
    m_dialog->programs().cmdAdd()->setFocus();
    EXPECT_TRUE(ok->isDefault());
}

// ---- the colour combos --------------------------------------------------------------------

TEST(OleColorCombo, HoldsTheStoredValueExactly)
{
    const int32_t values[] = {
        static_cast<int32_t>(0x8000000FU), // button face, a named row
        0x00336699, // an RGB colour
        0x02336699, // palette-relative
        static_cast<int32_t>(0x80000019U), // a system number without a colour of its own
        static_cast<int32_t>(0x80000040U), // past the table
        0x7F000000, // no colour at all
    };
    OleColorCombo combo;
    const int rows = combo.count();
    for (const int32_t value : values) {
        combo.setValue(value);
        EXPECT_EQ(combo.value(), value);
        EXPECT_LE(combo.count(), rows + 1) << "one extra row at most";
    }
    combo.setValue(static_cast<int32_t>(0x80000012U));
    EXPECT_EQ(combo.currentText(), QStringLiteral("Button Text"));
    EXPECT_EQ(combo.count(), rows);
    combo.setValue(0x00336699);
    EXPECT_EQ(combo.currentText(), QStringLiteral("#996633"));
}

TEST(OleColorCombo, OtherColorAsksForAnRgbColour)
{
    OleColorCombo combo;
    std::optional<QColor> answer = QColor(0x12, 0x34, 0x56);
    QColor asked;
    combo.setColorAsker([&](const QColor &pInitial) {
        asked = pInitial;
        return answer;
    });
    combo.setValue(0x000000FF);
    const int other = combo.findText(QStringLiteral("Other color..."));
    ASSERT_EQ(other, combo.count() - 1);
    emit combo.activated(other);
    EXPECT_EQ(asked, QColor(Qt::red));
    EXPECT_EQ(combo.value(), 0x00563412);
    answer.reset();
    emit combo.activated(combo.count() - 1);
    EXPECT_EQ(combo.value(), 0x00563412) << "cancel keeps the colour";
    EXPECT_EQ(combo.currentText(), QStringLiteral("#123456"));
    emit combo.activated(0);
    EXPECT_EQ(combo.value(), static_cast<int32_t>(0x80000000U));
}

// ---- the autostart entry ------------------------------------------------------------------

TEST_F(SettingsDialog, AutostartFollowsTheCheckBoxOnOk)
{
    const QString entry = m_config.folder() + QStringLiteral("/autostart/pindrel.desktop");
    FormConfig &dialog = open();
    EXPECT_FALSE(dialog.chkAutostart()->isChecked());
    dialog.chkAutostart()->setChecked(true);
    dialog.cmdAceptar_Click();
    EXPECT_TRUE(QFile::exists(entry));
    EXPECT_NE(test::readBytes(entry).find("Exec=\"/opt/pindrel/pindrel\"\n"), std::string::npos);
    EXPECT_TRUE(m_messages.empty());

    FormConfig &again = open();
    EXPECT_TRUE(again.chkAutostart()->isChecked());
    again.chkAutostart()->setChecked(false);
    again.cmdAceptar_Click();
    EXPECT_FALSE(QFile::exists(entry));
}

TEST_F(SettingsDialog, AutostartThatCannotBeWrittenKeepsTheDialogOpen)
{
    test::writeBytes(m_config.folder() + QStringLiteral("/autostart"), "a file, not a folder");
    FormConfig &dialog = open();
    dialog.chkAutostart()->setChecked(true);
    dialog.slMain()->setValue(20);
    dialog.cmdAceptar_Click();
    EXPECT_EQ(m_messages, std::vector<QString>{FormConfig::autostartFailedMessage()});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(m_writes.empty());
    EXPECT_TRUE(m_settingsHost.calls.empty());
}

} // namespace
} // namespace pindrel
