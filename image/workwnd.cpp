// The work area's window procedure.
#include "image/workwnd.h"

#include <cstring>

#include "app/appstate.h"
#include "browser/openpic.h"
#include "browser/thumbs.h"
#include "image/canvas.h"
#include "image/slider.h"
#include "image/stamp.h"
#include "image/workbmp.h"
#include "platform/user/drop.h"
#include "platform/user/msgbox.h"

WorkWndInfo g_work;

namespace {

// A cursor of the program's resources, or the standard one of that number.
void ShowResCursor(int num) {
    SetCursor(LoadCursorA(g_app.inst, MAKEINTRESOURCEA(num)));
}

int WorkCreate(HWND wnd) {
    g_work = WorkWndInfo{};
    if (!MakeMemSurface(&g_work.canvas, kCanvasW, kCanvasH))
        MessageBoxA(g_app.mainWnd, "ピットマップ作成失敗", "MainWorkProc-Error", MB_OK);
    WorkBmp.loaded = false;
    DragAcceptFiles(wnd, TRUE);
    return 0;
}

void WorkPaint(HWND wnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    if (g_work.canvas.dc) {
        DrawCanvas(g_work.canvas.dc, g_stmp.items, g_stmp.count);
        BitBlt(dc, 0, 0, kCanvasW, kCanvasH, g_work.canvas.dc, 0, 0, SRCCOPY);
    }
    EndPaint(wnd, &ps);
}

void WorkLBtnDown(HWND wnd, int x, int y) {
    SetCapture(wnd);
    g_work.dragging = true;
    g_work.last = POINT{x, y};
    const int hit = HitStmp(x, y);
    if (hit >= 0) {
        const StmpInfo& s = g_stmp.items[hit];
        g_work.grab = POINT{x - s.x, y - s.y};
        g_work.stmpDrag = true;
        TopStmp(hit);
        g_work.stmpIdx = g_stmp.count - 1;
        RepaintWork(FALSE);
    }
    ShowResCursor(204);
}

// The photo follows the pointer: the canvas window moves the other way on the view.
void WorkMouseMove(int x, int y) {
    if (!g_work.dragging) return;
    const POINT old = g_work.last;
    g_work.last = POINT{x, y};
    if (g_work.stmpDrag) {
        MoveStmp(x - g_work.grab.x, y - g_work.grab.y);
    } else {
        if (!WorkBmp.loaded) return;
        PanWorkBmp(x - old.x, y - old.y);
    }
    RepaintWork(FALSE);
}

// Later zooms and turns pivot on what the canvas centre shows now.
void WorkLBtnUp() {
    if (g_work.dragging) {
        if (WorkBmp.loaded) TakeWorkCenter();
        ShowResCursor(IDC_ARROW);
    }
    g_work.dragging = false;
    g_work.stmpDrag = false;
    ReleaseCapture();
}

// The stamp dialog acts on the top stamp: the one clicked is brought up first.
void WorkRBtnDown(int x, int y) {
    const int hit = HitStmp(x, y);
    if (hit < 0) return;
    TopStmp(hit);
    RepaintWork(FALSE);
    OpenStmpDlg();
}

// The first dropped file replaces the photo; the selected slot of the current tab takes its
// path and thumbnail, and the slider goes back to neutral with the new picture.
void WorkDropFiles(HDROP drop) {
    char path[MAX_PATH];
    if (GetDropPath(drop, 0, path) && InitWorkBmp(path)) {
        memcpy(WorkBmp.path, path, sizeof path);
        const int tab = g_app.CurTab, slot = g_app.SelSlot[tab];
        CreateImgList(g_app.workWnd, path, g_app.imgLists[tab], slot);
        memcpy(g_app.TabSlots[tab][slot], path, sizeof path);
        InvalidateRect(g_app.thumWnd[slot], nullptr, TRUE);
        ResetSldWnd();
    }
    DragFinish(drop);
    RepaintWork(TRUE);
}

}  // namespace

LRESULT MainWorkProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    switch (msg) {
        case WM_CREATE: return WorkCreate(wnd);
        case WM_DESTROY: FreeMemSurface(&g_work.canvas); return 0;
        case WM_PAINT: WorkPaint(wnd); return 0;
        case WM_SETCURSOR: ShowResCursor(205); return TRUE;
        case WM_LBUTTONDOWN: WorkLBtnDown(wnd, x, y); return 0;
        case WM_MOUSEMOVE: WorkMouseMove(x, y); return 0;
        case WM_LBUTTONUP: WorkLBtnUp(); return 0;
        case WM_RBUTTONDOWN: WorkRBtnDown(x, y); return 0;
        case WM_DROPFILES: WorkDropFiles(reinterpret_cast<HDROP>(wp)); return 0;
        default: return DefWindowProcA(wnd, msg, wp, lp);
    }
}

void RepaintWork(BOOL erase) {
    InvalidateRect(g_app.workWnd, nullptr, erase);
}

HBITMAP CopyWorkCanvas() {
    if (!g_work.canvas.dc) return nullptr;
    HBITMAP copy = CreateCompatibleBitmap(g_work.canvas.dc, kCanvasW, kCanvasH);
    if (!copy) return nullptr;
    HDC mem = CreateCompatibleDC(g_work.canvas.dc);
    HGDIOBJ old = SelectObject(mem, copy);
    const BOOL ok = mem && BitBlt(mem, 0, 0, kCanvasW, kCanvasH, g_work.canvas.dc, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    if (ok) return copy;
    DeleteObject(copy);
    return nullptr;
}
