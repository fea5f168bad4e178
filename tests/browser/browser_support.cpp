#include "browser/browser_support.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "app/appstate.h"
#include "browser/thumbs.h"
#include "platform/controls/commctrl.h"
#include "ui/childwnd.h"

namespace {

LRESULT ParentProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(wnd, msg, wp, lp);
}

}  // namespace

BrowserEnv::BrowserEnv(const std::string& tabFolder) {
    EXPECT_TRUE(UseTestClass("TestBrowser", ParentProc));
    parent = CreateWindowExA(0, "TestBrowser", "", WS_POPUP, 0, 0, 400, 600, nullptr, nullptr,
                             nullptr, nullptr);
    g_app.mainWnd = parent;
    snprintf(g_app.TabFolder[1], MAX_PATH, "%s/",
             tabFolder.empty() ? folder.path.c_str() : tabFolder.c_str());
    g_app.cmbWnd[1] = MakeCmbWnd(parent, 224, 146, 128, 268, 1);
    EXPECT_TRUE(g_app.cmbWnd[1]);
    snprintf(g_app.TabFolder[2], MAX_PATH, "%s", "/nowhere/");
    EXPECT_EQ(InitThumImgList(), 1);
}

BrowserEnv::~BrowserEnv() {
    for (ThumList*& list : g_app.imgLists) {
        FreeThumList(list);
        list = nullptr;
    }
    DestroyWindow(parent);
    PumpMsgs();
}

std::string BrowserEnv::PutSub(const std::string& sub, int count) {
    const std::string dir = folder.path + "/" + sub;
    mkdir(dir.c_str(), 0700);
    for (int i = 0; i < count; i++) {
        char name[16];
        snprintf(name, sizeof name, "%02d.bmp", i);
        PutDotBmp(dir, name, 4, 3, 0x20A040, 0x010000 * (i + 1), 1, 1);
    }
    return dir;
}
