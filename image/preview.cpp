// The preview dialog: skin 138 in its shape, the captured canvas in the phone's screen opening and
// a close button.
#include "image/preview.h"

#include "app/appstate.h"
#include "image/workbmp.h"
#include "image/workwnd.h"
#include "platform/gdi/region.h"
#include "platform/user/msgbox.h"
#include "ui/appmsg.h"
#include "ui/bmpbtn.h"
#include "ui/bmprgn.h"
#include "ui/memsurf.h"

namespace {

constexpr int kPreW = 268, kPreH = 639;
constexpr int kScreenX = 114, kScreenY = 184;  // the screen opening of skin 138
constexpr int kCloseId = 119;

// The canvas captured at opening; the dialog is modal, so it cannot change while shown.
HBITMAP g_preCanvas;

INT_PTR PreInitDlg(HWND dlg) {
    RECT main{};
    GetWindowRect(g_app.mainWnd, &main);
    MoveWindow(dlg, main.left + 20, main.top, kPreW, kPreH, TRUE);
    // The canvas as shown: a repaint still due is done first.
    UpdateWindow(g_app.workWnd);
    g_preCanvas = CopyWorkCanvas();
    if (!g_preCanvas) MessageBoxA(dlg, "ビットマップコピー失敗", "PreProc", MB_OK);
    SetRgnCopy(dlg, g_app.preRgn);
    if (!MakeBmpBtn(dlg, BmpBtnProc, kCloseId, 200, 420, 45, 30, 139)) {
        MessageBoxA(dlg, "ボタンが作成できませんでした", "PreProc-Error", MB_OK);
        EndDialog(dlg, 0);
    }
    return TRUE;
}

void PrePaint(HWND dlg) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(dlg, &ps);
    HDC mem = CreateCompatibleDC(dc);
    DrawSkin(dc, mem, g_app.preSkin, 0, 0, kPreW, kPreH);
    DrawSkin(dc, mem, g_preCanvas, kScreenX, kScreenY, kCanvasW, kCanvasH);
    DeleteDC(mem);
    EndPaint(dlg, &ps);
}

}  // namespace

INT_PTR PreProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: return PreInitDlg(dlg);
        case WM_PAINT: PrePaint(dlg); return TRUE;
        case WM_LBUTTONDOWN: SendMessageA(dlg, WM_NCLBUTTONDOWN, WPARAM(HTCAPTION), 0); return TRUE;
        case WM_APP_BUTTON:
            if (LOWORD(wp) == kCloseId) EndDialog(dlg, 1);
            return TRUE;
        case WM_DESTROY:
            // The shape goes with the window; the captured canvas goes here.
            DeleteObject(g_preCanvas);
            g_preCanvas = nullptr;
            return TRUE;
        default: return FALSE;
    }
}

void ShowPreview(HWND owner) {
    DialogBoxParamA(g_app.inst, MAKEINTRESOURCEA(144), owner, PreProc, 0);
}
