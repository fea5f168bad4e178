// PostData and PButton against the loopback server: the request as sent, log.log, and what each
// answer tells the user.
#include <gtest/gtest.h>

#include "app/appstate.h"
#include "app/folders.h"
#include "app/reginfo.h"
#include "platform/inet/wininet.h"
#include "send/upload.h"
#include "send_env.h"
#include "support/httpserver.h"
#include "support/testutil.h"

namespace {

struct PostTest : testing::Test {
    AppEnv env;
    HttpServer server;
    void SetUp() override {
        PutUploadEnv(server.HostPort());
        g_uploadReq = UploadRequest{"a@example.jp,b@example.jp", "s", "m", "OFF()", ""};
    }
    void Reply(const std::string& body, const std::string& head = "") {
        HttpServer::Reply r;
        r.answer = "HTTP/1.1 200 OK\r\n" + head + "Content-Length: " + std::to_string(body.size()) +
                   "\r\n\r\n" + body;
        server.SetReply(r);
    }
};

TEST_F(PostTest, AnswersAndWhatTheUserIsTold) {
    const struct {
        std::string body;
        int result;
        const char* msg;  // the error box, or none
    } cases[] = {
        {"OK", 1, nullptr},
        {"OK and more", 1, nullptr},
        {"ok", 0, "送信失敗\nエラーが発生しました"},
        {"NG07", 0, "アルバムＩＤ、パスワードを確認してください"},
        {"NG7\n", 0, "アルバムＩＤ、パスワードを確認してください"},
        {"NG10", 0, "日時指定メールがすでに５件あります"},
        {"NG", 0, "送信失敗\nエラーが発生しました\nエラーコード 0S"},
        {"NGxy", 0, "送信失敗\nエラーが発生しました\nエラーコード 0S"},
        {"NG42", 0, "送信失敗\nエラーが発生しました\nエラーコード 42S"},
        {"NG-5", 0, "送信失敗\nエラーが発生しました\nエラーコード 0S"},
        {"NG 7", 0, "アルバムＩＤ、パスワードを確認してください"},
        {"", 0, "送信失敗\nエラーが発生しました"},
        {"O", 0, "送信失敗\nエラーが発生しました"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        Reply(c.body);
        MsgRecorder rec;
        EXPECT_EQ(PostData(nullptr), c.result);
        if (c.msg) {
            ASSERT_EQ(rec.msgs.size(), 1u);
            EXPECT_EQ(rec.msgs[0].text, c.msg);
        } else {
            EXPECT_TRUE(rec.msgs.empty());
        }
    }
}

// The request as the server received it, and log.log holding the same body.
TEST_F(PostTest, RequestAndLogHoldTheBody) {
    Reply("OK", std::string(300, 'x').insert(0, "X-Long: ") + "\r\n");  // a long header block
    MsgRecorder rec;
    ASSERT_EQ(PostData(nullptr), 1);
    EXPECT_TRUE(rec.msgs.empty());
    const auto reqs = server.Requests();
    ASSERT_EQ(reqs.size(), 1u);
    EXPECT_EQ(reqs[0].line, "POST /cgi-bin/saveimg.cgi HTTP/1.1");
    EXPECT_NE(reqs[0].head.find("User-Agent: QuilletClient\r\n"), std::string::npos);
    for (const char* h : {"Content-Type:", "Accept:", "Expect:"})
        EXPECT_EQ(reqs[0].head.find(h), std::string::npos) << h;
    const std::string log = ReadFileText(std::string(g_app.AppFolder) + kLogName);
    EXPECT_EQ(log, reqs[0].body);
    EXPECT_NE(reqs[0].head.find("Content-Length: " + std::to_string(log.size()) + "\r\n"),
              std::string::npos);
    EXPECT_EQ(log.substr(38, 14), "Velquaris2.00\n");
}

// Failures of the connection are told with their number; a server error page is an answer that
// is not "OK".
TEST_F(PostTest, FailuresAndErrorPages) {
    const std::string page = "<html>Internal Server Error</html>";
    const struct {
        const char* name;
        HttpServer::Reply reply;
        std::string host;  // empty: the test server
        const char* msg;
    } rows[] = {
        {"error page",
         {"HTTP/1.1 500 Internal Server Error\r\nContent-Length: " + std::to_string(page.size()) +
          "\r\n\r\n" + page},
         "",
         "送信失敗\nエラーが発生しました"},
        {"connection refused",
         {},
         "127.0.0.1:" + std::to_string(ClosedLoopbackPort()),
         "データが送信できませんでした\nエラーコード 12029RQ"},
        {"unknown host",
         {},
         "nosuch.invalid",
         "データが送信できませんでした\nエラーコード 12007RQ"},
        {"never answers",
         {"", HttpServer::kSilent},
         "",
         "データが送信できませんでした\nエラーコード 12002RQ"},
    };
    PlatSetHttpTimeouts(1000, 1000);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        server.SetReply(row.reply);
        snprintf(g_app.ServerHost, MAX_PATH, "%s",
                 (row.host.empty() ? server.HostPort() : row.host).c_str());
        MsgRecorder rec;
        EXPECT_EQ(PostData(nullptr), 0);
        ASSERT_EQ(rec.msgs.size(), 1u);
        EXPECT_EQ(rec.msgs[0].text, row.msg);
    }
    PlatSetHttpTimeouts(0, 0);
}

// The reminder carries the stored values in its query, byte for byte where a request target
// allows, escaped where it does not, and an empty body.
TEST_F(PostTest, ReminderCarriesTheStoredValues) {
    const struct {
        const char* album;
        const char* password;
        const char* line;
    } rows[] = {
        {"album1", "pw", "POST /quillet/resend.php?id=album1&pass=pw HTTP/1.1"},
        {"Al-b_u.m~9", "ab#c d+e",
         "POST /quillet/resend.php?id=Al-b_u.m~9&pass=ab%23c%20d%2Be HTTP/1.1"},
        {"a&b=c", "%?/\x7f", "POST /quillet/resend.php?id=a%26b%3Dc&pass=%25%3F%2F%7F HTTP/1.1"},
        {"\x82\xA0", "\t\r\n", "POST /quillet/resend.php?id=%82%A0&pass=%09%0D%0A HTTP/1.1"},
    };
    Reply("");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        ASSERT_EQ(SetRegValue("ALBUMID", row.album), 1);
        ASSERT_EQ(SetRegValue("PASSWORD", row.password), 1);
        const size_t before = server.Requests().size();
        MsgRecorder rec;
        EXPECT_EQ(PButton(), 1);
        const auto reqs = server.Requests();
        ASSERT_EQ(reqs.size(), before + 1);
        EXPECT_EQ(reqs.back().line, row.line);
        EXPECT_EQ(reqs.back().body, "");
        ASSERT_EQ(rec.msgs.size(), 1u);
        EXPECT_EQ(rec.msgs[0].text, "送信完了");
    }
}

// The server setting may be written as an address; anything but a host and a port is refused as a
// server that cannot be reached, and nothing is sent.
TEST_F(PostTest, ServerSettingIsAHostAndAPort) {
    const std::string hostPort = server.HostPort();
    const std::string port = hostPort.substr(hostPort.find(':'));
    const struct {
        std::string host;
        int result;
    } rows[] = {
        {"http://" + hostPort, 1}, {"HTTP://" + hostPort, 1}, {"localhost" + port, 1},
        {hostPort + "/x", 0},      {"user@" + hostPort, 0},   {"127.0.0.1 " + port, 0},
        {"127.0.0.1:0", 0},        {"127.0.0.1:99999", 0},    {"https://" + hostPort, 0},
    };
    Reply("OK");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.host);
        snprintf(g_app.ServerHost, MAX_PATH, "%s", row.host.c_str());
        const size_t before = server.Requests().size();
        MsgRecorder rec;
        EXPECT_EQ(PostData(nullptr), row.result);
        EXPECT_EQ(server.Requests().size(), before + size_t(row.result));
        if (!row.result) {
            ASSERT_EQ(rec.msgs.size(), 1u);
            EXPECT_EQ(rec.msgs[0].text, "サーバと接続できませんでした");
        }
    }
}

// A server that trickles its answer a byte at a time never trips the limit without progress; the
// limit on the whole exchange ends it as a time-out.
TEST_F(PostTest, TricklingServerMeetsTheExchangeLimit) {
    HttpServer::Reply r;
    r.answer = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nOK";
    r.chunk = 1;
    r.chunkGapMs = 200;
    server.SetReply(r);
    PlatSetHttpTimeouts(1000, 3000, 1500);
    MsgRecorder rec;
    EXPECT_EQ(PostData(nullptr), 0);
    PlatSetHttpTimeouts(0, 0);
    ASSERT_EQ(rec.msgs.size(), 1u);
    EXPECT_EQ(rec.msgs[0].text, "データが送信できませんでした\nエラーコード 12002RQ");
}

// A working-file path that does not fit is told as the picture that cannot be opened.
TEST_F(PostTest, PicturePathTooLongIsTold) {
    Reply("OK");
    const std::string folder = g_app.AppFolder;
    snprintf(g_app.AppFolder, MAX_PATH, "/%s/", std::string(MAX_PATH - 8, 'd').c_str());
    MsgRecorder rec;
    EXPECT_EQ(PostData(nullptr), 0);
    snprintf(g_app.AppFolder, MAX_PATH, "%s", folder.c_str());
    ASSERT_EQ(rec.msgs.size(), 1u);
    EXPECT_EQ(rec.msgs[0].text, "ファイルが開けませんでした");
    EXPECT_EQ(rec.msgs[0].caption, "PostData-Error");
}

}  // namespace
