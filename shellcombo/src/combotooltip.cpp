#include "combotooltip.h"

#include <QtGui/QHelpEvent>
#include <QtGui/QTextLayout>
#include <QtWidgets/QToolTip>

namespace vexlo {

ComboTooltip::ComboTooltip(QWidget *pCombo, QWidget *pEditBox, std::function<QString()> pText)
    : QObject(pCombo)
    , m_combo(pCombo)
    , m_editBox(pEditBox)
    , m_text(std::move(pText))
{
    pCombo->installEventFilter(this);
    if (pEditBox)
        pEditBox->installEventFilter(this);
}

QString ComboTooltip::wrapped(const QString &pText, const QFont &pFont, int pWidth)
{
    QStringList lines;
    for (const QString &paragraph : pText.split(u'\n')) {
        QTextLayout layout(paragraph, pFont);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(pWidth);
            lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
        if (paragraph.isEmpty())
            lines << QString();
    }
    return lines.join(u'\n');
}

bool ComboTooltip::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    if (pEvent->type() != QEvent::ToolTip || (pWatched != m_combo && pWatched != m_editBox))
        return QObject::eventFilter(pWatched, pEvent);
    auto *help = static_cast<QHelpEvent *>(pEvent);
    auto *widget = static_cast<QWidget *>(pWatched);
    const QString tip = text();
    if (tip.isEmpty()) {
        QToolTip::hideText();
        pEvent->ignore();
        return true;
    }
    // Plain text tips are shown as given, so the lines are broken here, with the tip's font.
    QToolTip::showText(help->globalPos(), wrapped(tip, QToolTip::font(), kMaxTipWidth), widget,
                       widget->rect());
    return true;
}

} // namespace vexlo
