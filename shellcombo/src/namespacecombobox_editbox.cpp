// The list window's edit box and tooltip: the keys it handles itself, the first click's
// selection of the whole text, completion, and the tip of the selection.

#include "vexlo/namespacecombobox.h"

#include "combotooltip.h"
#include "entrymodel.h"
#include "infotip.h"
#include "vexlo/pathcompleter.h"
#include "vexlo/vexloenums.h"

#include "platform/filenamecodec.h"
#include "platform/shellnamespace.h"

#include <QtCore/QPointer>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QLineEdit>

namespace vexlo {

namespace pf = pindrel::platform;

// --- keys ------------------------------------------------------------------------------------

bool CNamespaceComboBox::isOwnKey(int pKey)
{
    switch (pKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

bool CNamespaceComboBox::event(QEvent *pEvent)
{
    // Asked before a shortcut may take a key: a dialog's default button, a menu's Home, a
    // window's Esc never see the keys the edit box needs.
    if (pEvent->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(pEvent);
        if (isOwnKey(key->key()) && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            pEvent->accept();
            return true;
        }
    }
    return QComboBox::event(pEvent);
}

void CNamespaceComboBox::applyTypedPath()
{
    QLineEdit *edit = lineEdit();
    if (!edit)
        return;
    if (m_completer)
        m_completer->hidePopup();
    const QPointer<CNamespaceComboBox> self(this);
    // A text that does not parse (or names what cannot be selected) leaves the selection and
    // what was typed, so that the user can mend it.
    if (!SetPath(edit->text()) || !self)
        return;
    // Selecting the folder already selected changes nothing, so the entry's text comes back
    // here.
    edit->setText(currentText());
}

void CNamespaceComboBox::undoChoice()
{
    if (m_completer && m_completer->popupVisible()) {
        m_completer->hidePopup(); // Esc first closes the suggestions
        return;
    }
    const int logical = logicalSelection();
    if (!hasEntry(logical))
        return;
    // Only in the combo box: the logical selection is what the control last selected, so
    // nothing is selected anew and no event fires.
    setCurrentIndex(logical);
    if (lineEdit())
        lineEdit()->setText(currentText());
}

void CNamespaceComboBox::keyPressEvent(QKeyEvent *pEvent)
{
    if (!isOwnKey(pEvent->key()) || (pEvent->modifiers() & ~Qt::KeypadModifier) != 0) {
        QComboBox::keyPressEvent(pEvent);
        return;
    }
    switch (pEvent->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (lineEdit()) {
            // The combo box's own handling would pick an entry by its text.
            applyTypedPath();
            pEvent->accept();
            return;
        }
        break;
    case Qt::Key_Escape:
        undoChoice();
        break;
    default:
        break;
    }
    const QPointer<CNamespaceComboBox> self(this);
    QComboBox::keyPressEvent(pEvent);
    if (self)
        pEvent->accept();
}

void CNamespaceComboBox::keyReleaseEvent(QKeyEvent *pEvent)
{
    // The press did the work; the release of the same key is handled too, so that it does not
    // reach the container either.
    QComboBox::keyReleaseEvent(pEvent);
    if (isOwnKey(pEvent->key()))
        pEvent->accept();
}

void CNamespaceComboBox::focusInEvent(QFocusEvent *pEvent)
{
    // Coming back from a pop-up (the list, the suggestions) is not gaining focus.
    if (pEvent->reason() != Qt::PopupFocusReason)
        m_selectAllOnRelease = lineEdit() != nullptr;
    QComboBox::focusInEvent(pEvent);
}

bool CNamespaceComboBox::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    if (pWatched == lineEdit() && pEvent->type() == QEvent::MouseButtonRelease
        && m_selectAllOnRelease && static_cast<QMouseEvent *>(pEvent)->button() == Qt::LeftButton) {
        m_selectAllOnRelease = false;
        // After the edit box's own handling of the release, which may deselect.
        QMetaObject::invokeMethod(lineEdit(), &QLineEdit::selectAll, Qt::QueuedConnection);
    }
    return QComboBox::eventFilter(pWatched, pEvent);
}

// --- completion ------------------------------------------------------------------------------

void CNamespaceComboBox::enableCompletion(const QString &pRecentFile, bool pIncludeRecent)
{
    if (!lineEdit() || m_completer)
        return;
    m_completer = new PathCompleter(this, lineEdit(), pRecentFile, pIncludeRecent);
}

// --- tooltip ---------------------------------------------------------------------------------

void CNamespaceComboBox::createTooltip(std::function<int32_t()> pTooltipType)
{
    if (m_tooltip)
        return;
    m_tooltipType = std::move(pTooltipType);
    m_tooltip = new ComboTooltip(this, lineEdit(), [this] { return tooltipText(); });
}

QString CNamespaceComboBox::tooltipText() const
{
    if (!m_tooltip || !m_tooltipType)
        return {};
    return tipOf(currentIndex(), m_tooltipType());
}

QString CNamespaceComboBox::tipOf(int pIndex, int32_t pTooltipType) const
{
    if (!hasEntry(pIndex))
        return {};
    const ComboEntry &entry = m_model->at(pIndex);
    if (entry.record.isDesktop())
        return QStringLiteral("Desktop");
    if (entry.record.isCustom())
        return entry.text;
    const ItemIdList *list = entry.record.idList();
    const bool fileSystem =
        (m_shell->attributesOf(list, pf::SFGAO_FILESYSTEM) & pf::SFGAO_FILESYSTEM) != 0;
    const QString path = fileSystem ? m_shell->pathFromIdList(list) : QString();

    QString info;
    if (pTooltipType == VXOShellInfotip || pTooltipType == VXOBoth) {
        info = infotip::forPath(path);
        if (pTooltipType == VXOBoth && !info.isEmpty())
            info.prepend(u'\n');
    }
    if (pTooltipType == VXOPath || pTooltipType == VXOBoth)
        return (fileSystem ? pf::displayFileName(path) : entry.text) + info;
    return info;
}

} // namespace vexlo
