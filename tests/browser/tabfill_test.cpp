// The stamp tabs: the folder list of a tab's folder and the refill of its thumbnails from the
// chosen sub-folder; the photo tab's placeholders.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/appstate.h"
#include "browser/browser_support.h"
#include "browser/thumbs.h"
#include "platform/controls/commctrl.h"

namespace {

std::vector<std::string> CmbItems(HWND cmb) {
    std::vector<std::string> items;
    const int n = int(SendMessageA(cmb, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; i++) {
        char buf[MAX_PATH];
        SendMessageA(cmb, CB_GETLBTEXT, i, LPARAM(buf));
        items.push_back(buf);
    }
    return items;
}

// Chooses the sub-folder in the tab's list and refills the tab, as a choice by the user does.
int ChooseSub(HWND owner, int tab, const std::string& sub) {
    const std::vector<std::string> items = CmbItems(g_app.cmbWnd[tab]);
    const auto at = std::find(items.begin(), items.end(), sub);
    EXPECT_NE(at, items.end());
    SendMessageA(g_app.cmbWnd[tab], CB_SETCURSEL, WPARAM(at - items.begin()), 0);
    return LoadThumImgList(owner, tab);
}

// The list shows the sub-folders only, in the order of a file search (names compared
// upper-cased), the first chosen.
TEST(SetCmbList, ListsSubFoldersInSearchOrder) {
    BrowserEnv b;
    // A name in Shift-JIS bytes cannot be shown or given back by the list: it is left out.
    for (const char* sub : {"b", "A", "c-dir", "季節", "\x82\xa0"}) b.PutSub(sub, 0);
    PutDotBmp(b.folder.path, "a-file.bmp", 2, 2, 0, 0);
    EXPECT_EQ(SetCmbList(1), 1);
    EXPECT_EQ(CmbItems(g_app.cmbWnd[1]), (std::vector<std::string>{"A", "b", "c-dir", "季節"}));
    EXPECT_EQ(SendMessageA(g_app.cmbWnd[1], CB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(b.rec.msgs.empty());
}

TEST(SetCmbList, MissingFolderIsToldOnceAndLeavesTheListEmpty) {
    TempDir gone;
    BrowserEnv b(gone.path + "/message");
    EXPECT_EQ(SetCmbList(1), 1);
    ASSERT_EQ(b.rec.msgs.size(), 1u);
    EXPECT_EQ(b.rec.msgs[0].caption, "SetCmbList-Error");
    EXPECT_EQ(b.rec.msgs[0].text, gone.path + "/message/*.* にフォルダが見つかりません");
    EXPECT_EQ(SendMessageA(g_app.cmbWnd[1], CB_GETCOUNT, 0, 0), 0);
    // With nothing to choose, the tab refills to nothing and says nothing more.
    EXPECT_EQ(LoadThumImgList(b.parent, 1), 1);
    EXPECT_EQ(g_app.imgLists[1]->count, 0);
    EXPECT_EQ(b.rec.msgs.size(), 1u);
}

// A refill takes the first ten readable pictures in search order; folders and other files are
// passed over without a word, and switching leaves nothing of the sub-folder before.
TEST(LoadThumImgList, RefillsFromTheChosenSubFolder) {
    BrowserEnv b;
    const std::string twelve = b.PutSub("twelve", 12);
    const std::string two = b.PutSub("two", 2);
    const std::string three = b.PutSub("three", 3);
    mkdir((three + "/inner").c_str(), 0700);
    ASSERT_TRUE(WriteFileBytes(three + "/00a.txt", {'x'}));
    SetCmbList(1);

    struct Case {
        const char* sub;
        std::vector<std::string> paths;
    };
    std::vector<std::string> firstTen;
    for (int i = 0; i < 10; i++) firstTen.push_back(twelve + "/0" + std::to_string(i) + ".bmp");
    const Case cases[] = {
        {"twelve", firstTen},
        {"two", {two + "/00.bmp", two + "/01.bmp"}},
        {"three", {three + "/00.bmp", three + "/01.bmp", three + "/02.bmp"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sub);
        ASSERT_EQ(ChooseSub(b.parent, 1, c.sub), 1);
        const ThumList* list = g_app.imgLists[1];
        ASSERT_EQ(list->count, int(c.paths.size()));
        for (int k = 0; k < kSlotCount; k++) {
            const std::string want = k < int(c.paths.size()) ? c.paths[k] : "";
            EXPECT_EQ(g_app.TabSlots[1][k], want) << "slot " << k;
        }
        // Picture k is the thumbnail of the file in slot k: the 4 x 3 picture sits at (33, 25),
        // its dot one pixel in.
        for (int k = 0; k < list->count; k++)
            EXPECT_EQ(ThumPx(list, k, 34, 26), 0x010000u * (k + 1)) << "picture " << k;
    }
    EXPECT_TRUE(b.rec.msgs.empty());
}

TEST(LoadThumImgList, NoRefillInsideARefillOrWithoutAList) {
    BrowserEnv b;
    b.PutSub("s", 2);
    SetCmbList(1);
    g_app.refilling = true;
    EXPECT_EQ(LoadThumImgList(b.parent, 1), 0);
    EXPECT_EQ(g_app.imgLists[1]->count, 0);
    g_app.refilling = false;
    ASSERT_EQ(LoadThumImgList(b.parent, 1), 1);
    EXPECT_EQ(g_app.imgLists[1]->count, 2);
    EXPECT_FALSE(g_app.refilling);
    // The illustration tab has a folder but no list here.
    EXPECT_EQ(LoadThumImgList(b.parent, 2), 0);
}

// The photo tab always shows ten slots, white where no photo is; its paths stay for their owners
// to put the thumbnails back.
TEST(LoadThumImgList, PhotoTabGetsTenWhitePlaceholders) {
    BrowserEnv b;
    strcpy(g_app.TabSlots[0][3], "/photos/a.bmp");
    for (int round = 0; round < 2; round++) {
        ASSERT_EQ(LoadThumImgList(b.parent, 0), 1);
        ASSERT_EQ(g_app.imgLists[0]->count, 10);
        for (int k = 0; k < 10; k++) EXPECT_EQ(ThumPx(g_app.imgLists[0], k, 69, 53), 0xFFFFFFu);
    }
    EXPECT_STREQ(g_app.TabSlots[0][3], "/photos/a.bmp");
}

}  // namespace
