// `quillet-server account ...`: adding, listing, a new password and removal, the program's rules
// for album IDs and passwords, and a password taken from standard input only.
#include "server/account_cmd.h"

#include <gtest/gtest.h>

#include "live_server.h"

namespace {

// Runs `account <words>` on the server's store with `input` on standard input; returns the exit
// status and what it printed in *out.
int RunCmd(const ServerRun& server, std::vector<std::string> words, const std::string& input,
           std::string* out = nullptr) {
    ServerOpts o;
    o.words = {"account"};
    o.words.insert(o.words.end(), words.begin(), words.end());
    FILE* in = fmemopen((void*)input.data(), input.size(), "r");
    char* text = nullptr;
    size_t size = 0;
    FILE* shown = open_memstream(&text, &size);
    const int rc = RunAccountCmd(o, server.ctx.store, in, shown);
    fclose(in);
    fclose(shown);
    if (out) *out = std::string(text, size);
    free(text);
    return rc;
}

int PassMatches(const ServerRun& server, const char* album, const std::string& pass) {
    Account acct;
    return server.ctx.store->ops->getAccount(server.ctx.store, album, &acct) &&
           CheckPass(acct.passHash, pass);
}

TEST(AccountCmd, AddListPasswdRemove) {
    ServerRun server;
    const struct {
        std::vector<std::string> words;
        const char* input;
        int rc;
    } cases[] = {
        {{"add", "family", "mama@example.jp"}, "secret-1\n", 0},
        {{"add", "family", "papa@example.jp"}, "secret-2\n", 1},  // taken
        {{"add", "bad/id", "a@example.jp"}, "secret-1\n", 1},
        {{"add", "elevenchars", "a@example.jp"}, "secret-1\n", 1},
        {{"add", "club", "not-an-address"}, "secret-1\n", 1},
        {{"add", "club", "c@example.jp"}, "short\n", 1},
        {{"add", "club", "c@example.jp"}, "with space\n", 1},
        {{"add", "club", "c@example.jp"}, "", 1},
        {{"passwd", "family"}, "secret-3\n", 0},
        {{"passwd", "nobody"}, "secret-3\n", 1},
        {{"remove", "nobody"}, "", 1},
        {{"frob"}, "", 2},
        {{"add", "club"}, "", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words[0] + " " + (c.words.size() > 1 ? c.words[1] : ""));
        EXPECT_EQ(RunCmd(server, c.words, c.input), c.rc);
    }
    EXPECT_TRUE(PassMatches(server, "family", "secret-3"));
    EXPECT_FALSE(PassMatches(server, "family", "secret-1"));
    Account club;
    EXPECT_EQ(server.ctx.store->ops->getAccount(server.ctx.store, "club", &club), 0);

    std::string listed;
    EXPECT_EQ(RunCmd(server, {"list"}, "", &listed), 0);
    EXPECT_NE(listed.find("album1"), std::string::npos) << listed;
    EXPECT_NE(listed.find("family"), std::string::npos) << listed;
    EXPECT_NE(listed.find("mama@example.jp"), std::string::npos) << listed;
    EXPECT_LT(listed.find("album1"), listed.find("family")) << listed;

    EXPECT_EQ(RunCmd(server, {"remove", "family"}, ""), 0);
    EXPECT_EQ(RunCmd(server, {"list"}, "", &listed), 0);
    EXPECT_EQ(listed.find("family"), std::string::npos) << listed;
}

}  // namespace
