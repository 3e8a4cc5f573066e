#include "toolband.h"

namespace pindrel {

ToolBand::ToolBand(const QString &pName, QWidget *pParent)
    : QToolBar(pName, pParent)
{
    setObjectName(pName);
    setMovable(false);
    setFloatable(false);
}

bool ToolBand::hasName(const QString &pName) const
{
    return objectName().compare(pName, Qt::CaseInsensitive) == 0;
}

Tool *ToolBand::addTool(const QString &pId, const QString &pCaption, const QString &pTip,
                        Tool::Kind pKind, bool pBeginsGroup, const QIcon &pIcon)
{
    if (pBeginsGroup && !m_tools.isEmpty())
        addSeparator();
    auto *tool = new Tool(pId, pCaption, pTip, pKind, this);
    tool->setIcon(pIcon);
    addAction(tool);
    m_tools.append(tool);
    return tool;
}

Tool *ToolBand::Tools(const QString &pId) const
{
    for (Tool *tool : m_tools) {
        if (tool->ID() == pId)
            return tool;
    }
    return nullptr;
}

} // namespace pindrel
