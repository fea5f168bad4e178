// The program's message box: a skinned dialog (template 199) with the text on a cream panel and
// an OK button, or Cancel and OK for the one question.
#include "ui/msgdlg.h"

#include "app/appstate.h"
#include "platform/gdi/display.h"
#include "platform/gdi/region.h"
#include "platform/text/codepage.h"
#include "platform/user/msgbox.h"
#include "ui/appmsg.h"
#include "ui/bmpbtn.h"
#include "ui/bmprgn.h"
#include "ui/memsurf.h"
#include "ui/skindlg.h"

namespace {

constexpr int kMsgTextId = 1041;
constexpr int kOkId = 145;
constexpr int kCancelId = 144;

// One message box at a time: its text, kind and skin are shared values.
char g_msgText[MAX_PATH];
int g_msgKind;
HBITMAP g_msgSkin;
bool g_msgMade;  // the box got as far as showing its text

// The plain box that tells the text when the skinned one cannot be made: its buttons answer
// IDOK (1) and IDCANCEL (2), as the skinned box's do.
constexpr UINT kPlainTypes[3] = {MB_OK | MB_ICONERROR, MB_OK | MB_ICONINFORMATION,
                                 MB_OKCANCEL | MB_ICONQUESTION};

struct MsgLayout {
    int skin, w, h;
    int okX, okY;
    bool cancel;
    bool moveText;  // the text control leaves the template's place for the smaller skin
};

const MsgLayout kMsgLayouts[3] = {
    {197, 290, 161, 101, 117, false, false},  // error
    {198, 227, 125, 70, 81, false, true},     // notice
    {198, 227, 125, 123, 81, true, true},     // question
};

INT_PTR MsgInitDlg(HWND dlg) {
    const MsgLayout& l = kMsgLayouts[g_msgKind];
    g_msgSkin = LoadBitmapA(g_app.inst, MAKEINTRESOURCEA(l.skin));
    HWND ok = MakeBmpBtn(dlg, BmpBtnProc, kOkId, l.okX, l.okY, 88, 32, 163);
    HWND cancel = l.cancel ? MakeBmpBtn(dlg, BmpBtnProc, kCancelId, 15, 81, 102, 32, 127) : ok;
    if (l.moveText) MoveWindow(GetDlgItem(dlg, kMsgTextId), 27, 20, 172, 60, TRUE);
    MoveWindow(dlg, (GetSystemMetrics(SM_CXSCREEN) - l.w) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - l.h) / 2, l.w, l.h, TRUE);
    SetWindowRgn(dlg, MakeRndRgn(l.w, l.h), TRUE);
    if (!ok || !cancel) {
        MessageBoxA(dlg, "ボタンが作成できませんでした", "DlgSendProc-Error", MB_OK);
        DestroyWindow(dlg);
        return FALSE;
    }
    SetWindowTextA(GetDlgItem(dlg, kMsgTextId), g_msgText);
    g_msgMade = true;
    return TRUE;
}

}  // namespace

INT_PTR DlgMsgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG: return MsgInitDlg(dlg);
        case WM_PAINT:
            PaintSkin(dlg, g_msgSkin, kMsgLayouts[g_msgKind].w, kMsgLayouts[g_msgKind].h);
            return TRUE;
        case WM_CTLCOLORSTATIC:
            // The text lies straight on the skin.
            return GetDlgCtrlID(reinterpret_cast<HWND>(lp)) == kMsgTextId ? ClearLblBk(wp) : FALSE;
        case WM_LBUTTONDOWN: SendMessageA(dlg, WM_NCLBUTTONDOWN, WPARAM(HTCAPTION), 0); return TRUE;
        case WM_APP_BUTTON:
            if (LOWORD(wp) == kCancelId) EndDialog(dlg, 2);
            if (LOWORD(wp) == kOkId) EndDialog(dlg, 1);
            return TRUE;
        case WM_DESTROY:
            // The skin goes with the box however it ends.
            if (g_msgSkin) DeleteObject(g_msgSkin);
            g_msgSkin = nullptr;
            return TRUE;
        default: return FALSE;
    }
}

int ShowMsgDlg(HWND owner, const char* text, int kind) {
    CopyUtf8Text(text, g_msgText, sizeof g_msgText);
    g_msgKind = kind >= MSG_ERROR && kind <= MSG_QUESTION ? kind : MSG_ERROR;
    g_msgMade = false;
    const int answer =
        int(DialogBoxParamA(g_app.inst, MAKEINTRESOURCEA(199), owner, DlgMsgProc, 0));
    // The user is told all the same: without windows (no display) the plain box writes to stderr.
    if (!g_msgMade) return MessageBoxA(owner, g_msgText, "Quillet", kPlainTypes[g_msgKind]);
    return answer;
}
