#include "eventrecorder.h"

int EventRecorder::count(const QString &pPrefix) const
{
    int found = 0;
    for (const QString &event : m_events)
        found += event.startsWith(pPrefix) ? 1 : 0;
    return found;
}

QString EventRecorder::add(int pIndex, const QString &pText, int pIndent)
{
    return QStringLiteral("add %1 %2 %3").arg(pIndex).arg(pText).arg(pIndent);
}

QString EventRecorder::remove(int pIndex, const QString &pText)
{
    return QStringLiteral("delete %1 %2").arg(pIndex).arg(pText);
}

void EventRecorder::added(const vexlo::CComboBoxItem &pItem)
{
    m_events.append(add(pItem.ItemIndex(), pItem.Text(), pItem.ItemIndent()));
}

void EventRecorder::deleted(const vexlo::CComboBoxItem &pItem)
{
    m_events.append(remove(pItem.ItemIndex(), pItem.Text()));
}
