// Sending from the running program to quillet-server on this machine: a photo opened from the
// command line, the send button, the fields typed (Japanese among them), two recipients picked
// in the address book, 送信！; the server stores the canvas as sent with a mail per recipient and
// shows the picture on the public album page.
#include <gtest/gtest.h>

#include <filesystem>

#include "address/address.h"
#include "app/appstate.h"
#include "app/folders.h"
#include "app/reginfo.h"
#include "platform/controls/listview.h"
#include "platform/text/codepage.h"
#include "platform/user/modal.h"
#include "server/live_server.h"
#include "support/mainrun.h"
#include "server/routes.h"
#include "ui/appmsg.h"

namespace {

// The middle of the tick box of row `row` of the address list, in the address book dialog.
void ClickTick(HWND book, int row) {
    RECT cell;
    ListView_GetSubItemRect(GetDlgItem(book, 1010), row, 0, LVIR_BOUNDS, &cell);
    const int x = 20 + 1 + cell.left + 10, y = 48 + 1 + (cell.top + cell.bottom) / 2;
    PlatMouseEvent(book, WM_LBUTTONDOWN, x, y);
    PlatMouseEvent(book, WM_LBUTTONUP, x, y);
}

void Type(HWND dlg, int id, const char* keys, const char* ime) {
    SetFocus(GetDlgItem(dlg, id));
    PlatTypeText(keys);
    PlatCommitText(ime);
}

TEST(SendRun, PhotoToTheLocalServer) {
    for (const char* v : {"http_proxy", "all_proxy", "ALL_PROXY"}) unsetenv(v);
    ServerRun server;
    ASSERT_NE(server.port, 0);
    TempDir pics;
    MainRun run;
    ASSERT_EQ(SetRegValue("USERID", kTestUser), 1);
    ASSERT_EQ(SetRegValue("PASSWORD", kTestPass), 1);
    ASSERT_EQ(SetRegValue("ALBUMID", kTestAlbum), 1);
    ASSERT_EQ(SetRegValue("SERVER", ("127.0.0.1:" + std::to_string(server.port)).c_str()), 1);
    std::string book = "0,", name;
    ASSERT_EQ(Utf8ToSjis("山田", &name), 1);
    EscapeField(name.c_str(), &book);
    book += ",yamada@example.jp,1,Bob,bob@example.jp,2,Cy,cy@example.jp,-1,0";
    ASSERT_TRUE(
        WriteFileBytes(std::string(g_app.AppFolder) + kAdrName, {book.begin(), book.end()}));
    run.Restart("quillet " + PutBmp(pics.path, "photo.bmp", 200, 150, 0x3366CC));

    bool sent = false;
    run.rec.others = [&](const ModalEvent* ev) {
        if (ev->templ == 168) {
            ClickTick(ev->wnd, 0);
            ClickTick(ev->wnd, 2);
            SendMessageA(ev->wnd, WM_APP_BUTTON, 130, 0);
        }
        if (ev->templ != 124) return 0;
        HWND dlg = ev->wnd;
        SendMessageA(dlg, WM_APP_BUTTON, 123, 0);
        Type(dlg, 1018, "Hi ", "こんにちは");
        Type(dlg, 1019, "line1\n", "写真です");
        SendMessageA(dlg, WM_APP_BUTTON, 120, 0);
        sent = !IsWindowVisible(dlg);
        return 0;
    };
    run.Click(107);
    run.rec.others = nullptr;
    EXPECT_TRUE(sent) << "an accepted upload closes the dialog";
    EXPECT_TRUE(run.rec.msgs.empty());

    // One upload: the canvas as the program wrote it, the texts in UTF-8, a mail per recipient.
    const auto ups = StoredUploads(server, kTestAlbum);
    ASSERT_EQ(ups.size(), 1u);
    const std::string jpg = StoredPicture(server, ups[0].id);
    const auto written = ReadFileBytes(std::string(g_app.AppFolder) + kTempJpgName);
    EXPECT_EQ(jpg, std::string(written.begin(), written.end()));
    ASSERT_GT(jpg.size(), 2u);
    EXPECT_EQ(jpg.substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(ups[0].subject, "Hi こんにちは");
    EXPECT_NE(ups[0].message.find("line1"), std::string::npos);
    EXPECT_NE(ups[0].message.find("写真です"), std::string::npos);
    ASSERT_EQ(ups[0].mails.size(), 2u);
    EXPECT_EQ(ups[0].mails[0].recipient, "yamada@example.jp");
    EXPECT_EQ(ups[0].mails[1].recipient, "cy@example.jp");

    Request req;
    req.method = "GET";
    req.path = "/users/album1/";
    const Response page = AnswerRequest(server.ctx, req);
    EXPECT_EQ(page.status, 200);
    const std::string picture = "/users/album1/" + std::to_string(ups[0].id) + ".jpg";
    EXPECT_NE(page.body.find(picture), std::string::npos) << page.body;
}

}  // namespace
