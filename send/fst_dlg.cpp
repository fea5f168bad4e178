// The first-run dialog: album ID, password and the required mail address, confirmed in a second
// dialog before anything is stored. Cancelling it ends the program.
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>
#include <string>

#include "app/appstate.h"
#include "app/reginfo.h"
#include "platform/controls/commctrl.h"
#include "platform/user/msgbox.h"
#include "send/account.h"
#include "ui/appmsg.h"
#include "ui/memsurf.h"
#include "ui/msgdlg.h"
#include "ui/skindlg.h"

ConfirmCopy g_confirm;

namespace {

constexpr int kFstW = 300, kFstH = 300;
constexpr int kAlbumId = 1017, kPassId = 1018, kMailId = 1019;
constexpr int kOkId = 140, kCancelId = 141;

const DlgBtn kFstBtns[] = {{kOkId, 106, 158, 88, 32, 163}, {kCancelId, 12, 158, 88, 32, 189}};

HBITMAP g_fstSkin;

INT_PTR FstInitDlg(HWND dlg) {
    if (!MakeSkinDlg(dlg, 176, kFstW, kFstH, kFstBtns, int(std::size(kFstBtns)),
                     "DlgSendProc-Error", &g_fstSkin))
        return FALSE;
    CentreInWorkArea(dlg, kFstW, kFstH);
    SetFieldFromReg(dlg, kAlbumId, "ALBUMID");
    SetFieldFromReg(dlg, kPassId, "PASSWORD");
    SendDlgItemMessageA(dlg, kAlbumId, EM_LIMITTEXT, kAlbumMax, 0);
    SendDlgItemMessageA(dlg, kPassId, EM_LIMITTEXT, kPassMax, 0);
    SendDlgItemMessageA(dlg, kMailId, EM_LIMITTEXT, kMailMax, 0);
    return TRUE;
}

// OK: the values go to the confirmation; stored only when the user accepts them there.
void FstOk(HWND dlg) {
    memset(&g_confirm, 0, sizeof g_confirm);
    std::string album, pass, mail;
    try {
        GetFieldSjis(dlg, kAlbumId, &album);
        GetFieldSjis(dlg, kPassId, &pass);
        GetFieldSjis(dlg, kMailId, &mail);
    } catch (const std::bad_alloc&) {
        TellNoMemory(dlg, "DlgFstProc");
        return;
    }
    if (mail.empty()) {
        ShowMsgDlg(dlg, "メールアドレスを入力して下さい", MSG_ERROR);
        SetFocus(GetDlgItem(dlg, kMailId));
        return;
    }
    snprintf(g_confirm.album, sizeof g_confirm.album, "%s", album.c_str());
    snprintf(g_confirm.pass, sizeof g_confirm.pass, "%s", pass.c_str());
    snprintf(g_confirm.mail, sizeof g_confirm.mail, "%s", mail.c_str());
    ShowWindow(dlg, SW_HIDE);
    if (DialogBoxParamA(g_app.inst, MAKEINTRESOURCEA(187), dlg, DlgConfirmProc, 0) != 1) {
        ShowWindow(dlg, SW_SHOW);
        return;
    }
    const RegText vals[] = {
        {"ALBUMID", album.c_str()}, {"PASSWORD", pass.c_str()}, {"USERID", mail.c_str()}};
    if (!StoreAccount(dlg, "DlgFstProc", vals)) return;
    FreeSkin(&g_fstSkin);
    EndDialog(dlg, 1);
}

}  // namespace

void SetFieldFromReg(HWND dlg, int id, const char* name) {
    char* text = nullptr;
    if (!GetRegValue(name, &text) || !text) return;
    SetFieldSjis(dlg, id, text);
    free(text);
}

void TellNoMemory(HWND dlg, const char* caption) {
    MessageBoxA(dlg, "メモリを確保できませんでした", caption, MB_OK);
}

int StoreAccount(HWND dlg, const char* caption, std::span<const RegText> vals) {
    int stored;
    try {
        stored = SetRegTexts(vals);
    } catch (const std::bad_alloc&) {
        ShowWindow(dlg, SW_SHOW);
        TellNoMemory(dlg, caption);
        return 0;
    }
    if (stored) return 1;
    ShowWindow(dlg, SW_SHOW);
    ShowMsgDlg(dlg, "設定を保存できませんでした", MSG_ERROR);
    return 0;
}

INT_PTR DlgFstProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: return FstInitDlg(dlg);
        case WM_PAINT: PaintSkin(dlg, g_fstSkin, kFstW, kFstH); return TRUE;
        case WM_LBUTTONDOWN: SendMessageA(dlg, WM_NCLBUTTONDOWN, WPARAM(HTCAPTION), 0); return TRUE;
        case WM_APP_BUTTON:
            if (LOWORD(wp) == kOkId) FstOk(dlg);
            if (LOWORD(wp) == kCancelId) {
                FreeSkin(&g_fstSkin);
                EndDialog(dlg, 0);
            }
            return TRUE;
        case WM_COMMAND: return TRUE;  // Enter and Escape do nothing
        case WM_DESTROY: FreeSkin(&g_fstSkin); return TRUE;
        default: return FALSE;
    }
}

int RunFstDlg(HWND owner) {
    return DialogBoxParamA(g_app.inst, MAKEINTRESOURCEA(177), owner, DlgFstProc, 0) == 1;
}
