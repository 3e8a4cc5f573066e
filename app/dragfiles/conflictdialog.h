#pragma once

// The question a copy asks when an item of the same name is already in the destination:
// Replace, Skip, Keep both (under the free name it shows) or Cancel, with "Apply to all" for
// the later conflicts of the same copy. Not modal: the bar and the drawers go on working while
// it waits; closing it is Cancel.

#include "platform/copyjob.h"

#include <QDialog>

class QCheckBox;

namespace pindrel {

class ConflictDialog : public QDialog
{
    Q_OBJECT

public:
    ConflictDialog(const platform::TransferConflict &pConflict, platform::TransferMode pMode,
                   QWidget *pParent = nullptr);
    ~ConflictDialog() override;

    // The buttons, for the tests: "replace", "skip", "keepBoth", "cancel".
    QPushButton *button(const QString &pName) const;
    QCheckBox *applyToAll() const { return m_applyToAll; }

    // Escape and the close box are Cancel.
    void reject() override;

signals:
    void answered(pindrel::platform::ConflictChoice pChoice, bool pApplyToAll);

protected:
    void closeEvent(QCloseEvent *pEvent) override;

private:
    void answer(platform::ConflictChoice pChoice);

    QCheckBox *m_applyToAll = nullptr;
    bool m_answered = false;
};

} // namespace pindrel
