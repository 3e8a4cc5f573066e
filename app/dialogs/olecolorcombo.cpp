#include "dialogs/olecolorcombo.h"

#include "startup/olecolor.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

#include <array>

namespace pindrel {

namespace {

constexpr uint32_t kSystemColor = 0x80000000U;
constexpr int kNoColorOfItsOwn = 0x19;

constexpr std::array<const char *, 0x1F> kSystemColorNames = {
    "Scroll Bars",
    "Desktop",
    "Active Title Bar",
    "Inactive Title Bar",
    "Menu Bar",
    "Window Background",
    "Window Frame",
    "Menu Text",
    "Window Text",
    "Active Title Bar Text",
    "Active Border",
    "Inactive Border",
    "Application Workspace",
    "Highlight",
    "Highlight Text",
    "Button Face",
    "Button Shadow",
    "Disabled Text",
    "Button Text",
    "Inactive Title Bar Text",
    "Button Highlight",
    "Button Dark Shadow",
    "Button Light Shadow",
    "ToolTip Text",
    "ToolTip",
    "",
    "Hot Tracking",
    "Active Title Bar Gradient",
    "Inactive Title Bar Gradient",
    "Menu Highlight",
    "Flat Menu Bar",
};

int32_t systemColor(int pIndex)
{
    return static_cast<int32_t>(kSystemColor | static_cast<uint32_t>(pIndex));
}

QIcon swatch(int32_t pOleColor)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    const QColor color = colorFromOle(pOleColor);
    QPainter painter(&picture);
    painter.setPen(QColor(96, 96, 96));
    if (color.isValid())
        painter.setBrush(color);
    else
        painter.setBrush(QBrush(Qt::gray, Qt::DiagCrossPattern)); // not a colour
    painter.drawRect(1, 2, 13, 11);
    return QIcon(picture);
}

} // namespace

OleColorCombo::OleColorCombo(QWidget *pParent)
    : QComboBox(pParent)
    , m_askColor([this](const QColor &pInitial) -> std::optional<QColor> {
        const QColor color = QColorDialog::getColor(pInitial, this);
        return color.isValid() ? std::optional<QColor>(color) : std::nullopt;
    })
{
    for (int index = 0; index < static_cast<int>(kSystemColorNames.size()); ++index) {
        if (index == kNoColorOfItsOwn)
            continue;
        addItem(swatch(systemColor(index)), systemColorName(index), systemColor(index));
    }
    addItem(QStringLiteral("Other color..."));
    connect(this, &QComboBox::activated, this, &OleColorCombo::chooseRow);
    setValue(kOleButtonFace);
}

QString OleColorCombo::systemColorName(int pIndex)
{
    if (pIndex < 0 || pIndex >= static_cast<int>(kSystemColorNames.size()))
        return {};
    return QString::fromLatin1(kSystemColorNames[static_cast<std::size_t>(pIndex)]);
}

QString OleColorCombo::valueText(int32_t pOleColor)
{
    const auto value = static_cast<uint32_t>(pOleColor);
    if ((value >> 24) == 0)
        return colorFromOle(pOleColor).name(QColor::HexRgb).toUpper();
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(8, u'0');
}

void OleColorCombo::setColorAsker(ColorAsker pAsker)
{
    if (pAsker)
        m_askColor = std::move(pAsker);
}

int OleColorCombo::rowOf(int32_t pOleColor) const
{
    for (int row = 0; row < otherRow(); ++row) {
        const QVariant stored = itemData(row);
        if (stored.isValid() && stored.toInt() == pOleColor)
            return row;
    }
    return -1;
}

void OleColorCombo::setValue(int32_t pOleColor)
{
    m_value = pOleColor;
    if (m_valueRow >= 0) {
        removeItem(m_valueRow);
        m_valueRow = -1;
    }
    int row = rowOf(pOleColor);
    if (row < 0) {
        row = otherRow();
        insertItem(row, swatch(pOleColor), valueText(pOleColor), pOleColor);
        m_valueRow = row;
    }
    setCurrentIndex(row);
}

void OleColorCombo::chooseRow(int pRow)
{
    if (pRow != otherRow()) {
        const QVariant stored = itemData(pRow);
        if (stored.isValid())
            m_value = stored.toInt();
        return;
    }
    const std::optional<QColor> color = m_askColor(colorFromOle(m_value));
    if (color && color->isValid()) {
        setValue(oleFromColor(*color));
        return;
    }
    setCurrentIndex(rowOf(m_value)); // cancelled: the value stays, and so does its row
}

} // namespace pindrel
