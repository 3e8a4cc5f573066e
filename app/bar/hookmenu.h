#pragma once

// The menu-image component hMenu: gives the bar's pop-up menus their font (Tahoma 8.25 pt,
// normal weight, or the closest face installed) and a 16×16 picture beside the entries that
// have one.
//
// Design-time pictures are keyed "#" followed by a menu entry's name (the QAction's object
// name); attach() hands them to the entries of every menu of the window it is attached to.
// setPicture() gives an entry a picture at run time (the program entries). An entry without a
// picture shows its caption only.

#include <QFont>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>

#include <map>

class QAction;
class QMenu;
class QPixmap;
class QWidget;

namespace pindrel {

class HookMenu : public QObject
{
    Q_OBJECT

public:
    static constexpr int kPictureSize = 16;

    explicit HookMenu(QObject *pParent = nullptr);
    ~HookMenu() override;

    // The menus' font: Tahoma 8.25 pt, with the nearest faces to fall back on.
    static QFont menuFont();

    // The design-time picture under pKey ("#mCAdd"); a null icon when there is none.
    QIcon designPicture(const QString &pKey) const;
    void setDesignPicture(const QString &pKey, const QIcon &pPicture);

    // Styles every menu that pWindow owns (now and on later calls) and gives each entry with a
    // design-time picture its picture. Calling it again applies the pictures once more.
    void attach(QWidget *pWindow);
    QWidget *window() const { return m_window; }

    // The picture of pEntry, scaled to 16×16 when it is another size; a null pixmap removes it.
    void setPicture(QAction *pEntry, const QPixmap &pPicture);

private:
    void styleMenu(QMenu *pMenu);

    QPointer<QWidget> m_window;
    std::map<QString, QIcon> m_designPictures;
    QFont m_font;
};

} // namespace pindrel
