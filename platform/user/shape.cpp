// Window shapes: a region applied as the window's mask. Pixels outside it are not part of the
// window: they show what lies behind and take no mouse input.
#include <QWidget>

#include "platform/gdi/region.h"
#include "platform/user/records.h"

// On Windows a region clips a top-level window's caption and border away; here the window asks
// the window manager for none. Qt makes the native window anew for it, so the owner hint, the
// place and the visibility are put back.
static void DropFrame(HWND wnd) {
    QWidget* w = wnd->widget;
    if (wnd->child || (w->windowFlags() & Qt::FramelessWindowHint)) return;
    const bool shown = w->isVisible();
    const QRect place = w->geometry();
    w->setWindowFlags(w->windowFlags() | Qt::FramelessWindowHint);
    w->setGeometry(place);
    SetOwnerHint(wnd);
    if (shown) w->show();
}

int SetWindowRgn(HWND wnd, HRGN rgn, BOOL redraw) {
    if (!IsLiveWnd(wnd)) return 0;
    if (rgn) {
        wnd->shape = rgn->rgn;
        wnd->hasShape = true;
        DeleteObject(rgn);
    } else {
        wnd->shape = QRegion();
        wnd->hasShape = false;
    }
    // Qt takes an empty mask for no mask at all: an empty shape becomes one that lies outside.
    if (!wnd->hasShape) {
        wnd->widget->clearMask();
    } else if (wnd->shape.isEmpty()) {
        wnd->widget->setMask(QRegion(-1, -1, 1, 1));
    } else {
        wnd->widget->setMask(wnd->shape);
    }
    if (wnd->hasShape) DropFrame(wnd);
    if (redraw) wnd->widget->update();
    return 1;
}

int GetWindowRgn(HWND wnd, HRGN rgn) {
    if (!IsLiveWnd(wnd) || !rgn || !wnd->hasShape) return RGN_ERROR;
    rgn->rgn = wnd->shape;
    if (rgn->rgn.isEmpty()) return NULLREGION;
    return rgn->rgn.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}
