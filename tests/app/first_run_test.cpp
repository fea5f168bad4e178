// The program's first start: with no account stored, the first-run dialog comes before the main
// window; cancelling it ends the program, confirming it stores the account and goes on.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "app/appstate.h"
#include "app/reginfo.h"
#include "app/winmain.h"
#include "platform/gdi/display.h"
#include "platform/kernel/kernel.h"
#include "support/mainrun.h"
#include "support/testutil.h"
#include "ui/appmsg.h"

namespace {

// Starts the program; `answer` works the first-run dialog. The loop ends as soon as it starts.
// Returns how many times the first-run dialog opened.
int StartFirstRun(const std::function<void(HWND)>& answer) {
    int opened = 0;
    MsgRecorder rec;
    rec.others = [&](const ModalEvent* ev) {
        if (ev->templ == 177) {
            opened++;
            answer(ev->wnd);
        }
        if (ev->templ == 187) SendMessageA(ev->wnd, WM_APP_BUTTON, 142, 0);
        PostQuitMessage(0);  // once the dialogs are done, for the main loop
        return 0;
    };
    PlatSetCommandLine("quillet");
    QuilletMain(nullptr, "", SW_SHOW);
    return opened;
}

TEST(FirstRun, CancelEndsTheProgramConfirmStoresAndGoesOn) {
    AppEnv env;
    PlatSetScreen(1024, 768, 32);
    auto cancel = [](HWND dlg) { SendMessageA(dlg, WM_APP_BUTTON, 141, 0); };
    EXPECT_EQ(StartFirstRun(cancel), 1);
    EXPECT_FALSE(IsWindow(FindWindowA("Quillet", "Quillet")));
    DrainQuit();
    EXPECT_EQ(StoredText("USERID"), "");
    // The next start asks again; this time the user confirms a mail address.
    EXPECT_EQ(StartFirstRun([](HWND dlg) {
                  SetFocus(GetDlgItem(dlg, 1019));
                  PlatTypeText("me@example.jp");
                  SendMessageA(dlg, WM_APP_BUTTON, 140, 0);
              }),
              1);
    EXPECT_TRUE(IsWindow(FindWindowA("Quillet", "Quillet")));
    EXPECT_EQ(StoredText("USERID"), "me@example.jp");
    EXPECT_EQ(StoredText("ALBUMID"), "");
    EXPECT_EQ(StoredText("PASSWORD"), "");
    DestroyWindow(g_app.mainWnd);
    DrainQuit();
    // With an account stored, the program starts without asking.
    PostQuitMessage(0);
    EXPECT_EQ(StartFirstRun(cancel), 0);
    EXPECT_TRUE(IsWindow(FindWindowA("Quillet", "Quillet")));
    DestroyWindow(g_app.mainWnd);
    DrainQuit();
    PlatSetCommandLine(nullptr);
    PlatSetScreen(0, 0, 0);
}

}  // namespace
