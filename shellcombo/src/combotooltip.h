#pragma once

// The list window's tooltip: one tip shown for two tools, the inner combo box and its edit box
// (when there is one), wrapped so that no line is wider than 512 pixels. The text is asked of
// the list window when the tip is about to show, so a selection costs nothing until someone
// hovers.

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtWidgets/QWidget>

#include <functional>

namespace vexlo {

class ComboTooltip : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxTipWidth = 512; // pixels

    // pText gives the tip text of the selection; "" shows no tip.
    ComboTooltip(QWidget *pCombo, QWidget *pEditBox, std::function<QString()> pText);

    QString text() const { return m_text ? m_text() : QString(); }
    // pText broken into lines that fit in pWidth pixels of pFont, at spaces where it can and
    // anywhere else where it must; the text's own line breaks stay.
    static QString wrapped(const QString &pText, const QFont &pFont, int pWidth);

protected:
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    QPointer<QWidget> m_combo;
    QPointer<QWidget> m_editBox;
    std::function<QString()> m_text;
};

} // namespace vexlo
