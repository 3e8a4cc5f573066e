#include "updownbox.h"

#include <algorithm>

namespace vexlo {

UpDownBox::UpDownBox(int pMinimum, int pMaximum, QWidget *pParent)
    : QSpinBox(pParent)
    , m_minimum(pMinimum)
    , m_maximum(pMaximum)
{
    // What a 16-bit property can hold; the page checks the real range.
    setRange(-32768, 32767);
    setValue(pMinimum);
}

void UpDownBox::stepBy(int pSteps)
{
    setValue(std::clamp(value() + pSteps, m_minimum, m_maximum));
    selectAll();
}

QAbstractSpinBox::StepEnabled UpDownBox::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    if (value() < m_maximum)
        enabled |= StepUpEnabled;
    if (value() > m_minimum)
        enabled |= StepDownEnabled;
    return enabled;
}

} // namespace vexlo
