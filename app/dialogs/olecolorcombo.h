#pragma once

// A colour combo of the settings dialog, holding an OLE colour (see startup/olecolor.h) exactly
// as config.ini stores it.
//
// Its rows: the system colours by name (0x80000000 + the system colour number, in number order;
// 0x19, which has no colour of its own, is left out), then the value it holds when that is none
// of them (an RGB colour, or any other value read from the file, shown by its number), then
// "Other color...", which asks for any RGB colour (by default with QColorDialog) and holds it as
// 0x00BBGGRR; cancelling that keeps the value. Each row shows a swatch of its colour.

#include <QColor>
#include <QComboBox>

#include <cstdint>
#include <functional>
#include <optional>

namespace pindrel {

class OleColorCombo : public QComboBox
{
    Q_OBJECT

public:
    // Asks for a colour starting from pInitial; nothing when the user cancels.
    using ColorAsker = std::function<std::optional<QColor>(const QColor &pInitial)>;

    explicit OleColorCombo(QWidget *pParent = nullptr);

    int32_t value() const { return m_value; }
    void setValue(int32_t pOleColor);

    void setColorAsker(ColorAsker pAsker);

    // The name of system colour pIndex (0x00 to 0x1E); empty for one without a name.
    static QString systemColorName(int pIndex);
    // The row text of a value that is no system colour: "#RRGGBB" for an RGB colour, else its
    // number in hexadecimal.
    static QString valueText(int32_t pOleColor);

private:
    void chooseRow(int pRow);
    int rowOf(int32_t pOleColor) const;
    int otherRow() const { return count() - 1; }

    int32_t m_value = 0;
    int m_valueRow = -1; // the row added for a value that is no system colour
    ColorAsker m_askColor;
};

} // namespace pindrel
