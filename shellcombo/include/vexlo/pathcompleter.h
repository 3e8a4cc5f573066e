#pragma once

// Completion in the list window's edit box, as in a file dialog's location field: typing an
// absolute path lists the typed folder off the user-interface thread and suggests its entries
// (and, when asked, the recently used locations) in a pop-up list below the combo box; while
// the user types forward, the first suggestion that starts with exactly what was typed is
// appended inline, selected, so that the next key replaces it. Moving through the suggestions
// puts each in the edit box; clicking one takes it. Enter is left to the list window, which
// applies the edit box's text.

#include "vexlo/vexloexport.h"

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QStringList>

#include <memory>

class QComboBox;
class QCompleter;
class QLineEdit;

namespace vexlo {

class CompletionLister;
class CompletionModel;
struct CompletionListing;

class VEXLO_EXPORT PathCompleter : public QObject
{
    Q_OBJECT

public:
    // pRecentFile: the recently-used list, read when pIncludeRecent.
    PathCompleter(QComboBox *pCombo, QLineEdit *pEditBox, const QString &pRecentFile,
                  bool pIncludeRecent);
    ~PathCompleter() override;

    bool popupVisible() const;
    void hidePopup();
    // The suggestions now offered, as the edit box would take them.
    QStringList suggestions() const;

signals:
    // The suggestions for the text now typed are shown (none may match).
    void suggested();

private:
    void onTextEdited(const QString &pText);
    void onListed(const std::shared_ptr<const CompletionListing> &pListing);
    void suggest(bool pAppend);

    QPointer<QComboBox> m_combo;
    QPointer<QLineEdit> m_editBox;
    bool m_includeRecent;
    CompletionModel *m_model; // owned as a child
    QCompleter *m_completer; // owned as a child
    CompletionLister *m_lister; // owned as a child
    QString m_typed; // what the user typed, without the appended suggestion
    QString m_requested; // the folder asked for and not answered yet
    bool m_appendWhenListed = false;
};

} // namespace vexlo
