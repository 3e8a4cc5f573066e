#include "vexlo/pathcompleter.h"

#include "completionlister.h"
#include "completionmodel.h"

#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QCompleter>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListView>

#include <algorithm>

namespace vexlo {

PathCompleter::PathCompleter(QComboBox *pCombo, QLineEdit *pEditBox, const QString &pRecentFile,
                             bool pIncludeRecent)
    : QObject(pCombo)
    , m_combo(pCombo)
    , m_editBox(pEditBox)
    , m_includeRecent(pIncludeRecent)
    , m_model(new CompletionModel(this))
    , m_completer(new QCompleter(this))
    , m_lister(new CompletionLister(pRecentFile, this))
{
    // The model is filtered here, so the completer shows what it is given. Its widget is the
    // combo box, which receives the keys the pop-up does not take (Enter among them).
    m_completer->setModel(m_model);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCompletionRole(Qt::EditRole);
    m_completer->setMaxVisibleItems(12);
    m_completer->setWidget(pCombo);
    if (auto *view = qobject_cast<QListView *>(m_completer->popup())) {
        // A folder of 100,000 entries must not have each row measured.
        view->setUniformItemSizes(true);
        view->setIconSize(QSize(16, 16)); // the list window's own size
        view->setTextElideMode(Qt::ElideMiddle);
    }

    connect(pEditBox, &QLineEdit::textEdited, this, &PathCompleter::onTextEdited);
    connect(m_lister, &CompletionLister::listed, this, &PathCompleter::onListed);
    const auto take = [this](const QString &pText) {
        if (!m_editBox)
            return;
        m_editBox->setText(pText);
        m_typed = pText;
    };
    connect(m_completer, qOverload<const QString &>(&QCompleter::highlighted), this, take);
    connect(m_completer, qOverload<const QString &>(&QCompleter::activated), this, take);
}

PathCompleter::~PathCompleter() = default;

bool PathCompleter::popupVisible() const
{
    return m_completer->popup() && m_completer->popup()->isVisible();
}

void PathCompleter::hidePopup()
{
    if (m_completer->popup())
        m_completer->popup()->hide();
}

QStringList PathCompleter::suggestions() const
{
    QStringList result;
    for (int row = 0; row < m_model->rowCount(); ++row)
        result << m_model->completionAt(row);
    return result;
}

void PathCompleter::onTextEdited(const QString &pText)
{
    // Forward typing at the end appends; deleting (the appended part, or more) does not, or
    // the user could never remove what was appended.
    const bool forward =
        pText.size() > m_typed.size() && m_editBox && m_editBox->cursorPosition() == pText.size();
    m_typed = pText;
    const QString folder = CompletionModel::folderOf(pText);
    if (folder.isEmpty()) {
        m_requested.clear();
        m_model->filter(QString());
        hidePopup();
        emit suggested();
        return;
    }
    const std::shared_ptr<const CompletionListing> &listing = m_model->listing();
    if (listing && listing->folder == folder) {
        suggest(forward);
        return;
    }
    // A folder not read yet: the old suggestions would mislead until it is.
    hidePopup();
    m_appendWhenListed = forward;
    if (m_requested != folder) {
        m_requested = folder;
        m_lister->request(folder, m_includeRecent);
    }
}

void PathCompleter::onListed(const std::shared_ptr<const CompletionListing> &pListing)
{
    if (pListing->folder != m_requested)
        return; // typed on past it
    m_requested.clear();
    m_model->setListing(pListing);
    // Only while the edit box still holds what was typed: a text that changed meanwhile was
    // the user's (or a selection's) and is not to be completed.
    if (m_editBox && m_editBox->text() == m_typed
        && CompletionModel::folderOf(m_typed) == pListing->folder)
        suggest(m_appendWhenListed);
}

void PathCompleter::suggest(bool pAppend)
{
    m_model->filter(m_typed);
    if (m_model->rowCount() == 0 || !m_combo || !m_editBox || !m_combo->isVisible()) {
        hidePopup();
        emit suggested();
        return;
    }
    m_completer->setCompletionPrefix(QString());
    m_completer->complete();
    // A bare folder ("/home/") is not completed inline: every new folder would otherwise open
    // with its first entry appended.
    if (pAppend && !m_typed.endsWith(u'/')) {
        // The exact-case match is among the first few of the case-blind ones, if anywhere the
        // user would look; a long run of other-case names is not searched to its end.
        const int rows = std::min(m_model->rowCount(), 256);
        for (int row = 0; row < rows; ++row) {
            const QString candidate = m_model->completionAt(row);
            if (candidate.size() > m_typed.size() && candidate.startsWith(m_typed)) {
                m_editBox->setText(candidate);
                m_editBox->setSelection(static_cast<int>(m_typed.size()),
                                        static_cast<int>(candidate.size() - m_typed.size()));
                break;
            }
        }
    }
    emit suggested();
}

} // namespace vexlo
