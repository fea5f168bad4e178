// Messages: sending, the posted queue and its loop, and the default handling.
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QWindow>
#include <algorithm>
#include <deque>

#include "platform/kernel/kernel.h"
#include "platform/text/codepage.h"
#include "platform/user/records.h"

namespace {

std::deque<MSG> g_queue;
bool g_quit;  // WM_QUIT is due once the queue is empty
int g_quitCode;
int g_procDepth;  // window procedures running now

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
    HWND top = GetTopWnd(wnd);
    QWindow* win = top->widget->windowHandle();
    if (win && win->startSystemMove()) return;
    top->moving = true;
    top->movedFrom = GetMouseAt();
}

// A dialog is asked to cancel, as its Escape key does; it closes only if its procedure ends it.
// Other windows go.
void CloseWnd(HWND wnd) {
    if (!wnd->dialog) {
        DestroyWindow(wnd);
        return;
    }
    HWND cancel = GetDlgItem(wnd, IDCANCEL);
    if (cancel && !IsWindowEnabled(cancel)) return;
    PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), LPARAM(cancel));
}

// The font the window draws its text in; a control's widget takes it at once.
void SetWndFont(HWND wnd, HFONT font, bool redraw) {
    wnd->font = font;
    if (wnd->ctl) wnd->ctl->qt->setFont(GetWndQFont(wnd));
    if (redraw) wnd->widget->update();
}

LRESULT RunWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (!wnd->dialog) return wnd->proc(wnd, msg, wp, lp);
    wnd->msgResult = 0;
    const INT_PTR r = wnd->dlgProc ? wnd->dlgProc(wnd, msg, wp, lp) : 0;
    if (IsDlgValueMsg(msg))
        return r ? r : (msg == WM_INITDIALOG ? 0 : DefWindowProcA(wnd, msg, wp, lp));
    if (r) return wnd->msgResult;
    return DefWindowProcA(wnd, msg, wp, lp);
}

}  // namespace

LRESULT CallWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    ++g_procDepth;
    const LRESULT r = RunWndProc(wnd, msg, wp, lp);
    --g_procDepth;
    return r;
}

void WakeMsgLoop() {
    if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance()) d->wakeUp();
}

LRESULT SendMessageA(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (!IsLiveWnd(wnd)) return 0;
    return CallWndProc(wnd, msg, wp, lp);
}

BOOL PostMessageA(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (wnd && !IsLiveWnd(wnd)) return FALSE;
    g_queue.push_back(MSG{wnd, msg, wp, lp, GetTickCount(), {}});
    WakeMsgLoop();
    return TRUE;
}

void DropPostedMsgs(HWND wnd) {
    std::erase_if(g_queue, [wnd](const MSG& m) { return m.hwnd == wnd; });
}

// As on the original, WM_QUIT is not queued: it comes when nothing else is posted.
void PostQuitMessage(int code) {
    g_quit = true;
    g_quitCode = code;
    WakeMsgLoop();
}

// Takes the next posted message, or WM_QUIT when one is due and nothing else is queued. With
// none, handles the window-system events, waiting for one when `wait` is set, and returns 0 so
// that the caller can look at its own state again.
int TakePostedMsg(MSG* msg, bool wait) {
    // Widgets of destroyed windows go here, when no procedure runs any more that could still
    // use them: the loop is not Qt's, so Qt would keep them.
    if (g_procDepth == 0 && QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (int round = 0; round < 2; ++round) {
        if (!g_queue.empty()) {
            *msg = g_queue.front();
            g_queue.pop_front();
            return 1;
        }
        if (g_quit) {
            g_quit = false;
            *msg = MSG{nullptr, WM_QUIT, WPARAM(g_quitCode), 0, GetTickCount(), {}};
            return 1;
        }
        if (round == 1) break;
        EnsureApp();
        QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents
                                             : QEventLoop::AllEvents);
    }
    return 0;
}

void RepostQuit(const MSG& quit) {
    g_quit = true;
    g_quitCode = int(quit.wParam);
}

BOOL GetMessageA(MSG* msg, HWND, UINT, UINT) {
    while (!TakePostedMsg(msg, true)) {
    }
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
        case WM_CLOSE: CloseWnd(wnd); return 0;
        case WM_SETTEXT: SetWndText(wnd, reinterpret_cast<LPCSTR>(lp)); return TRUE;
        case WM_GETTEXT:
            return CopyUtf8Text(wnd->text.c_str(), reinterpret_cast<LPSTR>(lp), int(wp));
        case WM_GETTEXTLENGTH: return LRESULT(wnd->text.size());
        case WM_SETFONT: SetWndFont(wnd, reinterpret_cast<HFONT>(wp), lp != 0); return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(wnd->font);
        case WM_CTLCOLORSTATIC: return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        default: return 0;
    }
}
