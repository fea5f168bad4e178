// Window texts and fonts: the text calls go through WM_SETTEXT and WM_GETTEXT, so that a control
// answers with its own text; the window system keeps the text of the others. The A functions
// exchange UTF-8.
#include <cstring>

#include "platform/user/records.h"

void SetWndText(HWND wnd, const char* text) {
    wnd->text = text ? text : "";
    if (!wnd->child) wnd->widget->setWindowTitle(QString::fromStdString(wnd->text));
    wnd->widget->update();
}

BOOL SetWindowTextA(HWND wnd, LPCSTR text) {
    if (!IsLiveWnd(wnd)) return FALSE;
    return SendMessageA(wnd, WM_SETTEXT, 0, LPARAM(text)) ? TRUE : FALSE;
}

int GetWindowTextA(HWND wnd, LPSTR buf, int size) {
    if (!IsLiveWnd(wnd) || !buf || size <= 0) return 0;
    return int(SendMessageA(wnd, WM_GETTEXT, WPARAM(size), LPARAM(buf)));
}

int GetWindowTextLengthA(HWND wnd) {
    if (!IsLiveWnd(wnd)) return 0;
    return int(SendMessageA(wnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetDlgItemTextA(HWND dlg, int id, LPCSTR text) {
    return SetWindowTextA(GetDlgItem(dlg, id), text);
}

UINT GetDlgItemTextA(HWND dlg, int id, LPSTR buf, int size) {
    HWND item = GetDlgItem(dlg, id);
    if (!item) {
        if (buf && size > 0) buf[0] = 0;
        return 0;
    }
    return UINT(GetWindowTextA(item, buf, size));
}

LRESULT SendDlgItemMessageA(HWND dlg, int id, UINT msg, WPARAM wp, LPARAM lp) {
    HWND item = GetDlgItem(dlg, id);
    return item ? SendMessageA(item, msg, wp, lp) : 0;
}

QFont GetWndQFont(HWND wnd) {
    return wnd->font ? wnd->font->font : GetDlgQFont(wnd->fontPx);
}

QString QStr(const char* utf8) {
    return QString::fromUtf8(utf8 ? utf8 : "");
}

std::string Utf8Of(const QString& s) {
    return s.toUtf8().toStdString();
}
