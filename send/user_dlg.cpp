// The user settings: the album ID and the password under their rules, and the "P" button that
// asks the server to mail the stored password to the registered address.
#include <cstdlib>
#include <iterator>
#include <new>
#include <string>

#include "app/appstate.h"
#include "app/reginfo.h"
#include "platform/controls/commctrl.h"
#include "send/account.h"
#include "send/upload.h"
#include "ui/appmsg.h"
#include "ui/memsurf.h"
#include "ui/msgdlg.h"
#include "ui/skindlg.h"

namespace {

constexpr int kUserW = 380, kUserH = 289;
constexpr int kAlbumId = 1017, kPassId = 1018;
constexpr int kRemindId = 136, kOkId = 138, kCancelId = 139;

const DlgBtn kUserBtns[] = {
    {kRemindId, 28, 178, 49, 49, 161},
    {kOkId, 149, 242, 102, 32, 159},
    {kCancelId, 259, 242, 102, 32, 127},
};

HBITMAP g_userSkin;

INT_PTR UserInitDlg(HWND dlg) {
    if (!MakeSkinDlg(dlg, 160, kUserW, kUserH, kUserBtns, int(std::size(kUserBtns)),
                     "DlgSendProc-Error", &g_userSkin))
        return FALSE;
    CentreInWorkArea(dlg, kUserW, kUserH);
    SetFieldFromReg(dlg, kAlbumId, "ALBUMID");
    SetFieldFromReg(dlg, kPassId, "PASSWORD");
    SendDlgItemMessageA(dlg, kAlbumId, EM_LIMITTEXT, kAlbumMax, 0);
    SendDlgItemMessageA(dlg, kPassId, EM_LIMITTEXT, kPassMax, 0);
    return TRUE;
}

// The first rule the values break, told with the focus on its field; 1 when they keep all.
int CheckUserVals(HWND dlg, const std::string& album, const std::string& pass) {
    char text[160];
    int field = 0;
    if (album.empty()) {
        field = kAlbumId;
        snprintf(text, sizeof text, "アルバムＩＤが入力されていません");
    } else if (pass.empty()) {
        field = kPassId;
        snprintf(text, sizeof text, "パスワードが入力されていません");
    } else if (pass.size() < size_t(kPassMin)) {
        field = kPassId;
        snprintf(text, sizeof text, "パスワードは%d文字以上です", kPassMin);
    } else if (!IsAlphaNumText(album.c_str())) {
        field = kAlbumId;
        snprintf(text, sizeof text, "アルバムＩＤは半角英数文字しか入力できません");
    } else if (!IsPasswordText(pass.c_str())) {
        field = kPassId;
        MakePassMsg(text, sizeof text);
    }
    if (!field) return 1;
    ShowMsgDlg(dlg, text, MSG_ERROR);
    SetFocus(GetDlgItem(dlg, field));
    return 0;
}

void UserOk(HWND dlg) {
    std::string album, pass;
    try {
        GetFieldSjis(dlg, kAlbumId, &album);
        GetFieldSjis(dlg, kPassId, &pass);
    } catch (const std::bad_alloc&) {
        TellNoMemory(dlg, "DlgUserProc");
        return;
    }
    if (!CheckUserVals(dlg, album, pass)) return;
    const RegText vals[] = {{"ALBUMID", album.c_str()}, {"PASSWORD", pass.c_str()}};
    if (!StoreAccount(dlg, "DlgUserProc", vals)) return;
    FreeSkin(&g_userSkin);
    EndDialog(dlg, 0);
}

void UserCommand(HWND dlg, int id) {
    switch (id) {
        case kRemindId: PButton(); return;
        case kOkId: UserOk(dlg); return;
        case kCancelId:
            FreeSkin(&g_userSkin);
            EndDialog(dlg, 0);
            return;
        default: return;
    }
}

}  // namespace

INT_PTR DlgUserProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: return UserInitDlg(dlg);
        case WM_PAINT: PaintSkin(dlg, g_userSkin, kUserW, kUserH); return TRUE;
        case WM_LBUTTONDOWN: SendMessageA(dlg, WM_NCLBUTTONDOWN, WPARAM(HTCAPTION), 0); return TRUE;
        case WM_APP_BUTTON: UserCommand(dlg, LOWORD(wp)); return TRUE;
        case WM_COMMAND: return TRUE;  // Enter and Escape do nothing
        case WM_DESTROY: FreeSkin(&g_userSkin); return TRUE;
        default: return FALSE;
    }
}

void RunUserDlg(HWND owner) {
    DialogBoxParamA(g_app.inst, MAKEINTRESOURCEA(173), owner, DlgUserProc, 0);
}
