#pragma once

// What assistive technology sees of a BarButton: a push button named by its caption (by its
// tooltip, which holds the drawer's name, when it shows only a picture), described by its
// tooltip, with a press action.
//
// BarButton keeps its caption apart from QAbstractButton's text (an "&" in it is no mnemonic),
// so the name is given here rather than through QWidget::setAccessibleName: that would make Qt
// build an accessible interface for every button at once, even when no assistive technology
// runs; this one is made only when somebody asks for it.

#include <QAccessibleWidget>

namespace pindrel {

class BarButton;

class BarButtonAccessible : public QAccessibleWidget
{
public:
    explicit BarButtonAccessible(BarButton *pButton);

    QString text(QAccessible::Text pText) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &pActionName) override;

    // Registers the factory with Qt's accessibility; safe to call more than once.
    static void install();

private:
    BarButton *button() const;
};

} // namespace pindrel
