// Standard controls hosted as Qt widgets: the widget fills its window, takes the window's font
// and hears the pointer; notifications to the parent; the control classes made known.
#include <QApplication>

#include "platform/controls/records.h"

namespace {

// Every widget of a control follows the pointer, so that moves over it reach a window holding
// the capture (a lit bitmap button next to the control).
void TrackPointer(QWidget* qt) {
    qt->setMouseTracking(true);
    for (QWidget* kid : qt->findChildren<QWidget*>()) kid->setMouseTracking(true);
}

}  // namespace

void HostCtl(HWND wnd, CtlRec* ctl, QWidget* qt) {
    wnd->ctl = ctl;
    ctl->qt = qt;
    qt->setParent(wnd->widget);
    qt->setGeometry(wnd->widget->rect());
    qt->setFont(GetWndQFont(wnd));
    wnd->widget->setFocusProxy(qt);
    TrackPointer(qt);
    qt->show();
}

CtlRec* GetCtl(HWND wnd, int kind) {
    if (!IsLiveWnd(wnd) || !wnd->ctl || wnd->ctl->kind != kind) return nullptr;
    return wnd->ctl;
}

void NotifyCmd(HWND ctl, WORD code) {
    if (!IsLiveWnd(ctl) || !ctl->parent) return;
    SendMessageA(ctl->parent, WM_COMMAND, MAKEWPARAM(ctl->id, code), LPARAM(ctl));
}

LRESULT NotifyParent(HWND ctl, NMHDR* hdr, UINT code) {
    if (!IsLiveWnd(ctl) || !ctl->parent) return 0;
    hdr->hwndFrom = ctl;
    hdr->idFrom = uintptr_t(ctl->id);
    hdr->code = code;
    return SendMessageA(ctl->parent, WM_NOTIFY, WPARAM(ctl->id), LPARAM(hdr));
}

void InitCommonControls() {
    const std::pair<const char*, WNDPROC> classes[] = {{"EDIT", EditProc},
                                                       {"COMBOBOX", ComboProc},
                                                       {"BUTTON", ButtonProc},
                                                       {"SysListView32", ListViewProc}};
    for (const auto& c : classes) RegisterSysClass(c.first, c.second);
}
