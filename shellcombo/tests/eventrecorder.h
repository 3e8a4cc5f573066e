#pragma once

// Records the events of a list window or a control as short texts, in the order they fire:
//   "add <index> <text> <indent>"   OnAfterItemAdd, read from the item object at that moment
//   "delete <index> <text>"         OnBeforeItemDelete
//   "changed"  SelectionChanged     "chosen"  ItemSelected
//   "dropdown" ListDropDown         "closed"  ListClosed

#include "qtprinters.h"
#include "vexlo/comboboxitem.h"

#include <QtCore/QObject>
#include <QtCore/QStringList>

class EventRecorder : public QObject
{
    Q_OBJECT

public:
    // Any object with the events' signals: CNamespaceComboBox or CVexloCtrl.
    template<typename Source>
    void listen(Source *pSource)
    {
        connect(pSource, &Source::OnAfterItemAdd, this, &EventRecorder::added);
        connect(pSource, &Source::OnBeforeItemDelete, this, &EventRecorder::deleted);
        connect(pSource, &Source::SelectionChanged, this,
                [this] { m_events.append(QStringLiteral("changed")); });
        connect(pSource, &Source::ItemSelected, this,
                [this] { m_events.append(QStringLiteral("chosen")); });
        connect(pSource, &Source::ListDropDown, this,
                [this] { m_events.append(QStringLiteral("dropdown")); });
        connect(pSource, &Source::ListClosed, this,
                [this] { m_events.append(QStringLiteral("closed")); });
    }

    const QStringList &events() const { return m_events; }
    void clear() { m_events.clear(); }
    int count(const QString &pPrefix) const;

    static QString add(int pIndex, const QString &pText, int pIndent);
    static QString remove(int pIndex, const QString &pText);

private:
    void added(const vexlo::CComboBoxItem &pItem);
    void deleted(const vexlo::CComboBoxItem &pItem);

    QStringList m_events;
};
