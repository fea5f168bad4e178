// The work area driven by the message sequences of a user's mouse: panning the photo, picking
// and dragging stamps.
#include "image/workwnd.h"

#include <gtest/gtest.h>

#include "app/appstate.h"
#include "browser/thumbs.h"
#include "image/slider.h"
#include "image/stamp.h"
#include "image/workbmp.h"
#include "platform/user/drop.h"
#include "support/testutil.h"
#include "ui/childwnd.h"

namespace {

struct WorkWndTest : testing::Test {
    AppEnv env;
    BtnParent parent;
    HWND work = nullptr;
    void SetUp() override {
        ASSERT_EQ(InitStmpList(), 1);
        work = MakeWorkWnd(parent.wnd, MainWorkProc);
        ASSERT_TRUE(IsWindow(work));
        g_app.workWnd = work;
    }
    void TearDown() override {
        DestroyWindow(work);
        ClearWorkBmp();
        FreeStmpList();
    }
    void Load(int w, int h) {
        BmpForm f;
        f.w = w;
        f.h = h;
        f.px.assign(size_t(w) * h, 0x204080);
        ASSERT_TRUE(WriteFileBytes(env.data.File("p.bmp"), MakeBmpFile(f)));
        ASSERT_EQ(InitWorkBmp(env.data.File("p.bmp").c_str()), 1);
    }
    void Send(UINT msg, int x, int y) {
        SendMessageA(work, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    }
    // A w x h stamp at (x, y): a teal key colour around a red middle pixel.
    void AddStamp(int x, int y, int w, int h, int rot = 0) {
        std::vector<uint32_t> px(size_t(w) * h, 0x008080);
        px[size_t(h / 2) * w + w / 2] = 0xFF0000;
        // The list's own storage, grown as the list grows it: the code under test may resize it.
        auto* items = static_cast<StmpInfo*>(
            realloc(g_stmp.items, sizeof(StmpInfo) * size_t(g_stmp.count + 1)));
        ASSERT_NE(items, nullptr);
        g_stmp.items = items;
        g_stmp.items[g_stmp.count++] = StmpInfo{MakePic(w, h, px), x, y, w, h, rot, false, false};
    }
};

TEST_F(WorkWndTest, DraggingThePhotoMovesTheOriginTheOtherWayUpToTheClamp) {
    Load(240, 260);  // view 380 x 390, origin (130, 130)
    Send(WM_LBUTTONDOWN, 50, 50);
    EXPECT_EQ(GetCapture(), work);
    Send(WM_MOUSEMOVE, 60, 50);
    EXPECT_EQ(WorkBmp.originX, 120);
    EXPECT_EQ(WorkBmp.originY, 130);
    Send(WM_MOUSEMOVE, 600, 45);  // far right: the picture's left column stays in sight
    EXPECT_EQ(WorkBmp.originX, 11);
    EXPECT_EQ(WorkBmp.originY, 135);
    Send(WM_MOUSEMOVE, -2000, 45);  // far left, outside the window under capture
    EXPECT_EQ(WorkBmp.originX, 380 - 131);
    // The release takes the centre from what the canvas shows.
    EXPECT_FLOAT_EQ(WorkBmp.cx, 0.5f);
    Send(WM_LBUTTONUP, -2000, 45);
    EXPECT_EQ(GetCapture(), nullptr);
    // The picture is 120 x 130 on the view.
    EXPECT_FLOAT_EQ(WorkBmp.cx, float((249 + 60 - 130) / 120.0));
    EXPECT_FLOAT_EQ(WorkBmp.cy, float((135 + 65 - 130) / 130.0));
    // Moves after the release pan nothing.
    Send(WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(WorkBmp.originX, 249);
}

TEST_F(WorkWndTest, PanningWithNothingLoadedDoesNothing) {
    Send(WM_LBUTTONDOWN, 50, 50);
    Send(WM_MOUSEMOVE, 90, 10);
    Send(WM_LBUTTONUP, 90, 10);
    EXPECT_EQ(WorkBmp.originX, 0);
    EXPECT_EQ(WorkBmp.originY, 0);
    EXPECT_FALSE(WorkBmp.loaded);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WorkWndTest, HitTestUsesTheTurnedRectangle) {
    AddStamp(40, 50, 40, 20, 1);  // turned: left 50, top 40, 20 wide, 40 high
    const struct {
        int x, y, hit;
    } points[] = {{50, 40, 0},  {69, 79, 0},  {60, 60, 0}, {70, 40, -1},
                  {49, 60, -1}, {45, 55, -1}, {60, 80, -1}};
    for (const auto& p : points) {
        SCOPED_TRACE(testing::Message() << p.x << ", " << p.y);
        EXPECT_EQ(HitStmp(p.x, p.y), p.hit);
    }
}

TEST_F(WorkWndTest, PressGrabsTheUpperStampAndDragKeepsItsCentreOnTheCanvas) {
    AddStamp(40, 50, 40, 30);  // lower
    AddStamp(60, 60, 40, 30);  // upper
    const HBITMAP lower = g_stmp.items[0].bmp, upper = g_stmp.items[1].bmp;
    // Where both lie, only the upper one is taken, and the order stays.
    Send(WM_LBUTTONDOWN, 70, 70);
    EXPECT_TRUE(g_work.stmpDrag);
    EXPECT_EQ(g_stmp.items[1].bmp, upper);
    Send(WM_MOUSEMOVE, -500, 70);
    EXPECT_EQ(g_stmp.items[1].x, -20);
    EXPECT_EQ(g_stmp.items[1].y, 60);
    Send(WM_MOUSEMOVE, 500, 500);
    EXPECT_EQ(g_stmp.items[1].x, 100);
    EXPECT_EQ(g_stmp.items[1].y, 115);
    Send(WM_LBUTTONUP, 500, 500);
    EXPECT_FALSE(g_work.stmpDrag);
    EXPECT_EQ(g_stmp.items[0].x, 40);  // the lower one never moved
    // A press on the lower one's own part brings it up.
    Send(WM_LBUTTONDOWN, 45, 55);
    EXPECT_EQ(g_stmp.items[1].bmp, lower);
    EXPECT_EQ(g_work.stmpIdx, 1);
    Send(WM_MOUSEMOVE, 55, 60);
    EXPECT_EQ(g_stmp.items[1].x, 50);
    EXPECT_EQ(g_stmp.items[1].y, 55);
    Send(WM_LBUTTONUP, 55, 60);
    // The canvas shows it: its red middle at (70, 70), the teal key left out.
    UpdateWindow(work);
    const PicData shot = TakePicData(PlatGrabWindow(work));
    EXPECT_EQ(shot.At(70, 70), 0xFF0000u);
    EXPECT_EQ(shot.At(51, 56), 0xFFFFFFu);
}

TEST_F(WorkWndTest, RightClickBringsAStampUpAndEmptyCanvasDoesNothing) {
    AddStamp(0, 0, 20, 20);
    AddStamp(10, 10, 20, 20);
    const HBITMAP first = g_stmp.items[0].bmp;
    SendMessageA(work, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 100));
    EXPECT_EQ(g_stmp.items[0].bmp, first);
    EXPECT_EQ(g_work.stmpDlg, nullptr);
    SendMessageA(work, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(g_stmp.items[1].bmp, first);
    EXPECT_EQ(GetCapture(), nullptr);
    // The stamp dialog opened for it.
    EXPECT_TRUE(IsWindow(g_work.stmpDlg));
    DestroyWindow(g_work.stmpDlg);
    EXPECT_EQ(g_work.stmpDlg, nullptr);
}

// Dropping files at the work area's middle, (39 + 60, 146 + 65) in its parent.
void DropOnWork(HWND parent, const std::vector<std::string>& paths) {
    std::vector<std::string> urls;
    for (const std::string& p : paths) urls.push_back("file://" + p);
    std::vector<const char*> list;
    for (const std::string& u : urls) list.push_back(u.c_str());
    ASSERT_TRUE(PlatDropUrls(parent, 99, 211, list.data(), int(list.size()), FALSE));
    PumpMsgs();
}

TEST_F(WorkWndTest, DropOpensTheFirstPictureIntoTheSelectedSlot) {
    ShowWindow(parent.wnd, SW_SHOW);
    HWND sld = MakeSldWnd(parent.wnd, MainSldProc);
    g_app.sldWnd = sld;
    g_app.CurTab = 0;
    g_app.SelSlot[0] = 3;
    g_app.imgLists[0] = CreateThumList(false, 11);
    for (int i = 0; i < 10; i++) AddWhiteImg(nullptr, g_app.imgLists[0]);
    Load(240, 260);
    std::snprintf(WorkBmp.path, MAX_PATH, "%s", env.data.File("p.bmp").c_str());
    BmpForm f;
    f.w = 7;
    f.h = 100;
    f.px.assign(700, 0x123456);
    ASSERT_TRUE(WriteFileBytes(env.data.File("first.bmp"), MakeBmpFile(f)));
    ASSERT_TRUE(WriteFileBytes(env.data.File("second.bmp"), MakeBmpFile(f)));
    ASSERT_TRUE(WriteFileBytes(env.data.File("notes.txt"), {'h', 'i', '\n'}));
    // A path one byte too long for the buffer, whose cut form names an existing picture.
    std::string cut = env.data.path + "/";
    cut += std::string(MAX_PATH - 1 - cut.size() - 4, 'q') + ".bmp";
    ASSERT_TRUE(WriteFileBytes(cut, MakeBmpFile(f)));

    struct Case {
        const char* what;
        std::vector<std::string> files;
        const char* opened;  // the file now in the work image and the slot, or none
    };
    const Case cases[] = {
        {"a text file", {env.data.File("notes.txt")}, nullptr},
        {"a path too long to take whole", {cut + "x"}, nullptr},
        {"two pictures", {env.data.File("first.bmp"), env.data.File("second.bmp")}, "first.bmp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MsgRecorder rec;
        const std::string before = WorkBmp.path;
        g_sld.knobX = 100;
        DropOnWork(parent.wnd, c.files);
        EXPECT_TRUE(rec.msgs.empty());
        const std::string want = c.opened ? env.data.File(c.opened) : before;
        EXPECT_EQ(std::string(WorkBmp.path), want);
        EXPECT_EQ(WorkBmp.srcW, c.opened ? 7 : 240);
        EXPECT_EQ(std::string(g_app.TabSlots[0][3]), c.opened ? want : "");
        // The slot's thumbnail is the dropped picture's: 3 x 54 in the middle.
        EXPECT_EQ(ThumPx(g_app.imgLists[0], 3, 34, 27), c.opened ? 0x123456u : 0xFFFFFFu);
        EXPECT_EQ(g_sld.knobX, c.opened ? 60 : 100);
    }
    DestroyWindow(sld);
    FreeThumList(g_app.imgLists[0]);
    g_app.imgLists[0] = nullptr;
}

}  // namespace
