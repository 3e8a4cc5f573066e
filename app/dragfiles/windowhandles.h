#pragma once

// Window handles of this process: the numbers under which the message engine takes windows
// over. A native widget's handle is its X window id (winId); a widget that stays alien (the
// bar's buttons, which Qt draws inside the bar's own window) takes a handle from here when it is
// created. Handles given here have the three top bits set, which X resource ids never have, so
// the two kinds never meet; they are never reused within a run.

#include <QtGlobal>

class QWidget;

namespace pindrel {

class WindowHandles
{
public:
    // A new handle for pWidget, valid until the widget is destroyed. User-interface thread.
    static quintptr assign(QWidget *pWidget);

    // The widget of this process with the handle pHandle (an assigned one, else a native
    // window's id); null when there is none.
    static QWidget *find(quintptr pHandle);
};

} // namespace pindrel
