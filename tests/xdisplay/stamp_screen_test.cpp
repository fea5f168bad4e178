// A photo with two stamps, one of them turned, and the stamp dialog open over it, on a real
// screen; saved as a screenshot for a person to look at. The test checks that the dialog's skin
// and the canvas below it reached the screen.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/appstate.h"
#include "image/canvas.h"
#include "image/stamp.h"
#include "image/workwnd.h"
#include "screen_util.h"
#include "support/mainrun.h"
#include "support/testutil.h"

namespace {

void Mouse(HWND wnd, UINT down, UINT up, int x, int y) {
    PlatMouseEvent(wnd, down, x, y);
    PlatMouseEvent(wnd, up, x, y);
    PumpMsgs();
}

TEST(Screen, StampsAndTheirDialog) {
    TempDir pics;
    MainRun run;
    run.Restart("quillet " + PutPhoto(pics.path, "sunset.bmp", 640, 480, 0xF08C50));
    HWND main = g_app.mainWnd;
    ASSERT_TRUE(IsWindowVisible(main));
    run.Click(113);
    // The first message stamp, dragged up to the left; the third one stays in the middle.
    Mouse(main, WM_LBUTTONDOWN, WM_LBUTTONUP, 212 + 35, 175 + 27);
    PlatMouseEvent(main, WM_LBUTTONDOWN, 39 + 60, 146 + 65);
    PlatMouseEvent(main, WM_MOUSEMOVE, 39 + 40, 146 + 30);
    PlatMouseEvent(main, WM_LBUTTONUP, 39 + 40, 146 + 30);
    Mouse(main, WM_LBUTTONDOWN, WM_LBUTTONUP, 212 + 35, 175 + 69 + 27);
    ASSERT_EQ(g_stmp.count, 2);
    // A right click on it opens the dialog; its first button turns it. Under a window manager
    // the activations settle first, as they do between a person's clicks.
    AwaitActive(main);
    Mouse(main, WM_RBUTTONDOWN, WM_RBUTTONUP, 39 + 60, 146 + 65);
    HWND dlg = g_work.stmpDlg;
    ASSERT_TRUE(IsWindowVisible(dlg));
    AwaitActive(dlg);
    Mouse(dlg, WM_LBUTTONDOWN, WM_LBUTTONUP, 11 + 28, 14 + 28);
    ASSERT_EQ(g_stmp.items[1].rot, 3);
    UpdateWindow(g_app.workWnd);
    PumpMsgs();

    const QImage shot = GrabScreen("stamps-screenshot.png");
    ASSERT_FALSE(shot.isNull());
    ASSERT_TRUE(IsWindow(dlg)) << "the dialog closed before the screenshot";
    RECT r;
    GetWindowRect(dlg, &r);
    const PicData skin = LoadResPic(146);
    // The skin between the buttons, under the close button's row.
    EXPECT_EQ(shot.pixel(r.left + 120, r.top + 100) & 0xFFFFFF, skin.At(120, 100));
    // The canvas below the dialog's bottom edge is the canvas composition.
    POINT work{0, 0};
    ClientToScreen(g_app.workWnd, &work);
    const PicData want = TakePicData(MakeCanvasPic());
    int differ = 0;
    for (int y = r.bottom - work.y; y < 130; y++)
        for (int x = 0; x < 120; x++)
            differ += (shot.pixel(work.x + x, work.y + y) & 0xFFFFFF) != want.At(x, y);
    EXPECT_EQ(differ, 0);

    // A real click elsewhere, on the canvas's bottom right corner where no stamp lies (a click
    // there pans the photo by nothing), closes the dialog: with a window manager and without one.
    XClick(work.x + 115, work.y + 125);
    for (int i = 0; i < 200 && IsWindow(dlg); i++) {
        PumpMsgs();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(IsWindow(dlg)) << "the stamp dialog stayed open after a click elsewhere";
}

}  // namespace
