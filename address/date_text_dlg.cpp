// The plain delivery date dialog, used when the date dialog cannot be made: the time is typed as
// "yyyy/mm/dd-hh".
#include "address/date_calc.h"
#include "address/datedlg.h"
#include "platform/kernel/kernel.h"
#include "platform/user/msgbox.h"

namespace {

constexpr int kDateEditId = 1017;

DeliveryTime* g_dateTextOut;

void ConfirmDateText(HWND dlg) {
    char text[40] = "";
    GetDlgItemTextA(dlg, kDateEditId, text, sizeof text);
    DeliveryTime chosen;
    const char* refusal = "日付が正しくありません";
    if (ReadDateText(text, &chosen)) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        refusal = CheckDlvTime(&chosen, &now);
    }
    if (refusal) {
        MessageBoxA(dlg, refusal, "Date", MB_OK);
        return;
    }
    *g_dateTextOut = chosen;
    EndDialog(dlg, IDOK);
}

}  // namespace

INT_PTR DlgDateTextProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG:
            g_dateTextOut = reinterpret_cast<DeliveryTime*>(lp);
            SetFocus(GetDlgItem(dlg, kDateEditId));
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK) ConfirmDateText(dlg);
            if (LOWORD(wp) == IDCANCEL) EndDialog(dlg, IDCANCEL);
            return TRUE;
        default: return FALSE;
    }
}
