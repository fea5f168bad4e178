// A dialog for the control tests: controls made in it by hand, and every notification they send
// it recorded as (id, code).
#pragma once

#include <utility>
#include <vector>

#include "platform/controls/commctrl.h"

struct CtlDlg {
    HWND dlg;
    // WM_COMMAND: (control id, notification code); WM_NOTIFY: (control id, code).
    std::vector<std::pair<int, int>> heard;
    CtlDlg();
    ~CtlDlg();
    // Makes a control of the class with its style (WS_CHILD | WS_VISIBLE are added).
    HWND Add(const char* cls, int id, DWORD style, int x, int y, int w, int h,
             const char* text = "");
    // The notifications heard since the last call, with the posted ones delivered first.
    std::vector<std::pair<int, int>> Take();
};
