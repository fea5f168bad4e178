// Messages: sending, the posted queue and its loop, and the default handling.
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QWindow>
#include <algorithm>
#include <deque>

#include "platform/kernel.h"
#include "platform/wnd_rec.h"

namespace {

std::deque<MSG> g_queue;

// Where a dialog procedure's answer is the result itself rather than DWLP_MSGRESULT.
bool IsDlgValueMsg(UINT msg) {
    return msg == WM_CTLCOLORSTATIC || msg == WM_INITDIALOG;
}

// The class background, or for a dialog the button face colour.
void EraseBkgnd(HWND wnd, HDC dc) {
    HBRUSH brush = GetClassBrush(wnd);
    if (!brush) return;
    RECT r;
    GetClientRect(wnd, &r);
    FillRect(dc, &r, brush);
}

// A window move by the window system where it can, else by hand from the mouse moves.
void StartWndMove(HWND wnd) {
    HWND top = wnd;
    while (top->child && top->parent) top = top->parent;
    QWindow* win = top->widget->windowHandle();
    if (win && win->startSystemMove()) return;
    top->moving = true;
    top->movedFrom = GetMouseAt();
}

}  // namespace

LRESULT CallWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (!wnd->dialog) return wnd->proc(wnd, msg, wp, lp);
    wnd->msgResult = 0;
    const INT_PTR r = wnd->dlgProc ? wnd->dlgProc(wnd, msg, wp, lp) : 0;
    if (IsDlgValueMsg(msg))
        return r ? r : (msg == WM_INITDIALOG ? 0 : DefWindowProcA(wnd, msg, wp, lp));
    if (r) return wnd->msgResult;
    return DefWindowProcA(wnd, msg, wp, lp);
}

LRESULT SendMessageA(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (!IsLiveWnd(wnd)) return 0;
    return CallWndProc(wnd, msg, wp, lp);
}

BOOL PostMessageA(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (wnd && !IsLiveWnd(wnd)) return FALSE;
    g_queue.push_back(MSG{wnd, msg, wp, lp, GetTickCount(), {}});
    if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance()) d->wakeUp();
    return TRUE;
}

void DropPostedMsgs(HWND wnd) {
    std::erase_if(g_queue, [wnd](const MSG& m) { return m.hwnd == wnd; });
}

void PostQuitMessage(int code) {
    PostMessageA(nullptr, WM_QUIT, WPARAM(code), 0);
}

// Takes the next posted message, handling window-system events while there is none; `wait`
// false returns 0 at once when nothing is queued.
int TakePostedMsg(MSG* msg, bool wait) {
    // Widgets of destroyed windows go here: the loop is not Qt's, so Qt would keep them.
    if (QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (;;) {
        // Messages for windows destroyed since they were posted are dropped.
        while (!g_queue.empty() && g_queue.front().hwnd && !IsLiveWnd(g_queue.front().hwnd))
            g_queue.pop_front();
        if (!g_queue.empty()) {
            *msg = g_queue.front();
            g_queue.pop_front();
            return 1;
        }
        if (!wait) {
            QCoreApplication::processEvents();
            if (g_queue.empty()) return 0;
            continue;
        }
        EnsureApp();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void RepostQuit(const MSG& quit) {
    g_queue.push_front(quit);
}

BOOL GetMessageA(MSG* msg, HWND, UINT, UINT) {
    TakePostedMsg(msg, true);
    return msg->message != WM_QUIT;
}

BOOL PeekMessageA(MSG* msg, HWND, UINT, UINT, UINT) {
    return TakePostedMsg(msg, false);
}

BOOL TranslateMessage(const MSG*) {
    return FALSE;
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg->hwnd) return 0;
    return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT DefWindowProcA(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(wnd, &ps);
            EndPaint(wnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: EraseBkgnd(wnd, reinterpret_cast<HDC>(wp)); return 1;
        case WM_NCHITTEST: return HTCLIENT;
        case WM_SETCURSOR:
            if (LOWORD(uintptr_t(lp)) != HTCLIENT) return FALSE;
            // Dialogs show the arrow; windows the cursor of their class.
            SetCursor(wnd->dialog ? LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_ARROW))
                      : wnd->cls  ? wnd->cls->cursor
                                  : nullptr);
            return TRUE;
        case WM_NCLBUTTONDOWN:
            if (wp == WPARAM(HTCAPTION)) StartWndMove(wnd);
            return 0;
        case WM_CLOSE: DestroyWindow(wnd); return 0;
        case WM_SETTEXT: return SetWindowTextA(wnd, reinterpret_cast<LPCSTR>(lp));
        case WM_GETTEXT: return GetWindowTextA(wnd, reinterpret_cast<LPSTR>(lp), int(wp));
        case WM_GETTEXTLENGTH: return LRESULT(wnd->text.size());
        case WM_CTLCOLORSTATIC: return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        default: return 0;
    }
}
