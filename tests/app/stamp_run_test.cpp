// Stamps in the running program: added from the message tab's thumbnails, turned, mirrored and
// deleted through the stamp dialog that a right click opens, cleared, saved and prepared to send.
#include <gtest/gtest.h>

#include "app/appstate.h"
#include "app/folders.h"
#include "image/stamp.h"
#include "image/workbmp.h"
#include "image/workwnd.h"
#include "support/mainrun.h"

namespace {

// The work area lies at (39, 146) of the main window; slot k at (212 + 85 (k % 2), 175 + 69 (k /
// 2)).
void ClickSlot(int k, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
    const int x = 212 + 85 * (k % 2) + 35, y = 175 + 69 * (k / 2) + 27;
    PlatMouseEvent(g_app.mainWnd, down, x, y);
    PlatMouseEvent(g_app.mainWnd, up, x, y);
    PumpMsgs();
}

void RightClickWork(int x, int y) {
    PlatMouseEvent(g_app.mainWnd, WM_RBUTTONDOWN, 39 + x, 146 + y);
    PlatMouseEvent(g_app.mainWnd, WM_RBUTTONUP, 39 + x, 146 + y);
    PumpMsgs();
}

// Button id of the stamp dialog clicked where it is: 132..134 are 57 pixels wide, 135 is 33.
void ClickStmpBtn(int id) {
    const int x = id == 135 ? 196 + 16 : 11 + 64 * (id - 132) + 28,
              y = id == 135 ? 7 + 16 : 14 + 28;
    PlatMouseEvent(g_work.stmpDlg, WM_LBUTTONDOWN, x, y);
    PlatMouseEvent(g_work.stmpDlg, WM_LBUTTONUP, x, y);
    PumpMsgs();
}

TEST(StampRun, ThumbnailsAddStampsAndTheDialogActsOnTheTopOne) {
    MainRun run;
    run.Click(113);
    ASSERT_EQ(g_app.CurTab, 1);
    ClickSlot(0);
    ClickSlot(1, WM_RBUTTONDOWN, WM_RBUTTONUP);  // the right button adds as well
    ASSERT_EQ(g_stmp.count, 2);
    EXPECT_EQ(g_app.SelSlot[1], 1);
    const HBITMAP first = g_stmp.items[0].bmp;

    // A right click on empty canvas opens nothing; on the stamps the upper one is taken.
    RightClickWork(1, 1);
    EXPECT_EQ(g_work.stmpDlg, nullptr);
    RightClickWork(60, 65);
    ASSERT_NE(g_work.stmpDlg, nullptr);
    HWND dlg = g_work.stmpDlg;
    EXPECT_NE(g_stmp.items[1].bmp, first);
    RECT main, r;
    GetWindowRect(g_app.mainWnd, &main);
    GetWindowRect(dlg, &r);
    const StmpInfo& s = g_stmp.items[1];
    EXPECT_EQ(r.left, main.left + s.x + s.width / 2 - 118 + 39);
    EXPECT_EQ(r.top, main.top + s.y + s.height / 2 - 124 + 146);
    EXPECT_EQ(r.right - r.left, 236);
    EXPECT_EQ(r.bottom - r.top, 124);

    ClickStmpBtn(132);
    EXPECT_EQ(g_stmp.items[1].rot, 3);
    ClickStmpBtn(133);
    EXPECT_EQ(g_stmp.items[1].rot, 1);
    EXPECT_TRUE(g_stmp.items[1].mirror);
    EXPECT_EQ(g_stmp.items[0].rot, 0);
    // Another right click on a stamp replaces the dialog.
    RightClickWork(60, 65);
    EXPECT_FALSE(IsWindow(dlg));
    ASSERT_TRUE(IsWindow(g_work.stmpDlg));
    // Clicking elsewhere takes its activation, and it goes.
    dlg = g_work.stmpDlg;
    PlatActivate(dlg, FALSE);
    PumpMsgs();
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_EQ(g_work.stmpDlg, nullptr);

    // Delete takes the top stamp and closes the dialog; close only closes.
    RightClickWork(60, 65);
    ClickStmpBtn(134);
    EXPECT_EQ(g_work.stmpDlg, nullptr);
    ASSERT_EQ(g_stmp.count, 1);
    EXPECT_EQ(g_stmp.items[0].bmp, first);
    RightClickWork(60, 65);
    ClickStmpBtn(135);
    EXPECT_EQ(g_work.stmpDlg, nullptr);
    EXPECT_EQ(g_stmp.count, 1);
}

// With no photo the clear command still runs for the stamps, and without either it asks nothing.
TEST(StampRun, ClearRemovesStampsAlsoWithoutAPhoto) {
    MainRun run;
    ASSERT_FALSE(WorkBmp.loaded);
    run.Click(113);
    ClickSlot(0);
    ASSERT_EQ(g_stmp.count, 1);
    run.rec.msgs.clear();
    run.Click(102);
    ASSERT_EQ(run.rec.msgs.size(), 1u);
    EXPECT_EQ(run.rec.msgs[0].text, "　　編集画像をクリアします\n    よろしいですか？");
    EXPECT_EQ(g_stmp.count, 0);
    run.Click(102);
    EXPECT_EQ(run.rec.msgs.size(), 1u);
}

// The save command writes the canvas with its stamps; the send command writes temp.JPG.
TEST(StampRun, SaveAndSendWriteTheCanvas) {
    MainRun run;
    run.Click(113);
    ClickSlot(0);
    ASSERT_EQ(g_stmp.count, 1);
    const std::string saved = run.env.data.File("canvas.bmp");
    run.rec.others = [&](const ModalEvent* ev) {
        if (ev->kind != MODAL_SAVEFILE) return IDCANCEL;
        ev->files->push_back(saved);
        return IDOK;
    };
    run.Click(106);
    ASSERT_TRUE(FileExists(saved));
    ASSERT_EQ(InitWorkBmp(saved.c_str()), 1);
    // The stamp's lettering is on the white canvas.
    PumpMsgs();
    const PicData shot = TakePicData(PlatGrabWindow(g_app.workWnd));
    int coloured = 0;
    for (uint32_t px : shot.px) coloured += px != 0xFFFFFFu;
    EXPECT_GT(coloured, 50);

    char jpg[MAX_PATH];
    ASSERT_EQ(MakeAppFilePath(kTempJpgName, jpg), 1);
    run.Click(107);
    EXPECT_TRUE(FileExists(jpg));
    EXPECT_TRUE(run.rec.msgs.empty());
}

}  // namespace
