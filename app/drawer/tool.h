#pragma once

// One tool of a toolbar band: an identifier ("ID_Back" ...), a caption, a tip, and for a
// two-state tool a State that the toolbar toggles on a click before it reports the click.

#include <QAction>

namespace pindrel {

class Tool : public QAction
{
    Q_OBJECT

public:
    enum class Kind { Button, StateButton };

    Tool(QString pId, const QString &pCaption, QString pTip, Kind pKind, QObject *pParent);

    QString ID() const { return m_id; }
    QString Caption() const { return text(); }
    // The tip as given; empty when the tool has none (the button then shows its caption).
    QString Tip() const { return m_tip; }
    Kind kind() const { return m_kind; }

    // 1 while a two-state tool is pressed, otherwise 0 (always 0 for a plain button). Setting
    // 1 presses a two-state tool, anything else releases it; neither reports a click.
    int State() const;
    void setState(int pState);

    // Written through QAction::setEnabled; a disabled tool reports no clicks.
    bool Enabled() const { return isEnabled(); }

private:
    QString m_id;
    QString m_tip;
    Kind m_kind;
};

} // namespace pindrel
