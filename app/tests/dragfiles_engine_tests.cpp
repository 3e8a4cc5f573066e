// The message engine driven through real widgets: take-over, the tables, consumed messages,
// release from inside a callback, the give-back at destruction and the texts of its reports.

#include "dragfiles/enginemessage.h"
#include "dragfiles/subclassengine.h"
#include "dragfiles/windowhandles.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace pindrel {
namespace {

using Engine = SubclassEngine;

// A widget that counts what reaches its own handling and answers message 0x500 with 7.
class CountingWidget : public QWidget
{
public:
    int presses = 0;
    int engineMessages = 0;

protected:
    bool event(QEvent *pEvent) override
    {
        if (pEvent->type() == EngineMessage::eventType()) {
            ++engineMessages;
            auto *message = static_cast<EngineMessage *>(pEvent);
            if (message->message() == 0x500)
                message->result = 7;
            return true;
        }
        return QWidget::event(pEvent);
    }
    void mousePressEvent(QMouseEvent *pEvent) override
    {
        ++presses;
        pEvent->accept();
    }
};

struct Call
{
    bool before;
    uint32_t message;
    qintptr result;
};

class RecordingOwner : public SubclassCallback
{
public:
    std::vector<Call> calls;
    std::function<void(bool, bool &, qintptr &, uint32_t)> react;

    void zSubclass_Proc(bool bBefore, bool &bHandled, qintptr &lReturn, quintptr, uint32_t uMsg,
                        quintptr, quintptr, qintptr &) override
    {
        calls.push_back({bBefore, uMsg, lReturn});
        if (react)
            react(bBefore, bHandled, lReturn, uMsg);
    }
};

struct Report
{
    QString log;
    QString title;
    QString text;
};

// An engine, an owner and a widget to take over.
struct EngineWorld
{
    EngineWorld()
        : engine(QStringLiteral("clsDragFiles"))
        , widget(std::make_unique<CountingWidget>())
        , handle(WindowHandles::assign(widget.get()))
    {
        engine.setReportOutputs(
            [this](const QString &pText) { logs.push_back(pText); },
            [this](const QString &pTitle, const QString &pText) {
                reports.push_back({logs.empty() ? QString() : logs.back(), pTitle, pText});
            });
    }

    void press() { QTest::mousePress(widget.get(), Qt::LeftButton); }
    int callsFor(uint32_t pMessage) const
    {
        int count = 0;
        for (const Call &call : owner.calls)
            count += call.message == pMessage ? 1 : 0;
        return count;
    }

    Engine engine;
    RecordingOwner owner;
    std::unique_ptr<CountingWidget> widget;
    quintptr handle;
    std::vector<QString> logs;
    std::vector<Report> reports;
    const uint32_t pressMessage = Engine::qtMessage(QEvent::MouseButtonPress);
};

class EngineTest : public ::testing::Test, public EngineWorld
{
};

TEST_F(EngineTest, ReportsCarryRoutineTitleAndFinalPeriod)
{
    struct Row
    {
        const char *name;
        std::function<void(EngineWorld &)> act;
        QString title;
        QString text;
    };
    const std::vector<Row> rows = {
        {"uninitialised table", [](EngineWorld &t) { t.engine.ssc_AddMessage(t.handle, 5, 1); },
         QStringLiteral("Error in clsDragFiles.zMap_VFunction"),
         QStringLiteral("Thunk hasn't been initialized.")},
        {"no window", [](EngineWorld &t) { t.engine.ssc_Subclass(0x7777, 0, &t.owner); },
         QStringLiteral("Error in clsDragFiles.ssc_Subclass"),
         QStringLiteral("Invalid window handle.")},
        {"no callback", [](EngineWorld &t) { t.engine.ssc_Subclass(t.handle); },
         QStringLiteral("Error in clsDragFiles.ssc_Subclass"),
         QStringLiteral("Callback method not found.")},
        {"message not in table",
         [](EngineWorld &t) {
             t.engine.ssc_Subclass(t.handle, 0, &t.owner);
             t.engine.ssc_RemoveMessage(t.handle, Engine::WM_DROPFILES, Engine::MSG_BEFORE);
         },
         QStringLiteral("Error in clsDragFiles.zDelMsg"),
         QStringLiteral("Message &H233 not found in table.")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EngineWorld fresh;
        row.act(fresh);
        ASSERT_EQ(fresh.reports.size(), 1U);
        EXPECT_EQ(fresh.reports[0].title, row.title);
        EXPECT_EQ(fresh.reports[0].text, row.text);
        // The log entry: class, routine, message, no final period.
        EXPECT_EQ(fresh.reports[0].log,
                  row.title.mid(9) + QStringLiteral(": ") + row.text.left(row.text.size() - 1));
    }
}

TEST_F(EngineTest, SecondTakeOverIsRefusedAndTheFirstGoesOn)
{
    ASSERT_TRUE(engine.ssc_Subclass(handle, 0, &owner));
    engine.ssc_AddMessage(handle, pressMessage, Engine::MSG_BEFORE);
    EXPECT_FALSE(engine.ssc_Subclass(handle, 0, &owner));
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_EQ(reports[0].text, QStringLiteral("Window handle is already subclassed."));
    EXPECT_EQ(engine.registryKeys(), std::vector<QString>{QString::number(handle) + u'h'});
    press();
    EXPECT_EQ(callsFor(pressMessage), 1);
    EXPECT_EQ(widget->presses, 1);
}

TEST_F(EngineTest, FullTableReportsAndReusesAFreedSlot)
{
    ASSERT_TRUE(engine.ssc_Subclass(handle, 0, &owner));
    engine.ssc_AddMessage(handle, 0x1000, Engine::MSG_BEFORE);
    engine.ssc_AddMessage(handle, 0x1000, Engine::MSG_BEFORE); // already there: takes no slot
    for (uint32_t message = 0x1001; message < 0x1000 + Engine::MSG_ENTRIES; ++message)
        engine.ssc_AddMessage(handle, message, Engine::MSG_BEFORE);
    engine.ssc_AddMessage(handle, 0x1001, Engine::MSG_BEFORE); // in a full table too
    EXPECT_TRUE(reports.empty());
    engine.ssc_AddMessage(handle, 0x2000, Engine::MSG_BEFORE);
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_EQ(reports[0].title, QStringLiteral("Error in clsDragFiles.zAddMsg"));
    EXPECT_TRUE(reports[0].text.startsWith(QStringLiteral("Message table overflow.")));

    engine.ssc_RemoveMessage(handle, 0x1005, Engine::MSG_BEFORE);
    engine.ssc_AddMessage(handle, 0x2000, Engine::MSG_BEFORE); // into the freed slot
    EXPECT_EQ(reports.size(), 1U);
    EXPECT_EQ(Engine::sendMessage(handle, 0x2000, 0, 0), 0);
    EXPECT_EQ(callsFor(0x2000), 1);
    EXPECT_EQ(Engine::sendMessage(handle, 0x1005, 0, 0), 0);
    EXPECT_EQ(callsFor(0x1005), 0) << "the removed message still matches";
    // The count did not grow: the table is full again.
    engine.ssc_AddMessage(handle, 0x3000, Engine::MSG_BEFORE);
    EXPECT_EQ(reports.size(), 2U);
}

TEST_F(EngineTest, ConsumedMessageNeverReachesTheWidget)
{
    ASSERT_TRUE(engine.ssc_Subclass(handle, 0, &owner));
    engine.ssc_AddMessage(handle, pressMessage, Engine::MSG_BEFORE_AND_AFTER);
    engine.ssc_AddMessage(handle, 0x500, Engine::MSG_BEFORE);
    owner.react = [](bool pBefore, bool &pHandled, qintptr &pResult, uint32_t) {
        if (pBefore) {
            pHandled = true;
            pResult = 42;
        }
    };
    press();
    EXPECT_EQ(widget->presses, 0);
    EXPECT_EQ(callsFor(0), 0);
    ASSERT_EQ(owner.calls.size(), 1U) << "the after call ran for a consumed message";
    EXPECT_EQ(Engine::sendMessage(handle, 0x500, 0, 0), 42);
    EXPECT_EQ(widget->engineMessages, 0);
}

TEST_F(EngineTest, AfterCallSeesAndChangesTheWidgetsResult)
{
    ASSERT_TRUE(engine.ssc_Subclass(handle, 0, &owner));
    engine.ssc_AddMessage(handle, 0x500, Engine::MSG_AFTER);
    owner.react = [](bool pBefore, bool &, qintptr &pResult, uint32_t) {
        if (!pBefore)
            pResult += 2;
    };
    EXPECT_EQ(Engine::sendMessage(handle, 0x500, 0, 0), 9);
    ASSERT_EQ(owner.calls.size(), 1U);
    EXPECT_FALSE(owner.calls[0].before);
    EXPECT_EQ(owner.calls[0].result, 7);
    EXPECT_EQ(engine.ssc_CallPrevious(handle, 0x500, 0, 0), 7);
}

TEST_F(EngineTest, MessagesInNoTableMakeNoCall)
{
    ASSERT_TRUE(engine.ssc_Subclass(handle, 0, &owner));
    engine.ssc_AddMessage(handle, Engine::WM_DROPFILES, Engine::MSG_BEFORE);
    widget->show();
    press();
    widget->resize(50, 40);
    QCoreApplication::processEvents();
    EXPECT_TRUE(owner.calls.empty());
    EXPECT_EQ(widget->presses, 1);
    engine.ssc_AddMessage(handle, Engine::ALL_MESSAGES, Engine::MSG_AFTER);
    press();
    EXPECT_GE(callsFor(pressMessage), 1);
}

TEST_F(EngineTest, ReleaseFromInsideTheCallbackWaitsForTheOutermostMessage)
{
    ASSERT_TRUE(engine.ssc_Subclass(handle, 0, &owner));
    engine.ssc_AddMessage(handle, pressMessage, Engine::MSG_BEFORE);
    owner.react = [this](bool, bool &, qintptr &, uint32_t) {
        engine.ssc_Release(handle);
        // Still inside the message: the window is not given back under the callback.
        ASSERT_NE(WindowHandles::find(handle), nullptr);
    };
    press();
    EXPECT_EQ(widget->presses, 1) << "the current message did not reach the widget";
    EXPECT_TRUE(engine.registryKeys().empty());
    owner.react = {};
    press();
    EXPECT_EQ(callsFor(pressMessage), 1);
    EXPECT_EQ(widget->presses, 2);
    EXPECT_TRUE(reports.empty());
}

TEST_F(EngineTest, DestroyedWindowIsGivenBackAfterItsBeforeCall)
{
    ASSERT_TRUE(engine.ssc_Subclass(handle, 5, &owner));
    engine.ssc_AddMessage(handle, Engine::WM_DESTROY, Engine::MSG_BEFORE_AND_AFTER);
    widget.reset();
    ASSERT_EQ(owner.calls.size(), 1U) << "only the before call runs at destruction";
    EXPECT_TRUE(owner.calls[0].before);
    EXPECT_EQ(owner.calls[0].message, Engine::WM_DESTROY);
    // The key stays until the window is released; the stub is gone.
    EXPECT_EQ(engine.registryKeys().size(), 1U);
    EXPECT_EQ(engine.ssc_UserValue(handle), 0);
    engine.ssc_Release(handle);
    EXPECT_TRUE(engine.registryKeys().empty());
    EXPECT_TRUE(reports.empty());
}

TEST_F(EngineTest, EngineEndGivesEveryWindowBack)
{
    auto second = std::make_unique<CountingWidget>();
    const quintptr secondHandle = WindowHandles::assign(second.get());
    {
        Engine local(QStringLiteral("clsDragFiles"));
        ASSERT_TRUE(local.ssc_Subclass(handle, 0, &owner));
        ASSERT_TRUE(local.ssc_Subclass(secondHandle, 0, &owner));
        local.ssc_AddMessage(handle, pressMessage, Engine::MSG_BEFORE);
        local.ssc_AddMessage(secondHandle, pressMessage, Engine::MSG_BEFORE);
    }
    press();
    QTest::mousePress(second.get(), Qt::LeftButton);
    EXPECT_TRUE(owner.calls.empty());
    EXPECT_EQ(widget->presses, 1);
    EXPECT_EQ(second->presses, 1);
}

TEST_F(EngineTest, NativeWindowIsNamedByItsWindowId)
{
    CountingWidget native;
    const auto id = static_cast<quintptr>(native.winId());
    ASSERT_TRUE(engine.ssc_Subclass(id, 0, &owner));
    engine.ssc_AddMessage(id, 0x501, Engine::MSG_BEFORE);
    Engine::sendMessage(id, 0x501, 3, 4);
    EXPECT_EQ(callsFor(0x501), 1);
    engine.ssc_UserValue(id, 9);
    EXPECT_EQ(engine.ssc_UserValue(id), 9);
}

} // namespace
} // namespace pindrel
