// Mail delivery against a real SMTP peer: an upload becomes one mail per recipient, a scheduled
// one goes out once at its hour also across restarts and a crash mid-send, a refusing relay is
// tried again later with each attempt in the log, and without a relay the same mails land in the
// Maildir.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "live_server.h"
#include "server/log.h"
#include "server/scheduler.h"
#include "server/upload_accept.h"
#include "smtp_peer.h"
#include "upload_body.h"

namespace fs = std::filesystem;

namespace {

struct ClockAt {
    explicit ClockAt(time_t t) { ServerClock::now = t; }
    ~ClockAt() { ServerClock::now = 0; }
};

// The number of messages the peer accepted.
int PeerCount(const SmtpPeer& peer) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(peer.out)) n += e.path().extension() == ".json";
    return n;
}

// Waits up to ten seconds for the peer to hold `n` messages.
bool AwaitPeerCount(const SmtpPeer& peer, int n) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (PeerCount(peer) < n && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return PeerCount(peer) >= n;
}

// The upload the tests send: two recipients, Japanese subject and two-line message (CP932), a
// picture with every awkward byte.
BodyFields JapaneseUpload() {
    BodyFields f;
    f.recipients = "a@phone.test,b@phone.test";
    f.subject = "\x8e\xca\x90\x5e\x82\xc5\x82\xb7";              // 写真です
    f.message = "\x8d\xa1\x93\xfa\r\n\x82\xdc\x82\xbd\x82\xcb";  // 今日 / またね
    f.picture = std::string("\xFF\xD8\x00\r\n.\r\n\xFF\xD9", 10);
    return f;
}

class Delivery : public SmtpPeerTest {};

TEST_F(Delivery, EachRecipientGetsTheMailAndTheMaildirTheSame) {
    ClockAt at(TestNow());
    SmtpPeer peer;
    ASSERT_NE(peer.port, 0) << peer.why;
    ServerRun relayed, filed;
    relayed.ctx.relay.url = peer.Url();
    const BodyFields f = JapaneseUpload();
    ASSERT_EQ(AcceptUpload(relayed.ctx, MakeBody(f)), "OK");
    ASSERT_EQ(AcceptUpload(filed.ctx, MakeBody(f)), "OK");
    EXPECT_EQ(RunDueMails(relayed.ctx), 2);
    EXPECT_EQ(RunDueMails(filed.ctx), 2);

    ASSERT_EQ(PeerCount(peer), 2);
    const UploadRec up = StoredUploads(relayed, kTestAlbum)[0];
    for (int n = 1; n <= 2; n++) {
        SCOPED_TRACE(n);
        const auto m = ReadPeerJson(peer, n);
        const std::string to = n == 1 ? "a@phone.test" : "b@phone.test";
        EXPECT_EQ(m.at("rcpt_tos"), to);
        EXPECT_EQ(m.at("to"), to);
        EXPECT_EQ(m.at("mail_from"), "quillet@server.test");
        EXPECT_EQ(m.at("reply_to"), kTestUser);
        EXPECT_EQ(m.at("subject"), "写真です");
        EXPECT_EQ(m.at("text"), "今日\r\nまたね");  // text in MIME's canonical CR LF lines
        EXPECT_EQ(m.at("message_id"), up.mails[n - 1].messageId);
        EXPECT_EQ(ReadFileText(peer.out + "/" + std::to_string(n) + ".jpg"), f.picture);
        EXPECT_EQ(up.mails[n - 1].state, kMailSent);
    }

    // The Maildir holds the same messages, each with its own upload's Message-ID.
    const UploadRec other = StoredUploads(filed, kTestAlbum)[0];
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(MaildirOf(filed.ctx) + "/new"))
        files.push_back(ReadFileText(e.path()));
    ASSERT_EQ(files.size(), 2u);
    for (int n = 1; n <= 2; n++) {
        std::string relayedText = ReadFileText(peer.out + "/" + std::to_string(n) + ".eml");
        const std::string id = up.mails[n - 1].messageId;
        relayedText.replace(relayedText.find(id), id.size(), other.mails[n - 1].messageId);
        EXPECT_TRUE(files[0] == relayedText || files[1] == relayedText) << relayedText;
    }
}

TEST_F(Delivery, ScheduledMailGoesOutOnceAtItsHourAcrossRestarts) {
    ClockAt at(TestNow());
    SmtpPeer peer;
    ASSERT_NE(peer.port, 0) << peer.why;
    TempDir state;
    BodyFields f = JapaneseUpload();
    f.recipients = "a@phone.test";
    f.schedule = "ON(2025/06/10-12)";
    const time_t hour = LocalTime(2025, 6, 10, 12);
    {
        ServerRun server(state.path);
        server.ctx.relay.url = peer.Url();
        ASSERT_EQ(AcceptUpload(server.ctx, MakeBody(f)), "OK");
        ServerClock::now = hour - 1;
        EXPECT_EQ(RunDueMails(server.ctx), 0);
    }
    for (int restart = 0; restart < 2; restart++) {
        ServerRun server(state.path);
        server.ctx.relay.url = peer.Url();
        Scheduler* sched;
        ASSERT_EQ(StartScheduler(&server.ctx, &sched), 1);
        StopScheduler(sched);
        ServerClock::now = hour;
        RunDueMails(server.ctx);
        ServerClock::now = hour + 3600;
        RunDueMails(server.ctx);
    }
    EXPECT_EQ(PeerCount(peer), 1);
}

TEST_F(Delivery, MailLeftSendingByACrashGoesOutAgainWithItsMessageId) {
    ClockAt at(TestNow());
    SmtpPeer peer;
    ASSERT_NE(peer.port, 0) << peer.why;
    TempDir state;
    std::string messageId;
    {
        ServerRun server(state.path);
        BodyFields f = JapaneseUpload();
        f.recipients = "a@phone.test";
        ASSERT_EQ(AcceptUpload(server.ctx, MakeBody(f)), "OK");
        // Claimed, and the server dies before it records the end of the exchange.
        std::vector<MailRec> claimed;
        ASSERT_EQ(server.ctx.store->ops->claimDueMails(server.ctx.store, TestNow(), 5, &claimed),
                  1);
        ASSERT_EQ(claimed.size(), 1u);
        messageId = claimed[0].messageId;
    }
    ServerRun server(state.path);
    server.ctx.relay.url = peer.Url();
    Scheduler* sched;
    ASSERT_EQ(StartScheduler(&server.ctx, &sched), 1);
    EXPECT_TRUE(AwaitPeerCount(peer, 1));
    StopScheduler(sched);
    EXPECT_EQ(PeerCount(peer), 1);
    EXPECT_EQ(ReadPeerJson(peer, 1).at("message_id"), messageId);
}

TEST_F(Delivery, RefusingRelayIsTriedAgainLaterEachAttemptLogged) {
    ClockAt at(TestNow());
    SmtpPeer peer({"--refuse", "1"});
    ASSERT_NE(peer.port, 0) << peer.why;
    ServerRun server;
    server.ctx.relay.url = peer.Url();
    TempDir logDir;
    FILE* log = fopen(logDir.File("log").c_str(), "w+");
    SetLogFile(log);
    BodyFields f = JapaneseUpload();
    f.recipients = "a@phone.test";
    ASSERT_EQ(AcceptUpload(server.ctx, MakeBody(f)), "OK");
    EXPECT_EQ(RunDueMails(server.ctx), 1);
    MailRec m = StoredUploads(server, kTestAlbum)[0].mails[0];
    EXPECT_EQ(m.state, kMailWaiting);
    EXPECT_EQ(m.due, TestNow() + 60);
    EXPECT_NE(m.lastError.find("451"), std::string::npos) << m.lastError;
    EXPECT_EQ(RunDueMails(server.ctx), 0) << "not before the minute is up";
    ServerClock::now = TestNow() + 60;
    EXPECT_EQ(RunDueMails(server.ctx), 1);
    SetLogFile(nullptr);
    fclose(log);

    EXPECT_EQ(PeerCount(peer), 1);
    m = StoredUploads(server, kTestAlbum)[0].mails[0];
    EXPECT_EQ(m.state, kMailSent);
    EXPECT_EQ(m.attempts, 2);
    const std::string text = ReadFileText(logDir.File("log"));
    EXPECT_NE(text.find("to a@phone.test: attempt 1 failed"), std::string::npos) << text;
    EXPECT_NE(text.find("next in 1 min"), std::string::npos) << text;
    EXPECT_NE(text.find("to a@phone.test: attempt 2, sent"), std::string::npos) << text;
}

TEST(RetryDelay, BacksOffThenHourlyForADayThenGivesUp) {
    const struct {
        int attempts;
        time_t delay;
    } cases[] = {{0, 0}, {1, 60}, {2, 300}, {3, 900}, {4, 3600}, {5, 3600}, {28, 3600}, {29, 0}};
    for (const auto& c : cases) EXPECT_EQ(RetryDelay(c.attempts), c.delay) << c.attempts;
}

}  // namespace
