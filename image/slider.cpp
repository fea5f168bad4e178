// The brightness slider's window procedure.
#include "image/slider.h"

#include "app/appstate.h"
#include "image/brightness.h"
#include "image/workwnd.h"
#include "platform/user/msgbox.h"
#include "ui/appmsg.h"

SldInfo g_sld;

namespace {

int SldCreate() {
    g_sld.knobX = kKnobMid;
    g_sld.knobY = 0;
    g_sld.dragging = false;
    if (!MakeMemSurface(&g_sld.off, kSldW, kSldH))
        MessageBoxA(g_app.mainWnd, "ビットマップ作成失敗", "MainSldProc-Error", MB_OK);
    return 0;
}

void SldDestroy() {
    FreeMemSurface(&g_sld.off);
    DeleteObject(g_sld.track);
    DeleteObject(g_sld.knob);
    g_sld = SldInfo{};
}

void SldPaint(HWND wnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    if (g_sld.off.dc) {
        HDC mem = CreateCompatibleDC(dc);
        DrawSkin(g_sld.off.dc, mem, g_sld.track, 0, 0, kSldW, kSldH);
        DrawSkin(g_sld.off.dc, mem, g_sld.knob, g_sld.knobX, g_sld.knobY, kKnobSize, kKnobSize);
        DeleteDC(mem);
        BitBlt(dc, 0, 0, kSldW, kSldH, g_sld.off.dc, 0, 0, SRCCOPY);
    }
    EndPaint(wnd, &ps);
}

bool OnKnob(int x, int y) {
    return x - g_sld.knobX >= 0 && x - g_sld.knobX < kKnobSize && y - g_sld.knobY >= 0 &&
           y - g_sld.knobY < kKnobSize;
}

// The knob follows the pointer and stops at either end.
void FollowKnob(HWND wnd, int x) {
    g_sld.knobX = x - g_sld.grabX;
    if (g_sld.knobX <= 0) g_sld.knobX = kKnobMin;
    if (g_sld.knobX >= kKnobMax + 1) g_sld.knobX = kKnobMax;
    InvalidateRect(wnd, nullptr, FALSE);
}

void SldLBtnDown(HWND wnd, int x, int y) {
    if (!OnKnob(x, y)) return;
    SetCapture(wnd);
    g_sld.dragging = true;
    g_sld.grabX = x - g_sld.knobX;
}

void SldLBtnUp(HWND wnd, int x) {
    if (g_sld.dragging) {
        FollowKnob(wnd, x);
        BrtWorkBmp(GetKnobBrt(g_sld.knobX));
        RepaintWork(FALSE);
    }
    ReleaseCapture();
    g_sld.dragging = false;
}

void SldDblClk(HWND wnd, int x, int y) {
    if (!OnKnob(x, y)) return;
    g_sld.knobX = kKnobMid;
    InvalidateRect(wnd, nullptr, FALSE);
    BrtWorkBmp(0);
    RepaintWork(FALSE);
}

}  // namespace

LRESULT MainSldProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    switch (msg) {
        case WM_CREATE: return SldCreate();
        case WM_DESTROY: SldDestroy(); return 0;
        case WM_PAINT: SldPaint(wnd); return 0;
        case WM_LBUTTONDOWN: SldLBtnDown(wnd, x, y); return 0;
        case WM_MOUSEMOVE:
            if (g_sld.dragging) FollowKnob(wnd, x);
            return 0;
        case WM_LBUTTONUP: SldLBtnUp(wnd, x); return 0;
        case WM_LBUTTONDBLCLK: SldDblClk(wnd, x, y); return 0;
        case WM_APP_RESET:
            g_sld.knobX = kKnobMid;
            g_sld.knobY = 0;
            InvalidateRect(wnd, nullptr, FALSE);
            return 0;
        default: return DefWindowProcA(wnd, msg, wp, lp);
    }
}

float GetKnobBrt(int knobX) {
    return float((knobX - kKnobMid) * 0.013559322033898306);
}

void ResetSldWnd() {
    if (g_app.sldWnd) PostMessageA(g_app.sldWnd, WM_APP_RESET, 0, 0);
}
