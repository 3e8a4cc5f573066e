#pragma once

// The control array cmdB: the drawer buttons of the bar, member n for drawer n.
//
// Member 0, the template, exists from the start and is never shown; it carries the look that a
// new member copies when it is created (BarButton::copyLook: size, position, font, colours,
// caption, picture, tooltip). Copying happens once, at creation: a member created after the
// template's colours changed has the new colours, one created before keeps its own.
//
// Members are created and removed by index; all are children of the parent widget named
// "cmdB". The array forwards the members' mouse events with their index, as a control array's
// events carry it. A removed member is hidden, loses its name and is deleted when control
// returns to the event loop, so a rebuild started from one of the buttons' own event handlers
// (a drop, a mouse release) never deletes the button under its handler.

#include <QObject>
#include <QPointer>

#include <map>

namespace pindrel {

class BarButton;

class ButtonArray : public QObject
{
    Q_OBJECT

public:
    // Creates the template as a hidden child of pParent.
    explicit ButtonArray(QWidget *pParent);
    ~ButtonArray() override;

    BarButton &templateButton() const { return *m_members.at(0); }

    // The member at pIndex, null when there is none.
    BarButton *item(int pIndex) const;
    // The number of members, the template included.
    int count() const { return static_cast<int>(m_members.size()); }
    // The highest index in use (0 when only the template is left).
    int ubound() const;

    // Creates member pIndex with the template's look, hidden. Null when pIndex is below 1 or
    // already in use.
    BarButton *load(int pIndex);
    // Removes member pIndex; the template (0) cannot be removed. False when there is no such
    // member.
    bool unload(int pIndex);

    // The index of the member with the window identity pHWnd, searched from 1 upwards; 0 when
    // no member has it.
    int indexOfHWnd(quintptr pHWnd) const;

signals:
    void mouseDown(int pIndex, int pButton, int pShift, float pX, float pY);
    void mouseUp(int pIndex, int pButton, int pShift, float pX, float pY);

private:
    void connectMember(int pIndex, BarButton *pButton);

    QWidget *m_parent;
    std::map<int, QPointer<BarButton>> m_members;
};

} // namespace pindrel
