#include "ui/bmpbtn.h"

#include <cstdio>

#include "app/appstate.h"
#include "platform/kernel/kernel.h"
#include "ui/appmsg.h"
#include "ui/childwnd.h"

ButtonEntry ButtonTable[kBtnCount];

namespace {

// The buttons that open a web page or the help page stay unlit while the browser comes up.
constexpr DWORD kSlowBtnMs = 1500;

bool IsSlowBtn(int id) {
    return id == 109 || id == 110 || id == 111 || id == 116;
}

ButtonEntry* GetBtnEntry(HWND wnd) {
    const int i = GetDlgCtrlID(wnd) - kFirstBtnId;
    return i >= 0 && i < kBtnCount ? &ButtonTable[i] : nullptr;
}

// Positions left of or above the button wrap round as unsigned words: they count as outside.
bool IsInsideBtn(const ButtonEntry* e, LPARAM lp) {
    return LOWORD(uintptr_t(lp)) < e->width && HIWORD(uintptr_t(lp)) < e->height;
}

void DrawBtnLook(HDC dc, const ButtonEntry* e) {
    if (!e->strip) return;
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, e->strip);
    BitBlt(dc, 0, 0, e->width, e->height, mem, 0, e->look * e->height, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
}

void SetBtnLook(HWND wnd, ButtonEntry* e, int look) {
    e->look = look;
    InvalidateRect(wnd, nullptr, FALSE);
}

LRESULT BtnHitTest(HWND wnd, ButtonEntry* e, WPARAM wp, LPARAM lp) {
    const LRESULT hit = DefWindowProcA(wnd, WM_NCHITTEST, wp, lp);
    if (hit != HTCLIENT || e->pressed) return hit;
    if (e->justClicked) {
        if (!IsSlowBtn(GetDlgCtrlID(wnd))) e->justClicked = FALSE;
        return hit;
    }
    e->look = BTN_HOVER;
    SetCapture(wnd);
    InvalidateRect(wnd, nullptr, FALSE);
    return hit;
}

void BtnMouseMove(HWND wnd, ButtonEntry* e, LPARAM lp) {
    if (!IsInsideBtn(e, lp)) {
        e->justClicked = FALSE;
        SetBtnLook(wnd, e, BTN_NORMAL);
        if (!e->pressed) ReleaseCapture();
        return;
    }
    if (e->pressed) {
        SetBtnLook(wnd, e, BTN_PRESSED);
    } else if (e->justClicked) {
        const bool resting =
            IsSlowBtn(GetDlgCtrlID(wnd)) && GetTickCount() - e->clickTime <= kSlowBtnMs;
        if (!resting) e->justClicked = FALSE;
    } else {
        SetBtnLook(wnd, e, BTN_HOVER);
    }
}

void BtnLBtnDown(HWND wnd, ButtonEntry* e) {
    e->pressed = TRUE;
    SetBtnLook(wnd, e, BTN_PRESSED);
    BringWindowToTop(GetParent(wnd));
}

void BtnLBtnUp(HWND wnd, ButtonEntry* e, LPARAM lp) {
    e->pressed = FALSE;
    e->look = BTN_NORMAL;
    if (!IsInsideBtn(e, lp)) {
        ReleaseCapture();
        return;
    }
    // The normal look shows at once: the parent may open a window before the next paint.
    HDC dc = GetDC(wnd);
    DrawBtnLook(dc, e);
    ReleaseDC(wnd, dc);
    PostMessageA(GetParent(wnd), WM_APP_BUTTON, WPARAM(GetDlgCtrlID(wnd)), 0);
    e->justClicked = TRUE;
    e->clickTime = GetTickCount();
    ReleaseCapture();
    PostMessageA(wnd, WM_MOUSEMOVE, 0, lp);
}

}  // namespace

LRESULT BmpBtnProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    ButtonEntry* e = GetBtnEntry(wnd);
    if (!e) return DefWindowProcA(wnd, msg, wp, lp);
    switch (msg) {
        case WM_CREATE:
            e->look = BTN_NORMAL;
            e->pressed = FALSE;
            e->justClicked = FALSE;
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(wnd, &ps);
            DrawBtnLook(dc, e);
            EndPaint(wnd, &ps);
            return 0;
        }
        case WM_NCHITTEST: return BtnHitTest(wnd, e, wp, lp);
        case WM_MOUSEMOVE: BtnMouseMove(wnd, e, lp); return 0;
        case WM_LBUTTONDOWN: BtnLBtnDown(wnd, e); return 0;
        case WM_LBUTTONUP: BtnLBtnUp(wnd, e, lp); return 0;
        case WM_DESTROY: return 0;
        default: return DefWindowProcA(wnd, msg, wp, lp);
    }
}

HWND MakeBmpBtn(HWND parent, WNDPROC proc, int id, int x, int y, int width, int height, int strip) {
    if (id < kFirstBtnId || id >= kFirstBtnId + kBtnCount) return nullptr;
    char name[16];
    std::snprintf(name, sizeof name, "Child%d", id);
    ButtonEntry& e = ButtonTable[id - kFirstBtnId];
    e.width = width;
    e.height = height;
    HWND wnd = MakeChildWnd(parent, proc, name, CS_HREDRAW | CS_VREDRAW, COLOR_BTNFACE, id, x, y,
                            width, height);
    if (!wnd) return nullptr;
    // A dialog opened again makes its buttons again: the strip of the last time goes.
    if (e.strip) DeleteObject(e.strip);
    e.strip = LoadBitmapA(g_app.inst, MAKEINTRESOURCEA(strip));
    InvalidateRect(wnd, nullptr, FALSE);
    return wnd;
}

void FreeBtnStrips() {
    for (ButtonEntry& e : ButtonTable) {
        if (e.strip) DeleteObject(e.strip);
        e.strip = nullptr;
    }
}
