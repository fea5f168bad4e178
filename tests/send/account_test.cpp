// The account dialogs driven as a person would: the first run with its confirmation, the user
// settings with their rules, and the reminder button; the character rules on their own.
#include "send/account.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "app/appstate.h"
#include "app/reginfo.h"
#include "platform/registry/registry.h"
#include "platform/text/codepage.h"
#include "platform/user/modal.h"
#include "send_env.h"
#include "support/httpserver.h"
#include "support/testutil.h"
#include "ui/appmsg.h"
#include "ui/skindlg.h"

namespace {

constexpr int kAlbum = 1017, kPass = 1018, kMail = 1019;

struct AccountTest : testing::Test {
    AppEnv env;
    MsgRecorder rec;
    std::function<void(HWND)> onFst, onConfirm, onUser;
    void SetUp() override {
        rec.others = [this](const ModalEvent* ev) {
            if (ev->templ == 177 && onFst) onFst(ev->wnd);
            if (ev->templ == 187 && onConfirm) onConfirm(ev->wnd);
            if (ev->templ == 173 && onUser) onUser(ev->wnd);
            return 0;
        };
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> v;
        for (const auto& m : rec.msgs) v.push_back(m.text);
        return v;
    }
};

TEST_F(AccountTest, FirstRunStoresOnlyWhatWasConfirmed) {
    int confirms = 0;
    std::vector<std::string> shown;
    onFst = [&](HWND dlg) {
        Press(dlg, 140);  // no mail address yet
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, kMail));
        Type(dlg, kPass, "abc", "日本");
        Type(dlg, kMail, "me@example.jp");
        Press(dlg, 140);  // back from the confirmation
        EXPECT_TRUE(IsWindowVisible(dlg));
        EXPECT_EQ(StoredText("USERID"), "<absent>");
        Press(dlg, 140);  // accepted
    };
    onConfirm = [&](HWND dlg) {
        confirms++;
        shown = {GetFieldText(dlg, 1034), GetFieldText(dlg, 1035), GetFieldText(dlg, 1042)};
        Press(dlg, confirms == 1 ? 143 : 142);
    };
    EXPECT_EQ(RunFstDlg(nullptr), 1);
    EXPECT_EQ(Texts(), std::vector<std::string>{"メールアドレスを入力して下さい"});
    EXPECT_EQ(confirms, 2);
    // Three single-byte letters and two double-byte characters: seven "*".
    EXPECT_EQ(shown, (std::vector<std::string>{"", "*******", "me@example.jp"}));
    EXPECT_EQ(StoredText("ALBUMID"), "");
    std::string pass;
    ASSERT_EQ(Utf8ToSjis("abc日本", &pass), 1);
    EXPECT_EQ(StoredText("PASSWORD"), pass);
    EXPECT_EQ(StoredText("USERID"), "me@example.jp");
}

TEST_F(AccountTest, FirstRunCancelledStoresNothing) {
    onFst = [&](HWND dlg) {
        Type(dlg, kAlbum, "album1");
        Type(dlg, kMail, "me@example.jp");
        Press(dlg, 141);
    };
    EXPECT_EQ(RunFstDlg(nullptr), 0);
    for (const char* v : {"ALBUMID", "PASSWORD", "USERID"})
        EXPECT_EQ(StoredText(v), "<absent>") << v;
}

// A mail address stops at 259 bytes as it is typed: the confirmation shows all that is stored.
TEST_F(AccountTest, MailAddressFitsTheConfirmation) {
    std::string shown;
    onFst = [&](HWND dlg) {
        Type(dlg, kMail, std::string(300, 'm').c_str());
        Press(dlg, 140);
    };
    onConfirm = [&](HWND dlg) {
        shown = GetFieldText(dlg, 1042);
        Press(dlg, 142);
    };
    EXPECT_EQ(RunFstDlg(nullptr), 1);
    EXPECT_EQ(shown, std::string(259, 'm'));
    EXPECT_EQ(StoredText("USERID"), shown);
}

// The checks in their order, each with the field that gets the focus; nothing stored until all
// pass.
TEST_F(AccountTest, UserSettingsRules) {
    const std::string passMsg = "パスワードは半角英数文字と  \"_-\"  しか入力できません";
    const struct {
        const char* name;
        const char* album;
        const char* pass;  // typed; Japanese through the input method
        const char* passIme;
        std::string told;  // empty: stored
        int focus;
    } rows[] = {
        {"both empty: the album ID first", "", "", nullptr, "アルバムＩＤが入力されていません",
         kAlbum},
        {"no password", "a1", "", nullptr, "パスワードが入力されていません", kPass},
        {"5 bytes", "a1", "abcde", nullptr, "パスワードは6文字以上です", kPass},
        {"exactly 6 letters", "a1", "abcdef", nullptr, "", 0},
        {"three double-byte characters", "a1", "", "日本語", passMsg, kPass},
        {"album ID with _", "a_1", "abcdef", nullptr,
         "アルバムＩＤは半角英数文字しか入力できません", kAlbum},
        {"password with _ and -", "Album9", "pw_x-9Z", nullptr, "", 0},
        {"password with a blank", "a1", "pw x-9Z", nullptr, passMsg, kPass},
        {"20 bytes", "a1", "abcdefghij0123456789", nullptr, "", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(SetRegValue("ALBUMID", "old"), 1);
        ASSERT_EQ(SetRegValue("PASSWORD", "oldpass"), 1);
        rec.msgs.clear();
        HWND focus = nullptr, want = nullptr;
        onUser = [&](HWND dlg) {
            EXPECT_EQ(GetFieldText(dlg, kAlbum), "old");
            SetDlgItemTextA(dlg, kAlbum, "");
            SetDlgItemTextA(dlg, kPass, "");
            Type(dlg, kAlbum, row.album);
            Type(dlg, kPass, row.pass, row.passIme);
            Press(dlg, 138);
            focus = GetFocus();
            want = row.focus ? GetDlgItem(dlg, row.focus) : nullptr;
            Press(dlg, 139);  // closes it when the values were refused
        };
        RunUserDlg(nullptr);
        if (row.told.empty()) {
            EXPECT_TRUE(rec.msgs.empty());
            EXPECT_EQ(StoredText("ALBUMID"), row.album);
            EXPECT_EQ(StoredText("PASSWORD"), row.pass);
        } else {
            EXPECT_EQ(Texts(), std::vector<std::string>{row.told});
            EXPECT_EQ(focus, want);
            EXPECT_EQ(StoredText("ALBUMID"), "old");
            EXPECT_EQ(StoredText("PASSWORD"), "oldpass");
        }
    }
}

// The store lets this many more writes through, then fails them as a full disk would.
int g_writesLeft;
int CountWrite() {
    return g_writesLeft-- > 0;
}
int RunOutOfMemory() {
    throw std::bad_alloc();
}

// Each dialog stores its values in one write: with one allowed all the values are stored; when
// the store fails or memory runs out the user is told, the dialog stays open and nothing changes.
TEST_F(AccountTest, ValuesStoredInOneWrite) {
    const struct {
        const char* name;
        bool firstRun;
        int (*hook)();
        int writes;
        const char* caption;  // of the plain box; null for the skinned one or none
    } rows[] = {
        {"first run, one write", true, CountWrite, 1, nullptr},
        {"first run, store fails", true, CountWrite, 0, nullptr},
        {"first run, no memory", true, RunOutOfMemory, 0, "DlgFstProc"},
        {"user settings, one write", false, CountWrite, 1, nullptr},
        {"user settings, store fails", false, CountWrite, 0, nullptr},
        {"user settings, no memory", false, RunOutOfMemory, 0, "DlgUserProc"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AppEnv fresh;
        ASSERT_EQ(SetRegValue("ALBUMID", "old"), 1);
        ASSERT_EQ(SetRegValue("PASSWORD", "oldpass"), 1);
        rec.msgs.clear();
        bool openAfterOk = false;
        const std::function<void(HWND)> fill = [&](HWND dlg) {
            SetDlgItemTextA(dlg, kAlbum, "");
            SetDlgItemTextA(dlg, kPass, "");
            Type(dlg, kAlbum, "new1");
            Type(dlg, kPass, "newpass");
            if (row.firstRun) Type(dlg, kMail, "me@example.jp");
            g_writesLeft = row.writes;
            PlatSetRegWriteHook(row.hook);
            Press(dlg, row.firstRun ? 140 : 138);
            PlatSetRegWriteHook(nullptr);
            openAfterOk = IsWindowVisible(dlg);
            if (openAfterOk) Press(dlg, row.firstRun ? 141 : 139);
        };
        onFst = row.firstRun ? fill : nullptr;
        onUser = row.firstRun ? nullptr : fill;
        onConfirm = [](HWND dlg) { Press(dlg, 142); };
        if (row.firstRun)
            EXPECT_EQ(RunFstDlg(nullptr), row.writes);
        else
            RunUserDlg(nullptr);
        const bool stored = row.writes > 0;
        EXPECT_EQ(openAfterOk, !stored);
        if (stored) {
            EXPECT_TRUE(rec.msgs.empty());
        } else {
            ASSERT_EQ(rec.msgs.size(), 1u);
            EXPECT_EQ(rec.msgs[0].text,
                      row.caption ? "メモリを確保できませんでした" : "設定を保存できませんでした");
            EXPECT_EQ(rec.msgs[0].templ, row.caption ? 0 : 199);
            EXPECT_EQ(rec.msgs[0].caption, row.caption ? row.caption : "");
        }
        EXPECT_EQ(StoredText("ALBUMID"), stored ? "new1" : "old");
        EXPECT_EQ(StoredText("PASSWORD"), stored ? "newpass" : "oldpass");
        EXPECT_EQ(StoredText("USERID"), stored && row.firstRun ? "me@example.jp" : "<absent>");
    }
}

// "P" sends the stored values, not the fields; with a value absent it tells so.
TEST_F(AccountTest, ReminderButton) {
    HttpServer server;
    server.SetReply({"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"});
    snprintf(g_app.ServerHost, MAX_PATH, "%s", server.HostPort().c_str());
    onUser = [&](HWND dlg) {
        Type(dlg, kAlbum, "typed");
        Press(dlg, 136);
        EXPECT_TRUE(IsWindowVisible(dlg));
        Press(dlg, 139);
    };
    RunUserDlg(nullptr);  // nothing stored yet
    EXPECT_TRUE(server.Requests().empty());
    EXPECT_EQ(Texts(), std::vector<std::string>{"レジストリ読込み失敗"});

    PutUploadEnv(server.HostPort());
    ASSERT_EQ(SetRegValue("ALBUMID", ""), 1);
    ASSERT_EQ(SetRegValue("PASSWORD", ""), 1);
    rec.msgs.clear();
    RunUserDlg(nullptr);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].line, "POST /quillet/resend.php?id=&pass= HTTP/1.1");
    EXPECT_EQ(Texts(), std::vector<std::string>{"送信完了"});
}

TEST(AccountText, CharacterRules) {
    const struct {
        const char* text;
        int single, alnum, pass;
    } rows[] = {
        {"", 1, 1, 1},         {"abcXYZ019", 1, 1, 1}, {"a_b-c", 1, 0, 1},
        {"a b", 1, 0, 0},      {"a.b", 1, 0, 0},       {"\x93\xfa", 0, 0, 0},  // 日
        {"ab\xb1", 1, 0, 0},    // half-width katakana: single-byte, not a letter here
        {"\x81\x40", 0, 0, 0},  // the double-byte blank
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(IsSingleByteText(row.text), row.single);
        EXPECT_EQ(IsAlphaNumText(row.text), row.alnum);
        EXPECT_EQ(IsPasswordText(row.text), row.pass);
    }
}

}  // namespace
