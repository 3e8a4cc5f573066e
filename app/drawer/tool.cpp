#include "tool.h"

#include <utility>

namespace pindrel {

Tool::Tool(QString pId, const QString &pCaption, QString pTip, Kind pKind, QObject *pParent)
    : QAction(pCaption, pParent)
    , m_id(std::move(pId))
    , m_tip(std::move(pTip))
    , m_kind(pKind)
{
    setObjectName(m_id);
    // A two-state tool is a checkable action: Qt flips the check before it emits triggered,
    // which is exactly the order the drawer window relies on.
    setCheckable(m_kind == Kind::StateButton);
    if (!m_tip.isEmpty())
        setToolTip(m_tip);
}

int Tool::State() const
{
    return isCheckable() && isChecked() ? 1 : 0;
}

void Tool::setState(int pState)
{
    if (isCheckable())
        setChecked(pState == 1);
}

} // namespace pindrel
