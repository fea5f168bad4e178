// The send dialog: skin 125 in its rounded shape, the recipient, subject and message fields, the
// message counters and the delivery line painted on the skin, the address book and the delivery
// time, and the send button that checks the fields and runs the upload in the progress window.
#include <cstdlib>
#include <iterator>
#include <string>

#include "address/addrdlg.h"
#include "address/datedlg.h"
#include "app/appstate.h"
#include "platform/controls/commctrl.h"
#include "platform/gdi/gdi.h"
#include "platform/text/codepage.h"
#include "platform/user/msgbox.h"
#include "send/senddlg.h"
#include "send/upload.h"
#include "ui/appmsg.h"
#include "ui/memsurf.h"
#include "ui/msgdlg.h"
#include "ui/skindlg.h"

namespace {

constexpr int kSendDlgW = 530, kSendDlgH = 399;
constexpr int kToId = 1017, kSubjId = 1018, kMsgId = 1019;
constexpr int kSendId = 120, kCloseId = 121, kUnschedId = 122, kBookId = 123, kSchedId = 124;
constexpr int kMaxRecips = 5;

// In the order they are made; 122 and 124 share one place, one of them shown.
const DlgBtn kSendBtns[] = {
    {kSendId, 299, 352, 102, 32, 126},   {kCloseId, 409, 352, 102, 32, 127},
    {kUnschedId, 403, 297, 85, 30, 152}, {kBookId, 403, 57, 85, 30, 153},
    {kSchedId, 403, 297, 85, 30, 157},
};

const RECT kCountRect = {129, 177, 157, 211};  // both counters

struct SendDlg {
    HBITMAP skin;
    HFONT font, boldFont;  // fixed pitch, 14 x 7 pixels: normal and weight 600
    int msgLen;            // bytes of the message's CP932 form, line breaks counting 2
    DeliveryTime dlv;      // wYear 0: sent at once
};
SendDlg g_send;

HFONT MakeSendFont(DWORD charSet, int weight) {
    return CreateFontA(14, 7, 0, 0, weight, 0, 0, 0, charSet, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, nullptr);
}

// The fonts take the character set of the main window's surface.
void MakeSendFonts() {
    DWORD charSet = DEFAULT_CHARSET;
    if (HDC dc = GetDC(g_app.mainWnd)) {
        TEXTMETRICA tm{};
        if (GetTextMetricsA(dc, &tm)) charSet = tm.tmCharSet;
        ReleaseDC(g_app.mainWnd, dc);
    }
    g_send.font = MakeSendFont(charSet, FW_NORMAL);
    g_send.boldFont = MakeSendFont(charSet, FW_SEMIBOLD);
}

INT_PTR SendInitDlg(HWND dlg) {
    g_send.dlv = DeliveryTime{};
    g_send.msgLen = 0;
    MakeSendFonts();
    SendMessageA(dlg, WM_SETFONT, WPARAM(g_send.font), FALSE);
    if (!MakeSkinDlg(dlg, 125, kSendDlgW, kSendDlgH, kSendBtns, int(std::size(kSendBtns)),
                     "DlgSendProc-Error", &g_send.skin))
        return FALSE;
    ShowWindow(GetDlgItem(dlg, kUnschedId), SW_HIDE);
    FreeRecipList();
    SendDlgItemMessageA(dlg, kSubjId, EM_LIMITTEXT, 30, 0);
    SendDlgItemMessageA(dlg, kMsgId, EM_LIMITTEXT, 3000, 0);
    return TRUE;
}

// Text in the colour of the skin's pixel at (px, py).
void DrawSendText(HDC dc, HDC mem, HFONT font, int px, int py, int x, int y, const std::string& s) {
    HGDIOBJ old = SelectObject(mem, g_send.skin);
    SetTextColor(dc, GetPixel(mem, px, py));
    SelectObject(mem, old);
    SelectObject(dc, font);
    TextOutA(dc, x, y, s.c_str(), int(s.size()));
}

void SendPaint(HWND dlg) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(dlg, &ps);
    HDC mem = CreateCompatibleDC(dc);
    DrawSkin(dc, mem, g_send.skin, 0, 0, kSendDlgW, kSendDlgH);
    SetBkMode(dc, TRANSPARENT);
    char num[16];
    snprintf(num, sizeof num, "%3d", g_send.msgLen);
    DrawSendText(dc, mem, g_send.font, 0, 177, 129, 177, num);
    snprintf(num, sizeof num, "%3d", g_send.msgLen + 80);
    DrawSendText(dc, mem, g_send.font, 0, 177, 129, 197, num);
    DrawSendText(dc, mem, g_send.boldFont, 120, 240, 164, 306, MakeDlvLine(g_send.dlv));
    DeleteDC(mem);
    EndPaint(dlg, &ps);
}

void CountMsg(HWND dlg) {
    const int len = SjisLen(GetFieldText(dlg, kMsgId).c_str());
    g_send.msgLen = len < 0 ? 0 : len;
    InvalidateRect(dlg, &kCountRect, FALSE);
}

// 122 while a delivery time is set, 124 while there is none.
void ShowSchedBtn(HWND dlg) {
    const bool set = g_send.dlv.wYear != 0;
    ShowWindow(GetDlgItem(dlg, kUnschedId), set ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(dlg, kSchedId), set ? SW_HIDE : SW_SHOW);
    InvalidateRect(dlg, nullptr, FALSE);
}

void PickRecips(HWND dlg) {
    RunAddressDlg(dlg);
    if (!g_recipList) return;
    SetFieldSjis(dlg, kToId, g_recipList);
}

void PickDlvTime(HWND dlg) {
    DeliveryTime chosen{};
    if (!ChooseDlvTime(dlg, &chosen)) return;
    g_send.dlv = chosen;
    ShowSchedBtn(dlg);
}

void CloseSendDlg(HWND dlg) {
    FreeSkin(&g_send.skin);
    FreeRecipList();
    EndDialog(dlg, 0);
}

// The send button: the recipients checked, the request filled, the upload run over the dialog.
// 1 when the server accepted it.
int SendUpload(HWND dlg) {
    std::string to, subject, message;
    if (!GetFieldSjis(dlg, kToId, &to) || !GetFieldSjis(dlg, kSubjId, &subject) ||
        !GetFieldSjis(dlg, kMsgId, &message)) {
        ShowMsgDlg(dlg, "送信できない文字が含まれています", MSG_ERROR);
        return 0;
    }
    if (to.empty()) {
        ShowMsgDlg(dlg, "宛先を入力してください", MSG_ERROR);
        return 0;
    }
    if (CountAddresses(to.c_str()) > kMaxRecips) {
        char text[128];
        snprintf(text, sizeof text, "宛先に指定できる件数は\n%d件までです", kMaxRecips);
        ShowMsgDlg(dlg, text, MSG_ERROR);
        return 0;
    }
    char schedule[20];
    MakeSchedule(g_send.dlv, schedule, sizeof schedule);
    g_uploadReq = UploadRequest{to.c_str(), subject.c_str(), message.c_str(), schedule, ""};
    const int sent = RunProgressDlg(dlg);
    g_uploadReq = UploadRequest{};
    return sent;
}

void SendCommand(HWND dlg, int id) {
    switch (id) {
        case kSendId:
            if (SendUpload(dlg)) CloseSendDlg(dlg);
            return;
        case kCloseId: CloseSendDlg(dlg); return;
        case kUnschedId:
            g_send.dlv.wYear = 0;
            ShowSchedBtn(dlg);
            return;
        case kBookId: PickRecips(dlg); return;
        case kSchedId: PickDlvTime(dlg); return;
        default: return;
    }
}

}  // namespace

INT_PTR DlgSendProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: return SendInitDlg(dlg);
        case WM_PAINT: SendPaint(dlg); return TRUE;
        case WM_LBUTTONDOWN: SendMessageA(dlg, WM_NCLBUTTONDOWN, WPARAM(HTCAPTION), 0); return TRUE;
        case WM_APP_BUTTON: SendCommand(dlg, LOWORD(wp)); return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) == kMsgId && HIWORD(wp) == EN_CHANGE) CountMsg(dlg);
            return TRUE;
        case WM_DESTROY:
            for (HFONT* f : {&g_send.font, &g_send.boldFont}) {
                if (*f) DeleteObject(*f);
                *f = nullptr;
            }
            FreeSkin(&g_send.skin);
            return TRUE;
        default: return FALSE;
    }
}

void RunSendDlg(HWND owner) {
    DialogBoxParamA(g_app.inst, MAKEINTRESOURCEA(124), owner, DlgSendProc, 0);
}
