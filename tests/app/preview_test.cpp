// The work area and the preview in the running program: a photo from the command line is
// dragged and brightened with the mouse, then previewed.
#include "image/preview.h"

#include <gtest/gtest.h>

#include "app/appstate.h"
#include "image/slider.h"
#include "image/workbmp.h"
#include "image/workwnd.h"
#include "platform/user/modal.h"
#include "support/mainrun.h"
#include "ui/appmsg.h"

namespace {

PicData g_preview;
RECT g_previewRect;

// Takes a picture of the preview as it opens, then clicks its close button.
int GrabPreview(const ModalEvent* ev) {
    if (ev->kind != MODAL_DIALOG || ev->templ != 144) return 1;
    GetWindowRect(ev->wnd, &g_previewRect);
    UpdateWindow(ev->wnd);
    g_preview = TakePicData(PlatGrabWindow(ev->wnd));
    PlatMouseEvent(ev->wnd, WM_LBUTTONDOWN, 220, 435);
    PlatMouseEvent(ev->wnd, WM_LBUTTONUP, 220, 435);
    return -1;
}

PicData OpenPreview(MainRun& run) {
    g_preview = PicData{};
    SetModalHook(GrabPreview);
    run.Click(117);
    SetModalHook(nullptr);
    return g_preview;
}

// The part of a picture at (x, y), w x h.
std::vector<uint32_t> Cut(const PicData& pic, int x, int y, int w, int h) {
    std::vector<uint32_t> px;
    for (int r = y; r < y + h; r++)
        for (int c = x; c < x + w; c++) px.push_back(pic.At(c, r));
    return px;
}

// A photo whose colour follows its position, so a pan shows.
std::string PutGradient(const std::string& dir) {
    BmpForm f;
    f.w = 240;
    f.h = 260;
    for (int y = 0; y < f.h; y++)
        for (int x = 0; x < f.w; x++)
            f.px.push_back(uint32_t(x / 2) << 16 | uint32_t(y / 3) << 8 | 0x60);
    const std::string path = dir + "/grad.bmp";
    EXPECT_TRUE(WriteFileBytes(path, MakeBmpFile(f)));
    return path;
}

TEST(Preview, EmptyCanvasShowsAWhiteScreenOnThePhoneSkin) {
    MainRun run;
    RECT main;
    GetWindowRect(g_app.mainWnd, &main);
    const PicData shot = OpenPreview(run);
    ASSERT_EQ(shot.w, 268);
    ASSERT_EQ(shot.h, 639);
    EXPECT_EQ(g_previewRect.left, main.left + 20);
    EXPECT_EQ(g_previewRect.top, main.top);
    EXPECT_EQ(Cut(shot, 114, 184, 120, 130), std::vector<uint32_t>(120 * 130, 0xFFFFFF));
    const PicData skin = LoadResPic(138);
    EXPECT_EQ(Cut(shot, 0, 0, 268, 184), Cut(skin, 0, 0, 268, 184));
    EXPECT_EQ(Cut(shot, 0, 500, 268, 139), Cut(skin, 0, 500, 268, 139));
    // It closed through its button and left nothing open.
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(g_app.mainWnd));
}

TEST(Preview, ScenarioDragBrightenAndPreview) {
    TempDir dir;
    MainRun run("quillet " + PutGradient(dir.path));
    ASSERT_TRUE(WorkBmp.loaded);
    EXPECT_EQ(WorkBmp.originX, 130);
    PumpMsgs();
    const PicData before = TakePicData(PlatGrabWindow(g_app.workWnd));

    // The photo dragged 10 pixels right on the work area at (39, 146).
    PlatMouseEvent(g_app.mainWnd, WM_LBUTTONDOWN, 39 + 60, 146 + 65);
    PlatMouseEvent(g_app.mainWnd, WM_MOUSEMOVE, 39 + 70, 146 + 65);
    PlatMouseEvent(g_app.mainWnd, WM_LBUTTONUP, 39 + 70, 146 + 65);
    EXPECT_EQ(WorkBmp.originX, 120);
    EXPECT_EQ(WorkBmp.originY, 130);
    PumpMsgs();
    const PicData panned = TakePicData(PlatGrabWindow(g_app.workWnd));
    EXPECT_EQ(Cut(panned, 10, 0, 110, 130), Cut(before, 0, 0, 110, 130));

    // The knob of the slider at (26, 349) dragged 30 pixels right and released.
    PlatMouseEvent(g_app.mainWnd, WM_LBUTTONDOWN, 26 + 70, 349 + 14);
    PlatMouseEvent(g_app.mainWnd, WM_MOUSEMOVE, 26 + 100, 349 + 14);
    EXPECT_EQ(g_sld.knobX, 90);
    PlatMouseEvent(g_app.mainWnd, WM_LBUTTONUP, 26 + 100, 349 + 14);
    PumpMsgs();
    const PicData bright = TakePicData(PlatGrabWindow(g_app.workWnd));
    int brighter = 0;
    for (size_t i = 0; i < bright.px.size(); i++) {
        for (int shift : {0, 8, 16}) {
            const uint32_t a = (panned.px[i] >> shift) & 0xFF, b = (bright.px[i] >> shift) & 0xFF;
            ASSERT_GE(b, a) << "pixel " << i;
            brighter += b > a;
        }
    }
    EXPECT_GT(brighter, 120 * 130);

    // The preview's screen is the canvas.
    const PicData shot = OpenPreview(run);
    ASSERT_EQ(shot.w, 268);
    EXPECT_EQ(ComparePics(Cut(shot, 114, 184, 120, 130), bright.px, 120), "");
}

}  // namespace
