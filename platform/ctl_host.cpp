// Standard controls hosted as Qt widgets: the widget fills its window, takes the window's font
// and hears the pointer; notifications to the parent; UTF-8 texts.
#include <QApplication>

#include "platform/ctl_rec.h"

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

QString QStr(const char* utf8) {
    return QString::fromUtf8(utf8 ? utf8 : "");
}

std::string Utf8Of(const QString& s) {
    return s.toUtf8().toStdString();
}

HWND FindOwnerWnd(QObject* obj) {
    for (QObject* o = obj; o; o = o->parent()) {
        if (auto* ww = dynamic_cast<WndWidget*>(o)) return IsLiveWnd(ww->wnd) ? ww->wnd : nullptr;
        // A popup of its own (a combobox's list) is not the window's.
        auto* w = qobject_cast<QWidget*>(o);
        if (w && w->isWindow()) return nullptr;
    }
    return nullptr;
}
