// The main window's children: its 19 buttons, the ten thumbnail slots, the folder lists of the
// tabs with a folder, the work area and the brightness slider.
#include "ui/mainchild.h"

#include <cstdio>
#include <cstring>

#include "app/appstate.h"
#include "browser/thumbs.h"
#include "image/slider.h"
#include "image/workwnd.h"
#include "ui/bmpbtn.h"
#include "ui/childwnd.h"

namespace {

struct MainBtnPlace {
    int id, x, y, w, h, strip;
};

// In the order they are made.
const MainBtnPlace kMainBtns[] = {
    {101, 299, 558, 66, 20, 101}, {102, 24, 109, 60, 23, 102},  {103, 113, 109, 60, 23, 103},
    {104, 69, 287, 58, 31, 104},  {105, 69, 318, 58, 24, 105},  {106, 31, 424, 66, 27, 106},
    {107, 31, 390, 137, 26, 107}, {108, 102, 424, 67, 26, 116}, {109, 23, 460, 65, 65, 108},
    {110, 100, 466, 89, 24, 109}, {111, 89, 494, 92, 24, 110},  {112, 194, 114, 64, 24, 113},
    {113, 258, 114, 64, 24, 114}, {114, 322, 114, 64, 24, 115}, {115, 291, 148, 81, 17, 112},
    {116, 220, 558, 66, 20, 111}, {117, 0, 0, 56, 33, 117},     {118, 21, 293, 48, 33, 140},
    {131, 127, 293, 48, 33, 169},
};

}  // namespace

int MakeMainChild(HWND mainWnd) {
    int ok = 1;
    for (const MainBtnPlace& b : kMainBtns) {
        HWND wnd = MakeBmpBtn(mainWnd, BmpBtnProc, b.id, b.x, b.y, b.w, b.h, b.strip);
        if (!wnd) ok = 0;
        if (b.id == 115) g_app.loadBtnWnd = wnd;
    }
    for (int row = 0; row < 5; row++)
        for (int col = 0; col < 2; col++) {
            const int slot = 2 * row + col;
            g_app.thumWnd[slot] = MakeThumWnd(mainWnd, ThumSlotProc, col, row, slot);
            if (!g_app.thumWnd[slot]) ok = 0;
        }
    // A tab's folder name becomes the folder beside the program, whose sub-folders it lists.
    for (int t = 0; t < kTabCount; t++) {
        char* folder = g_app.TabFolder[t];
        if (!folder[0]) continue;
        char path[MAX_PATH];
        const int n = snprintf(path, MAX_PATH, "%s%s/", g_app.ModuleDir, folder);
        if (n < 0 || n >= MAX_PATH) {
            ok = 0;
            continue;
        }
        memcpy(folder, path, size_t(n) + 1);
        g_app.cmbWnd[t] = MakeCmbWnd(mainWnd, 224, 146, 128, 268, t);
        if (!g_app.cmbWnd[t]) {
            ok = 0;
            continue;
        }
        SetCmbList(t);
    }
    g_app.workWnd = MakeWorkWnd(mainWnd, MainWorkProc);
    g_app.sldWnd = MakeSldWnd(mainWnd, MainSldProc);
    if (!g_app.workWnd || !g_app.sldWnd) ok = 0;
    return ok;
}
