// The delivery date dialog: skin 154 in its rounded shape, the month calendar, the list of the
// 24 whole hours, and the OK and Cancel buttons. Only the buttons close it.
#include <cstdio>

#include "address/calendar.h"
#include "address/date_calc.h"
#include "address/datedlg.h"
#include "app/appstate.h"
#include "platform/controls/commctrl.h"
#include "platform/gdi/region.h"
#include "platform/kernel/kernel.h"
#include "platform/user/msgbox.h"
#include "ui/appmsg.h"
#include "ui/childwnd.h"
#include "ui/memsurf.h"
#include "ui/msgdlg.h"
#include "ui/skindlg.h"

namespace {

constexpr int kDateW = 380, kDateH = 339;
constexpr int kHourListId = 1025;
constexpr int kOkId = 125, kCancelId = 126;
constexpr int kNoonHour = 12;

// The open dialog: the caller's record it fills, and what it releases when it closes.
struct DateDlg {
    DeliveryTime* out;
    HBITMAP skin;
    HFONT hourFont;
};
DateDlg g_date;

void FillHourList(HWND dlg) {
    HWND list = GetDlgItem(dlg, kHourListId);
    HDC dc = GetDC(dlg);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    ReleaseDC(dlg, dc);
    g_date.hourFont =
        CreateFontA(17, 0, 0, 0, FW_SEMIBOLD, 0, 0, 0, tm.tmCharSet, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, nullptr);
    SendMessageA(list, WM_SETFONT, WPARAM(g_date.hourFont), TRUE);
    SendMessageA(list, CB_SETITEMHEIGHT, WPARAM(-1), 17);
    char text[32];
    for (int hour = 0; hour < 24; ++hour) {
        std::snprintf(text, sizeof text, "     %s%02d:00", hour < 12 ? "午前" : "午後", hour % 12);
        SendMessageA(list, CB_ADDSTRING, 0, LPARAM(text));
    }
    SendMessageA(list, CB_SETCURSEL, kNoonHour, 0);
}

INT_PTR DateInitDlg(HWND dlg, LPARAM lp) {
    g_date = DateDlg{reinterpret_cast<DeliveryTime*>(lp), nullptr, nullptr};
    FillHourList(dlg);
    const DlgBtn btns[] = {{kOkId, 149, 292, 102, 32, 159}, {kCancelId, 259, 292, 102, 32, 127}};
    if (!MakeSkinDlg(dlg, 154, kDateW, kDateH, btns, 2, "DlgDateProc-Error", &g_date.skin))
        return FALSE;
    // Without the calendar there is no day to choose.
    if (!MakeClnWnd(dlg, CalendarProc)) {
        MessageBoxA(dlg, "カレンダーが作成できませんでした", "DlgDateProc-Error", MB_OK);
        DestroyWindow(dlg);
        return FALSE;
    }
    return TRUE;
}

// The calendar's day at the listed hour, if it lies between now and the same moment a week on.
void ConfirmDate(HWND dlg) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const LRESULT hour = SendDlgItemMessageA(dlg, kHourListId, CB_GETCURSEL, 0, 0);
    const DeliveryTime chosen = {
        g_clnSel.wYear, g_clnSel.wMonth, g_clnSel.wDayOfWeek, g_clnSel.wDay, WORD(hour), 0, 0, 0};
    if (const char* refusal = CheckDlvTime(&chosen, &now)) {
        ShowMsgDlg(dlg, refusal, MSG_ERROR);
        return;
    }
    *g_date.out = chosen;
    EndDialog(dlg, 1);
}

}  // namespace

INT_PTR DlgDateProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG: return DateInitDlg(dlg, lp);
        case WM_PAINT: PaintSkin(dlg, g_date.skin, kDateW, kDateH); return TRUE;
        case WM_LBUTTONDOWN: SendMessageA(dlg, WM_NCLBUTTONDOWN, WPARAM(HTCAPTION), 0); return TRUE;
        case WM_APP_BUTTON:
            if (LOWORD(wp) == kOkId) ConfirmDate(dlg);
            if (LOWORD(wp) == kCancelId) EndDialog(dlg, 0);
            return TRUE;
        case WM_COMMAND:
            // Enter and Escape do not close it.
            return LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL;
        case WM_DESTROY:
            // The shape goes with the window.
            if (g_date.skin) DeleteObject(g_date.skin);
            if (g_date.hourFont) DeleteObject(g_date.hourFont);
            g_date.skin = nullptr;
            g_date.hourFont = nullptr;
            return TRUE;
        default: return FALSE;
    }
}

int ChooseDlvTime(HWND owner, DeliveryTime* time) {
    time->wYear = 0;
    const INT_PTR made = DialogBoxParamA(g_app.inst, MAKEINTRESOURCEA(kDateDlgTempl), owner,
                                         DlgDateProc, LPARAM(time));
    if (made == -1)
        DialogBoxParamA(g_app.inst, MAKEINTRESOURCEA(kDateTextTempl), owner, DlgDateTextProc,
                        LPARAM(time));
    return time->wYear != 0;
}
