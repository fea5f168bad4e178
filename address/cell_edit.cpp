// The cell editor: a borderless popup over a cell of the address list, holding one edit field.
// Enter keeps the text, Escape drops it, and clicking elsewhere keeps it.
#include "address/addrdlg.h"
#include "app/appstate.h"
#include "platform/controls/commctrl.h"
#include "platform/text/codepage.h"

CellEdit g_cellEdit;

namespace {

constexpr int kCellEditId = 1017;

// The buffer's text as the editor shows it: UTF-8, or empty when the bytes are no CP932 text (a
// file edited by hand, or 255 bytes cut through a double-byte character).
std::string ShownText() {
    std::string utf8;
    return SjisToUtf8(g_cellEdit.text, &utf8) ? utf8 : std::string();
}

INT_PTR CellInitDlg(HWND wnd) {
    const RECT& c = g_cellEdit.cell;
    const int w = c.right - c.left, h = c.bottom - c.top;
    SetWindowPos(wnd, HWND_TOPMOST, c.left + 3, c.top + 2, w, h, SWP_SHOWWINDOW);
    HWND edit = GetDlgItem(wnd, kCellEditId);
    MoveWindow(edit, 0, 0, w, h, TRUE);
    SendMessageA(edit, EM_LIMITTEXT, 255, 0);
    SetWindowTextA(edit, ShownText().c_str());
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SetFocus(edit);
    return FALSE;
}

// Hands the text to the dialog and goes. Runs once, whichever way the editor closes first.
void CellClose(HWND wnd) {
    if (g_cellEdit.editor != wnd) return;
    g_cellEdit.editor = nullptr;
    char utf8[256 * 3];
    GetWindowTextA(GetDlgItem(wnd, kCellEditId), utf8, sizeof utf8);
    std::string sjis;
    // The field takes only text CP932 can hold, and at most 255 of its bytes. Text the user left
    // as shown keeps its bytes, also those that could not be shown.
    if (utf8 != ShownText() && Utf8ToSjis(utf8, &sjis))
        snprintf(g_cellEdit.text, sizeof g_cellEdit.text, "%s", sjis.c_str());
    SendMessageA(g_cellEdit.dlg, WM_CELL_DONE, 0, 0);
    DestroyWindow(wnd);
}

}  // namespace

INT_PTR CellEditProc(HWND wnd, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: return CellInitDlg(wnd);
        case WM_COMMAND:
            if (LOWORD(wp) == IDCANCEL) g_cellEdit.commit = 0;
            if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) CellClose(wnd);
            return TRUE;
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE) CellClose(wnd);
            return TRUE;
        case WM_CELL_CLOSE: CellClose(wnd); return TRUE;
        default: return FALSE;
    }
}

int OpenCellEdit(HWND dlg) {
    g_cellEdit.dlg = dlg;
    g_cellEdit.editor = nullptr;
    HWND wnd = CreateDialogParamA(g_app.inst, MAKEINTRESOURCEA(181), dlg, CellEditProc, 0);
    if (!wnd) return 0;
    g_cellEdit.editor = wnd;
    ShowWindow(wnd, SW_SHOW);
    return 1;
}
