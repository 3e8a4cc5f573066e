#include "dragfiles/subclassengine.h"

#include "dragfiles/enginemessage.h"
#include "dragfiles/subclassstub.h"
#include "dragfiles/windowhandles.h"

#include "platform/eventlog.h"
#include "platform/windowprobe.h"

#include <QCoreApplication>
#include <QMessageBox>

#include <algorithm>
#include <cerrno>
#include <new>

namespace pindrel {

SubclassEngine::SubclassEngine(QString pClassName)
    : m_className(std::move(pClassName))
    , m_log(&platform::logError)
    , m_box([](const QString &pTitle, const QString &pText) {
        QMessageBox::warning(nullptr, pTitle, pText);
    })
{ }

SubclassEngine::~SubclassEngine()
{
    ssc_ReleaseAll();
}

void SubclassEngine::setReportOutputs(LogWriter pLog, MessageBoxShower pBox)
{
    if (pLog)
        m_log = std::move(pLog);
    if (pBox)
        m_box = std::move(pBox);
}

void SubclassEngine::zReport(const char *pRoutine, const QString &pMessage)
{
    const QString routine = QString::fromLatin1(pRoutine);
    m_log(m_className + u'.' + routine + QStringLiteral(": ") + pMessage);
    m_box(QStringLiteral("Error in ") + m_className + u'.' + routine, pMessage + u'.');
}

QString SubclassEngine::keyOf(quintptr lhWnd)
{
    return QString::number(lhWnd) + u'h';
}

uint32_t SubclassEngine::qtMessage(int pEventType)
{
    return WM_APP + static_cast<uint32_t>(pEventType);
}

std::vector<QString> SubclassEngine::registryKeys() const
{
    std::vector<QString> keys;
    for (const Entry &entry : m_registry)
        keys.push_back(entry.key);
    return keys;
}

bool SubclassEngine::ssc_Subclass(quintptr lhWnd, qintptr lParamUser, SubclassCallback *pOwner,
                                  bool bUnicode)
{
    constexpr char routine[] = "ssc_Subclass";
    QWidget *widget = WindowHandles::find(lhWnd);
    if (widget == nullptr) {
        // A window that the display knows but that is none of this process's widgets belongs
        // to another program.
        zReport(routine,
                platform::isWindowOnDisplay(lhWnd)
                    ? QStringLiteral("Window handle belongs to another process")
                    : QStringLiteral("Invalid window handle"));
        return false;
    }
    SubclassCallback *callback = pOwner != nullptr ? pOwner : ownCallback();
    if (callback == nullptr) {
        zReport(routine, QStringLiteral("Callback method not found"));
        return false;
    }
    auto *stub = new (std::nothrow) SubclassStub(widget, lhWnd, callback, lParamUser, bUnicode);
    if (stub == nullptr) {
        zReport(routine, QStringLiteral("VirtualAlloc failed, error: ") + QString::number(ENOMEM));
        return false;
    }
    m_registryCreated = true;
    const QString key = keyOf(lhWnd);
    for (const Entry &entry : m_registry) {
        if (entry.key == key) {
            zReport(routine, QStringLiteral("Window handle is already subclassed"));
            delete stub;
            return false;
        }
    }
    m_registry.push_back({key, stub});
    stub->install();
    return true;
}

SubclassStub *SubclassEngine::zMap_VFunction(quintptr lhWnd)
{
    if (!m_registryCreated) {
        zReport("zMap_VFunction", QStringLiteral("Thunk hasn't been initialized"));
        return nullptr;
    }
    const QString key = keyOf(lhWnd);
    for (const Entry &entry : m_registry) {
        if (entry.key == key)
            return entry.stub && !entry.stub->released() ? entry.stub.data() : nullptr;
    }
    return nullptr;
}

void SubclassEngine::zAddMsg(uint32_t uMsg, SubclassStub &pStub, bool pBefore)
{
    MessageTable &table = pBefore ? pStub.before : pStub.after;
    if (uMsg == ALL_MESSAGES) {
        table.count = -1;
        return;
    }
    // A table that matched everything becomes one of exactly this message. A slot freed by a
    // removal is taken before the table counts as full, so that a full table can take a
    // message again after one was removed.
    const int32_t count = std::clamp(table.count, 0, static_cast<int32_t>(MSG_ENTRIES));
    for (int32_t i = 0; i < count; ++i) {
        uint32_t &entry = table.entries[static_cast<size_t>(i)];
        if (entry == 0) {
            entry = uMsg;
            return;
        }
        if (entry == uMsg)
            return;
    }
    if (count >= MSG_ENTRIES) {
        zReport("zAddMsg",
                QStringLiteral("Message table overflow. Either increase the value of Const "
                               "MSG_ENTRIES or use ALL_MESSAGES instead of specific message "
                               "values"));
        return;
    }
    table.entries[static_cast<size_t>(count)] = uMsg;
    table.count = count + 1;
}

void SubclassEngine::zDelMsg(uint32_t uMsg, SubclassStub &pStub, bool pBefore)
{
    MessageTable &table = pBefore ? pStub.before : pStub.after;
    if (uMsg == ALL_MESSAGES) {
        table.count = 0;
        return;
    }
    for (int32_t i = 0; i < table.count && i < MSG_ENTRIES; ++i) {
        uint32_t &entry = table.entries[static_cast<size_t>(i)];
        if (entry == uMsg) {
            entry = 0;
            return;
        }
    }
    zReport("zDelMsg",
            QStringLiteral("Message &H") + QString::number(uMsg, 16).toUpper()
                + QStringLiteral(" not found in table"));
}

void SubclassEngine::ssc_AddMessage(quintptr lhWnd, uint32_t uMsg, int pWhen)
{
    SubclassStub *stub = zMap_VFunction(lhWnd);
    if (stub == nullptr)
        return;
    if ((pWhen & MSG_BEFORE) != 0)
        zAddMsg(uMsg, *stub, true);
    if ((pWhen & MSG_AFTER) != 0)
        zAddMsg(uMsg, *stub, false);
}

void SubclassEngine::ssc_RemoveMessage(quintptr lhWnd, uint32_t uMsg, int pWhen)
{
    SubclassStub *stub = zMap_VFunction(lhWnd);
    if (stub == nullptr)
        return;
    if ((pWhen & MSG_BEFORE) != 0)
        zDelMsg(uMsg, *stub, true);
    if ((pWhen & MSG_AFTER) != 0)
        zDelMsg(uMsg, *stub, false);
}

qintptr SubclassEngine::ssc_CallPrevious(quintptr lhWnd, uint32_t uMsg, quintptr wParam,
                                         quintptr lParam)
{
    SubclassStub *stub = zMap_VFunction(lhWnd);
    if (stub == nullptr || stub->widget() == nullptr)
        return 0;
    if (uMsg >= WM_APP && wParam != 0)
        return SubclassStub::callPrevious(stub->widget(), reinterpret_cast<QEvent *>(wParam));
    EngineMessage message(uMsg, wParam, lParam);
    return SubclassStub::callPrevious(stub->widget(), &message);
}

qintptr SubclassEngine::ssc_UserValue(quintptr lhWnd)
{
    SubclassStub *stub = zMap_VFunction(lhWnd);
    return stub != nullptr ? stub->userValue : 0;
}

void SubclassEngine::ssc_UserValue(quintptr lhWnd, qintptr pValue)
{
    if (SubclassStub *stub = zMap_VFunction(lhWnd))
        stub->userValue = pValue;
}

void SubclassEngine::ssc_Release(quintptr lhWnd)
{
    SubclassStub *stub = zMap_VFunction(lhWnd);
    if (stub == nullptr && !m_registryCreated)
        return;
    if (stub != nullptr) {
        stub->removal = true;
        stub->before = {};
        stub->after = {};
        // The stub gives the window back at the outermost invocation of this message, or of
        // a later one when this comes from inside one of the window's own messages.
        if (QWidget *widget = stub->widget()) {
            EngineMessage null(WM_NULL, 0, 0);
            QCoreApplication::sendEvent(widget, &null);
        }
    }
    const QString key = keyOf(lhWnd);
    for (auto entry = m_registry.begin(); entry != m_registry.end(); ++entry) {
        if (entry->key == key) {
            m_registry.erase(entry);
            break;
        }
    }
}

void SubclassEngine::ssc_ReleaseAll()
{
    if (!m_registryCreated)
        return;
    while (!m_registry.empty()) {
        const Entry entry = m_registry.back();
        if (entry.stub && !entry.stub->released())
            ssc_Release(entry.stub->window());
        if (!m_registry.empty() && m_registry.back().key == entry.key)
            m_registry.pop_back();
    }
    m_registryCreated = false;
}

qintptr SubclassEngine::sendMessage(quintptr lhWnd, uint32_t uMsg, quintptr wParam, quintptr lParam)
{
    QWidget *widget = WindowHandles::find(lhWnd);
    if (widget == nullptr)
        return 0;
    EngineMessage message(uMsg, wParam, lParam);
    QCoreApplication::sendEvent(widget, &message);
    return message.result;
}

bool SubclassEngine::postMessage(quintptr lhWnd, uint32_t uMsg, quintptr wParam, quintptr lParam,
                                 std::shared_ptr<void> pPayload)
{
    QWidget *widget = WindowHandles::find(lhWnd);
    if (widget == nullptr)
        return false;
    // Qt owns a posted event and deletes it once delivered, or with its receiver.
    QCoreApplication::postEvent(widget,
                                new EngineMessage(uMsg, wParam, lParam, std::move(pPayload)));
    return true;
}

} // namespace pindrel
