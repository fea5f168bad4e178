// The main window with its picture browser on a real screen: the photo tab with three photos,
// then the message tab, each saved as a screenshot for a person to look at. The test checks that
// the thumbnails and the red frame reached the screen.
#include <gtest/gtest.h>

#include "app/appstate.h"
#include "platform/controls/commctrl.h"
#include "screen_util.h"
#include "support/mainrun.h"
#include "support/testutil.h"

namespace {

TEST(Screen, BrowserTabs) {
    TempDir pics;
    MainRun run;
    const std::string a = PutPhoto(pics.path, "sunset.bmp", 640, 480, 0xF08C50);
    const std::string b = PutPhoto(pics.path, "tall.bmp", 300, 500, 0x78B4F0);
    const std::string c = PutPhoto(pics.path, "wide.bmp", 800, 240, 0xB478C8);
    run.Restart("quillet " + a + " " + b + " " + c);
    HWND main = g_app.mainWnd;
    ASSERT_TRUE(IsWindowVisible(main));
    RECT r;
    GetClientRect(main, &r);
    POINT origin{0, 0};
    ClientToScreen(main, &origin);
    PumpMsgs();

    const QImage photos = GrabScreen("browser-photos-screenshot.png");
    ASSERT_FALSE(photos.isNull());
    // Slot 0 holds the sunset (its sea at the bottom), framed in red; slot 3 is white.
    auto at = [&](const QImage& img, int x, int y) {
        return img.pixel(origin.x + x, origin.y + y) & 0xFFFFFF;
    };
    EXPECT_EQ(at(photos, 212 - 2, 175 + 27), 0xFF0000u);
    EXPECT_EQ(at(photos, 212 + 35, 175 + 50), 0x1E3C6Eu);
    EXPECT_EQ(at(photos, 297 + 35, 244 + 27), 0xFFFFFFu);

    run.Click(113);
    UpdateWindow(main);
    PumpMsgs();
    const QImage messages = GrabScreen("browser-messages-screenshot.png");
    ASSERT_FALSE(messages.isNull());
    // The message tab's first slot shows a picture of the collection, not a photo and not a
    // blank slot: coloured lettering on white.
    int coloured = 0, sea = 0;
    for (int y = 175; y < 175 + 54; y++)
        for (int x = 212; x < 212 + 70; x++) {
            const uint32_t px = at(messages, x, y);
            coloured += px != 0xFFFFFFu;
            sea += px == 0x1E3C6Eu;
        }
    EXPECT_GT(coloured, 100);
    EXPECT_EQ(sea, 0);
    EXPECT_TRUE(IsWindowVisible(g_app.cmbWnd[1]));

    // The folder list dropped down, its sub-folders in the 13-pixel list font.
    SendMessageA(g_app.cmbWnd[1], CB_SHOWDROPDOWN, TRUE, 0);
    PumpMsgs();
    EXPECT_FALSE(GrabScreen("browser-folders-screenshot.png").isNull());
    SendMessageA(g_app.cmbWnd[1], CB_SHOWDROPDOWN, FALSE, 0);
}

}  // namespace
