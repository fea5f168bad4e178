// Uploads against the accounts and limits: who may upload, how the first upload of an unknown
// album makes its account when the server allows it, the five waiting mails, the quota, and a
// database that holds no password.
#include "server/upload_accept.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "live_server.h"
#include "server/options.h"
#include "upload_body.h"

namespace {

struct ClockAt {
    explicit ClockAt(time_t t) { ServerClock::now = t; }
    ~ClockAt() { ServerClock::now = 0; }
};

TEST(AcceptUpload, OnlyTheAccountsOwnerMayUpload) {
    ClockAt at(TestNow());
    ServerRun server;
    ASSERT_NE(server.port, 0);
    const struct {
        const char* name;
        void (*edit)(BodyFields&);
        const char* answer;
    } cases[] = {
        {"the account's values", [](BodyFields&) {}, "OK"},
        {"user ID in other case", [](BodyFields& f) { f.user = "Me@Example.JP"; }, "OK"},
        {"wrong password", [](BodyFields& f) { f.pass = "pw-Zq81y"; }, "NG07"},
        {"password with a byte more", [](BodyFields& f) { f.pass += "x"; }, "NG07"},
        {"another user ID", [](BodyFields& f) { f.user = "you@example.jp"; }, "NG07"},
        {"unknown album", [](BodyFields& f) { f.album = "album2"; }, "NG07"},
        {"malformed before the account", [](BodyFields& f) { f.ident = "X"; }, "NG01"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BodyFields f;
        c.edit(f);
        EXPECT_EQ(AcceptUpload(server.ctx, MakeBody(f)), c.answer);
    }
    EXPECT_EQ(StoredUploads(server, kTestAlbum).size(), 2u);
    EXPECT_TRUE(StoredUploads(server, "album2").empty());
}

TEST(AcceptUpload, FirstUploadRegistersOnlyWhenAllowed) {
    ClockAt at(TestNow());
    ServerRun server;
    BodyFields f;
    f.album = "newalbum";
    f.user = "new@example.jp";
    EXPECT_EQ(AcceptUpload(server.ctx, MakeBody(f)), "NG07");
    server.ctx.registerOnFirstUpload = 1;
    EXPECT_EQ(AcceptUpload(server.ctx, MakeBody(f)), "OK");
    Account acct;
    ASSERT_EQ(server.ctx.store->ops->getAccount(server.ctx.store, "newalbum", &acct), 1);
    EXPECT_EQ(acct.mail, "new@example.jp");
    // From then on the album is that account's: another password does not get in.
    f.pass = "other-pass";
    EXPECT_EQ(AcceptUpload(server.ctx, MakeBody(f)), "NG07");
    EXPECT_EQ(StoredUploads(server, "newalbum").size(), 1u);

    // The database and everything beside it hold hashes, never the passwords.
    for (const auto& e : std::filesystem::recursive_directory_iterator(server.ctx.dir)) {
        if (!e.is_regular_file()) continue;
        const std::string bytes = ReadFileText(e.path());
        EXPECT_EQ(bytes.find(kTestPass), std::string::npos) << e.path();
        EXPECT_EQ(bytes.find(BodyFields().pass), std::string::npos) << e.path();
    }
    EXPECT_EQ(acct.passHash.rfind("$argon2id$", 0), 0u);
}

TEST(AcceptUpload, FiveWaitingAndTheQuota) {
    ClockAt at(TestNow());
    ServerRun server;
    BodyFields f;
    f.schedule = "ON(2025/06/11-09)";
    for (int i = 0; i < 5; i++) EXPECT_EQ(AcceptUpload(server.ctx, MakeBody(f)), "OK");
    EXPECT_EQ(AcceptUpload(server.ctx, MakeBody(f)), "NG10");
    f.schedule = "OFF()";
    EXPECT_EQ(AcceptUpload(server.ctx, MakeBody(f)), "OK") << "mails at once do not wait";

    server.ctx.limits.quotaBytes = 7 * (long long)f.picture.size();
    EXPECT_EQ(AcceptUpload(server.ctx, MakeBody(f)), "OK") << "the seventh picture fills it";
    EXPECT_EQ(AcceptUpload(server.ctx, MakeBody(f)), "NG11") << "the eighth would pass it";
    EXPECT_EQ(StoredUploads(server, kTestAlbum).size(), 7u);
}

// A remembered match spares the next upload the hash, but never lets another password or a
// changed account through.
TEST(CheckUploadPass, RemembersOnlyTheMatch) {
    ASSERT_EQ(InitPassHash(), 1);
    UseCheapPassHash();
    std::string hash, newHash;
    ASSERT_EQ(HashPass("secret-1", &hash), 1);
    ASSERT_EQ(HashPass("secret-2", &newHash), 1);
    const time_t t = TestNow();
    const struct {
        const char* name;
        const char* album;
        const std::string& hash;
        const char* pass;
        time_t now;
        int ok;
    } cases[] = {
        {"first match", "a1", hash, "secret-1", t, 1},
        {"remembered match", "a1", hash, "secret-1", t + 1, 1},
        {"another password", "a1", hash, "secret-9", t + 2, 0},
        {"password changed since", "a1", newHash, "secret-1", t + 3, 0},
        {"the new password", "a1", newHash, "secret-2", t + 4, 1},
        {"another album, same values", "a2", hash, "secret-9", t + 5, 0},
        {"long after", "a1", newHash, "secret-2", t + 4 + kPassMemorySec, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckUploadPass(c.album, c.hash, c.pass, c.now), c.ok) << c.name;
}

TEST(ReadServerArgs, RegisteringNeedsLoopback) {
    const struct {
        std::vector<const char*> args;
        int ok;
    } cases[] = {
        {{"--register-on-first-upload"}, 1},
        {{"--register-on-first-upload", "--listen", "127.0.0.2:8080"}, 1},
        {{"--register-on-first-upload", "--listen", "[::1]:8080"}, 1},
        {{"--register-on-first-upload", "--listen", "0.0.0.0:8080"}, 0},
        {{"--listen", "0.0.0.0:8080"}, 1},
        {{"--listen", "0.0.0.0"}, 0},
        {{"--listen", "::1:80"}, 0},
        {{"--quota-mb", "0"}, 0},
        {{"--frobnicate"}, 0},
    };
    for (const auto& c : cases) {
        std::vector<char*> argv = {(char*)"quillet-server", (char*)"--dir", (char*)"/tmp/x"};
        std::string joined;
        for (const char* a : c.args) {
            argv.push_back((char*)a);
            joined += std::string(a) + " ";
        }
        SCOPED_TRACE(joined);
        ServerOpts o;
        std::string error;
        EXPECT_EQ(ReadServerArgs(int(argv.size()), argv.data(), &o, &error), c.ok) << error;
    }
}

}  // namespace
