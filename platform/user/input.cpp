// Input: Qt's mouse and key events become the window messages, with the hit test, the cursor
// request and the mouse capture; activation; window moves by hand.
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>

#include "platform/user/records.h"
#include "res/cursors.h"

struct CursorRec {
    QCursor cursor;
};

bool IsInputOff(HWND wnd) {
    for (HWND w = wnd; w; w = w->child ? w->parent : nullptr)
        if (w->disabled) return true;
    return false;
}

namespace {

HWND g_capture;
QPointer<QWidget> g_cursorWidget;  // the widget whose mouse event is being delivered
QPoint g_mouseAt;                  // screen position of the last mouse event

LPARAM ClientPos(HWND wnd, QPointF global) {
    const QPoint p = wnd->widget->mapFromGlobal(global.toPoint());
    return MAKELPARAM(p.x(), p.y());
}

WPARAM KeyState(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? MK_LBUTTON : 0) |
           (buttons & Qt::RightButton ? MK_RBUTTON : 0);
}

// The window under the pointer: Qt keeps sending to the pressed widget while a button is held,
// where the original sends to the window under the pointer unless one has the capture.
HWND FindWndAt(HWND fallback, QPointF global) {
    QWidget* w = QApplication::widgetAt(global.toPoint());
    WndWidget* ww = dynamic_cast<WndWidget*>(w);
    if (ww && IsLiveWnd(ww->wnd)) return ww->wnd;
    return fallback->widget->rect().contains(fallback->widget->mapFromGlobal(global.toPoint()))
               ? fallback
               : nullptr;
}

// The second press of a double click is one only for classes that ask for double clicks.
UINT FitDblClk(HWND wnd, UINT msg) {
    const bool asks = wnd->cls && (wnd->cls->style & CS_DBLCLKS);
    return msg == WM_LBUTTONDBLCLK && !asks ? WM_LBUTTONDOWN : msg;
}

// Moves a top-level window that follows the pointer by hand; true while one does.
bool FollowMove(HWND wnd, QMouseEvent* e, UINT msg) {
    HWND top = GetTopWnd(wnd);
    if (!top->moving) return false;
    // The move lasts while the button is held; a lost release must not leave it hanging.
    if (msg == WM_MOUSEMOVE && !(e->buttons() & Qt::LeftButton)) {
        top->moving = false;
        return false;
    }
    const QPoint now = e->globalPosition().toPoint();
    top->widget->move(top->widget->pos() + now - top->movedFrom);
    top->movedFrom = now;
    if (msg == WM_LBUTTONUP) top->moving = false;
    return true;
}

}  // namespace

void SendMouseMsg(HWND wnd, QMouseEvent* e, UINT msg) {
    if (!IsLiveWnd(wnd)) return;
    g_mouseAt = e->globalPosition().toPoint();
    if (FollowMove(wnd, e, msg)) return;
    const QPointF global = e->globalPosition();
    const WPARAM keys = KeyState(e->buttons());
    if (g_capture && IsLiveWnd(g_capture)) {
        g_cursorWidget = g_capture->widget;
        SendMessageA(g_capture, FitDblClk(g_capture, msg), keys, ClientPos(g_capture, global));
        return;
    }
    HWND target = FindWndAt(wnd, global);
    const QPoint gp = global.toPoint();
    LRESULT hit = HTTRANSPARENT;
    while (target && hit == HTTRANSPARENT) {
        hit = SendMessageA(target, WM_NCHITTEST, 0, MAKELPARAM(gp.x(), gp.y()));
        if (!IsLiveWnd(target)) return;
        if (hit == HTTRANSPARENT) target = target->child ? target->parent : nullptr;
    }
    if (!target || IsInputOff(target)) return;
    g_cursorWidget = target->widget;
    msg = FitDblClk(target, msg);
    SendMessageA(target, WM_SETCURSOR, WPARAM(target), MAKELPARAM(int(hit), int(msg)));
    if (!IsLiveWnd(target)) return;
    if (hit == HTCLIENT) {
        SendMessageA(target, msg, keys, ClientPos(target, global));
    } else if (hit == HTCAPTION && msg == WM_LBUTTONDOWN) {
        SendMessageA(target, WM_NCLBUTTONDOWN, WPARAM(HTCAPTION), MAKELPARAM(gp.x(), gp.y()));
    }
}

// The left and right buttons and the moves; a second left press soon after the first is a
// double click, which the window that gets it may take as a plain press.
void SendQtMouse(HWND wnd, QMouseEvent* e) {
    const Qt::MouseButton b = e->button();
    if (e->type() != QEvent::MouseMove && b != Qt::LeftButton && b != Qt::RightButton) return;
    const bool right = b == Qt::RightButton;
    UINT msg = WM_MOUSEMOVE;
    switch (e->type()) {
        case QEvent::MouseButtonPress: msg = right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN; break;
        case QEvent::MouseButtonRelease: msg = right ? WM_RBUTTONUP : WM_LBUTTONUP; break;
        case QEvent::MouseButtonDblClick: msg = right ? WM_RBUTTONDOWN : WM_LBUTTONDBLCLK; break;
        default: break;
    }
    SendMouseMsg(wnd, e, msg);
}

void WndWidget::mousePressEvent(QMouseEvent* e) {
    SendQtMouse(wnd, e);
}

void WndWidget::mouseReleaseEvent(QMouseEvent* e) {
    SendQtMouse(wnd, e);
}

void WndWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    SendQtMouse(wnd, e);
}

void WndWidget::mouseMoveEvent(QMouseEvent* e) {
    SendQtMouse(wnd, e);
}

// Leaving every window of the program: the capturing window still hears where the pointer went.
void WndWidget::leaveEvent(QEvent*) {
    if (!g_capture || !IsLiveWnd(g_capture)) return;
    if (QApplication::widgetAt(QCursor::pos())) return;  // another of our widgets takes over
    const WPARAM keys = KeyState(QApplication::mouseButtons());
    SendMessageA(g_capture, WM_MOUSEMOVE, keys, ClientPos(g_capture, QCursor::pos()));
}

// Virtual keys of the keys the program listens to.
static WPARAM GetVirtKey(int key) {
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return VK_F1 + (key - Qt::Key_F1);
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return VK_RETURN;
    if (key == Qt::Key_Escape) return VK_ESCAPE;
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return WPARAM(key);
    return 0;
}

void WndWidget::keyPressEvent(QKeyEvent* e) {
    const WPARAM vk = GetVirtKey(e->key());
    if (vk && IsLiveWnd(wnd) && !IsInputOff(wnd)) SendMessageA(wnd, WM_KEYDOWN, vk, 1);
}

// The window manager's close button: the program decides through WM_CLOSE.
void WndWidget::closeEvent(QCloseEvent* e) {
    e->ignore();
    if (IsLiveWnd(wnd) && !IsInputOff(wnd)) SendMessageA(wnd, WM_CLOSE, 0, 0);
}

bool WndWidget::event(QEvent* e) {
    if (IsLiveWnd(wnd) && !wnd->child) {
        if (e->type() == QEvent::WindowActivate) SendMessageA(wnd, WM_ACTIVATE, WA_ACTIVE, 0);
        if (e->type() == QEvent::WindowDeactivate) SendMessageA(wnd, WM_ACTIVATE, WA_INACTIVE, 0);
    }
    return QWidget::event(e);
}

QPoint GetMouseAt() {
    return g_mouseAt;
}

HWND SetCapture(HWND wnd) {
    HWND old = g_capture;
    g_capture = IsLiveWnd(wnd) ? wnd : nullptr;
    return old;
}

BOOL ReleaseCapture() {
    g_capture = nullptr;
    return TRUE;
}

HWND GetCapture() {
    return IsLiveWnd(g_capture) ? g_capture : nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
    static HCURSOR current;
    HCURSOR old = current;
    current = cursor;
    if (cursor && g_cursorWidget) g_cursorWidget->setCursor(cursor->cursor);
    return old;
}

// Cursors are loaded once and shared, never released: the standard arrow, or a resource
// cursor with its hot spot.
HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    const int num = int(uintptr_t(name));
    static auto* loaded = new std::vector<std::pair<int, CursorRec*>>;
    for (auto& c : *loaded)
        if (c.first == num) return c.second;
    CursorRec* rec = nullptr;
    if (num == IDC_ARROW) {
        rec = new CursorRec{QCursor(Qt::ArrowCursor)};
    } else {
        const QPixmap pic(QString(":/cur/%1.png").arg(num));
        for (const CurHotSpot& h : kCurHotSpots)
            if (h.num == num && !pic.isNull()) rec = new CursorRec{QCursor(pic, h.x, h.y)};
    }
    if (!rec) return nullptr;
    loaded->push_back({num, rec});
    return rec;
}

void PlatMouseEvent(HWND wnd, UINT msg, int x, int y) {
    static Qt::MouseButtons held;
    if (!IsLiveWnd(wnd)) return;
    QWidget* top = wnd->widget;
    // The pressed widget keeps the pointer while a button is held, as Qt's own routing does.
    static QPointer<QWidget> grabber;
    QWidget* target = grabber ? grabber.data() : top->childAt(QPoint(x, y));
    if (!target) target = top;
    const QPointF global = top->mapToGlobal(QPointF(x, y));
    const QPointF local = target->mapFromGlobal(global);
    QEvent::Type type = QEvent::MouseMove;
    Qt::MouseButton button = Qt::NoButton;
    switch (msg) {
        case WM_LBUTTONDBLCLK: type = QEvent::MouseButtonDblClick, button = Qt::LeftButton; break;
        case WM_LBUTTONDOWN: type = QEvent::MouseButtonPress, button = Qt::LeftButton; break;
        case WM_LBUTTONUP: type = QEvent::MouseButtonRelease, button = Qt::LeftButton; break;
        case WM_RBUTTONDOWN: type = QEvent::MouseButtonPress, button = Qt::RightButton; break;
        case WM_RBUTTONUP: type = QEvent::MouseButtonRelease, button = Qt::RightButton; break;
        default: break;
    }
    if (type == QEvent::MouseButtonPress) {
        held |= button;
        grabber = target;
    } else if (type == QEvent::MouseButtonRelease) {
        held &= ~button;
        if (!held) grabber = nullptr;
    }
    QMouseEvent e(type, local, global, button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &e);
}
