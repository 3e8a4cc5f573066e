#include "widgetboxprobe.h"

#include "vexlo/vexloctrl.h"

#include <QtCore/QFile>
#include <QtCore/QTimer>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QDesignerWidgetBoxInterface>
#include <QtDesigner/QDesignerWidgetDataBaseInterface>
#include <QtDesigner/QExtensionManager>
#include <QtGui/QAction>
#include <QtWidgets/QApplication>
#include <QtWidgets/QTabWidget>

namespace {

constexpr char kClassName[] = "vexlo::CVexloCtrl";

vexlo::CVexloCtrl *controlOnForm(QDesignerFormEditorInterface *pCore)
{
    QDesignerFormWindowManagerInterface *forms = pCore->formWindowManager();
    if (!forms || forms->formWindowCount() == 0 || !forms->formWindow(0)->mainContainer())
        return nullptr;
    return forms->formWindow(0)->mainContainer()->findChild<vexlo::CVexloCtrl *>();
}

} // namespace

QWidget *WidgetBoxProbe::createWidget(QWidget *pParent)
{
    return new QWidget(pParent);
}

void WidgetBoxProbe::initialize(QDesignerFormEditorInterface *pCore)
{
    if (m_core)
        return;
    m_core = pCore;
    if (qEnvironmentVariableIsEmpty("VEXLO_DESIGNER_PROBE"))
        return;
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &WidgetBoxProbe::poll);
    m_timer->start(200);
}

bool WidgetBoxProbe::ready() const
{
    QDesignerWidgetBoxInterface *box = m_core->widgetBox();
    if (!box || !controlOnForm(m_core))
        return false;
    for (int category = 0; category < box->categoryCount(); ++category) {
        const QDesignerWidgetBoxInterface::Category entries = box->category(category);
        for (int widget = 0; widget < entries.widgetCount(); ++widget) {
            if (entries.widget(widget).name() == QLatin1String(kClassName))
                return true;
        }
    }
    return false;
}

void WidgetBoxProbe::poll()
{
    // Twenty seconds at most: what Designer has by then is written either way.
    if (!ready() && ++m_polls < 100)
        return;
    m_timer->stop();
    describe();
    openPages();
}

void WidgetBoxProbe::describe()
{
    if (QDesignerWidgetBoxInterface *box = m_core->widgetBox()) {
        for (int category = 0; category < box->categoryCount(); ++category) {
            const QDesignerWidgetBoxInterface::Category entries = box->category(category);
            for (int widget = 0; widget < entries.widgetCount(); ++widget) {
                const QDesignerWidgetBoxInterface::Widget entry = entries.widget(widget);
                if (entry.name() == QLatin1String(kClassName))
                    m_lines
                        << QStringLiteral("widgetbox\t%1\t%2").arg(entries.name(), entry.name());
            }
        }
    }
    QDesignerWidgetDataBaseInterface *database = m_core->widgetDataBase();
    const int index = database->indexOfClassName(QString::fromLatin1(kClassName));
    if (index >= 0) {
        QDesignerWidgetDataBaseItemInterface *item = database->item(index);
        m_lines << QStringLiteral("group\t") + item->group()
                << QStringLiteral("tooltip\t") + item->toolTip()
                << QStringLiteral("include\t") + item->includeFile()
                << QStringLiteral("icon\t")
                + (item->icon().isNull() ? QStringLiteral("none") : QStringLiteral("drawn"))
                << QStringLiteral("custom\t")
                + (item->isCustom() ? QStringLiteral("yes") : QStringLiteral("no"));
    }
    if (vexlo::CVexloCtrl *control = controlOnForm(m_core)) {
        m_lines << QStringLiteral("control\t%1\t%2")
                       .arg(control->objectName(),
                            control->ambientUserMode() ? QStringLiteral("run time")
                                                       : QStringLiteral("design time"))
                << QStringLiteral("DropDownLines\t%1").arg(control->DropDownLines())
                << QStringLiteral("entries\t%1").arg(control->ItemsCount());
        auto *menu =
            qt_extension<QDesignerTaskMenuExtension *>(m_core->extensionManager(), control);
        if (menu) {
            for (QAction *action : menu->taskActions())
                m_lines << QStringLiteral("taskmenu\t") + action->text();
        }
    }
}

void WidgetBoxProbe::openPages()
{
    vexlo::CVexloCtrl *control = controlOnForm(m_core);
    auto *menu = control
        ? qt_extension<QDesignerTaskMenuExtension *>(m_core->extensionManager(), control)
        : nullptr;
    if (!menu || !menu->preferredEditAction()) {
        finish();
        return;
    }
    // The pages are a modal dialog: looked at once it is up, then closed, which ends the
    // action's own event loop.
    QTimer::singleShot(1500, this, [this] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (dialog) {
            m_lines << QStringLiteral("pages\t") + dialog->windowTitle();
            if (auto *tabs = dialog->findChild<QTabWidget *>()) {
                for (int tab = 0; tab < tabs->count(); ++tab)
                    m_lines << QStringLiteral("page\t") + tabs->tabText(tab);
            }
            const QString shot = qEnvironmentVariable("VEXLO_DESIGNER_PROBE_SHOT");
            if (!shot.isEmpty())
                dialog->grab().save(shot);
            dialog->close();
        }
    });
    menu->preferredEditAction()->trigger();
    finish();
}

void WidgetBoxProbe::finish()
{
    QFile out(qEnvironmentVariable("VEXLO_DESIGNER_PROBE"));
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(m_lines.join(u'\n').toUtf8() + '\n');
    out.close();
    if (QDesignerFormWindowManagerInterface *forms = m_core->formWindowManager()) {
        for (int form = 0; form < forms->formWindowCount(); ++form)
            forms->formWindow(form)->setDirty(false);
    }
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}
