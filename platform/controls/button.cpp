// The BUTTON control's push buttons on QPushButton: a click, the space bar on the focused
// button and BM_CLICK send BN_CLICKED; a default push button looks the part (Enter is the
// dialog's, see the dialog keys).
#include <QPushButton>

#include "platform/controls/records.h"

namespace {

QPushButton* GetQBtn(HWND wnd) {
    CtlRec* c = GetCtl(wnd, CTL_BUTTON);
    return c ? static_cast<QPushButton*>(c->qt) : nullptr;
}

void ButtonCreate(HWND wnd) {
    auto* c = new CtlRec;
    c->kind = CTL_BUTTON;
    auto* btn = new QPushButton(QStr(wnd->text.c_str()));
    btn->setAutoDefault(false);
    btn->setDefault((wnd->style & 0xF) == BS_DEFPUSHBUTTON);
    QObject::connect(btn, &QPushButton::clicked, [wnd] { NotifyCmd(wnd, BN_CLICKED); });
    HostCtl(wnd, c, btn);
}

}  // namespace

LRESULT ButtonProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CREATE) {
        ButtonCreate(wnd);
        return 0;
    }
    QPushButton* btn = GetQBtn(wnd);
    if (!btn) return DefWindowProcA(wnd, msg, wp, lp);
    switch (msg) {
        case WM_SETTEXT:
            DefWindowProcA(wnd, msg, wp, lp);
            btn->setText(QStr(wnd->text.c_str()));
            return TRUE;
        case BM_CLICK: btn->click(); return 0;
        case WM_GETDLGCODE:
            return DLGC_BUTTON | ((wnd->style & 0xF) == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON
                                                                         : DLGC_UNDEFPUSHBUTTON);
        default: return DefWindowProcA(wnd, msg, wp, lp);
    }
}
