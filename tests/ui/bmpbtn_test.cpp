// The bitmap button driven by the message sequences a user's pointer produces, with a replaced
// tick count: its look, its capture, and the clicks its parent hears of.
#include "ui/bmpbtn.h"

#include <gtest/gtest.h>

#include <iterator>

#include "platform/kernel/kernel.h"
#include "support/testutil.h"

namespace {

DWORD g_tick;
DWORD FakeTick() {
    return g_tick;
}

struct Step {
    const char* what;
    UINT msg;  // WM_NCHITTEST, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP
    int x, y;  // client position
    DWORD tick;
    int look;       // the look afterwards
    bool captured;  // the button holds the mouse afterwards
    int clicks;     // clicks the parent has heard of so far
};

// Sends one step to the button (mouse messages only while they would reach it: under its own
// capture or as the first message over it), then delivers what it posted.
void RunSteps(HWND btn, const BtnParent& parent, const Step* steps, int count) {
    const ButtonEntry& e = ButtonTable[GetDlgCtrlID(btn) - kFirstBtnId];
    for (int i = 0; i < count; ++i) {
        const Step& s = steps[i];
        SCOPED_TRACE(s.what);
        g_tick = s.tick;
        SendMessageA(btn, s.msg, 0, MAKELPARAM(s.x, s.y));
        PumpMsgs();
        EXPECT_EQ(e.look, s.look);
        EXPECT_EQ(GetCapture() == btn, s.captured);
        EXPECT_EQ(int(parent.clicks.size()), s.clicks);
    }
}

struct BtnTest : ::testing::Test {
    AppEnv env;
    BtnParent parent;
    void SetUp() override { PlatSetTickCountHook(FakeTick); }
    void TearDown() override {
        ReleaseCapture();
        PlatSetTickCountHook(nullptr);
    }
    HWND Make(int id) {
        HWND b = MakeBmpBtn(parent.wnd, BmpBtnProc, id, 10, 10, 60, 23, 102);
        EXPECT_NE(b, nullptr);
        EXPECT_NE(ButtonTable[id - kFirstBtnId].strip, nullptr);
        return b;
    }
};

TEST_F(BtnTest, ClickLightsPressesAndFiresOnceOnRelease) {
    HWND b = Make(102);
    const Step steps[] = {
        {"pointer enters", WM_NCHITTEST, 5, 5, 0, BTN_HOVER, true, 0},
        {"moves over it", WM_MOUSEMOVE, 6, 5, 0, BTN_HOVER, true, 0},
        {"pressed", WM_LBUTTONDOWN, 6, 5, 0, BTN_PRESSED, true, 0},
        {"dragged out while held", WM_MOUSEMOVE, -3, 5, 0, BTN_NORMAL, true, 0},
        {"dragged back in", WM_MOUSEMOVE, 6, 5, 0, BTN_PRESSED, true, 0},
        {"released inside", WM_LBUTTONUP, 6, 5, 100, BTN_NORMAL, false, 1},
        {"the next move lights it", WM_NCHITTEST, 7, 5, 200, BTN_HOVER, true, 1},
        {"leaves", WM_MOUSEMOVE, 70, 5, 200, BTN_NORMAL, false, 1},
    };
    RunSteps(b, parent, steps, int(std::size(steps)));
    EXPECT_EQ(parent.clicks, std::vector<int>{102});
}

TEST_F(BtnTest, ReleaseOutsideSendsNothing) {
    HWND b = Make(103);
    const Step steps[] = {
        {"pointer enters", WM_NCHITTEST, 5, 5, 0, BTN_HOVER, true, 0},
        {"pressed", WM_LBUTTONDOWN, 5, 5, 0, BTN_PRESSED, true, 0},
        {"dragged below", WM_MOUSEMOVE, 5, 40, 0, BTN_NORMAL, true, 0},
        {"released there", WM_LBUTTONUP, 5, 40, 0, BTN_NORMAL, false, 0},
    };
    RunSteps(b, parent, steps, int(std::size(steps)));
}

// The buttons that open a browser stay unlit for 1500 ms after their click.
TEST_F(BtnTest, SlowButtonRestsAfterItsClick) {
    HWND b = Make(116);
    const Step steps[] = {
        {"pointer enters", WM_NCHITTEST, 5, 5, 1000, BTN_HOVER, true, 0},
        {"pressed", WM_LBUTTONDOWN, 5, 5, 1000, BTN_PRESSED, true, 0},
        {"released inside", WM_LBUTTONUP, 5, 5, 1000, BTN_NORMAL, false, 1},
        {"hit test soon after", WM_NCHITTEST, 6, 5, 2000, BTN_NORMAL, false, 1},
        {"move at 1500 ms", WM_MOUSEMOVE, 7, 5, 2500, BTN_NORMAL, false, 1},
        {"move after 1500 ms ends the rest", WM_MOUSEMOVE, 8, 5, 2501, BTN_NORMAL, false, 1},
        {"and the next hit test lights it", WM_NCHITTEST, 9, 5, 2502, BTN_HOVER, true, 1},
    };
    RunSteps(b, parent, steps, int(std::size(steps)));
}

// Positions left of or above the button are outside, though their words are large unsigned.
TEST_F(BtnTest, NegativePositionsAreOutside) {
    HWND b = Make(104);
    const Step steps[] = {
        {"pointer enters", WM_NCHITTEST, 1, 1, 0, BTN_HOVER, true, 0},
        {"pressed", WM_LBUTTONDOWN, 1, 1, 0, BTN_PRESSED, true, 0},
        {"released left of it", WM_LBUTTONUP, -1, 1, 0, BTN_NORMAL, false, 0},
        {"pointer enters again", WM_NCHITTEST, 1, 1, 0, BTN_HOVER, true, 0},
        {"pressed again", WM_LBUTTONDOWN, 1, 1, 0, BTN_PRESSED, true, 0},
        {"released above it", WM_LBUTTONUP, 1, -1, 0, BTN_NORMAL, false, 0},
    };
    RunSteps(b, parent, steps, int(std::size(steps)));
}

// A dialog opened again makes its buttons again: the entry then holds one strip, the new one.
TEST_F(BtnTest, MakingAButtonAgainReplacesItsEntry) {
    HWND first = Make(120);
    ButtonTable[120 - kFirstBtnId].look = BTN_PRESSED;
    DestroyWindow(first);
    HWND again = MakeBmpBtn(parent.wnd, BmpBtnProc, 120, 0, 0, 102, 32, 126);
    ASSERT_NE(again, nullptr);
    const ButtonEntry& e = ButtonTable[120 - kFirstBtnId];
    EXPECT_EQ(e.look, BTN_NORMAL);
    EXPECT_EQ(e.width, 102);
    EXPECT_EQ(e.height, 32);
    BITMAP bm{};
    ASSERT_TRUE(GetObjectA(e.strip, sizeof bm, &bm));
    EXPECT_EQ(bm.bmHeight, 96);
    EXPECT_EQ(MakeBmpBtn(parent.wnd, BmpBtnProc, 146, 0, 0, 10, 10, 126), nullptr);
}

}  // namespace
