// Dialogs from the templates in res/: converted from dialog units to pixels, created with their
// controls, run modally with their own loop or modeless.
#include "platform/user/modal.h"
#include "platform/user/records.h"
#include "res/dlgtempl.h"

namespace {

// Dialog units to pixels for the template fonts: the font's average character width is 7 pixels
// and its height is the point size at 96 dots per inch (12 pixels at 9 points, 13 at 10), so a
// unit is 7/4 pixel across and height/8 down; positions and sizes are each rounded to the
// nearest pixel, halves up.
int DluToPx(int dlu, int num, int den) {
    return (dlu * num + den / 2) / den;
}

int GetFontPx(int pointSize) {
    return (pointSize * 96 + 36) / 72;
}

// Creates the dialog and its controls, hidden, and sends WM_INITDIALOG; none on failure.
HWND MakeDlg(LPCSTR templ, HWND owner, DLGPROC proc, LPARAM param) {
    const DlgTempl* t = IS_INTRESOURCE(templ) ? FindDlgTempl(int(uintptr_t(templ))) : nullptr;
    if (!t || (owner && !IsLiveWnd(owner))) return nullptr;
    const int fontPx = GetFontPx(t->pointSize);
    int x = 0, y = 0;
    if (owner) {
        RECT r;
        GetWindowRect(owner, &r);
        x = r.left;
        y = r.top;
    }
    HWND dlg = NewWndRec(nullptr, t->style, "", x, y, DluToPx(t->cx, 7, 4),
                         DluToPx(t->cy, fontPx, 8), owner, 0);
    if (!dlg) return nullptr;
    dlg->dialog = true;
    dlg->dlgProc = proc;
    dlg->fontPx = fontPx;
    for (int i = 0; i < t->count; ++i) {
        const DlgItemTempl& it = t->items[i];
        HWND item = CreateWindowExA(0, it.cls, it.text, WS_CHILD | it.style, DluToPx(it.x, 7, 4),
                                    DluToPx(it.y, fontPx, 8), DluToPx(it.cx, 7, 4),
                                    DluToPx(it.cy, fontPx, 8), dlg,
                                    reinterpret_cast<HMENU>(intptr_t(it.id)), nullptr, nullptr);
        if (!item) {
            DestroyWindow(dlg);
            return nullptr;
        }
    }
    // The first control the keyboard reaches takes the focus, unless the procedure answers
    // FALSE because it gave the focus itself.
    HWND first = GetNextDlgTabItem(dlg, nullptr, FALSE);
    const LRESULT focusFirst = SendMessageA(dlg, WM_INITDIALOG, WPARAM(first), param);
    if (!IsLiveWnd(dlg)) return nullptr;
    if (focusFirst) {
        // The procedure may have disabled or hidden it: the next one that can take it.
        HWND to = GetNextDlgTabItem(dlg, nullptr, FALSE);
        if (to) SetFocus(to);
    }
    return dlg;
}

}  // namespace

HWND CreateDialogParamA(HINSTANCE, LPCSTR templ, HWND owner, DLGPROC proc, LPARAM param) {
    HWND dlg = MakeDlg(templ, owner, proc, param);
    const DlgTempl* t = dlg ? FindDlgTempl(int(uintptr_t(templ))) : nullptr;
    if (t && (t->style & WS_VISIBLE)) ShowWindow(dlg, SW_SHOW);
    return dlg;
}

INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR templ, HWND owner, DLGPROC proc, LPARAM param) {
    HWND ownerFocus = GetFocus();
    HWND dlg = MakeDlg(templ, owner, proc, param);
    if (!dlg) return -1;
    if (dlg->dlgEnded) {  // ended while it was initialised: it never shows
        const INT_PTR result = dlg->dlgResult;
        DestroyWindow(dlg);
        return result;
    }
    owner = GetParent(dlg);  // the top-level window of the owner named
    const BOOL ownerWasOff = owner ? EnableWindow(owner, FALSE) : FALSE;
    // The window manager too keeps the owner from being activated meanwhile.
    dlg->widget->setWindowModality(Qt::WindowModal);
    ShowWindow(dlg, SW_SHOW);
    UpdateWindow(dlg);
    // A test answers in the user's place: by posting to the dialog (its buttons' messages) or,
    // when that does not end it, with the answer it returns.
    ModalEvent ev = {MODAL_DIALOG, owner, nullptr, nullptr, 0, int(uintptr_t(templ)), dlg};
    int answer = 0;
    const bool hooked = CallModalHook(&ev, &answer) != 0;
    MSG msg;
    while (IsLiveWnd(dlg) && !dlg->dlgEnded) {
        if (!TakePostedMsg(&msg, !hooked)) {
            // The hook's answer when nothing it posted ended the dialog.
            if (hooked) EndDialog(dlg, answer);
            continue;
        }
        if (msg.message == WM_QUIT) {
            RepostQuit(msg);
            break;
        }
        DispatchMessageA(&msg);
    }
    const INT_PTR result = IsLiveWnd(dlg) ? dlg->dlgResult : -1;
    if (owner && IsLiveWnd(owner)) {
        EnableWindow(owner, !ownerWasOff);
        BringWindowToTop(owner);
    }
    if (IsLiveWnd(dlg)) DestroyWindow(dlg);
    // The owner gets back the focus it had, as a dialog does when it is activated again.
    if (ownerFocus && IsLiveWnd(ownerFocus) && !IsInputOff(ownerFocus)) SetFocus(ownerFocus);
    return result;
}

BOOL EndDialog(HWND dlg, INT_PTR result) {
    if (!IsLiveWnd(dlg) || !dlg->dialog) return FALSE;
    dlg->dlgEnded = true;
    dlg->dlgResult = result;
    dlg->widget->hide();
    WakeMsgLoop();
    return TRUE;
}
