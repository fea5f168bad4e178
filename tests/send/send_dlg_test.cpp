// The send dialog and its progress window driven as a person would, against the loopback
// server: the recipient rules, the counters, the address book, and what stays open after a
// failed or an accepted upload.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "address/addrdlg.h"
#include "app/appstate.h"
#include "app/folders.h"
#include "app/reginfo.h"
#include "platform/controls/commctrl.h"
#include "platform/controls/listview.h"
#include "platform/kernel/kernel.h"
#include "platform/user/modal.h"
#include "send/senddlg.h"
#include "send/upload.h"
#include "send_env.h"
#include "support/httpserver.h"
#include "support/testutil.h"
#include "ui/appmsg.h"
#include "ui/skindlg.h"

namespace {

constexpr int kTo = 1017, kSubj = 1018, kMsg = 1019;
constexpr int kSend = 120, kClose = 121, kBook = 123;

HttpServer::Reply Answer(const std::string& body) {
    return {"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
            body};
}

// Line n (from 1) of an upload body, for the lines before the message.
std::string BodyLine(const std::string& body, int n) {
    size_t at = 0;
    for (int i = 1; i < n; i++) at = body.find('\n', at) + 1;
    return body.substr(at, body.find('\n', at) - at);
}

struct SendDlgTest : testing::Test {
    AppEnv env;
    HttpServer server;
    MsgRecorder rec;
    std::function<void(HWND)> onBook;      // the address book, when the script opens it
    std::function<void(HWND)> onProgress;  // the progress window as it shows
    std::function<void(HWND)> onDate;      // the date dialog
    int opened = 0;
    void SetUp() override {
        PutUploadEnv(server.HostPort());
        server.SetReply(Answer("OK"));
    }
    // Opens the send dialog and runs `script` on it as it shows; returns when it has closed.
    void Run(const std::function<void(HWND)>& script) {
        rec.others = [&](const ModalEvent* ev) {
            if (ev->templ == 124) {
                opened++;
                script(ev->wnd);
            }
            if (ev->templ == 168 && onBook) onBook(ev->wnd);
            if (ev->templ == 130 && onProgress) onProgress(ev->wnd);
            if (ev->templ == 156 && onDate) onDate(ev->wnd);
            return 0;  // the progress window runs its upload
        };
        RunSendDlg(nullptr);
        rec.others = nullptr;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> v;
        for (const auto& m : rec.msgs) v.push_back(m.text);
        return v;
    }
};

TEST_F(SendDlgTest, RecipientRules) {
    const struct {
        const char* name;
        const char* to;
        const char* refusal;  // none: sent
    } rows[] = {
        {"five with four commas", "a@x,b@x,c@x,d@x,e@x", nullptr},
        {"five and a trailing comma", "a@x,b@x,c@x,d@x,e@x,",
         "宛先に指定できる件数は\n5件までです"},
        {"only four commas", ",,,,", nullptr},
        {"five commas", ",,,,,", "宛先に指定できる件数は\n5件までです"},
        {"empty", "", "宛先を入力してください"},
        {"capitals typed become small", "A@X.JP", nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const size_t before = server.Requests().size();
        rec.msgs.clear();
        Run([&](HWND dlg) {
            Type(dlg, kTo, row.to);
            Press(dlg, kSend);
            if (row.refusal) Press(dlg, kClose);
        });
        const auto reqs = server.Requests();
        if (row.refusal) {
            EXPECT_EQ(Texts(), std::vector<std::string>{row.refusal});
            EXPECT_EQ(reqs.size(), before);
        } else {
            EXPECT_TRUE(rec.msgs.empty());
            ASSERT_EQ(reqs.size(), before + 1);
            std::string want = row.to;
            for (char& c : want) c = char(tolower(c));
            EXPECT_EQ(BodyLine(reqs.back().body, 10), want);
            EXPECT_EQ(BodyLine(reqs.back().body, 9), "OFF()");
        }
    }
}

// The counters show the message's CP932 bytes, a line break counting 2: what twenty double-byte
// characters show is what forty letters show, and what 38 letters and a line break show.
TEST_F(SendDlgTest, CountersCountCp932Bytes) {
    const RECT counters = {129, 177, 160, 215};
    auto grab = [&](HWND dlg, const char* keys, const char* ime) {
        SetDlgItemTextA(dlg, kMsg, "");
        Type(dlg, kMsg, keys, ime);
        UpdateWindow(dlg);
        const PicData pic = TakePicData(PlatGrabWindow(dlg));
        std::vector<uint32_t> px;
        for (int y = counters.top; y < counters.bottom; y++)
            for (int x = counters.left; x < counters.right; x++) px.push_back(pic.At(x, y));
        return px;
    };
    Run([&](HWND dlg) {
        const auto twenty = grab(dlg, "", "あいうえおかきくけこさしすせそたちつてと");
        EXPECT_EQ(twenty, grab(dlg, std::string(40, 'x').c_str(), nullptr));
        EXPECT_NE(twenty, grab(dlg, std::string(39, 'x').c_str(), nullptr));
        EXPECT_EQ(twenty,
                  grab(dlg, (std::string(19, 'x') + "\n" + std::string(19, 'x')).c_str(), nullptr));
        EXPECT_EQ(GetFieldText(dlg, kMsg), std::string(19, 'x') + "\r\n" + std::string(19, 'x'));
        Press(dlg, kClose);
    });
}

TEST_F(SendDlgTest, AddressBookFillsOrKeepsTheRecipients) {
    ASSERT_TRUE(WriteFileBytes(std::string(g_app.AppFolder) + kAdrName,
                               {'0', ',', 'A', ',', 'a', '@', 'x', ',', '-', '1', ',', '0'}));
    const struct {
        const char* name;
        int button;  // in the address book
        bool tick;
        std::string field;
    } rows[] = {
        {"cancelled", 129, true, "typed@x"},
        {"nothing ticked", 130, false, "typed@x"},
        {"one ticked", 130, true, "a@x"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        onBook = [&](HWND book) {
            if (row.tick)
                SendMessageA(GetDlgItem(book, 1010), LVM_SETITEMSTATE, 0, [] {
                    static LVITEMA item{};
                    item.state = INDEXTOSTATEIMAGEMASK(2);
                    item.stateMask = LVIS_STATEIMAGEMASK;
                    return LPARAM(&item);
                }());
            Press(book, row.button);
        };
        Run([&](HWND dlg) {
            Type(dlg, kTo, "typed@x");
            Press(dlg, kBook);
            EXPECT_EQ(GetFieldText(dlg, kTo), row.field);
            Press(dlg, kClose);
        });
    }
}

// A failed upload keeps the dialog with what was typed; sending again is a whole new upload,
// and an accepted one closes both windows. The progress window is on the screen, with its text,
// before the upload starts.
TEST_F(SendDlgTest, FailureKeepsTheDialogAndSendingAgainWorks) {
    bool progressShown = false;
    size_t requestsWhenShown = 99;
    onProgress = [&](HWND prog) {
        progressShown = IsWindowVisible(prog);
        requestsWhenShown = server.Requests().size();
    };
    bool stayed = false;
    Run([&](HWND dlg) {
        Type(dlg, kTo, "a@x");
        Type(dlg, kSubj, "", "件名");
        server.SetReply(Answer("NG42"));
        Press(dlg, kSend);
        stayed = IsWindowVisible(dlg) && GetFieldText(dlg, kTo) == "a@x" &&
                 GetFieldText(dlg, kSubj) == "件名";
        server.SetReply(Answer("OK"));
        Press(dlg, kSend);  // closes the dialog: the script ends here
    });
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(progressShown);
    EXPECT_EQ(requestsWhenShown, 1u);  // the second window showed before its upload
    const auto reqs = server.Requests();
    ASSERT_EQ(reqs.size(), 2u);
    EXPECT_EQ(reqs[0].body, reqs[1].body);
    EXPECT_EQ(Texts(),
              std::vector<std::string>{"送信失敗\nエラーが発生しました\nエラーコード 42S"});

    // After an accepted upload, a failing one still keeps its dialog open.
    rec.msgs.clear();
    server.SetReply(Answer("NG"));
    stayed = false;
    Run([&](HWND dlg) {
        Type(dlg, kTo, "b@x");
        Press(dlg, kSend);
        stayed = IsWindowVisible(dlg);
        Press(dlg, kClose);
    });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(server.Requests().size(), 3u);
}

// The date dialog's hour list and its OK (125) or Cancel (126).
void PickDlv(HWND date, int hour, int button) {
    SendDlgItemMessageA(date, 1025, CB_SETCURSEL, WPARAM(hour), 0);
    SendMessageA(date, WM_APP_BUTTON, WPARAM(button), 0);
}

// A chosen time swaps the buttons and goes into the schedule line (12 for noon); cancelling the
// date dialog changes nothing; closing forgets the time, so the next dialog sends at once.
TEST_F(SendDlgTest, DeliveryTime) {
    FakeClock clock({2002, 6, 1, 17, 10, 20, 0, 0});  // Monday 17 June 2002, 10:20
    auto scheduled = [](HWND dlg) {
        return IsWindowVisible(GetDlgItem(dlg, 122)) && !IsWindowVisible(GetDlgItem(dlg, 124));
    };
    Run([&](HWND dlg) {
        EXPECT_FALSE(scheduled(dlg));
        onDate = [](HWND date) { PickDlv(date, 15, 126); };
        Press(dlg, 124);
        EXPECT_FALSE(scheduled(dlg));
        onDate = [](HWND date) { PickDlv(date, 15, 125); };
        Press(dlg, 124);
        EXPECT_TRUE(scheduled(dlg));
        Press(dlg, kClose);
    });
    Run([&](HWND dlg) {
        EXPECT_FALSE(scheduled(dlg));
        onDate = [](HWND date) { PickDlv(date, 12, 125); };
        Press(dlg, 124);
        EXPECT_TRUE(scheduled(dlg));
        Press(dlg, 122);
        EXPECT_FALSE(scheduled(dlg));
        Press(dlg, 124);
        Type(dlg, kTo, "a@x");
        Press(dlg, kSend);
    });
    Run([&](HWND dlg) {
        Type(dlg, kTo, "b@x");
        Press(dlg, kSend);
    });
    const auto reqs = server.Requests();
    ASSERT_EQ(reqs.size(), 2u);
    EXPECT_EQ(BodyLine(reqs[0].body, 9), "ON(2002/06/17-12)");
    EXPECT_EQ(BodyLine(reqs[1].body, 9), "OFF()");
    EXPECT_TRUE(rec.msgs.empty());
}

TEST(SendLines, ScheduleAndDeliveryLine) {
    const struct {
        SYSTEMTIME t;
        const char* schedule;
        const char* line;
    } rows[] = {
        {{}, "OFF()", "          今すぐ送信"},
        {{2002, 6, 2, 18, 12, 0, 0, 0}, "ON(2002/06/18-12)", "2002年06月18日(火)　午後00：00"},
        {{2002, 6, 3, 19, 0, 0, 0, 0}, "ON(2002/06/19-00)", "2002年06月19日(水)　午前00：00"},
        {{2026, 12, 6, 19, 23, 0, 0, 0}, "ON(2026/12/19-23)", "2026年12月19日(土)　午後11：00"},
        {{2027, 1, 0, 3, 11, 0, 0, 0}, "ON(2027/01/03-11)", "2027年01月03日(日)　午前11：00"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.schedule);
        char schedule[20];
        MakeSchedule(row.t, schedule, sizeof schedule);
        EXPECT_STREQ(schedule, row.schedule);
        EXPECT_EQ(MakeDlvLine(row.t), row.line);
    }
    EXPECT_EQ(CountAddresses(""), 1);
    EXPECT_EQ(CountAddresses("a,b,,"), 4);
}

}  // namespace
