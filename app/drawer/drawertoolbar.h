#pragma once

// The drawer window's toolbar (the control iTool): one band, "Options", holding the window's ten
// tools in this order, "|" standing for a separator:
//   ID_Back, ID_Up, ID_Filter | ID_Home, ID_NewHome | ID_Add | ID_Explorer, ID_View, ID_Top |
//   ID_Close
// ID_Filter and ID_Top are two-state tools. A click on an enabled tool raises toolClick with the
// tool, after a two-state tool's State has already been toggled. Bands are found by name
// without regard to case ("Options", "options"); tools by their exact identifier.

#include "drawer/tool.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QPalette>
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

    // Draws the tools' pictures as one-colour shapes (the theme's symbolic icons where it has
    // them) in pPalette's button-text colours, the disabled one for disabled tools; until
    // then they are the theme's own icons.
    void setGlyphColors(const QPalette &pPalette);

signals:
    void toolClick(pindrel::Tool *pTool);

private:
    QList<ToolBand *> m_bands;
    QHash<Tool *, QIcon> m_shapes; // the tools own nothing here; the band owns the tools
};

} // namespace pindrel
