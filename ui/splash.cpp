#include "ui/splash.h"

#include "app/appstate.h"
#include "platform/gdi/display.h"
#include "platform/gdi/region.h"
#include "ui/bmprgn.h"

INT_PTR DlgSplashProc(HWND dlg, UINT msg, WPARAM, LPARAM) {
    if (msg != WM_INITDIALOG) return FALSE;
    constexpr int w = 396, h = 383;
    MoveWindow(dlg, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, TRUE);
    HBITMAP skin = LoadBitmapA(g_app.inst, MAKEINTRESOURCEA(143));
    HRGN rgn = skin ? GetBmpRgn(dlg, skin, w, h, 0, 0) : nullptr;
    if (skin) DeleteObject(skin);
    if (rgn) SetWindowRgn(dlg, rgn, TRUE);
    return FALSE;  // the focus was not set
}
