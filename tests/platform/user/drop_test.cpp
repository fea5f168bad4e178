// Dropped files: which windows take a drag of files, and what the drop's handle tells.
#include "platform/user/drop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace {

struct Dropped {
    HWND wnd;
    HDROP drop;
    LPARAM lp;
};
std::vector<Dropped> g_dropped;

LRESULT DropProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DROPFILES) g_dropped.push_back({wnd, reinterpret_cast<HDROP>(wp), lp});
    return DefWindowProcA(wnd, msg, wp, lp);
}

// A drag of the addresses onto `top` at (x, y): true when it was taken (always as a copy).
bool DragOnto(HWND top, int x, int y, const std::vector<const char*>& urls, bool moveOnly = false) {
    return PlatDropUrls(top, x, y, urls.data(), int(urls.size()), moveOnly);
}

std::string QueryPath(HDROP drop, UINT index) {
    char buf[MAX_PATH];
    const UINT n = DragQueryFileA(drop, index, buf, sizeof buf);
    return std::string(buf, n);
}

struct DropTest : ::testing::Test {
    void SetUp() override {
        g_dropped.clear();
        ASSERT_TRUE(UseTestClass("TestDrop", DropProc));
    }
    void TearDown() override {
        if (top) DestroyWindow(top);
        PumpMsgs();
    }
    // A top-level window with a child covering (50, 40)-(150, 100) of its client area.
    void Make() {
        top = CreateWindowExA(0, "TestDrop", "", WS_POPUP | WS_VISIBLE, 300, 200, 200, 120, nullptr,
                              nullptr, nullptr, nullptr);
        kid = CreateWindowExA(0, "TestDrop", "", WS_CHILD | WS_VISIBLE, 50, 40, 100, 60, top,
                              reinterpret_cast<HMENU>(1), nullptr, nullptr);
        ASSERT_TRUE(top && kid);
    }
    HWND top = nullptr, kid = nullptr;
};

constexpr const char* kFile = "file:///tmp/pic.jpg";

// Who takes a drag: windows that asked, the nearest one under the pointer, for local files only,
// as a copy, and not while a modal dialog holds the window.
TEST_F(DropTest, OnlyWindowsThatAskTakeLocalFiles) {
    enum Reg { kNever, kOn, kOff };  // DragAcceptFiles: not called, TRUE, TRUE then FALSE
    enum Who { kNone, kTop, kKid };
    struct Case {
        const char* what;
        Reg top, kid;
        bool topDisabled;
        int x, y;
        std::vector<const char*> urls;
        bool moveOnly;
        Who gets;
        const char* path;  // the one path delivered
    };
    const bool kCopyOrMove = false, kMoveOnly = true;  // what the source offers
    static const Case kCases[] = {
        {"nothing asked", kNever, kNever, false, 100, 70, {kFile}, kCopyOrMove, kNone, nullptr},
        {"child under the pointer",
         kNever,
         kOn,
         false,
         100,
         70,
         {kFile},
         kCopyOrMove,
         kKid,
         "/tmp/pic.jpg"},
        {"child asked, pointer beside it",
         kNever,
         kOn,
         false,
         10,
         10,
         {kFile},
         kCopyOrMove,
         kNone,
         nullptr},
        {"parent behind a child that did not ask",
         kOn,
         kNever,
         false,
         100,
         70,
         {kFile},
         kCopyOrMove,
         kTop,
         "/tmp/pic.jpg"},
        {"turned off again", kOff, kOff, false, 100, 70, {kFile}, kCopyOrMove, kNone, nullptr},
        {"web addresses only",
         kOn,
         kNever,
         false,
         10,
         10,
         {"http://example.com/pic.jpg"},
         kCopyOrMove,
         kNone,
         nullptr},
        {"this machine's file",
         kOn,
         kNever,
         false,
         10,
         10,
         {"file://localhost/tmp/pic.jpg"},
         kCopyOrMove,
         kTop,
         "/tmp/pic.jpg"},
        {"another host's file",
         kOn,
         kNever,
         false,
         10,
         10,
         {"file://elsewhere/tmp/pic.jpg"},
         kCopyOrMove,
         kNone,
         nullptr},
        {"zero byte in the path",
         kOn,
         kNever,
         false,
         10,
         10,
         {"file:///tmp/a%00b.jpg"},
         kCopyOrMove,
         kNone,
         nullptr},
        {"source offers only a move",
         kOn,
         kNever,
         false,
         10,
         10,
         {kFile},
         kMoveOnly,
         kNone,
         nullptr},
        {"owner of a modal dialog", kOn, kOn, true, 100, 70, {kFile}, kCopyOrMove, kNone, nullptr},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        Make();
        for (auto [wnd, reg] : {std::pair{top, c.top}, std::pair{kid, c.kid}}) {
            if (reg != kNever) DragAcceptFiles(wnd, TRUE);
            if (reg == kOff) DragAcceptFiles(wnd, FALSE);
        }
        if (c.topDisabled) EnableWindow(top, FALSE);
        const bool taken = DragOnto(top, c.x, c.y, c.urls, c.moveOnly);
        PumpMsgs();
        if (c.gets == kNone) {
            EXPECT_FALSE(taken);
            EXPECT_TRUE(g_dropped.empty());
        } else {
            EXPECT_TRUE(taken);
            EXPECT_EQ(g_dropped.size(), 1u);
        }
        for (const Dropped& d : g_dropped) {
            EXPECT_EQ(d.wnd, c.gets == kKid ? kid : top);
            EXPECT_EQ(d.lp, 0);
            EXPECT_EQ(DragQueryFileA(d.drop, 0xFFFFFFFF, nullptr, 0), 1u);
            EXPECT_EQ(QueryPath(d.drop, 0), c.path);
            DragFinish(d.drop);
        }
        g_dropped.clear();
        DestroyWindow(top);
        top = nullptr;
        PumpMsgs();
    }
}

// The handle gives the count, the lengths and the paths as file-system bytes, cut to the buffer;
// past the end, and once released, it gives 0.
TEST_F(DropTest, HandleGivesPathsCutToTheBuffer) {
    Make();
    DragAcceptFiles(top, TRUE);
    ASSERT_TRUE(DragOnto(top, 10, 10,
                         {"file:///tmp/a%20b/%C3%B1and%C3%BA.jpg", "https://example.com/x.jpg",
                          "file:///tmp/x.png"}));
    PumpMsgs();
    ASSERT_EQ(g_dropped.size(), 1u);
    HDROP drop = g_dropped[0].drop;
    const std::string first =
        "/tmp/a b/\xC3\xB1"
        "and\xC3\xBA.jpg";  // 20 bytes
    EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 2u);
    EXPECT_EQ(DragQueryFileA(drop, 0, nullptr, 0), first.size());
    EXPECT_EQ(DragQueryFileA(drop, 1, nullptr, 0), 10u);
    EXPECT_EQ(QueryPath(drop, 0), first);
    EXPECT_EQ(QueryPath(drop, 1), "/tmp/x.png");
    struct Cut {
        UINT size;
        UINT copied;
    };
    static const Cut kCuts[] = {{1, 0}, {5, 4}, {20, 19}, {21, 20}, {MAX_PATH, 20}};
    for (const Cut& c : kCuts) {
        SCOPED_TRACE(c.size);
        char buf[MAX_PATH + 1];
        memset(buf, '#', sizeof buf);
        EXPECT_EQ(DragQueryFileA(drop, 0, buf, c.size), c.copied);
        EXPECT_EQ(std::string(buf), first.substr(0, c.copied));
        EXPECT_EQ(buf[c.size], '#');
    }
    char buf[8] = "keep";
    EXPECT_EQ(DragQueryFileA(drop, 0, buf, 0), 0u);
    EXPECT_EQ(DragQueryFileA(drop, 2, nullptr, 0), 0u);
    EXPECT_EQ(DragQueryFileA(drop, 2, buf, sizeof buf), 0u);
    EXPECT_STREQ(buf, "keep");
    DragFinish(drop);
    EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 0u);
    EXPECT_EQ(DragQueryFileA(nullptr, 0xFFFFFFFF, nullptr, 0), 0u);
}

// A drop still queued when its window goes is never delivered; later drops are.
TEST_F(DropTest, DropForAGoneWindowIsNotDelivered) {
    Make();
    DragAcceptFiles(top, TRUE);
    ASSERT_TRUE(DragOnto(top, 10, 10, {kFile}));
    DestroyWindow(top);
    PumpMsgs();
    EXPECT_TRUE(g_dropped.empty());
    Make();
    DragAcceptFiles(top, TRUE);
    ASSERT_TRUE(DragOnto(top, 10, 10, {"file:///tmp/next.jpg"}));
    PumpMsgs();
    ASSERT_EQ(g_dropped.size(), 1u);
    EXPECT_EQ(g_dropped[0].wnd, top);
    EXPECT_EQ(QueryPath(g_dropped[0].drop, 0), "/tmp/next.jpg");
    DragFinish(g_dropped[0].drop);
}

}  // namespace
