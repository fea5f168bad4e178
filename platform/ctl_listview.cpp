// The report list view control: a Qt item view hosted as the window's control.
#include "platform/ctl_rec.h"

LRESULT ListViewProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(wnd, msg, wp, lp);
}
