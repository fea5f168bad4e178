// The program entry and the main window, driven through the seams: command lines, a second
// start, the commands of the buttons, the shutdown.
#include "app/mainwnd.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/appstate.h"
#include "app/reginfo.h"
#include "app/winmain.h"
#include "image/slider.h"
#include "image/workbmp.h"
#include "platform/gdi/display.h"
#include "platform/gdi/region.h"
#include "platform/kernel/kernel.h"
#include "platform/shell/shell.h"
#include "support/mainrun.h"
#include "support/testutil.h"
#include "ui/appmsg.h"

namespace {

void AddSiblingKey(const char* sub) {
    const std::string path = std::string(kSiblingKey) + sub;
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST(QuilletMain, DisplayChecks) {
    struct Case {
        const char* name;
        int w, h, bits;
        std::vector<std::string> msgs;
        bool starts;
    };
    const std::string lowColour = "２５６色以下では正しく表示されません\nフルカラーを推奨します";
    const std::string small = "画面の解像度が８００×６００未満のため\n起動できません";
    const Case cases[] = {
        {"too narrow", 799, 600, 32, {small}, false},
        {"too low", 800, 599, 32, {small}, false},
        {"256 colours and small", 640, 480, 8, {lowColour, small}, false},
        {"256 colours", 800, 600, 8, {lowColour}, true},
        {"full colour", 800, 600, 16, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppEnv env;
        SetRegValue("USERID", "me@example.jp");  // no first run
        MsgRecorder rec;
        PlatSetScreen(c.w, c.h, c.bits);
        PlatSetCommandLine("quillet");
        PostQuitMessage(0);
        EXPECT_EQ(QuilletMain(nullptr, "", SW_SHOW), 0);
        std::vector<std::string> got;
        for (const auto& m : rec.msgs) got.push_back(m.text);
        EXPECT_EQ(got, c.msgs);
        EXPECT_EQ(IsWindow(FindWindowA("Quillet", "Quillet")), c.starts);
        if (IsWindow(g_app.mainWnd)) DestroyWindow(g_app.mainWnd);
        DrainQuit();
        PlatSetScreen(0, 0, 0);
        PlatSetCommandLine(nullptr);
    }
}

TEST(QuilletMain, StartsCentredInTheSkinShapeAndSavesAtExit) {
    MainRun run;
    HWND wnd = g_app.mainWnd;
    ASSERT_TRUE(IsWindow(wnd));
    EXPECT_EQ(FindWindowA("Quillet", "Quillet"), wnd);
    EXPECT_TRUE(IsWindowVisible(wnd));
    EXPECT_FALSE(IsWindow(g_app.splashWnd));
    RECT r;
    GetWindowRect(wnd, &r);
    EXPECT_EQ(r.left, (1024 - kMainW) / 2);
    EXPECT_EQ(r.top, (768 - kMainH) / 2);
    EXPECT_EQ(r.right - r.left, kMainW);
    EXPECT_EQ(r.bottom - r.top, kMainH);
    // The shape: the key-coloured corner is cut away, the phone's screen is in.
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(wnd, rgn), RGN_ERROR);
    EXPECT_FALSE(PtInRegion(rgn, kMainW - 1, 0));
    EXPECT_TRUE(PtInRegion(rgn, 99, 211));
    DeleteObject(rgn);
    // The skin drags the window.
    EXPECT_EQ(SendMessageA(wnd, WM_NCHITTEST, 0, MAKELPARAM(r.left + 99, r.top + 211)), HTCAPTION);

    MoveWindow(wnd, 5, 7, kMainW, kMainH, FALSE);
    strcpy(g_app.TabSlots[0][2], "/photos/a.bmp");
    SendMessageA(wnd, WM_APP_BUTTON, 101, 0);
    EXPECT_FALSE(IsWindow(wnd));
    MSG quit{};
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(quit.message, WM_QUIT);
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kRegKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    char buf[64];
    DWORD size = sizeof buf, type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "READPIC0002", nullptr, &type, (BYTE*)buf, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(buf, "/photos/a.bmp");
    size = sizeof buf;
    ASSERT_EQ(RegQueryValueExA(key, "WINPM", nullptr, &type, (BYTE*)buf, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(size, 44u);
    const DWORD* wp = (const DWORD*)buf;
    EXPECT_EQ(wp[0], 44u);
    EXPECT_EQ(LONG(wp[7]), 5);  // left of the normal position
    RegCloseKey(key);

    // The next start shows the remembered slot and opens centred again, whatever WINPM says.
    memset(g_app.TabSlots, 0, sizeof g_app.TabSlots);
    run.Start("quillet");
    EXPECT_STREQ(g_app.TabSlots[0][2], "/photos/a.bmp");
    GetWindowRect(g_app.mainWnd, &r);
    EXPECT_EQ(r.left, (1024 - kMainW) / 2);
}

TEST(QuilletMain, CommandLinePicturesAndHandOver) {
    struct Case {
        const char* name;
        const char* sibling;  // sub-key of the sibling program, or none
        bool handOver;
        bool fromDataFolder;  // the handed-over picture is read from the data folder
    };
    const Case cases[] = {
        {"hand-over", nullptr, true, false},
        {"version below", "2.10.999", true, false},
        {"version 211000", "2.11.000", true, true},
        {"version above", "2.11.001", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainRun run;
        DestroyWindow(g_app.mainWnd);
        DrainQuit();
        TempDir pics;
        const std::string given = PutBmp(pics.path, "h b.bmp", 3, 2);
        const std::string inData = PutBmp(g_app.AppDataPath, "h b.bmp", 5, 4);
        if (c.sibling) AddSiblingKey(c.sibling);
        run.Start("\"/T " + given + "\"");
        const std::string want = c.fromDataFolder ? inData : given;
        EXPECT_TRUE(WorkBmp.loaded);
        EXPECT_STREQ(WorkBmp.path, want.c_str());
        EXPECT_EQ(WorkBmp.srcW, c.fromDataFolder ? 5 : 3);
        // A handed-over picture goes straight to the work area.
        EXPECT_STREQ(g_app.TabSlots[0][0], "");
    }
}

TEST(QuilletMain, PathsOnTheCommandLineFillThePhotoSlots) {
    MainRun run;
    DestroyWindow(g_app.mainWnd);
    DrainQuit();
    TempDir pics;
    const std::string a = PutBmp(pics.path, "my photo.bmp");
    const std::string b = PutBmp(pics.path, "b.bmp");
    // The command line quotes the path with a blank; the splitter takes the quotes off.
    run.Start("quillet \"" + a + "\" " + b);
    EXPECT_STREQ(g_app.TabSlots[0][0], a.c_str());
    EXPECT_STREQ(g_app.TabSlots[0][1], b.c_str());
    EXPECT_TRUE(WorkBmp.loaded);
    EXPECT_STREQ(WorkBmp.path, a.c_str());
}

TEST(QuilletMain, HandOverPathTooLongIsRefusedNotCut) {
    MainRun run;
    DestroyWindow(g_app.mainWnd);
    DrainQuit();
    TempDir pics;
    const std::string dir = pics.path + "/" + std::string(240, 'd');
    const std::string longPath = dir + "/" + std::string(30, 'p') + ".bmp";
    run.rec.msgs.clear();
    run.Start("\"/T " + longPath + "\"");
    EXPECT_FALSE(WorkBmp.loaded);
    ASSERT_EQ(run.rec.msgs.size(), 1u);
    EXPECT_EQ(run.rec.msgs[0].text, "受け取った画像のパスが長すぎるため開けません。");
}

TEST(QuilletMain, SecondStartBringsTheFirstForward) {
    struct Case {
        const char* name;
        std::string line;
        std::vector<std::string> msgs;
    };
    const Case cases[] = {
        {"picture path", "quillet /photos/x.bmp", {}},
        {"hand-over", "\"/T /photos/x.bmp\"", {"Quilletが起動中では画像は受け取れません。"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainRun run;
        HWND first = g_app.mainWnd;
        ShowWindow(first, SW_HIDE);
        run.rec.msgs.clear();
        EXPECT_EQ(run.Start(c.line), 0);
        std::vector<std::string> got;
        for (const auto& m : run.rec.msgs) got.push_back(m.text);
        EXPECT_EQ(got, c.msgs);
        EXPECT_EQ(g_app.mainWnd, first);
        EXPECT_TRUE(IsWindowVisible(first));
        EXPECT_FALSE(WorkBmp.loaded);
        DrainQuit();
    }
}

TEST(MainCommand, ClearAsksFirstAndCancelChangesNothing) {
    struct Case {
        int answer;
        bool loadedAfter;
    };
    for (const Case& c : {Case{2, true}, Case{1, false}}) {
        SCOPED_TRACE(c.answer);
        MainRun run;
        MsgRecorder rec(c.answer);
        ASSERT_EQ(InitWorkBmp(PutBmp(g_app.AppDataPath, "c.bmp").c_str()), 1);
        run.Click(102);
        ASSERT_EQ(rec.msgs.size(), 1u);
        EXPECT_EQ(rec.msgs[0].templ, 199);
        EXPECT_EQ(rec.msgs[0].text, "　　編集画像をクリアします\n    よろしいですか？");
        EXPECT_EQ(WorkBmp.loaded, c.loadedAfter);
    }
    // Nothing loaded: not even asked.
    MainRun run;
    MsgRecorder rec;
    run.Click(102);
    EXPECT_TRUE(rec.msgs.empty());
}

TEST(MainCommand, ReloadAndClearPutTheKnobBack) {
    MainRun run;
    ASSERT_TRUE(IsWindow(g_app.sldWnd));
    ASSERT_EQ(InitWorkBmp(PutBmp(g_app.AppDataPath, "r.bmp").c_str()), 1);
    snprintf(WorkBmp.path, MAX_PATH, "%s", PutBmp(g_app.AppDataPath, "r.bmp").c_str());
    for (int id : {103, 102}) {
        SCOPED_TRACE(id);
        g_sld.knobX = 100;
        run.Click(id);
        EXPECT_EQ(g_sld.knobX, 60);
    }
    EXPECT_FALSE(WorkBmp.loaded);
    // With nothing loaded, reload still puts the knob back.
    g_sld.knobX = 100;
    run.Click(103);
    EXPECT_EQ(g_sld.knobX, 60);
}

TEST(MainCommand, TabsShowTheLoadButtonOnThePhotoTabOnly) {
    MainRun run;
    struct Step {
        int id;
        int tab;
        bool loadShown;
    };
    const Step steps[] = {
        {113, 1, false}, {114, 2, false}, {112, 0, true}, {112, 0, true}, {114, 2, false}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.id);
        run.Click(s.id);
        EXPECT_EQ(g_app.CurTab, s.tab);
        EXPECT_EQ(bool(IsWindowVisible(g_app.loadBtnWnd)), s.loadShown);
    }
    // The page shown is the current tab's.
    PicData page = LoadResPic(121);
    PicData shot = TakePicData(PlatGrabWindow(g_app.mainWnd));
    ASSERT_EQ(shot.w, kMainW);
    EXPECT_EQ(shot.At(194 + 100, 138 + 390), page.At(100, 390));
}

// The user settings button reads the server host again, then opens the settings dialog.
TEST(MainCommand, UserSettingsReadTheHostFirst) {
    MainRun run;
    ASSERT_EQ(SetRegValue("SERVER", "photos.example.jp:8081"), 1);
    std::string hostWhenOpen;
    run.rec.others = [&](const ModalEvent* ev) {
        if (ev->templ == 173) hostWhenOpen = g_app.ServerHost;
        SendMessageA(ev->wnd, WM_APP_BUTTON, 139, 0);
        return 0;
    };
    run.Click(108);
    run.rec.others = nullptr;
    EXPECT_EQ(hostWhenOpen, "photos.example.jp:8081");
}

TEST(MainCommand, PagesOpenInTheBrowser) {
    MainRun run;
    SetRegValue("ALBUMID", "alb7");
    const std::string help = std::string("file://") + g_app.ModuleDir + "Manual.html";
    struct Case {
        int id;  // 0: the F1 key
        std::string url;
    };
    const Case cases[] = {
        {116, help},
        {0, help},
        {109, "http://localhost:8080/quillet/"},
        {110, "http://localhost:8080/users/alb7/"},
        {111, "http://localhost:8080/quillet/login.html"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        g_opened.clear();
        if (c.id)
            run.Click(c.id);
        else
            SendMessageA(g_app.mainWnd, WM_KEYDOWN, VK_F1, 0);
        EXPECT_EQ(g_opened, std::vector<std::string>{c.url});
    }
}

}  // namespace
