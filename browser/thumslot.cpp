// The ten thumbnail slot windows: each shows its picture of the current tab and selects it.
#include <initializer_list>

#include "app/appstate.h"
#include "browser/openpic.h"
#include "browser/thumbs.h"
#include "image/stamp.h"
#include "image/workwnd.h"
#include "platform/user/drop.h"
#include "ui/msgdlg.h"

namespace {

// Selects slot k of the current tab; the old and the new slot and their frames in the main
// window are redrawn. The slots are erased too: a stamp's transparent edge would leave the old
// slot's own frame standing.
void SelThumSlot(int k) {
    int& sel = g_app.SelSlot[g_app.CurTab];
    const int old = sel;
    sel = k;
    for (int slot : {old, k}) {
        InvalidateRect(g_app.mainWnd, &g_app.slotRects[slot], FALSE);
        InvalidateRect(g_app.thumWnd[slot], nullptr, TRUE);
    }
}

void ThumPaint(HWND wnd, int k) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    const int tab = g_app.CurTab;
    // Slots past a stamp tab's last picture show their background only.
    DrawThumImg(g_app.imgLists[tab], k, dc, 0, 0);
    if (k == g_app.SelSlot[tab]) {
        const RECT all{0, 0, kThumW, kThumH};
        FrameRect(dc, &all, g_app.hiliteBrush);
    }
    EndPaint(wnd, &ps);
}

// A click selects the slot and opens its photo. The stamp tabs' slots only select until stamps
// can be put on the canvas.
void ThumClick(HWND wnd, int k) {
    SelThumSlot(k);
    const int tab = g_app.CurTab;
    if (g_app.cmbWnd[tab]) {
        AddStmpFromList(tab);
    } else if (!OpenSelectedPic(tab)) {
        ShowMsgDlg(wnd, "画像が見つかりませんでした", MSG_ERROR);
        WhiteThumSlot(wnd, k);
        return;
    }
    RepaintWork(FALSE);
}

// Files dropped on a photo slot fill the slots from this one on; the stamp tabs take none.
void ThumDropFiles(HWND wnd, int k, HDROP drop) {
    if (g_app.cmbWnd[g_app.CurTab]) {
        DragFinish(drop);
        return;
    }
    SelThumSlot(k);
    DropPicFiles(wnd, drop);
    DragFinish(drop);
    if (!OpenSelectedPic(g_app.CurTab)) WhiteThumSlot(wnd, k);
    RepaintWork(FALSE);
}

}  // namespace

void WhiteThumSlot(HWND owner, int k) {
    SetWhiteImg(owner, g_app.imgLists[g_app.CurTab], k);
    InvalidateRect(g_app.thumWnd[k], nullptr, TRUE);
}

LRESULT ThumSlotProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    const int k = GetDlgCtrlID(wnd) - 201;
    switch (msg) {
        case WM_CREATE: DragAcceptFiles(wnd, TRUE); return 0;
        case WM_PAINT: ThumPaint(wnd, k); return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: ThumClick(wnd, k); return 0;
        case WM_DROPFILES: ThumDropFiles(wnd, k, reinterpret_cast<HDROP>(wp)); return 0;
        // The slots go only with the main window.
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcA(wnd, msg, wp, lp);
    }
}
