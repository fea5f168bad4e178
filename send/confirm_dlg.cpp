// The first run's confirmation: the three values over the skin, the password as one "*" per
// byte, and the buttons to accept them or to go back.
#include <cstring>
#include <iterator>

#include "app/appstate.h"
#include "send/account.h"
#include "ui/appmsg.h"
#include "ui/memsurf.h"
#include "ui/skindlg.h"

namespace {

constexpr int kConfW = 320, kConfH = 277;
constexpr int kAcceptId = 142, kBackId = 143;

const DlgBtn kConfBtns[] = {{kAcceptId, 216, 234, 88, 32, 163}, {kBackId, 17, 233, 88, 32, 186}};

HBITMAP g_confSkin;

// Over the first-run dialog's top-left corner.
INT_PTR ConfInitDlg(HWND dlg) {
    if (!MakeSkinDlg(dlg, 185, kConfW, kConfH, kConfBtns, int(std::size(kConfBtns)),
                     "DlgSendProc-Error", &g_confSkin))
        return FALSE;
    RECT fst{};
    GetWindowRect(GetParent(dlg), &fst);
    MoveWindow(dlg, fst.left, fst.top, kConfW, kConfH, TRUE);
    memset(g_confirm.pass, '*', strlen(g_confirm.pass));
    SetFieldSjis(dlg, 1034, g_confirm.album);
    SetFieldSjis(dlg, 1035, g_confirm.pass);
    SetFieldSjis(dlg, 1042, g_confirm.mail);
    return TRUE;
}

}  // namespace

INT_PTR DlgConfirmProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: return ConfInitDlg(dlg);
        case WM_PAINT: PaintSkin(dlg, g_confSkin, kConfW, kConfH); return TRUE;
        case WM_CTLCOLORSTATIC: return ClearLblBk(wp);
        case WM_LBUTTONDOWN: SendMessageA(dlg, WM_NCLBUTTONDOWN, WPARAM(HTCAPTION), 0); return TRUE;
        case WM_APP_BUTTON:
            if (LOWORD(wp) == kAcceptId) EndDialog(dlg, 1);
            if (LOWORD(wp) == kBackId) {
                FreeSkin(&g_confSkin);
                EndDialog(dlg, 0);
            }
            return TRUE;
        case WM_COMMAND: return TRUE;  // Enter and Escape do nothing
        case WM_DESTROY: FreeSkin(&g_confSkin); return TRUE;
        default: return FALSE;
    }
}
