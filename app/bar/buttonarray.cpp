#include "bar/buttonarray.h"

#include "bar/barbutton.h"

namespace pindrel {

namespace {

const QString &memberName()
{
    static const QString name = QStringLiteral("cmdB");
    return name;
}

} // namespace

ButtonArray::ButtonArray(QWidget *pParent)
    : QObject(pParent)
    , m_parent(pParent)
{
    // The template is owned by the parent widget like every other control of the bar.
    auto *first = new BarButton(pParent);
    first->setObjectName(memberName());
    first->hide();
    m_members.emplace(0, first);
    connectMember(0, first);
}

ButtonArray::~ButtonArray() = default;

BarButton *ButtonArray::item(int pIndex) const
{
    const auto found = m_members.find(pIndex);
    return found == m_members.end() ? nullptr : found->second.data();
}

int ButtonArray::ubound() const
{
    return m_members.empty() ? 0 : m_members.rbegin()->first;
}

BarButton *ButtonArray::load(int pIndex)
{
    if (pIndex < 1 || m_members.count(pIndex) != 0)
        return nullptr;
    auto *button = new BarButton(m_parent);
    button->setObjectName(memberName());
    button->hide();
    button->copyLook(templateButton());
    m_members.emplace(pIndex, button);
    connectMember(pIndex, button);
    return button;
}

bool ButtonArray::unload(int pIndex)
{
    if (pIndex < 1)
        return false;
    const auto found = m_members.find(pIndex);
    if (found == m_members.end())
        return false;
    if (BarButton *button = found->second.data()) {
        button->disconnect(this);
        button->hide();
        button->setObjectName(QString());
        button->deleteLater();
    }
    m_members.erase(found);
    return true;
}

int ButtonArray::indexOfHWnd(quintptr pHWnd) const
{
    if (pHWnd == 0)
        return 0;
    for (const auto &[index, button] : m_members) {
        if (index >= 1 && button && button->hWnd() == pHWnd)
            return index;
    }
    return 0;
}

void ButtonArray::connectMember(int pIndex, BarButton *pButton)
{
    connect(pButton, &BarButton::mouseDown, this,
            [this, pIndex](int pButtonNumber, int pShift, float pX, float pY) {
                emit mouseDown(pIndex, pButtonNumber, pShift, pX, pY);
            });
    connect(pButton, &BarButton::mouseUp, this,
            [this, pIndex](int pButtonNumber, int pShift, float pX, float pY) {
                emit mouseUp(pIndex, pButtonNumber, pShift, pX, pY);
            });
}

} // namespace pindrel
