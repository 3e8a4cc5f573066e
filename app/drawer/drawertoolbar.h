#pragma once

// The drawer window's toolbar (the control iTool): one band, "Options", holding the window's ten
// tools in this order, "|" standing for a separator:
//   ID_Back, ID_Up, ID_Filter | ID_Home, ID_NewHome | ID_Add | ID_Explorer, ID_View, ID_Top |
//   ID_Close
// ID_Filter and ID_Top are two-state tools. A click on an enabled tool raises toolClick with the
// tool, after a two-state tool's State has already been toggled. Bands are found by name
// without regard to case ("Options", "options"); tools by their exact identifier.

#include "drawer/tool.h"

#include <QList>
#include <QWidget>

namespace pindrel {

class ToolBand;

class DrawerToolbar : public QWidget
{
    Q_OBJECT

public:
    explicit DrawerToolbar(QWidget *pParent = nullptr);

    // The band named pName in any letter case, or nullptr.
    ToolBand *Bands(const QString &pName) const;
    const QList<ToolBand *> &bands() const { return m_bands; }
    // Shorthand for Bands(pBand)->Tools(pId); nullptr when either is missing.
    Tool *tool(const QString &pBand, const QString &pId) const;

    // Redraws every band and tool (after the program changed states or enabling).
    void Refresh();

signals:
    void toolClick(pindrel::Tool *pTool);

private:
    QList<ToolBand *> m_bands;
};

} // namespace pindrel
