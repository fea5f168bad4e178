// The first-run dialog filled in, its confirmation, and the user settings dialog, on a real
// screen; saved as screenshots for a person to look at. The test checks that each skin reached
// the screen where no control covers it.
#include <gtest/gtest.h>

#include "app/appstate.h"
#include "screen_util.h"
#include "send/account.h"
#include "support/testutil.h"
#include "ui/appmsg.h"

namespace {

struct Shot {
    QImage img;
    RECT at{};
};

Shot Grab(HWND dlg, const char* name) {
    PumpMsgs();
    UpdateWindow(dlg);
    // The place is read after the grab: a window manager places a window some time after it was
    // shown.
    Shot s;
    s.img = GrabScreen(name);
    GetWindowRect(dlg, &s.at);
    return s;
}

void ExpectSkin(const Shot& s, int skin, int x, int y) {
    ASSERT_FALSE(s.img.isNull());
    EXPECT_EQ(s.img.pixel(s.at.left + x, s.at.top + y) & 0xFFFFFF, LoadResPic(skin).At(x, y))
        << "skin " << skin << " at " << x << "," << y;
}

TEST(Screen, AccountDialogs) {
    AppEnv env;
    MsgRecorder rec;
    Shot fst, conf, user;
    rec.others = [&](const ModalEvent* ev) {
        HWND dlg = ev->wnd;
        if (ev->templ == 177) {
            SetFocus(GetDlgItem(dlg, 1017));
            PlatTypeText("hanako01");
            SetFocus(GetDlgItem(dlg, 1018));
            PlatTypeText("pw-2002x");
            SetFocus(GetDlgItem(dlg, 1019));
            PlatTypeText("hanako@example.jp");
            fst = Grab(dlg, "first-run-screenshot.png");
            SendMessageA(dlg, WM_APP_BUTTON, 140, 0);
        }
        if (ev->templ == 187) {
            conf = Grab(dlg, "confirm-screenshot.png");
            SendMessageA(dlg, WM_APP_BUTTON, 142, 0);
        }
        if (ev->templ == 173) {
            user = Grab(dlg, "user-settings-screenshot.png");
            SendMessageA(dlg, WM_APP_BUTTON, 139, 0);
        }
        return 0;
    };
    ASSERT_EQ(RunFstDlg(nullptr), 1);
    RunUserDlg(nullptr);
    ExpectSkin(fst, 176, 150, 280);
    ExpectSkin(conf, 185, 160, 20);
    ExpectSkin(user, 160, 200, 20);
    EXPECT_EQ(conf.at.left, fst.at.left);
}

}  // namespace
