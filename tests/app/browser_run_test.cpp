// The picture browser in the running program: pictures from the command line, the load button
// and drops in the photo slots, clicks on the slots, the message tab's folder list, and the
// photo slots remembered from one run to the next.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/appstate.h"
#include "image/workbmp.h"
#include "platform/controls/commctrl.h"
#include "platform/kernel/kernel.h"
#include "platform/user/drop.h"
#include "platform/user/modal.h"
#include "support/mainrun.h"
#include "support/testutil.h"
#include "ui/appmsg.h"

namespace {

constexpr uint32_t kRed = 0xFF0000;

// The middle of slot k in the main window.
POINT SlotMid(int k) {
    return POINT{212 + 85 * (k % 2) + 35, 175 + 69 * (k / 2) + 27};
}

void ClickSlot(int k, bool right = false) {
    const POINT p = SlotMid(k);
    PlatMouseEvent(g_app.mainWnd, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, p.x, p.y);
    PlatMouseEvent(g_app.mainWnd, right ? WM_RBUTTONUP : WM_LBUTTONUP, p.x, p.y);
    PumpMsgs();
}

void DropOnSlot(int k, const std::vector<std::string>& paths) {
    std::vector<std::string> urls;
    for (const std::string& p : paths) urls.push_back("file://" + p);
    std::vector<const char*> ptrs;
    for (const std::string& u : urls) ptrs.push_back(u.c_str());
    const POINT p = SlotMid(k);
    PlatDropUrls(g_app.mainWnd, p.x, p.y, ptrs.data(), int(ptrs.size()), FALSE);
    PumpMsgs();
}

// The main window as it shows, its children drawn over it.
PicData Grab() {
    UpdateWindow(g_app.mainWnd);
    PumpMsgs();
    return TakePicData(PlatGrabWindow(g_app.mainWnd));
}

// The colour in the middle of slot k, and in the red frame left of it.
uint32_t SlotPx(const PicData& g, int k) {
    return g.At(SlotMid(k).x, SlotMid(k).y);
}
uint32_t FramePx(const PicData& g, int k) {
    return g.At(SlotMid(k).x - 37, SlotMid(k).y);
}
// The slot's own one-pixel frame, on its left edge.
uint32_t SlotEdgePx(const PicData& g, int k) {
    return g.At(SlotMid(k).x - 35, SlotMid(k).y);
}

TEST(Browser, CommandLinePicturesClicksTabsAndTheNextRun) {
    TempDir pics;
    MainRun run;
    const std::string a = PutBmp(pics.path, "a photo.bmp", 50, 40, 0xAA0000);
    const std::string b = PutBmp(pics.path, "b.bmp", 40, 50, 0x00AA00);
    const std::string c = PutBmp(pics.path, "c.bmp", 30, 30, 0x0000AA);
    run.Restart("quillet \"" + a + "\" " + b + " " + c);

    // Slots 0..2 hold the pictures, the first is on the canvas and framed.
    EXPECT_STREQ(g_app.TabSlots[0][0], a.c_str());
    EXPECT_STREQ(g_app.TabSlots[0][1], b.c_str());
    EXPECT_STREQ(g_app.TabSlots[0][2], c.c_str());
    EXPECT_STREQ(WorkBmp.path, a.c_str());
    PicData g = Grab();
    EXPECT_EQ(SlotPx(g, 0), 0xAA0000u);
    EXPECT_EQ(SlotPx(g, 1), 0x00AA00u);
    EXPECT_EQ(SlotPx(g, 2), 0x0000AAu);
    EXPECT_EQ(SlotPx(g, 3), 0xFFFFFFu);
    EXPECT_EQ(FramePx(g, 0), kRed);

    // A click on slot 2 opens its picture and moves the frame.
    ClickSlot(2);
    EXPECT_EQ(g_app.SelSlot[0], 2);
    EXPECT_STREQ(WorkBmp.path, c.c_str());
    EXPECT_EQ(WorkBmp.srcW, 30);
    g = Grab();
    EXPECT_EQ(FramePx(g, 2), kRed);
    EXPECT_NE(FramePx(g, 0), kRed);

    // The message tab shows the first sub-folder's pictures; another choice in its list
    // refills it.
    run.Click(113);
    HWND cmb = g_app.cmbWnd[1];
    ASSERT_TRUE(IsWindowVisible(cmb));
    ASSERT_GE(SendMessageA(cmb, CB_GETCOUNT, 0, 0), 2);
    const std::string firstSub = g_app.TabSlots[1][0];
    ASSERT_NE(firstSub, "");
    const PicData before = Grab();
    EXPECT_NE(SlotPx(before, 0), 0x0000AAu);
    SetFocus(cmb);
    PlatPressKey(VK_DOWN);
    PumpMsgs();
    EXPECT_EQ(SendMessageA(cmb, CB_GETCURSEL, 0, 0), 1);
    ASSERT_NE(std::string(g_app.TabSlots[1][0]), "");
    EXPECT_NE(std::string(g_app.TabSlots[1][0]), firstSub);
    const PicData after = Grab();
    int changed = 0;
    for (int k = 0; k < kSlotCount; k++) changed += SlotPx(before, k) != SlotPx(after, k);
    EXPECT_GT(changed, 0);
    // The photos are still in their tab.
    run.Click(112);
    EXPECT_EQ(SlotPx(Grab(), 2), 0x0000AAu);

    // Quit, start again: the photo tab shows the same three pictures.
    SendMessageA(g_app.mainWnd, WM_APP_BUTTON, 101, 0);
    run.Restart("quillet");
    EXPECT_STREQ(g_app.TabSlots[0][0], a.c_str());
    EXPECT_STREQ(g_app.TabSlots[0][2], c.c_str());
    g = Grab();
    EXPECT_EQ(SlotPx(g, 0), 0xAA0000u);
    EXPECT_EQ(SlotPx(g, 1), 0x00AA00u);
    EXPECT_EQ(SlotPx(g, 2), 0x0000AAu);
}

// A photo deleted after it was placed: the click tells, the slot turns white and forgets it;
// the next click on it says nothing. The photo on the canvas stays, with its path.
TEST(Browser, DeletedPhotoIsToldOnceAndItsSlotEmptied) {
    TempDir pics;
    MainRun run;
    const std::string a = PutBmp(pics.path, "a.bmp", 50, 40, 0xAA0000);
    const std::string b = PutBmp(pics.path, "b.bmp", 40, 50, 0x00AA00);
    run.Restart("quillet " + a + " " + b);
    ASSERT_EQ(unlink(b.c_str()), 0);
    run.rec.msgs.clear();
    ClickSlot(1);
    ASSERT_EQ(run.rec.msgs.size(), 1u);
    EXPECT_EQ(run.rec.msgs[0].text, "画像が見つかりませんでした");
    EXPECT_EQ(run.rec.msgs[0].templ, 199);
    EXPECT_STREQ(g_app.TabSlots[0][1], "");
    EXPECT_EQ(SlotPx(Grab(), 1), 0xFFFFFFu);
    EXPECT_STREQ(WorkBmp.path, a.c_str());
    ClickSlot(1);
    EXPECT_EQ(run.rec.msgs.size(), 1u);
    EXPECT_EQ(g_app.SelSlot[0], 1);
    EXPECT_STREQ(WorkBmp.path, a.c_str());
    EXPECT_EQ(WorkBmp.srcW, 50);
}

// On a stamp tab either button selects a slot: both frames move, the slot's own frame too,
// although the stamps' transparent edges paint nothing over it. The photo stays as it was.
TEST(Browser, StampTabSlotsSelectWithEitherButton) {
    TempDir pics;
    MainRun run;
    const std::string a = PutBmp(pics.path, "a.bmp", 50, 40, 0xAA0000);
    run.Restart("quillet " + a);
    run.Click(113);
    ClickSlot(1);
    ClickSlot(3, true);
    EXPECT_EQ(g_app.SelSlot[1], 3);
    EXPECT_EQ(g_app.SelSlot[0], 0);
    const PicData g = Grab();
    EXPECT_EQ(FramePx(g, 3), kRed);
    EXPECT_EQ(SlotEdgePx(g, 3), kRed);
    for (int k : {0, 1}) {
        EXPECT_NE(FramePx(g, k), kRed) << "slot " << k;
        EXPECT_NE(SlotEdgePx(g, k), kRed) << "slot " << k;
    }
    EXPECT_STREQ(WorkBmp.path, a.c_str());
    EXPECT_EQ(WorkBmp.srcW, 50);
}

// Without the message folder beside the program, start-up says so once and the tab is empty;
// the illustration tab is filled as usual.
TEST(Browser, MissingMessageFolderIsToldOnceAtStart) {
    TempDir prog;
    const std::string item = prog.path + "/item";
    ASSERT_EQ(mkdir(item.c_str(), 0700), 0);
    ASSERT_EQ(mkdir((item + "/flowers").c_str(), 0700), 0);
    PutBmp(item + "/flowers", "rose.bmp", 8, 8, 0xCC2244);
    MainRun run;
    PlatSetModulePath((prog.path + "/quillet").c_str());
    run.rec.msgs.clear();
    run.Restart("quillet");
    PlatSetModulePath(QUILLET_OUT_DIR "/quillet");
    std::vector<std::string> texts;
    for (const auto& m : run.rec.msgs) texts.push_back(m.caption + ": " + m.text);
    EXPECT_EQ(texts, std::vector<std::string>{"SetCmbList-Error: " + prog.path +
                                              "/message/*.* にフォルダが見つかりません"});
    EXPECT_EQ(SendMessageA(g_app.cmbWnd[1], CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(g_app.imgLists[1]->count, 0);
    EXPECT_STREQ(g_app.TabSlots[2][0], (item + "/flowers/rose.bmp").c_str());
}

// Files dropped on a photo slot select it and fill from there; the stamp tabs take no drops.
TEST(Browser, DropsOnThePhotoSlotsOnly) {
    MainRun run;
    TempDir pics;
    const std::string a = PutBmp(pics.path, "a.bmp", 50, 40, 0xAA0000);
    const std::string t = pics.File("notes.txt");
    ASSERT_TRUE(WriteFileBytes(t, {'x'}));
    const std::string b = PutBmp(pics.path, "b.bmp", 40, 50, 0x00AA00);
    // A path one byte too long to take whole, whose cut form names an existing picture.
    const std::string name(MAX_PATH - 1 - (pics.path.size() + 1) - 4, 'q');
    const std::string fits = PutBmp(pics.path, (name + ".bmp").c_str(), 1, 1);
    ASSERT_EQ(fits.size(), size_t(MAX_PATH - 1));
    DropOnSlot(7, {a, t, fits + "x", b});
    EXPECT_EQ(g_app.SelSlot[0], 7);
    EXPECT_STREQ(g_app.TabSlots[0][7], a.c_str());
    EXPECT_STREQ(g_app.TabSlots[0][8], b.c_str());
    EXPECT_STREQ(WorkBmp.path, a.c_str());

    run.Click(114);
    char slots[kSlotCount][MAX_PATH];
    memcpy(slots, g_app.TabSlots[2], sizeof slots);
    DropOnSlot(3, {b});
    EXPECT_EQ(g_app.SelSlot[2], 0);
    EXPECT_EQ(memcmp(slots, g_app.TabSlots[2], sizeof slots), 0);
    EXPECT_STREQ(WorkBmp.path, a.c_str());
}

// The load button: the chosen pictures go in from the selected slot and the first is opened.
TEST(Browser, LoadButtonPlacesTheChosenPictures) {
    MainRun run;
    TempDir pics;
    const std::string a = PutBmp(pics.path, "a.bmp", 50, 40, 0xAA0000);
    const std::string b = PutBmp(pics.path, "b.bmp", 40, 50, 0x00AA00);
    ClickSlot(5);
    SetModalHook([&](const ModalEvent* ev) {
        if (ev->kind != MODAL_OPENFILE) return IDCANCEL;
        ev->files->push_back(b);
        ev->files->push_back(a);
        return IDOK;
    });
    run.Click(115);
    SetModalHook(nullptr);
    EXPECT_STREQ(g_app.TabSlots[0][5], a.c_str());
    EXPECT_STREQ(g_app.TabSlots[0][6], b.c_str());
    EXPECT_STREQ(WorkBmp.path, a.c_str());
    EXPECT_EQ(SlotPx(Grab(), 6), 0x00AA00u);
}

}  // namespace
