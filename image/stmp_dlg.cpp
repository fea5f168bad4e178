// The stamp dialog: skin 146 in its shape, standing over the top stamp, with the buttons turn,
// mirror, delete and close. It closes itself as soon as it loses activation.
#include "app/appstate.h"
#include "image/stamp.h"
#include "image/workbmp.h"
#include "image/workwnd.h"
#include "platform/gdi/region.h"
#include "platform/user/msgbox.h"
#include "ui/appmsg.h"
#include "ui/bmpbtn.h"
#include "ui/bmprgn.h"
#include "ui/memsurf.h"

namespace {

constexpr int kStmpDlgW = 236, kStmpDlgH = 124;
constexpr int kWorkX = 39, kWorkY = 146;  // the work area's place in the main window

struct StmpBtn {
    int id, x, y, size, strip;
};

const StmpBtn kStmpBtns[] = {
    {132, 11, 14, 57, 147},   // turn a quarter anticlockwise
    {133, 75, 14, 57, 149},   // mirror
    {134, 139, 14, 57, 150},  // delete
    {135, 196, 7, 33, 151},   // close
};

// Centred over the stamp, its bottom edge at the stamp's centre height.
void PlaceStmpDlg(HWND dlg) {
    RECT main{};
    GetWindowRect(g_app.mainWnd, &main);
    const StmpInfo& s = g_stmp.items[g_stmp.count - 1];
    MoveWindow(dlg, main.left + s.x + s.width / 2 - kStmpDlgW / 2 + kWorkX,
               main.top + s.y + s.height / 2 - kStmpDlgH + kWorkY, kStmpDlgW, kStmpDlgH, TRUE);
}

INT_PTR StmpInitDlg(HWND dlg) {
    if (g_stmp.count > 0) PlaceStmpDlg(dlg);
    SetRgnCopy(dlg, g_app.stmpRgn);
    for (const StmpBtn& b : kStmpBtns) {
        if (MakeBmpBtn(dlg, BmpBtnProc, b.id, b.x, b.y, b.size, b.size, b.strip)) continue;
        MessageBoxA(dlg, "ボタンが作成できませんでした", "StmpDCProc-Error", MB_OK);
        DestroyWindow(dlg);
        return FALSE;
    }
    return TRUE;
}

void StmpCommand(HWND dlg, int id) {
    switch (id) {
        case 132: RotStmp(); break;
        case 133: MirStmp(); break;
        case 134: DelStmp(); break;
        case 135: DestroyWindow(dlg); return;
        default: return;
    }
    RepaintWork(FALSE);
    if (id == 134) DestroyWindow(dlg);
}

}  // namespace

INT_PTR StmpDCProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: return StmpInitDlg(dlg);
        case WM_PAINT: PaintSkin(dlg, g_app.stmpSkin, kStmpDlgW, kStmpDlgH); return TRUE;
        case WM_LBUTTONDOWN: SendMessageA(dlg, WM_NCLBUTTONDOWN, WPARAM(HTCAPTION), 0); return TRUE;
        case WM_APP_BUTTON: StmpCommand(dlg, LOWORD(wp)); return TRUE;
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE) DestroyWindow(dlg);
            return TRUE;
        case WM_DESTROY:
            // The shape goes with the window.
            if (g_work.stmpDlg == dlg) g_work.stmpDlg = nullptr;
            return TRUE;
        default: return FALSE;
    }
}

int OpenStmpDlg() {
    if (g_work.stmpDlg) DestroyWindow(g_work.stmpDlg);
    g_work.stmpDlg =
        CreateDialogParamA(g_app.inst, MAKEINTRESOURCEA(148), g_app.mainWnd, StmpDCProc, 0);
    if (!g_work.stmpDlg) {
        MessageBoxA(g_app.mainWnd, "DC作成失敗", "MainWorkProc", MB_OK);
        return 0;
    }
    ShowWindow(g_work.stmpDlg, SW_SHOW);
    return 1;
}
