#include "ui/childwnd.h"

#include <cstdio>

#include "app/appstate.h"
#include "image/slider.h"
#include "platform/controls/commctrl.h"

HWND MakeChildWnd(HWND parent, WNDPROC proc, const char* name, UINT style, int bgColor, int id,
                  int x, int y, int w, int h) {
    WNDCLASSEXA cls{};
    if (!GetClassInfoExA(g_app.inst, name, &cls)) {
        HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(IDI_APPLICATION));
        cls = WNDCLASSEXA{sizeof(WNDCLASSEXA),
                          style,
                          proc,
                          0,
                          0,
                          g_app.inst,
                          icon,
                          LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_ARROW)),
                          reinterpret_cast<HBRUSH>(intptr_t(bgColor + 1)),
                          nullptr,
                          name,
                          icon};
        if (!RegisterClassExA(&cls)) return nullptr;
    }
    HWND wnd = CreateWindowExA(0, name, name, WS_CHILD | WS_VISIBLE, x, y, w, h, parent,
                               reinterpret_cast<HMENU>(intptr_t(id)), g_app.inst, nullptr);
    if (!wnd) return nullptr;
    ShowWindow(wnd, SW_SHOW);
    UpdateWindow(wnd);
    return wnd;
}

HWND MakeThumWnd(HWND parent, WNDPROC proc, int column, int row, int slot) {
    char name[16];
    std::snprintf(name, sizeof name, "THUM%d", 201 + slot);
    RECT& r = g_app.slotRects[slot];
    r = RECT{212 + 85 * column, 175 + 69 * row, 212 + 85 * column + 70, 175 + 69 * row + 54};
    HWND wnd = MakeChildWnd(parent, proc, name, CS_HREDRAW | CS_VREDRAW, COLOR_WINDOW, 201 + slot,
                            r.left, r.top, 70, 54);
    r = RECT{r.left - 4, r.top - 4, r.right + 4, r.bottom + 4};
    return wnd;
}

HWND MakeCmbWnd(HWND parent, int x, int y, int width, int height, int tab) {
    char name[16];
    std::snprintf(name, sizeof name, "CMB%d", 301 + tab);
    constexpr DWORD style =
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN | CBS_SORT | CBS_DISABLENOSCROLL;
    HWND wnd = CreateWindowExA(0, "COMBOBOX", name, style, x, y, width, height, parent,
                               reinterpret_cast<HMENU>(intptr_t(301 + tab)), g_app.inst, nullptr);
    if (wnd) ShowWindow(wnd, SW_HIDE);
    return wnd;
}

HWND MakeWorkWnd(HWND parent, WNDPROC proc) {
    return MakeChildWnd(parent, proc, "WORK401", CS_HREDRAW | CS_VREDRAW, COLOR_BTNFACE, 401, 39,
                        146, 120, 130);
}

HWND MakeSldWnd(HWND parent, WNDPROC proc) {
    g_sld.track = LoadBitmapA(g_app.inst, MAKEINTRESOURCEA(122));
    g_sld.knob = LoadBitmapA(g_app.inst, MAKEINTRESOURCEA(123));
    return MakeChildWnd(parent, proc, "SLD501", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, COLOR_BTNFACE,
                        501, 26, 349, 147, 28);
}

HWND MakeClnWnd(HWND parent, WNDPROC proc) {
    return MakeChildWnd(parent, proc, "CLN801", CS_HREDRAW | CS_VREDRAW, COLOR_WINDOW, 801, 160, 89,
                        162, 128);
}
