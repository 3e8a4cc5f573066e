#pragma once

// The fixture of the editor dialogs' tests: an editor of type Editor on a config.ini written
// by the test, with a store that records what it is handed, a scripted chooser and the
// validation messages recorded instead of shown.

#include "bar_testsupport.h"
#include "startup/appstate.h"
#include "startup/registry.h"
#include "startup_testsupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace pindrel::test {

template<class Editor>
class EditorFixture : public ::testing::Test
{
protected:
    // Writes pConfig, opens the store on it and shows the editor in the program folder
    // /opt/pindrel.
    void openOn(const std::string &pConfig)
    {
        m_config.write(pConfig);
        m_state.openStore(m_config.path(), std::make_unique<RecordingIni>(m_writes));
        m_state.setProgramFolder(QStringLiteral("/opt/pindrel"));
        m_editor = std::make_unique<Editor>(m_state, m_registry);
        m_editor->setFileChooser(&m_chooser);
        m_editor->setExclamation([this](const QString &pText) { m_messages.push_back(pText); });
        m_editor->show();
        QApplication::setActiveWindow(m_editor.get());
    }

    void type(QLineEdit *pField, const QString &pText)
    {
        pField->clear();
        QTest::keyClicks(pField, pText);
    }
    void click(QPushButton *pButton) { QTest::mouseClick(pButton, Qt::LeftButton); }

    TempConfig m_config;
    std::vector<Write> m_writes;
    AppState m_state;
    RecordingHost m_host;
    Registry m_registry{m_state, m_host};
    ScriptedChooser m_chooser;
    std::vector<QString> m_messages;
    std::unique_ptr<Editor> m_editor;
};

} // namespace pindrel::test
