// What reaches a real screen: a window shown and painted is there before a long blocking call
// that follows it returns; a dialog with every standard control and Japanese text, saved as a
// screenshot to look at. Another program grabs the screen while this one handles no events.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <iterator>
#include <string>

#include "platform/controls/commctrl.h"
#include "platform/controls/listview.h"
#include "res/dlgtempl.h"
#include "support/testutil.h"

namespace {

// Grabs the whole screen into png with the screenshot tool, blocking this program meanwhile.
QImage GrabScreenBlocking(const std::string& png) {
    const std::string cmd = std::string(QUILLET_XSHOT) + " '" + png + "'";
    if (std::system(cmd.c_str()) != 0) return QImage();
    return QImage(QString::fromStdString(png));
}

LRESULT RedProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_PAINT) return DefWindowProcA(wnd, msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    RECT r;
    GetClientRect(wnd, &r);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &r, red);
    DeleteObject(red);
    EndPaint(wnd, &ps);
    return 0;
}

TEST(Screen, PaintedWindowIsShownBeforeABlockingCall) {
    ASSERT_TRUE(UseTestClass("TestRed", RedProc));
    HWND wnd = CreateWindowExA(0, "TestRed", "", WS_POPUP, 100, 100, 200, 150, nullptr, nullptr,
                               nullptr, nullptr);
    ShowWindow(wnd, SW_SHOW);
    UpdateWindow(wnd);
    TempDir dir;
    const QImage shot = GrabScreenBlocking(dir.File("shot.png"));
    ASSERT_FALSE(shot.isNull()) << "nothing showed on the screen";
    EXPECT_EQ(shot.pixel(150, 150) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(shot.pixel(299, 249) & 0xFFFFFF, 0xFF0000u);
    DestroyWindow(wnd);
    PumpMsgs();
}

const DlgItemTempl kItems[] = {
    {-1, "STATIC", "お名前（全角）:", 6, 8, 60, 10, SS_LEFT},
    {10, "EDIT", "", 70, 6, 110, 12, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL},
    {-1, "STATIC", "パスワード:", 6, 24, 60, 10, SS_LEFT},
    {11, "EDIT", "", 70, 22, 110, 12, WS_TABSTOP | WS_BORDER | ES_PASSWORD},
    {12, "EDIT", "", 6, 40, 174, 40,
     WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN},
    {13, "COMBOBOX", "", 6, 86, 84, 80, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_SORT},
    {14, "COMBOBOX", "", 96, 86, 84, 80, WS_TABSTOP | CBS_DROPDOWNLIST},
    {15, "SysListView32", "", 6, 104, 174, 56,
     WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS},
    {IDOK, "BUTTON", "決定", 76, 166, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON},
    {IDCANCEL, "BUTTON", "キャンセル", 130, 166, 50, 14, WS_TABSTOP},
};
const DlgTempl kTempl = {902, 9, 186, 186, WS_POPUP | WS_CAPTION, kItems, int(std::size(kItems))};

INT_PTR NoProc(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG;
}

void FillList(HWND list) {
    ListView_SetExtendedListViewStyle(list,
                                      LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES);
    const char* heads[] = {"送信", "名前", "メールアドレス"};
    const int widths[] = {36, 90, 150};
    for (int c = 0; c < 3; ++c) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        col.pszText = const_cast<char*>(heads[c]);
        col.cx = widths[c];
        ListView_InsertColumn(list, c, &col);
    }
    const char* rows[][2] = {{"山田 花子", "hanako@example.jp"}, {"佐藤 太郎", "taro@example.jp"}};
    for (int r = 0; r < 2; ++r) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = const_cast<char*>("  ");
        ListView_InsertItem(list, &item);
        ListView_SetItemText(list, r, 1, const_cast<char*>(rows[r][0]));
        ListView_SetItemText(list, r, 2, const_cast<char*>(rows[r][1]));
    }
    ListView_SetCheckState(list, 0, TRUE);
}

// Every control with Japanese text in the IPA font, for a person to look at; the test checks
// that the dialog and its text reached the screen.
TEST(Screen, DialogWithEveryControl) {
    PlatAddDlgTempl(&kTempl);
    HWND dlg = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(902), nullptr, NoProc, 0);
    ASSERT_NE(dlg, nullptr);
    MoveWindow(dlg, 40, 40, 330, 300, TRUE);
    SetDlgItemTextA(dlg, 10, "山田 花子");
    SetDlgItemTextA(dlg, 11, "secret");
    SetDlgItemTextA(dlg, 12, "写真を送ります。\r\n週末に会いましょう！");
    for (const char* t : {"季節", "あいさつ", "おめでとう"})
        SendDlgItemMessageA(dlg, 13, CB_ADDSTRING, 0, LPARAM(t));
    SendDlgItemMessageA(dlg, 13, CB_SETCURSEL, 0, 0);
    for (int h = 0; h < 24; ++h) {
        char text[32];
        snprintf(text, sizeof text, "     %s%02d:00", h < 12 ? "午前" : "午後", h % 12);
        SendDlgItemMessageA(dlg, 14, CB_ADDSTRING, 0, LPARAM(text));
    }
    SendDlgItemMessageA(dlg, 14, CB_SETCURSEL, 12, 0);
    FillList(GetDlgItem(dlg, 15));
    ShowWindow(dlg, SW_SHOW);
    UpdateWindow(dlg);
    const std::string png = std::string(QUILLET_SHOT_DIR) + "/controls-screenshot.png";
    const QImage shot = GrabScreenBlocking(png);
    ASSERT_FALSE(shot.isNull()) << "nothing showed on the screen";
    // The name field shows dark text on its white ground.
    RECT r;
    GetWindowRect(GetDlgItem(dlg, 10), &r);
    int dark = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) dark += qGray(shot.pixel(x, y)) < 100;
    EXPECT_GT(dark, 20);
    DestroyWindow(dlg);
    PumpMsgs();
    PlatAddDlgTempl(nullptr);
}

}  // namespace
