// The main window's procedure and class.
#include "app/mainwnd.h"

#include "app/appstate.h"
#include "browser/thumbs.h"
#include "platform/controls/commctrl.h"
#include "platform/gdi/display.h"
#include "ui/appmsg.h"

LRESULT MainWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE: MainCreate(wnd); return 0;
        case WM_DESTROY: MainDestroy(); return 0;
        case WM_PAINT: MainPaint(wnd); return 0;
        case WM_NCHITTEST: {
            // The skin drags the window wherever no child covers it.
            const LRESULT hit = DefWindowProcA(wnd, msg, wp, lp);
            return hit == HTCLIENT ? HTCAPTION : hit;
        }
        case WM_KEYDOWN:
            if (wp != VK_F1) return DefWindowProcA(wnd, msg, wp, lp);
            OpenHelpPage();
            return 0;
        case WM_COMMAND:
            // A folder list (ids 301 to 303) with another sub-folder chosen refills its tab.
            if (HIWORD(wp) == CBN_SELCHANGE && LOWORD(wp) >= 301 && LOWORD(wp) <= 303)
                LoadThumImgList(wnd, LOWORD(wp) - 301);
            return 0;
        case WM_APP_BUTTON: MainCommand(wnd, LOWORD(wp)); return 0;
        default: return DefWindowProcA(wnd, msg, wp, lp);
    }
}

HWND CreateMainWnd(HINSTANCE inst, int show) {
    WNDCLASSEXA cls{};
    cls.cbSize = sizeof cls;
    cls.style = CS_HREDRAW | CS_VREDRAW;
    cls.lpfnWndProc = MainWndProc;
    cls.hInstance = inst;
    cls.hIcon = LoadIconA(inst, MAKEINTRESOURCEA(135));
    cls.hIconSm = LoadIconA(inst, MAKEINTRESOURCEA(196));
    cls.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_ARROW));
    cls.hbrBackground = (HBRUSH)(intptr_t)(COLOR_WINDOW + 1);
    cls.lpszClassName = "Quillet";
    WNDCLASSEXA known;
    if (!GetClassInfoExA(inst, cls.lpszClassName, &known) && !RegisterClassExA(&cls))
        return nullptr;
    // The client area is the skin's size; the frame and caption measure 0 on frameless windows.
    const int fx = GetSystemMetrics(SM_CXDLGFRAME), fy = GetSystemMetrics(SM_CYDLGFRAME);
    HWND wnd = CreateWindowExA(0, "Quillet", "Quillet", WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                               CW_USEDEFAULT, kMainW + 2 * fx,
                               kMainH + GetSystemMetrics(SM_CYCAPTION) + 2 * fy, nullptr, nullptr,
                               inst, nullptr);
    if (!wnd) return nullptr;
    ShowWindow(wnd, show);
    UpdateWindow(wnd);
    return wnd;
}
