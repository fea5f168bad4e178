#include "res/dlgtempl.h"

#include <iterator>
#include <vector>

#include "platform/controls/commctrl.h"
#include "platform/controls/listview.h"
#include "platform/user/window.h"

namespace {

// The splash: one picture control showing skin 143 over the whole dialog.
const DlgItemTempl kSplashItems[] = {
    {-1, "STATIC", "143", 0, 0, 226, 255, SS_BITMAP | WS_VISIBLE},
};

// The message box: the left-aligned text.
const DlgItemTempl kMsgItems[] = {
    {1041, "STATIC", "", 44, 22, 111, 25, SS_LEFT | WS_VISIBLE},
};

// The send dialog: the recipients (lower case), the subject and the message.
const DlgItemTempl kSendItems[] = {
    {1017, "EDIT", "", 91, 42, 137, 12,
     ES_LEFT | ES_LOWERCASE | ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE},
    {1018, "EDIT", "", 91, 69, 180, 12, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE},
    {1019, "EDIT", "", 91, 110, 180, 75,
     ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP |
         WS_VISIBLE},
};

// The address book: the list over the skin's white box and the label on the title band.
const DlgItemTempl kAdrItems[] = {
    {1034, "STATIC", "５件まで選択できます", 216, 9, 80, 11, SS_LEFT | WS_VISIBLE},
    {1010, WC_LISTVIEWA, "", 11, 32, 280, 152,
     LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP | WS_VISIBLE},
};

// The cell editor: one field, sized over the cell at opening.
const DlgItemTempl kCellItems[] = {
    {1017, "EDIT", "", 0, 0, 60, 10, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE},
};

// The plain delivery date dialog: the label, the format hint, the field and OK and Cancel.
const DlgItemTempl kDateTextItems[] = {
    {-1, "STATIC", "日付を入力してください", 10, 8, 140, 10, SS_LEFT | WS_VISIBLE},
    {-1, "STATIC", "yyyy/mm/dd-hh", 10, 22, 80, 10, SS_LEFT | WS_VISIBLE},
    {1017, "EDIT", "", 10, 34, 100, 12, WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL},
    {IDOK, "BUTTON", "OK", 46, 54, 50, 14, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
    {IDCANCEL, "BUTTON", "キャンセル", 100, 54, 50, 14, WS_VISIBLE | WS_TABSTOP},
};

// The delivery date dialog: the hour list in the skin's time field; the calendar and the
// buttons are made at opening.
const DlgItemTempl kDateItems[] = {
    {1025, "COMBOBOX", "", 90, 155, 95, 120,
     WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST},
};

// The user settings: album ID and masked password.
const DlgItemTempl kUserItems[] = {
    {1017, "EDIT", "", 98, 40, 86, 15, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE},
    {1018, "EDIT", "", 98, 67, 86, 15,
     ES_LEFT | ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE},
};

// The first run: album ID, masked password and the mail address.
const DlgItemTempl kFstItems[] = {
    {1017, "EDIT", "", 76, 30, 78, 12, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE},
    {1018, "EDIT", "", 76, 48, 78, 12,
     ES_LEFT | ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE},
    {1019, "EDIT", "", 18, 79, 136, 12, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE},
};

// The confirmation: the three values as labels on the skin.
const DlgItemTempl kConfItems[] = {
    {1034, "STATIC", "", 78, 32, 67, 13, SS_LEFT | WS_VISIBLE},
    {1035, "STATIC", "", 78, 51, 77, 10, SS_LEFT | WS_VISIBLE},
    {1042, "STATIC", "", 20, 81, 136, 10, SS_LEFT | WS_VISIBLE},
};

const DlgTempl kTemplates[] = {
    {124, 9, 303, 266, WS_POPUP, kSendItems, int(std::size(kSendItems))},
    {130, 9, 145, 95, WS_POPUP, nullptr, 0},  // the progress window: placed over the send dialog
    {142, 9, 226, 255, WS_POPUP, kSplashItems, int(std::size(kSplashItems))},
    {144, 9, 153, 426, WS_POPUP, nullptr, 0},  // the preview: its close button is made at opening
    {148, 9, 135, 83, WS_POPUP, nullptr, 0},   // the stamp dialog: its buttons are made at opening
    {155, 9, 160, 76, WS_POPUP | WS_CAPTION, kDateTextItems, int(std::size(kDateTextItems))},
    {156, 9, 217, 226, WS_POPUP, kDateItems, int(std::size(kDateItems))},
    {168, 9, 303, 220, WS_POPUP, kAdrItems, int(std::size(kAdrItems))},
    {173, 9, 217, 193, WS_POPUP, kUserItems, int(std::size(kUserItems))},
    {177, 9, 171, 200, WS_POPUP, kFstItems, int(std::size(kFstItems))},
    {181, 9, 60, 10, WS_POPUP, kCellItems, int(std::size(kCellItems))},
    {187, 9, 183, 185, WS_POPUP, kConfItems, int(std::size(kConfItems))},
    {199, 10, 166, 99, WS_POPUP, kMsgItems, int(std::size(kMsgItems))},
};

std::vector<const DlgTempl*>& g_testTempls = *new std::vector<const DlgTempl*>;

}  // namespace

void PlatAddDlgTempl(const DlgTempl* templ) {
    if (templ)
        g_testTempls.push_back(templ);
    else
        g_testTempls.clear();
}

const DlgTempl* FindDlgTempl(int num) {
    for (const DlgTempl& t : kTemplates)
        if (t.num == num) return &t;
    for (const DlgTempl* t : g_testTempls)
        if (t->num == num) return t;
    return nullptr;
}
