// The brightness slider driven by the message sequences a user's mouse produces.
#include "image/slider.h"

#include <gtest/gtest.h>

#include "app/appstate.h"
#include "image/workbmp.h"
#include "support/testutil.h"
#include "ui/appmsg.h"
#include "ui/childwnd.h"

namespace {

// Red 255, green 128, blue 0: each channel goes its own way through the brightness table.
constexpr uint32_t kOrange = 0xFF8000;

struct SldTest : testing::Test {
    AppEnv env;
    BtnParent parent;
    HWND sld = nullptr;
    void SetUp() override {
        sld = MakeSldWnd(parent.wnd, MainSldProc);
        ASSERT_TRUE(IsWindow(sld));
        g_app.sldWnd = sld;
        BmpForm f;
        f.w = 5;
        f.h = 3;
        f.px.assign(15, kOrange);
        ASSERT_TRUE(WriteFileBytes(env.data.File("o.bmp"), MakeBmpFile(f)));
    }
    void TearDown() override {
        DestroyWindow(sld);
        ClearWorkBmp();
    }
    uint32_t Adjusted() { return PicPixels(WorkBmp.adjBmp, WorkBmp.adjW, WorkBmp.adjH)[7]; }
    void Send(UINT msg, int x, int y = 14) {
        SendMessageA(sld, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    }
};

struct Step {
    UINT msg;
    int x;
};

struct SldCase {
    const char* name;
    std::vector<Step> steps;
    int knob;
    uint32_t adjusted;
    bool captured;
};

TEST_F(SldTest, MouseSequences) {
    const SldCase cases[] = {
        {"press on the track beside the knob",
         {{WM_LBUTTONDOWN, 10}, {WM_MOUSEMOVE, 100}, {WM_LBUTTONUP, 100}},
         60,
         kOrange,
         false},
        {"dragging past the right end, not yet released",
         {{WM_LBUTTONDOWN, 65}, {WM_MOUSEMOVE, 400}},
         119,
         kOrange,
         true},
        {"released at the right end",
         {{WM_LBUTTONDOWN, 65}, {WM_MOUSEMOVE, 400}, {WM_LBUTTONUP, 400}},
         119,
         0xFFE6CD,
         false},
        {"released past the left end, outside the window",
         {{WM_LBUTTONDOWN, 87}, {WM_MOUSEMOVE, -300}, {WM_LBUTTONUP, -300}},
         1,
         0x321900,
         false},
        {"one step right",
         {{WM_LBUTTONDOWN, 65}, {WM_MOUSEMOVE, 66}, {WM_LBUTTONUP, 66}},
         61,
         0xFF8204,
         false},
        {"double click on the knob resets at once",
         {{WM_LBUTTONDOWN, 65}, {WM_LBUTTONUP, 400}, {WM_LBUTTONDBLCLK, 130}},
         60,
         kOrange,
         false},
        {"double click beside the knob does nothing",
         {{WM_LBUTTONDOWN, 65}, {WM_LBUTTONUP, 400}, {WM_LBUTTONDBLCLK, 10}},
         119,
         0xFFE6CD,
         false},
        {"reset moves the knob and leaves the picture",
         {{WM_LBUTTONDOWN, 65}, {WM_LBUTTONUP, 400}, {WM_APP_RESET, 0}},
         60,
         0xFFE6CD,
         false},
    };
    for (const SldCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(InitWorkBmp(env.data.File("o.bmp").c_str()), 1);
        Send(WM_APP_RESET, 0);
        for (const Step& s : c.steps) Send(s.msg, s.x);
        EXPECT_EQ(g_sld.knobX, c.knob);
        EXPECT_EQ(Adjusted(), c.adjusted);
        EXPECT_EQ(GetCapture() == sld, c.captured);
        EXPECT_EQ(g_sld.dragging, c.captured);
        Send(WM_LBUTTONUP, 0);
        ReleaseCapture();
    }
}

TEST_F(SldTest, PaintsTheKnobOnTheTrack) {
    Send(WM_LBUTTONDOWN, 65);
    Send(WM_LBUTTONUP, 400);  // nothing loaded: the knob moves, the picture stays empty
    EXPECT_FALSE(WorkBmp.loaded);
    UpdateWindow(sld);
    const PicData shot = TakePicData(PlatGrabWindow(sld));
    const PicData track = LoadResPic(122), knob = LoadResPic(123);
    ASSERT_EQ(shot.w, kSldW);
    for (int y = 0; y < kSldH; y++)
        for (int x = 0; x < kSldW; x++) {
            const uint32_t want = x >= 119 ? knob.At(x - 119, y) : track.At(x, y);
            ASSERT_EQ(shot.At(x, y), want) << x << ", " << y;
        }
}

}  // namespace
