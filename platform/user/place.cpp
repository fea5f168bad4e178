// Where windows are and whether they show: placement in screen or parent-client coordinates,
// visibility, minimised and maximised states, stacking, and the window icon. Restoring and
// raising also reach the window of another instance behind a remote handle.
#include <QIcon>
#include <QPixmap>
#include <QWindow>

#include "platform/user/records.h"
#include "platform/user/remote.h"

struct IconRec {
    QIcon icon;
};

namespace {

// A window that shows is painted whole, its children too.
void InvalidateTree(HWND wnd) {
    InvalidateRect(wnd, nullptr, TRUE);
    for (HWND k : wnd->children)
        if (IsLiveWnd(k)) InvalidateTree(k);
}

}  // namespace

BOOL ShowWindow(HWND wnd, int cmd) {
    if (!IsLiveWnd(wnd))
        return cmd == SW_RESTORE && IsRemoteWnd(wnd) && AskRemoteWnd(wnd, REMOTE_RESTORE);
    const BOOL was = wnd->widget->isVisible();
    if (cmd != SW_HIDE && !was) InvalidateTree(wnd);
    if (cmd != SW_HIDE && !was && !wnd->child) wnd->awaitExpose = true;
    switch (cmd) {
        case SW_HIDE: wnd->widget->hide(); break;
        case SW_RESTORE:
            wnd->widget->showNormal();
            wnd->widget->raise();
            break;
        case SW_SHOWMINIMIZED: wnd->widget->showMinimized(); break;
        case SW_SHOWMAXIMIZED: wnd->widget->showMaximized(); break;
        default: wnd->widget->show(); break;
    }
    return was;
}

BOOL IsWindowVisible(HWND wnd) {
    return IsLiveWnd(wnd) && wnd->widget->isVisible();
}

BOOL MoveWindow(HWND wnd, int x, int y, int width, int height, BOOL repaint) {
    if (!IsLiveWnd(wnd)) return FALSE;
    wnd->widget->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
    FitBacking(wnd);
    if (repaint) InvalidateRect(wnd, nullptr, TRUE);
    return TRUE;
}

BOOL BringWindowToTop(HWND wnd) {
    if (!IsLiveWnd(wnd)) return FALSE;
    wnd->widget->raise();
    if (!wnd->child) wnd->widget->activateWindow();
    return TRUE;
}

BOOL SetForegroundWindow(HWND wnd) {
    if (!IsLiveWnd(wnd)) return IsRemoteWnd(wnd) && AskRemoteWnd(wnd, REMOTE_FOREGROUND);
    return BringWindowToTop(wnd);
}

BOOL GetWindowRect(HWND wnd, RECT* r) {
    if (!IsLiveWnd(wnd) || !r) return FALSE;
    const QPoint tl = wnd->widget->mapToGlobal(QPoint(0, 0));
    *r = RECT{tl.x(), tl.y(), tl.x() + wnd->widget->width(), tl.y() + wnd->widget->height()};
    return TRUE;
}

// A minimised or maximised top-level window reports where it goes back to when restored, so that
// a placement saved then is still a normal one.
BOOL GetWindowPlacement(HWND wnd, WINDOWPLACEMENT* wp) {
    if (!IsLiveWnd(wnd) || !wp) return FALSE;
    const QWidget* w = wnd->widget;
    RECT r;
    GetWindowRect(wnd, &r);
    const QRect normal = w->normalGeometry();
    if ((w->isMinimized() || w->isMaximized()) && w->isWindow() && normal.isValid())
        r = RECT{normal.left(), normal.top(), normal.left() + normal.width(),
                 normal.top() + normal.height()};
    const UINT show = w->isMinimized()   ? SW_SHOWMINIMIZED
                      : w->isMaximized() ? SW_SHOWMAXIMIZED
                                         : SW_SHOWNORMAL;
    *wp = WINDOWPLACEMENT{sizeof(WINDOWPLACEMENT), 0, show, {-1, -1}, {-1, -1}, r};
    return TRUE;
}

BOOL GetClientRect(HWND wnd, RECT* r) {
    if (!IsLiveWnd(wnd) || !r) return FALSE;
    *r = RECT{0, 0, wnd->widget->width(), wnd->widget->height()};
    return TRUE;
}

BOOL ScreenToClient(HWND wnd, POINT* pt) {
    if (!IsLiveWnd(wnd) || !pt) return FALSE;
    const QPoint p = wnd->widget->mapFromGlobal(QPoint(pt->x, pt->y));
    *pt = POINT{p.x(), p.y()};
    return TRUE;
}

BOOL ClientToScreen(HWND wnd, POINT* pt) {
    if (!IsLiveWnd(wnd) || !pt) return FALSE;
    const QPoint p = wnd->widget->mapToGlobal(QPoint(pt->x, pt->y));
    *pt = POINT{p.x(), p.y()};
    return TRUE;
}

// Icons are loaded once and shared: the program's icon resources, or the standard application
// icon (none here: the window system's default).
HICON LoadIconA(HINSTANCE, LPCSTR name) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    const int num = int(uintptr_t(name));
    static auto* loaded = new std::vector<std::pair<int, IconRec*>>;
    for (auto& i : *loaded)
        if (i.first == num) return i.second;
    const QPixmap pic(QString(":/ico/%1.png").arg(num));
    if (num != IDI_APPLICATION && pic.isNull()) return nullptr;
    IconRec* rec = new IconRec{pic.isNull() ? QIcon() : QIcon(pic)};
    loaded->push_back({num, rec});
    return rec;
}

void SetWndIcon(HWND wnd, HICON icon) {
    if (icon && !icon->icon.isNull()) wnd->widget->setWindowIcon(icon->icon);
}

// Qt keeps a window on top through a window flag. The widget's own setter would hide a shown
// window; the flag goes to the window system directly instead.
void ApplyTopmost(HWND wnd, bool on) {
    if (wnd->child || wnd->topmost == on) return;
    wnd->topmost = on;
    QWidget* w = wnd->widget;
    const Qt::WindowFlags flags = on ? w->windowFlags() | Qt::WindowStaysOnTopHint
                                     : w->windowFlags() & ~Qt::WindowStaysOnTopHint;
    w->overrideWindowFlags(flags);
    if (QWindow* win = w->windowHandle()) win->setFlags(flags);
}

BOOL SetWindowPos(HWND wnd, HWND after, int x, int y, int width, int height, UINT flags) {
    if (!IsLiveWnd(wnd)) return FALSE;
    if (!(flags & SWP_NOZORDER)) {
        if (after == HWND_TOPMOST || after == HWND_NOTOPMOST)
            ApplyTopmost(wnd, after == HWND_TOPMOST);
        if (after == HWND_BOTTOM)
            wnd->widget->lower();
        else
            wnd->widget->raise();
    }
    RECT r;
    GetWindowRect(wnd, &r);
    if (wnd->child) {  // a child's place is in its parent's client coordinates
        const QPoint p = wnd->widget->pos();
        r = RECT{p.x(), p.y(), p.x() + wnd->widget->width(), p.y() + wnd->widget->height()};
    }
    if (flags & SWP_NOMOVE) x = r.left, y = r.top;
    if (flags & SWP_NOSIZE) width = r.right - r.left, height = r.bottom - r.top;
    if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
        MoveWindow(wnd, x, y, width, height, !(flags & SWP_NOREDRAW));
    if (flags & SWP_SHOWWINDOW) ShowWindow(wnd, SW_SHOW);
    if (flags & SWP_HIDEWINDOW) ShowWindow(wnd, SW_HIDE);
    if (!(flags & SWP_NOACTIVATE) && !wnd->child && wnd->widget->isVisible())
        wnd->widget->activateWindow();
    return TRUE;
}
