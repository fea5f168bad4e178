#include "support/mainrun.h"

#include <gtest/gtest.h>

#include "app/appstate.h"
#include "app/reginfo.h"
#include "app/winmain.h"
#include "platform/gdi/display.h"
#include "platform/kernel/kernel.h"
#include "platform/shell/shell.h"
#include "ui/appmsg.h"

std::vector<std::string> g_opened;

namespace {

void RecordOpen(const char* url) {
    g_opened.push_back(url);
}

}  // namespace

void DrainQuit() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
}

MainRun::MainRun(const std::string& line) {
    PlatSetScreen(1024, 768, 32);
    PlatSetShellOpenHook(RecordOpen);
    g_opened.clear();
    // An account is set up, so the program starts without the first-run dialog.
    SetRegValue("USERID", "me@example.jp");
    Start(line);
}

int MainRun::Start(const std::string& line) {
    PlatSetCommandLine(line.c_str());
    PostQuitMessage(0);
    return QuilletMain(nullptr, GetCmdArgText(GetCommandLineA()), SW_SHOW);
}

int MainRun::Restart(const std::string& line) {
    if (IsWindow(g_app.mainWnd)) DestroyWindow(g_app.mainWnd);
    DrainQuit();
    return Start(line);
}

MainRun::~MainRun() {
    if (IsWindow(g_app.mainWnd)) DestroyWindow(g_app.mainWnd);
    DrainQuit();
    PlatSetCommandLine(nullptr);
    PlatSetShellOpenHook(nullptr);
    PlatSetScreen(0, 0, 0);
}

void MainRun::Click(int id) {
    SendMessageA(g_app.mainWnd, WM_APP_BUTTON, WPARAM(id), 0);
    PumpMsgs();
}

std::string PutBmp(const std::string& dir, const char* name, int w, int h, uint32_t color) {
    BmpForm f;
    f.w = w;
    f.h = h;
    f.px.assign(size_t(w) * h, color);
    const std::string path = dir + "/" + name;
    EXPECT_TRUE(WriteFileBytes(path, MakeBmpFile(f)));
    return path;
}
