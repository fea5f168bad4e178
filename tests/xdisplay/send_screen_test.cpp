// The send dialog over the main window with its fields filled in, then the progress window over
// it just before the upload starts, on a real screen; saved as screenshots for a person to look
// at. The test checks that the skins and the typed text reached the screen.
#include <gtest/gtest.h>

#include "app/appstate.h"
#include "app/reginfo.h"
#include "platform/controls/commctrl.h"
#include "platform/kernel/kernel.h"
#include "screen_util.h"
#include "support/httpserver.h"
#include "support/mainrun.h"
#include "support/testutil.h"
#include "ui/appmsg.h"

namespace {

TEST(Screen, SendDialogAndProgress) {
    for (const char* v : {"http_proxy", "all_proxy", "ALL_PROXY"}) unsetenv(v);
    HttpServer server;
    server.SetReply({"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nOK"});
    TempDir pics;
    MainRun run;
    ASSERT_EQ(SetRegValue("SERVER", server.HostPort().c_str()), 1);
    ASSERT_EQ(SetRegValue("USERID", "me@example.jp"), 1);
    run.Restart("quillet " + PutPhoto(pics.path, "sunset.bmp", 640, 480, 0xF08C50));
    QImage sendShot, schedShot, progShot;
    RECT sendRect{}, progRect{};
    run.rec.others = [&](const ModalEvent* ev) {
        if (ev->templ == 130) {
            progShot = GrabScreen("progress-screenshot.png");
            GetWindowRect(ev->wnd, &progRect);
        }
        if (ev->templ == 156) {
            SendDlgItemMessageA(ev->wnd, 1025, CB_SETCURSEL, 15, 0);
            SendMessageA(ev->wnd, WM_APP_BUTTON, 125, 0);
        }
        if (ev->templ != 124) return 0;
        HWND dlg = ev->wnd;
        SetFocus(GetDlgItem(dlg, 1017));
        PlatTypeText("hanako@example.jp,ichiro@example.jp");
        SetFocus(GetDlgItem(dlg, 1018));
        PlatCommitText("夕焼けの写真");
        SetFocus(GetDlgItem(dlg, 1019));
        PlatCommitText("今日の夕焼けです。");
        PlatTypeText("\n");
        PlatCommitText("とてもきれいでした！");
        PumpMsgs();
        UpdateWindow(dlg);
        sendShot = GrabScreen("send-screenshot.png");
        GetWindowRect(dlg, &sendRect);
        // A delivery time: 15:00 today on the date dialog.
        SendMessageA(dlg, WM_APP_BUTTON, 124, 0);
        PumpMsgs();
        UpdateWindow(dlg);
        schedShot = GrabScreen("send-scheduled-screenshot.png");
        SendMessageA(dlg, WM_APP_BUTTON, 120, 0);
        return 0;
    };
    {
        FakeClock clock({2002, 7, 3, 10, 14, 25, 0, 0});  // 14:25 on Wednesday 10 July 2002
        run.Click(107);
    }
    run.rec.others = nullptr;
    ASSERT_FALSE(sendShot.isNull());
    ASSERT_FALSE(progShot.isNull());
    ASSERT_FALSE(schedShot.isNull());
    // The upload carries the chosen hour.
    EXPECT_NE(server.Requests()[0].body.find("\nON(2002/07/10-15)\n"), std::string::npos);
    EXPECT_EQ(server.Requests().size(), 1u);
    const PicData sendSkin = LoadResPic(125), progSkin = LoadResPic(129);
    // The bear of the send skin, and the progress window's skin where no text is drawn.
    EXPECT_EQ(sendShot.pixel(sendRect.left + 45, sendRect.top + 365) & 0xFFFFFF,
              sendSkin.At(45, 365));
    EXPECT_EQ(progRect.left - sendRect.left, 138);
    EXPECT_EQ(progRect.top - sendRect.top, 128);
    EXPECT_EQ(progShot.pixel(progRect.left + 127, progRect.top + 120) & 0xFFFFFF,
              progSkin.At(127, 120));
}

}  // namespace
