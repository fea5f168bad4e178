// The password reset page: a link works once and within the hour, only through its form, and
// only for passwords the program can send.
#include <gtest/gtest.h>

#include "server/reminder.h"
#include "site_env.h"

namespace {

// A reset link's token for album1 as the reminder stores it, made at the env's clock.
std::string AddLink(const SiteEnv& env) {
    const std::string token = RandomHex(32);
    EXPECT_EQ(env.ctx.store->ops->addResetToken(env.ctx.store, HashToken(token), kTestAlbum,
                                                SiteNow() + kResetLinkSec),
              1);
    return token;
}

Response PostReset(const SiteEnv& env, const std::string& body) {
    return Ask(env, MakeReq("POST", "/quillet/reset.html", "", body));
}

// Whether album1's password is `pass` now.
int HasPass(const SiteEnv& env, const std::string& pass) {
    Account acct;
    return env.ctx.store->ops->getAccount(env.ctx.store, kTestAlbum, &acct) &&
           CheckPass(acct.passHash, pass);
}

TEST(ResetPage, LinkWorksOnce) {
    SiteEnv env;
    const std::string token = AddLink(env);
    // Fetching the page, as a mail scanner does, leaves the link usable.
    for (int i = 0; i < 2; i++) {
        const Response form = Ask(env, MakeReq("GET", "/quillet/reset.html?t=" + token));
        EXPECT_EQ(form.status, 200);
        EXPECT_EQ(InputValue(form.body, "t"), token);
        EXPECT_NE(form.body.find("6～20 文字の半角英数字と「_」「-」"), std::string::npos);
    }
    const std::string body = "t=" + token + "&pass=new_Pass-1&pass2=new_Pass-1";
    const Response done = PostReset(env, body);
    EXPECT_EQ(done.status, 200);
    EXPECT_NE(done.body.find("パスワードを変更しました"), std::string::npos);
    EXPECT_EQ(HasPass(env, "new_Pass-1"), 1);
    EXPECT_EQ(HasPass(env, kTestPass), 0);
    const Response again = PostReset(env, "t=" + token + "&pass=other-pw2&pass2=other-pw2");
    EXPECT_EQ(again.status, 410);
    EXPECT_NE(again.body.find("使用済みか、有効期限（1時間）が切れています"), std::string::npos);
    EXPECT_EQ(HasPass(env, "new_Pass-1"), 1);
    EXPECT_EQ(PostLogin(env, kTestAlbum, "new_Pass-1").status, 303);
}

TEST(ResetPage, LinkEndsAfterAnHour) {
    const struct {
        const char* name;
        int afterSec;
        int status;
    } cases[] = {
        {"a minute before the hour", kResetLinkSec - 60, 200},
        {"a minute after the hour", kResetLinkSec + 60, 410},
        {"a day after", 24 * 3600, 410},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SiteEnv env;
        const std::string token = AddLink(env);
        g_siteNow += c.afterSec;
        EXPECT_EQ(PostReset(env, "t=" + token + "&pass=new-pass&pass2=new-pass").status, c.status);
        EXPECT_EQ(HasPass(env, "new-pass"), c.status == 200);
    }
}

TEST(ResetPage, RefusesPasswordsAndPostsOutsideTheRules) {
    SiteEnv env;
    const std::string token = AddLink(env);
    const std::string t = "t=" + token;
    const struct {
        const char* name;
        std::string target, body;
        int status;
        const char* says;
    } cases[] = {
        {"passwords differ", "", t + "&pass=new-pass1&pass2=new-pass2", 400, "違います"},
        {"second one missing", "", t + "&pass=new-pass1", 400, "違います"},
        {"five characters", "", t + "&pass=ab-12&pass2=ab-12", 400, "6～20"},
        {"twenty-one characters", "", t + "&pass=abcdefghij0123456789x&pass2=abcdefghij0123456789x",
         400, "6～20"},
        {"a space", "", t + "&pass=new+pass&pass2=new+pass", 400, "6～20"},
        {"a symbol", "", t + "&pass=new!pass&pass2=new!pass", 400, "6～20"},
        {"full-width letters", "", t + "&pass=%EF%BD%81bcdefg&pass2=%EF%BD%81bcdefg", 400, "6～20"},
        {"empty", "", t + "&pass=&pass2=", 400, "6～20"},
        {"token in the address only", "?" + t, "pass=new-pass&pass2=new-pass", 400,
         "リンクが正しくありません"},
        {"no token", "", "pass=new-pass&pass2=new-pass", 400, "リンクが正しくありません"},
        {"made-up token", "", "t=" + RandomHex(32) + "&pass=new-pass&pass2=new-pass", 410,
         "使用済み"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Response r = Ask(env, MakeReq("POST", "/quillet/reset.html" + c.target, "", c.body));
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.body.find(c.says), std::string::npos);
        EXPECT_EQ(HasPass(env, kTestPass), 1);
    }
    // None of them used the link up; the six- and twenty-character edges pass.
    EXPECT_EQ(PostReset(env, t + "&pass=abcdefghij0123456789&pass2=abcdefghij0123456789").status,
              200);
    EXPECT_EQ(HasPass(env, "abcdefghij0123456789"), 1);
    const std::string second = AddLink(env);
    EXPECT_EQ(PostReset(env, "t=" + second + "&pass=ab_-12&pass2=ab_-12").status, 200);
    EXPECT_EQ(HasPass(env, "ab_-12"), 1);
}

}  // namespace
