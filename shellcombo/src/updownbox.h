#pragma once

// An edit box with its up-down control, as property pages have them: the arrows (and the
// arrow keys) keep to the range, while the box takes any whole number typed into it, so that
// the page can refuse one outside the range when it applies rather than quietly putting the
// old value back.

#include <QtWidgets/QSpinBox>

namespace vexlo {

class UpDownBox : public QSpinBox
{
    Q_OBJECT

public:
    UpDownBox(int pMinimum, int pMaximum, QWidget *pParent);

    int rangeMinimum() const { return m_minimum; }
    int rangeMaximum() const { return m_maximum; }
    bool inRange() const { return value() >= m_minimum && value() <= m_maximum; }

    void stepBy(int pSteps) override;

protected:
    StepEnabled stepEnabled() const override;

private:
    int m_minimum;
    int m_maximum;
};

} // namespace vexlo
