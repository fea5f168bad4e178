// The progress window: skin 129 over the middle of the send dialog, showing what it is doing
// while it runs the upload. It starts the upload only once it is on the screen with its text.
#include <cstring>

#include "app/appstate.h"
#include "send/senddlg.h"
#include "send/upload.h"
#include "ui/bmprgn.h"
#include "ui/memsurf.h"

namespace {

constexpr int kProgW = 254, kProgH = 143;
// Commands the window posts itself, apart from the dialog keys' IDOK and IDCANCEL.
constexpr WPARAM kStartCmd = 1001, kFinishCmd = 1002;

struct ProgDlg {
    HBITMAP skin;
    const char* status;
    int result;
    bool started;
};
ProgDlg g_prog;

INT_PTR ProgInitDlg(HWND wnd, HWND sendDlg) {
    g_prog = ProgDlg{};
    RECT send{};
    GetWindowRect(sendDlg, &send);
    MoveWindow(wnd, send.left + 138, send.top + 128, kProgW, kProgH, TRUE);
    SetWindowRgn(wnd, MakeRndRgn(kProgW, kProgH), TRUE);
    g_prog.skin = LoadBitmapA(g_app.inst, MAKEINTRESOURCEA(129));
    g_prog.status = "送信しています";
    return TRUE;
}

void ProgPaint(HWND wnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    HDC mem = CreateCompatibleDC(dc);
    DrawSkin(dc, mem, g_prog.skin, 0, 0, kProgW, kProgH);
    DeleteDC(mem);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 68, 60, g_prog.status, int(strlen(g_prog.status)));
    EndPaint(wnd, &ps);
    if (g_prog.started) return;
    g_prog.started = true;
    PostMessageA(wnd, WM_COMMAND, kStartCmd, 0);
}

void ProgStart(HWND wnd) {
    g_prog.status = "送信しています";
    InvalidateRect(wnd, nullptr, FALSE);
    // The window and its text reach the screen before the upload holds the program.
    UpdateWindow(wnd);
    g_prog.result = PostData(wnd);
    g_prog.status = g_prog.result ? "送信しました" : "送信失敗";
    InvalidateRect(wnd, nullptr, FALSE);
    PostMessageA(wnd, WM_COMMAND, kFinishCmd, 0);
}

}  // namespace

INT_PTR DlgProgressProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG: return ProgInitDlg(wnd, reinterpret_cast<HWND>(lp));
        case WM_PAINT: ProgPaint(wnd); return TRUE;
        case WM_COMMAND:
            if (wp == kStartCmd) ProgStart(wnd);
            if (wp == kFinishCmd) EndDialog(wnd, g_prog.result);
            return TRUE;
        case WM_DESTROY:
            if (g_prog.skin) DeleteObject(g_prog.skin);
            g_prog.skin = nullptr;
            return TRUE;
        default: return FALSE;
    }
}

int RunProgressDlg(HWND sendDlg) {
    return DialogBoxParamA(g_app.inst, MAKEINTRESOURCEA(130), sendDlg, DlgProgressProc,
                           LPARAM(sendDlg)) == 1;
}
