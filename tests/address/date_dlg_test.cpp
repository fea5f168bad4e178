// The delivery date dialog and its plain fallback, opened as the send dialog opens them, with
// the clock replaced and a hook acting in the user's place.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "address/datedlg.h"
#include "date_util.h"
#include "platform/controls/commctrl.h"
#include "platform/gdi/region.h"
#include "platform/kernel/kernel.h"
#include "support/testutil.h"

namespace {

const char* const kPast = "過去の日時は指定できません";
const char* const kLate = "１週間以降の日時は指定できません";

// A press and release where the user clicks, the pointer coming in from the left first.
void Click(HWND dlg, int x, int y) {
    PlatMouseEvent(dlg, WM_MOUSEMOVE, x - 3, y);
    PlatMouseEvent(dlg, WM_MOUSEMOVE, x, y);
    PlatMouseEvent(dlg, WM_LBUTTONDOWN, x, y);
    PlatMouseEvent(dlg, WM_LBUTTONUP, x, y);
}
// Day cell (col, row) of the calendar at (160, 89).
void ClickDay(HWND dlg, int col, int row) {
    Click(dlg, 160 + 10 + 22 * col + 6, 89 + 45 + 13 * row + 6);
}
void ClickOk(HWND dlg) {
    Click(dlg, 149 + 51, 292 + 16);
}
void ClickCancel(HWND dlg) {
    Click(dlg, 259 + 51, 292 + 16);
}
void PickHour(HWND dlg, int hour) {
    SendDlgItemMessageA(dlg, 1025, CB_SETCURSEL, hour, 0);
}

struct DateDlgTest : ::testing::Test {
    AppEnv env;
    MsgRecorder rec{1};
    FakeClock clock;
    void TearDown() override { PumpMsgs(); }
    // Opens the dialogs as the send dialog does at `now`; `act` works the one that opens.
    DeliveryTime Choose(const SYSTEMTIME& now, std::function<void(HWND)> act) {
        clock.Set(now);
        rec.msgs.clear();
        rec.others = [act](const ModalEvent* e) {
            if (e->kind == MODAL_DIALOG) act(e->wnd);
            return IDCANCEL;
        };
        DeliveryTime got;
        got.wYear = 1999;  // the send dialog's earlier choice
        const int chosen = ChooseDlvTime(nullptr, &got);
        EXPECT_EQ(chosen, got.wYear != 0);
        return got;
    }
    std::string Told() const { return rec.msgs.empty() ? "" : rec.msgs.back().text; }
};

TEST_F(DateDlgTest, ConfirmedTimeIsCheckedAgainstTheClock) {
    struct Case {
        const char* name;
        SYSTEMTIME now;
        std::function<void(HWND)> act;
        SYSTEMTIME want;  // wYear 0: nothing handed back
        const char* told;
    };
    const Case cases[] = {
        {"the hour list untouched: noon", At(2002, 7, 10, 9, 30), [](HWND d) { ClickOk(d); },
         At(2002, 7, 10, 12), ""},
        // December 2002 begins on a Sunday: 2 January is the grey cell of row 4, Thursday.
        {"26 Dec 10:40, 2 Jan 10:00", At(2002, 12, 26, 10, 40),
         [](HWND d) {
             ClickDay(d, 4, 4);
             PickHour(d, 10);
             ClickOk(d);
         },
         At(2003, 1, 2, 10), ""},
        {"26 Dec 10:40, 2 Jan 11:00",
         At(2002, 12, 26, 10, 40),
         [](HWND d) {
             ClickDay(d, 4, 4);
             PickHour(d, 11);
             ClickOk(d);
         },
         {},
         kLate},
        {"14:25, the current hour",
         At(2002, 7, 10, 14, 25),
         [](HWND d) {
             PickHour(d, 14);
             ClickOk(d);
         },
         {},
         kPast},
        {"14:00:00.001, the current hour",
         At(2002, 7, 10, 14, 0, 0, 1),
         [](HWND d) {
             PickHour(d, 14);
             ClickOk(d);
         },
         {},
         kPast},
        {"14:00:00.000, the current hour", At(2002, 7, 10, 14),
         [](HWND d) {
             PickHour(d, 14);
             ClickOk(d);
         },
         At(2002, 7, 10, 14), ""},
        {"14:25, 15:00 that day", At(2002, 7, 10, 14, 25),
         [](HWND d) {
             PickHour(d, 15);
             ClickOk(d);
         },
         At(2002, 7, 10, 15), ""},
        // July 2002 begins on a Monday: the 17th is row 2, Wednesday.
        {"14:25 10 July, 14:00 17 July", At(2002, 7, 10, 14, 25),
         [](HWND d) {
             ClickDay(d, 3, 2);
             PickHour(d, 14);
             ClickOk(d);
         },
         At(2002, 7, 17, 14), ""},
        {"14:25 10 July, 15:00 17 July",
         At(2002, 7, 10, 14, 25),
         [](HWND d) {
             ClickDay(d, 3, 2);
             PickHour(d, 15);
             ClickOk(d);
         },
         {},
         kLate},
        {"14:25 10 July, 23:00 9 July",
         At(2002, 7, 10, 14, 25),
         [](HWND d) {
             ClickDay(d, 2, 1);
             PickHour(d, 23);
             ClickOk(d);
         },
         {},
         kPast},
        {"Cancel", At(2002, 7, 10, 9, 30), [](HWND d) { ClickCancel(d); }, {}, ""},
        {"Escape and Enter, then OK", At(2002, 7, 10, 9, 30),
         [](HWND d) {
             PlatPressKey(VK_ESCAPE);
             PlatPressKey(VK_RETURN);
             PumpMsgs();
             ASSERT_TRUE(IsWindowVisible(d));
             ClickOk(d);
         },
         At(2002, 7, 10, 12), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DeliveryTime got = Choose(c.now, c.act);
        EXPECT_EQ(Show(got), Show(c.want));
        EXPECT_EQ(Told(), c.told);
        if (*c.told) {
            EXPECT_EQ(rec.msgs.back().templ, 199);
        }
    }
}

// What opens: skin 154's size and rounded shape, the calendar and the buttons where the skin
// has room for them, and the list of the 24 hours with noon selected in its 17-pixel field.
TEST_F(DateDlgTest, OpensWithCalendarHourListAndButtons) {
    HWND seen = nullptr;
    RECT rect{}, cln{}, list{}, ok{}, cancel{};
    std::string items[24], cur;
    bool cornerOut = false, edgeIn = false;
    Choose(At(2002, 7, 10, 9, 30), [&](HWND d) {
        seen = d;
        GetWindowRect(d, &rect);
        const auto place = [&](int id, RECT* r) {
            GetWindowRect(GetDlgItem(d, id), r);
            *r = RECT{r->left - rect.left, r->top - rect.top, r->right - rect.left,
                      r->bottom - rect.top};
        };
        place(801, &cln);
        place(1025, &list);
        place(125, &ok);
        place(126, &cancel);
        char text[64];
        for (int i = 0; i < 24; ++i) {
            text[0] = 0;
            SendDlgItemMessageA(d, 1025, CB_GETLBTEXT, i, LPARAM(text));
            items[i] = text;
        }
        const LRESULT sel = SendDlgItemMessageA(d, 1025, CB_GETCURSEL, 0, 0);
        cur = sel >= 0 && sel < 24 ? items[sel] : "";
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        GetWindowRgn(d, rgn);
        cornerOut = !PtInRegion(rgn, 0, 0) && !PtInRegion(rgn, 379, 338);
        edgeIn = PtInRegion(rgn, 379, 170) && !PtInRegion(rgn, 380, 170);
        DeleteObject(rgn);
        EXPECT_EQ(SendDlgItemMessageA(d, 1025, CB_GETCOUNT, 0, 0), 24);
        EXPECT_EQ(SendDlgItemMessageA(d, 1025, CB_GETITEMHEIGHT, WPARAM(-1), 0), 17);
        ClickCancel(d);
    });
    ASSERT_TRUE(seen);
    EXPECT_EQ(rect.right - rect.left, 380);
    EXPECT_EQ(rect.bottom - rect.top, 339);
    EXPECT_TRUE(cornerOut && edgeIn);
    EXPECT_EQ(cln.left, 160);
    EXPECT_EQ(cln.top, 89);
    EXPECT_EQ(cln.right - cln.left, 162);
    EXPECT_EQ(cln.bottom - cln.top, 128);
    EXPECT_EQ(ok.left, 149);
    EXPECT_EQ(ok.top, 292);
    EXPECT_EQ(cancel.left, 259);
    EXPECT_EQ(cancel.right - cancel.left, 102);
    // The hour list lies on the skin's time field, (157, 233) to (325, 256) with its border.
    EXPECT_GE(list.left, 157);
    EXPECT_GE(list.top, 233);
    EXPECT_LE(list.right, 325);
    EXPECT_LE(list.bottom, 256);
    EXPECT_EQ(items[0], "     午前00:00");
    EXPECT_EQ(items[11], "     午前11:00");
    EXPECT_EQ(items[12], "     午後00:00");
    EXPECT_EQ(items[23], "     午後11:00");
    EXPECT_EQ(cur, items[12]);
}

// The plain dialog: the time typed as "yyyy/mm/dd-hh" into the focused field, refusals in a
// plain box under the caption "Date".
TEST_F(DateDlgTest, FallbackReadsTypedTimeUnderTheSameRules) {
    struct Case {
        const char* typed;  // none: Cancel
        SYSTEMTIME want;
        const char* told;
    };
    const Case cases[] = {
        {"2002/07/10-15", At(2002, 7, 10, 15), ""},
        {"2002/07/17-14", At(2002, 7, 17, 14), ""},
        {"2002/06/18-15", {}, kPast},
        {"2002/07/10-14", {}, kPast},
        {"2002/07/17-15", {}, kLate},
        {"2002/13/01-10", {}, "日付が正しくありません"},
        {"2002/07/10-25", {}, "日付が正しくありません"},
        {nullptr, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed ? c.typed : "Cancel");
        clock.Set(At(2002, 7, 10, 14, 25));
        rec.msgs.clear();
        bool focused = false;
        rec.others = [&](const ModalEvent* e) {
            HWND d = e->wnd;
            focused = GetFocus() == GetDlgItem(d, 1017);
            if (c.typed) {
                PlatTypeText(c.typed);
                PlatTypeText("\n");
            } else {
                SendDlgItemMessageA(d, IDCANCEL, BM_CLICK, 0, 0);
            }
            return IDCANCEL;
        };
        DeliveryTime got{};
        DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kDateTextTempl), nullptr, DlgDateTextProc,
                        LPARAM(&got));
        EXPECT_TRUE(focused);
        EXPECT_EQ(Show(got), Show(c.want));
        EXPECT_EQ(Told(), c.told);
        if (*c.told) {
            EXPECT_EQ(rec.msgs.back().caption, "Date");
        }
    }
}

}  // namespace
