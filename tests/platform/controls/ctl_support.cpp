#include "ctl_support.h"

#include "support/testutil.h"

namespace {

INT_PTR CtlDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(dlg, GWLP_USERDATA, lp);
        return TRUE;
    }
    auto* rec = reinterpret_cast<CtlDlg*>(GetWindowLongPtrA(dlg, GWLP_USERDATA));
    if (!rec) return FALSE;
    if (msg == WM_COMMAND) {
        rec->heard.push_back({LOWORD(wp), HIWORD(wp)});
        return TRUE;
    }
    if (msg == WM_NOTIFY) {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
        rec->heard.push_back({int(hdr->idFrom), int(hdr->code)});
        return TRUE;
    }
    return FALSE;
}

}  // namespace

CtlDlg::CtlDlg() {
    // The message box's template: a dialog with one static text, made modeless here.
    dlg = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(199), nullptr, CtlDlgProc,
                             reinterpret_cast<LPARAM>(this));
    MoveWindow(dlg, 0, 0, 400, 300, TRUE);
    ShowWindow(dlg, SW_SHOW);
}

CtlDlg::~CtlDlg() {
    DestroyWindow(dlg);
    PumpMsgs();
}

HWND CtlDlg::Add(const char* cls, int id, DWORD style, int x, int y, int w, int h,
                 const char* text) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, dlg,
                           reinterpret_cast<HMENU>(intptr_t(id)), nullptr, nullptr);
}

std::vector<std::pair<int, int>> CtlDlg::Take() {
    PumpMsgs();
    std::vector<std::pair<int, int>> out;
    out.swap(heard);
    return out;
}
