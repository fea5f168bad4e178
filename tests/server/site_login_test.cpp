// Logging into album management: the session cookie, the login form's token, the same answer
// for every wrong login, and the slowing of guessers.
#include <gtest/gtest.h>

#include "server/login_throttle.h"
#include "site_env.h"

namespace {

TEST(Login, RightPasswordStartsSession) {
    SiteEnv env;
    const Response r = PostLogin(env, kTestAlbum, kTestPass);
    EXPECT_EQ(r.status, 303);
    EXPECT_EQ(r.location, "/quillet/manage.html");
    const std::string set = HeaderOf(r, "Set-Cookie", kSessionCookie);
    EXPECT_NE(set.find("; Path=/quillet/; HttpOnly; SameSite=Strict"), std::string::npos) << set;
    const std::string token = CookiePair(set).substr(sizeof kSessionCookie);
    EXPECT_TRUE(IsTokenText(token)) << token;
    // The store keeps the token's hash only.
    std::string album, csrf;
    EXPECT_EQ(env.ctx.store->ops->getSession(env.ctx.store, token, TestNow(), &album, &csrf), 0);
    EXPECT_EQ(
        env.ctx.store->ops->getSession(env.ctx.store, HashToken(token), TestNow(), &album, &csrf),
        1);
    EXPECT_EQ(album, kTestAlbum);
    const Response page = Ask(env, MakeReq("GET", "/quillet/manage.html", CookiePair(set)));
    EXPECT_EQ(page.status, 200);
    EXPECT_NE(page.body.find("アルバム album1 の管理"), std::string::npos);
    // Twelve hours later the session is over.
    g_siteNow = TestNow() + kSessionSec + 1;
    EXPECT_EQ(Ask(env, MakeReq("GET", "/quillet/manage.html", CookiePair(set))).status, 303);
}

TEST(Login, WrongAlbumAndWrongPasswordAnswerAlike) {
    SiteEnv env;
    const Response form = Ask(env, MakeReq("GET", "/quillet/login.html", "", "", "192.0.2.10"));
    const std::string cookie = CookiePair(HeaderOf(form, "Set-Cookie", kLoginCookie));
    const std::string csrf = InputValue(form.body, "csrf");
    const char* forms[] = {"album=album1&pass=wrong-pass", "album=nobody&pass=pw-Zq81x",
                           "album=..%2Fx&pass=pw-Zq81x", "album=album2&pass=pw-Zq81x"};
    std::vector<Response> answers;
    for (const char* f : forms) {
        SCOPED_TRACE(f);
        answers.push_back(Ask(env, MakeReq("POST", "/quillet/login.html", cookie,
                                           "csrf=" + csrf + "&" + f, "192.0.2.10")));
        EXPECT_EQ(answers.back().status, 403);
        EXPECT_NE(answers.back().body.find("アルバムIDかパスワードが違います"), std::string::npos);
        EXPECT_EQ(HeaderOf(answers.back(), "Set-Cookie"), "");
        EXPECT_EQ(answers.back().body, answers.front().body);
    }
}

TEST(Login, FormTokenMustMatchCookie) {
    SiteEnv env;
    const Response form = Ask(env, MakeReq("GET", "/quillet/login.html"));
    const std::string cookie = CookiePair(HeaderOf(form, "Set-Cookie", kLoginCookie));
    const std::string csrf = InputValue(form.body, "csrf");
    const std::string login = "&album=album1&pass=pw-Zq81x";
    // The form of an earlier visit is shown again with the same token.
    EXPECT_EQ(InputValue(Ask(env, MakeReq("GET", "/quillet/login.html", cookie)).body, "csrf"),
              csrf);
    const struct {
        const char* name;
        std::string cookie, body;
        int status;
    } cases[] = {
        {"no token", cookie, login.substr(1), 403},
        {"empty token", cookie, "csrf=" + login, 403},
        {"other token", cookie, "csrf=" + RandomHex(32) + login, 403},
        {"no cookie", "", "csrf=" + csrf + login, 403},
        {"cookie of another value", std::string(kLoginCookie) + "=x", "csrf=x" + login, 403},
        {"token and cookie agree", cookie, "csrf=" + csrf + login, 303},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Response r = Ask(env, MakeReq("POST", "/quillet/login.html", c.cookie, c.body));
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(HeaderOf(r, "Set-Cookie", kSessionCookie).empty(), c.status != 303);
    }
}

struct Try {
    const char* album;
    const char* peer;
    const char* pass;
    int atSec;  // after the row's start
};

TEST(Login, RepeatedFailuresAreThrottled) {
    SiteEnv env;
    const Try albumFails[] = {{"album2", "192.0.2.1", "bad-pass", 0},
                              {"album2", "192.0.2.2", "bad-pass", 1},
                              {"album2", "192.0.2.3", "bad-pass", 2},
                              {"album2", "192.0.2.4", "bad-pass", 3},
                              {"album2", "192.0.2.5", "bad-pass", 4}};
    const Try peerFails[] = {{"album1", "198.51.100.7", "bad-pass", 0},
                             {"nobody", "198.51.100.7", "bad-pass", 0},
                             {"album2", "198.51.100.7", "bad-pass", 0},
                             {"x", "198.51.100.7", "bad-pass", 0},
                             {"y", "198.51.100.7", "bad-pass", 0}};
    const Try spread[] = {{"album2", "192.0.2.1", "bad-pass", 0},
                          {"album2", "192.0.2.1", "bad-pass", 1},
                          {"album2", "192.0.2.1", "bad-pass", 2},
                          {"album2", "192.0.2.1", "bad-pass", 3},
                          {"album2", "192.0.2.1", "bad-pass", kLoginFailSec + 10}};
    const struct {
        const char* name;
        std::vector<Try> fails;
        Try probe;
        int status;
    } cases[] = {
        {"album locked after failures from many addresses",
         {std::begin(albumFails), std::end(albumFails)},
         {"album2", "192.0.2.9", kOtherPass, 5},
         429},
        {"the lock lifts after its time",
         {std::begin(albumFails), std::end(albumFails)},
         {"album2", "192.0.2.9", kOtherPass, 4 + kLoginLockSec},
         303},
        {"address locked after failures on many albums",
         {std::begin(peerFails), std::end(peerFails)},
         {"album1", "198.51.100.7", kTestPass, 1},
         429},
        {"another address still logs in",
         {std::begin(peerFails), std::end(peerFails)},
         {"album1", "198.51.100.8", kTestPass, 1},
         303},
        {"four failures lock nothing",
         {std::begin(albumFails), std::end(albumFails) - 1},
         {"album2", "192.0.2.9", kOtherPass, 5},
         303},
        {"failures spread past the window do not add up",
         {std::begin(spread), std::end(spread)},
         {"album2", "192.0.2.1", kOtherPass, kLoginFailSec + 11},
         303},
    };
    // Each row starts a day after the last, when every earlier count is over.
    time_t start = TestNow();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        start += 24 * 3600;
        for (const Try& t : c.fails) {
            g_siteNow = start + t.atSec;
            EXPECT_EQ(PostLogin(env, t.album, t.pass, t.peer).status, 403);
        }
        g_siteNow = start + c.probe.atSec;
        const Response r = PostLogin(env, c.probe.album, c.probe.pass, c.probe.peer);
        EXPECT_EQ(r.status, c.status);
        if (c.status != 429) continue;
        EXPECT_NE(r.body.find("しばらくログインできません"), std::string::npos);
        EXPECT_EQ(HeaderOf(r, "Set-Cookie", kSessionCookie), "");
        EXPECT_GT(std::stoi(HeaderOf(r, "Retry-After")), 0);
    }
}

}  // namespace
