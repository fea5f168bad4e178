// The calendar window worked with the mouse: stepping months with the arrows, picking days, and
// the focus frame that follows the pointer while the button is held.
#include "address/calendar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "date_util.h"
#include "platform/kernel/kernel.h"
#include "support/testutil.h"
#include "ui/childwnd.h"

namespace {

SYSTEMTIME Day(int y, int m, int d) {
    return At(y, m, d, 10, 40);
}

// Client positions in the calendar: inside a day cell, on the arrows, on the header band.
POINT Cell(int col, int row) {
    return POINT{10 + 22 * col + 6, 45 + 13 * row + 6};
}
constexpr POINT kBack = {16, 12}, kFwd = {146, 12}, kHeader = {80, 12};

struct Act {
    UINT msg;
    POINT at;
};

struct ClnTest : ::testing::Test {
    BtnParent parent;
    FakeClock clock;
    HWND cln = nullptr;
    void Start(const SYSTEMTIME& now) {
        clock.Set(now);
        ShowWindow(parent.wnd, SW_SHOW);
        cln = MakeClnWnd(parent.wnd, CalendarProc);
        ASSERT_TRUE(cln);
        PumpMsgs();
    }
    void TearDown() override {
        if (cln) DestroyWindow(cln);
        PumpMsgs();
    }
    // The pointer acts at a calendar position, through the window system as a hand would.
    void Mouse(UINT msg, POINT at) {
        PlatMouseEvent(parent.wnd, msg, 160 + at.x, 89 + at.y);
        PumpMsgs();
    }
    PicData Grab() { return TakePicData(PlatGrabWindow(cln)); }
};

TEST_F(ClnTest, MouseGesturesSelectDaysAndStepMonths) {
    struct Case {
        const char* name;
        SYSTEMTIME start;
        std::vector<Act> acts;
        SYSTEMTIME want;
    };
    const Case cases[] = {
        {"→ from 31 January 2003",
         Day(2003, 1, 31),
         {{WM_LBUTTONDOWN, kFwd}, {WM_LBUTTONUP, kFwd}},
         Day(2003, 2, 28)},
        {"→ from 31 January 2004",
         Day(2004, 1, 31),
         {{WM_LBUTTONDOWN, kFwd}, {WM_LBUTTONUP, kFwd}},
         Day(2004, 2, 29)},
        {"← on January 2003",
         Day(2003, 1, 15),
         {{WM_LBUTTONDOWN, kBack}, {WM_LBUTTONUP, kBack}},
         Day(2002, 12, 15)},
        {"→ on December 2002",
         Day(2002, 12, 15),
         {{WM_LBUTTONDOWN, kFwd}, {WM_LBUTTONUP, kFwd}},
         Day(2003, 1, 15)},
        // July 2002 begins on a Monday: 1 August is the cell after the 31st, row 4, Thursday.
        {"grey 1 August in July",
         Day(2002, 7, 10),
         {{WM_LBUTTONDOWN, Cell(4, 4)}, {WM_LBUTTONUP, Cell(4, 4)}},
         Day(2002, 8, 1)},
        // January 2003 begins on a Wednesday: the first cell is Sunday 29 December 2002.
        {"grey 29 December in January",
         Day(2003, 1, 15),
         {{WM_LBUTTONDOWN, Cell(0, 0)}, {WM_LBUTTONUP, Cell(0, 0)}},
         Day(2002, 12, 29)},
        // December 2002 begins on a Sunday, in the first cell: 1 January is row 4, Wednesday.
        {"grey 1 January in December",
         Day(2002, 12, 10),
         {{WM_LBUTTONDOWN, Cell(3, 4)}, {WM_LBUTTONUP, Cell(3, 4)}},
         Day(2003, 1, 1)},
        {"press on the 1st, drag, release on the 19th",
         Day(2002, 7, 10),
         {{WM_LBUTTONDOWN, Cell(1, 0)},
          {WM_MOUSEMOVE, Cell(3, 1)},
          {WM_MOUSEMOVE, Cell(5, 2)},
          {WM_LBUTTONUP, Cell(5, 2)}},
         Day(2002, 7, 19)},
        {"released on the header band",
         Day(2002, 7, 10),
         {{WM_LBUTTONDOWN, Cell(1, 0)}, {WM_MOUSEMOVE, kHeader}, {WM_LBUTTONUP, kHeader}},
         Day(2002, 7, 10)},
        {"dragged onto →, released there: one step, no day",
         Day(2002, 7, 10),
         {{WM_LBUTTONDOWN, Cell(1, 0)}, {WM_MOUSEMOVE, kFwd}, {WM_LBUTTONUP, kFwd}},
         Day(2002, 8, 10)},
        {"released just left of the first column",
         Day(2002, 7, 10),
         {{WM_LBUTTONDOWN, Cell(1, 0)}, {WM_MOUSEMOVE, {5, 50}}, {WM_LBUTTONUP, {5, 50}}},
         Day(2002, 7, 10)},
        {"released outside, left of the calendar",
         Day(2002, 7, 10),
         {{WM_LBUTTONDOWN, Cell(1, 0)}, {WM_MOUSEMOVE, {-5, 50}}, {WM_LBUTTONUP, {-5, 50}}},
         Day(2002, 7, 10)},
        {"released below the last row",
         Day(2002, 7, 10),
         {{WM_LBUTTONDOWN, Cell(1, 0)}, {WM_MOUSEMOVE, {50, 124}}, {WM_LBUTTONUP, {50, 124}}},
         Day(2002, 7, 10)},
        {"→ held, slid off and back on: two steps",
         Day(2002, 7, 10),
         {{WM_LBUTTONDOWN, kFwd},
          {WM_MOUSEMOVE, kHeader},
          {WM_MOUSEMOVE, kFwd},
          {WM_LBUTTONUP, kFwd}},
         Day(2002, 9, 10)},
        {"→ held and moved within it: one step",
         Day(2002, 7, 10),
         {{WM_LBUTTONDOWN, kFwd}, {WM_MOUSEMOVE, {150, 14}}, {WM_LBUTTONUP, {150, 14}}},
         Day(2002, 8, 10)},
        {"a day in the past can be selected",
         Day(2002, 7, 10),
         {{WM_LBUTTONDOWN, kBack},
          {WM_LBUTTONUP, kBack},
          {WM_LBUTTONDOWN, Cell(2, 1)},
          {WM_LBUTTONUP, Cell(2, 1)}},
         Day(2002, 6, 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.start);
        for (const Act& a : c.acts) Mouse(a.msg, a.at);
        EXPECT_EQ(Show(g_clnSel), Show(c.want));
        EXPECT_EQ(GetCapture(), nullptr);
        DestroyWindow(cln);
        cln = nullptr;
    }
}

// The pixels where two looks of the calendar differ.
std::vector<POINT> Diff(const PicData& a, const PicData& b) {
    std::vector<POINT> at;
    for (int y = 0; y < a.h; ++y)
        for (int x = 0; x < a.w; ++x)
            if (a.At(x, y) != b.At(x, y)) at.push_back(POINT{x, y});
    return at;
}

// All of `at` lies on the one-pixel outline of the frame of cell (col, row), and some of it does.
void ExpectOnFrame(const std::vector<POINT>& at, int col, int row) {
    const RECT r = {10 + 22 * col, 45 + 13 * row, 22 * col + 23, 58 + 13 * row};
    EXPECT_FALSE(at.empty());
    for (const POINT& p : at) {
        const bool inside = p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
        const bool edge =
            p.x == r.left || p.x == r.right - 1 || p.y == r.top || p.y == r.bottom - 1;
        EXPECT_TRUE(inside && edge) << "(" << p.x << ", " << p.y << ")";
    }
}

// While the button is held the cell under the pointer wears an inverted dotted frame; it moves
// with the pointer, and leaves nothing behind when the button is let go off the days.
TEST_F(ClnTest, FocusFrameFollowsThePointerAndGoesAway) {
    Start(Day(2002, 7, 10));
    const PicData plain = Grab();
    Mouse(WM_LBUTTONDOWN, Cell(2, 1));
    ExpectOnFrame(Diff(plain, Grab()), 2, 1);
    Mouse(WM_MOUSEMOVE, Cell(6, 4));
    ExpectOnFrame(Diff(plain, Grab()), 6, 4);
    Mouse(WM_MOUSEMOVE, kHeader);
    EXPECT_TRUE(Diff(plain, Grab()).empty());
    Mouse(WM_MOUSEMOVE, Cell(0, 5));
    ExpectOnFrame(Diff(plain, Grab()), 0, 5);
    Mouse(WM_MOUSEMOVE, kHeader);
    Mouse(WM_LBUTTONUP, kHeader);
    EXPECT_TRUE(Diff(plain, Grab()).empty());
}

// The look: the header band in the caption colour, the selected day on a caption-coloured
// mark, other days on white; the mark moves with the selection.
TEST_F(ClnTest, SelectedDayIsMarked) {
    Start(Day(2002, 7, 10));  // row 1, Wednesday
    const COLORREF caption = GetSysColor(COLOR_ACTIVECAPTION);
    const uint32_t captionPx =
        (GetRValue(caption) << 16) | (GetGValue(caption) << 8) | GetBValue(caption);
    const auto markAt = [](const PicData& pic, POINT cell) {
        return pic.At(10 + 22 * cell.x - 4, 45 + 13 * cell.y + 1);
    };
    PicData pic = Grab();
    EXPECT_EQ(pic.At(1, 1), captionPx);
    EXPECT_EQ(markAt(pic, POINT{3, 1}), captionPx);
    EXPECT_EQ(markAt(pic, POINT{4, 2}), 0xFFFFFFu);
    Mouse(WM_LBUTTONDOWN, Cell(4, 2));
    Mouse(WM_LBUTTONUP, Cell(4, 2));
    pic = Grab();
    EXPECT_EQ(markAt(pic, POINT{3, 1}), 0xFFFFFFu);
    EXPECT_EQ(markAt(pic, POINT{4, 2}), captionPx);
}

}  // namespace
