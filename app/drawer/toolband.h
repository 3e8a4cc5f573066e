#pragma once

// A band of the drawer toolbar: a named row of tools with separators between groups. The name
// is compared without regard to case; tool identifiers exactly.

#include "drawer/tool.h"

#include <QIcon>
#include <QList>
#include <QToolBar>

namespace pindrel {

class ToolBand : public QToolBar
{
    Q_OBJECT

public:
    explicit ToolBand(const QString &pName, QWidget *pParent = nullptr);

    QString Name() const { return objectName(); }
    bool hasName(const QString &pName) const;

    // Appends a new tool, after a separator when pBeginsGroup and the band already holds tools.
    // The band owns the tool.
    Tool *addTool(const QString &pId, const QString &pCaption, const QString &pTip,
                  Tool::Kind pKind, bool pBeginsGroup, const QIcon &pIcon = {});
    // The tool with identifier pId, or nullptr.
    Tool *Tools(const QString &pId) const;
    const QList<Tool *> &tools() const { return m_tools; }

private:
    QList<Tool *> m_tools;
};

} // namespace pindrel
