// Keyboard focus and the dialog keys: which window has the focus, WM_KILLFOCUS and WM_SETFOCUS
// as it moves, Tab between a dialog's controls, Enter and Escape as the dialog's commands.
#include <QApplication>

#include "platform/user/records.h"

namespace {

HWND g_focus;

bool IsTabStop(HWND k) {
    return IsLiveWnd(k) && (k->style & WS_TABSTOP) && !k->disabled && !k->widget->isHidden();
}

// What a control says it is and which keys it keeps (WM_GETDLGCODE, DLGC_*); 0 for none.
LRESULT GetDlgCode(HWND ctl, WPARAM vk) {
    return IsLiveWnd(ctl) ? SendMessageA(ctl, WM_GETDLGCODE, vk, 0) : 0;
}

// The control Enter presses: the focused push button, else the default push button.
HWND FindDefBtn(HWND dlg, HWND focus) {
    if (GetDlgCode(focus, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) return focus;
    for (HWND k : dlg->children)
        if (GetDlgCode(k, 0) & DLGC_DEFPUSHBUTTON) return k;
    return nullptr;
}

// Enter and Escape send the dialog a button's command, unless that button is disabled.
void SendDlgCmd(HWND dlg, int id, HWND btn) {
    if (btn && !IsWindowEnabled(btn)) {
        QApplication::beep();
        return;
    }
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(btn));
}

// An edit reached with the keyboard shows all its text selected, ready to be typed over.
void FocusByKey(HWND ctl) {
    SetFocus(ctl);
    if (GetDlgCode(ctl, 0) & DLGC_HASSETSEL) SendMessageA(ctl, EM_SETSEL, 0, -1);
}

}  // namespace

void NoteFocus(HWND wnd) {
    HWND old = IsLiveWnd(g_focus) ? g_focus : nullptr;
    if (wnd && !IsLiveWnd(wnd)) wnd = nullptr;
    if (old == wnd) return;
    g_focus = wnd;
    if (old) SendMessageA(old, WM_KILLFOCUS, WPARAM(wnd), 0);
    // The window losing the focus may have given it elsewhere meanwhile.
    if (wnd && g_focus == wnd && IsLiveWnd(wnd)) SendMessageA(wnd, WM_SETFOCUS, WPARAM(old), 0);
}

HWND SetFocus(HWND wnd) {
    HWND old = GetFocus();
    if (wnd && (!IsLiveWnd(wnd) || IsInputOff(wnd))) return nullptr;
    NoteFocus(wnd);
    // A window that heard WM_KILLFOCUS may have taken the focus back meanwhile.
    if (wnd && GetFocus() == wnd) {
        QWidget* w = wnd->ctl ? wnd->ctl->qt : wnd->widget;
        w->setFocus(Qt::OtherFocusReason);
    }
    return old;
}

HWND GetActiveWindow() {
    QWidget* w = QApplication::activeWindow();
    return w ? FindOwnerWnd(w) : nullptr;
}

HWND GetFocus() {
    return IsLiveWnd(g_focus) ? g_focus : nullptr;
}

HWND GetNextDlgTabItem(HWND dlg, HWND ctl, BOOL previous) {
    if (!IsLiveWnd(dlg)) return nullptr;
    const std::vector<HWND>& kids = dlg->children;
    const int n = int(kids.size());
    int at = -1;
    for (int i = 0; i < n; ++i)
        if (kids[i] == ctl) at = i;
    if (at < 0) at = previous ? 0 : n - 1;  // no control given: start from the first or last
    for (int step = 1; step <= n; ++step) {
        const int i = previous ? (at - step % n + n) % n : (at + step) % n;
        if (IsTabStop(kids[i])) return kids[i];
    }
    return nullptr;
}

bool DoDlgKey(HWND focus, int key, Qt::KeyboardModifiers mods) {
    HWND dlg = GetTopWnd(focus);
    if (!dlg->dialog) return false;
    HWND ctl = focus == dlg ? nullptr : focus;
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab: {
            const bool back = key == Qt::Key_Backtab || (mods & Qt::ShiftModifier);
            HWND next = GetNextDlgTabItem(dlg, ctl, back);
            if (next) FocusByKey(next);
            return true;
        }
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            // A control that wants this Enter (a multi-line edit's line break) keeps it.
            if (GetDlgCode(ctl, VK_RETURN) & DLGC_WANTALLKEYS) return false;
            HWND btn = FindDefBtn(dlg, ctl);
            const int id = btn ? btn->id : IDOK;
            SendDlgCmd(dlg, id, btn ? btn : GetDlgItem(dlg, IDOK));
            return true;
        }
        case Qt::Key_Escape: SendDlgCmd(dlg, IDCANCEL, GetDlgItem(dlg, IDCANCEL)); return true;
        default: return false;
    }
}
