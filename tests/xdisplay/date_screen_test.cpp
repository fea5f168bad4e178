// The delivery date dialog on a real screen, a day and an hour chosen, saved as a screenshot for
// a person to look at. The test checks that the skin, the calendar and the hour list reached the
// screen.
#include <gtest/gtest.h>

#include "address/date_calc.h"
#include "address/datedlg.h"
#include "platform/controls/commctrl.h"
#include "platform/kernel/kernel.h"
#include "screen_util.h"
#include "support/testutil.h"

namespace {

uint32_t ToPx(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

TEST(Screen, DateDialog) {
    AppEnv env;
    FakeClock clock({2002, 7, WORD(GetWeekDay(2002, 7, 10)), 10, 14, 25, 0, 0});
    QImage shot;
    RECT r{};
    MsgRecorder rec;
    rec.others = [&](const ModalEvent* e) {
        HWND dlg = e->wnd;
        // The 12th (row 1, Friday) and 15:00.
        PlatMouseEvent(dlg, WM_LBUTTONDOWN, 160 + 10 + 22 * 5 + 6, 89 + 45 + 13 + 6);
        PlatMouseEvent(dlg, WM_LBUTTONUP, 160 + 10 + 22 * 5 + 6, 89 + 45 + 13 + 6);
        SendDlgItemMessageA(dlg, 1025, CB_SETCURSEL, 15, 0);
        PumpMsgs();
        shot = GrabScreen("date-screenshot.png");
        GetWindowRect(dlg, &r);
        return IDCANCEL;
    };
    DeliveryTime t;
    ChooseDlvTime(nullptr, &t);
    ASSERT_FALSE(shot.isNull());
    const PicData skin = LoadResPic(154);
    const auto at = [&](int x, int y) { return shot.pixel(r.left + x, r.top + y) & 0xFFFFFF; };
    // The skin beside the calendar, the bear's corner, and outside the rounded corner the screen.
    EXPECT_EQ(at(60, 60), skin.At(60, 60));
    EXPECT_EQ(at(100, 320), skin.At(100, 320));
    // The calendar's header band and the mark of the selected 12th.
    EXPECT_EQ(at(160 + 1, 89 + 1), ToPx(GetSysColor(COLOR_ACTIVECAPTION)));
    EXPECT_EQ(at(160 + 10 + 22 * 5 - 4, 89 + 45 + 13 + 1), ToPx(GetSysColor(COLOR_ACTIVECAPTION)));
    // The OK button's normal look.
    const PicData ok = LoadResPic(159);
    EXPECT_EQ(at(149 + 51, 292 + 2), ok.At(51, 2));
}

}  // namespace
