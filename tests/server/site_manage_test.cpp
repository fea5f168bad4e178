// Album management: the list with every mail's state, cancelling, deleting and logging out, and
// the refusals: no token, a wrong token, another album's upload.
#include <gtest/gtest.h>

#include "site_env.h"

namespace {

// The list item of `recipient` on a page, "" when there is none.
std::string ItemOf(const std::string& html, const std::string& recipient) {
    const size_t at = html.find("<li>" + recipient);
    return at == std::string::npos ? "" : html.substr(at, html.find("</li>", at) - at);
}

Response PostManage(const SiteEnv& env, const Browser& b, const std::string& form) {
    return Ask(env, MakeReq("POST", "/quillet/manage.html", b.cookie, form));
}

// An album with an upload mailed at once (sent, failed, still sending) and a scheduled one
// (waiting, cancelled).
struct Album {
    UploadRec now, later;
};

Album MakeAlbum(const SiteEnv& env) {
    Store* st = env.ctx.store;
    Album a;
    a.now = StoreUpload(env, kTestAlbum, TestNow(), 0,
                        {"sent@example.jp", "failed@example.jp", "sending@example.jp"},
                        "<i>今日</i>", "1行目 & <b>\n2行目");
    std::vector<MailRec> claimed;
    EXPECT_EQ(st->ops->claimDueMails(st, TestNow(), 10, &claimed), 1);
    EXPECT_EQ(claimed.size(), 3u);
    EXPECT_EQ(st->ops->finishMail(st, a.now.mails[0].id, kMailSent, 0, ""), 1);
    EXPECT_EQ(st->ops->finishMail(st, a.now.mails[1].id, kMailFailed, 0, "550 <no> user"), 1);
    a.later = StoreUpload(env, kTestAlbum, TestNow() + 5, LocalTime(2025, 6, 11, 9),
                          {"waiting@example.jp", "cancelled@example.jp"});
    EXPECT_EQ(st->ops->cancelMail(st, kTestAlbum, a.later.mails[1].id), 1);
    return a;
}

TEST(Manage, ListsUploadsWithEveryMailState) {
    SiteEnv env;
    const Album a = MakeAlbum(env);
    const Browser b = LogIn(env, kTestAlbum, kTestPass);
    const std::string page = Ask(env, MakeReq("GET", "/quillet/manage.html", b.cookie)).body;
    const std::string cancelMark = "name=\"act\" value=\"cancel\"";
    const struct {
        const char* recipient;
        const char* state;
        int cancellable;
    } cases[] = {
        {"sent@example.jp", "送信済み", 0},      {"failed@example.jp", "送信失敗", 0},
        {"sending@example.jp", "送信中", 0},     {"waiting@example.jp", "送信待ち", 1},
        {"cancelled@example.jp", "取り消し", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.recipient);
        const std::string item = ItemOf(page, c.recipient);
        EXPECT_NE(item.find(c.state), std::string::npos) << item;
        EXPECT_EQ(item.find(cancelMark) != std::string::npos, c.cancellable) << item;
    }
    EXPECT_NE(ItemOf(page, "waiting@example.jp")
                  .find("name=\"mail\" value=\"" + std::to_string(a.later.mails[0].id) + "\""),
              std::string::npos);
    EXPECT_NE(ItemOf(page, "failed@example.jp").find("550 &lt;no&gt; user"), std::string::npos);
    // The texts as typed, escaped; the schedule; a picture and a delete button per upload.
    for (const char* part : {"&lt;i&gt;今日&lt;/i&gt;", "1行目 &amp; &lt;b&gt;<br>2行目",
                             "2025/06/11 09:00 に送信", "すぐに送信"}) {
        SCOPED_TRACE(part);
        EXPECT_NE(page.find(part), std::string::npos);
    }
    EXPECT_EQ(page.find("<i>"), std::string::npos);
    for (const UploadRec& up : {a.now, a.later}) {
        const std::string id = std::to_string(up.id);
        EXPECT_NE(page.find("<img src=\"/users/album1/" + id + ".jpg\""), std::string::npos);
        EXPECT_NE(page.find("name=\"upload\" value=\"" + id + "\""), std::string::npos);
    }
}

TEST(Manage, CancelsWaitingMail) {
    SiteEnv env;
    const Album a = MakeAlbum(env);
    const Browser b = LogIn(env, kTestAlbum, kTestPass);
    const std::string waiting = std::to_string(a.later.mails[0].id);
    const Response r = PostManage(env, b, "csrf=" + b.csrf + "&act=cancel&mail=" + waiting);
    EXPECT_EQ(r.status, 303);
    EXPECT_EQ(r.location, "/quillet/manage.html");
    EXPECT_EQ(StoredUpload(env, a.later.id).mails[0].state, kMailCancelled);
    // A mail that is not waiting cannot be cancelled.
    for (const MailRec& m : a.now.mails) {
        SCOPED_TRACE(m.recipient);
        EXPECT_EQ(PostManage(env, b, "csrf=" + b.csrf + "&act=cancel&mail=" + std::to_string(m.id))
                      .status,
                  409);
    }
    EXPECT_EQ(StoredUpload(env, a.now.id).mails[0].state, kMailSent);
}

TEST(Manage, DeletesPicture) {
    SiteEnv env;
    const Album a = MakeAlbum(env);
    const Browser b = LogIn(env, kTestAlbum, kTestPass);
    const std::string id = std::to_string(a.later.id);
    const Response r = PostManage(env, b, "csrf=" + b.csrf + "&act=delete&upload=" + id);
    EXPECT_EQ(r.status, 303);
    EXPECT_EQ(r.location, "/quillet/manage.html");
    UploadRec gone;
    EXPECT_EQ(env.ctx.store->ops->getUpload(env.ctx.store, a.later.id, &gone), 0);
    EXPECT_EQ(Ask(env, MakeReq("GET", "/users/album1/" + id + ".jpg")).status, 404);
    EXPECT_EQ(AlbumUploads(env, kTestAlbum).size(), 1u);
}

TEST(Manage, LogOutEndsSession) {
    SiteEnv env;
    const Browser b = LogIn(env, kTestAlbum, kTestPass);
    const Response r = PostManage(env, b, "csrf=" + b.csrf + "&act=logout");
    EXPECT_EQ(r.status, 303);
    EXPECT_EQ(r.location, "/quillet/login.html");
    EXPECT_NE(HeaderOf(r, "Set-Cookie", kSessionCookie).find("Max-Age=0"), std::string::npos);
    // The old cookie opens nothing any more.
    EXPECT_EQ(Ask(env, MakeReq("GET", "/quillet/manage.html", b.cookie)).status, 303);
}

TEST(Manage, RefusesPostsWithoutTheSessionsToken) {
    SiteEnv env;
    const Album a = MakeAlbum(env);
    const Browser b = LogIn(env, kTestAlbum, kTestPass);
    const Browser other = LogIn(env, kTestAlbum, kTestPass);
    ASSERT_NE(b.csrf, other.csrf);
    const std::string mail = "&mail=" + std::to_string(a.later.mails[0].id);
    const std::string upload = "&upload=" + std::to_string(a.now.id);
    const struct {
        const char* name;
        std::string cookie, body;
        int status;
    } cases[] = {
        {"cancel without token", b.cookie, "act=cancel" + mail, 403},
        {"cancel with empty token", b.cookie, "csrf=&act=cancel" + mail, 403},
        {"cancel with wrong token", b.cookie, "csrf=" + RandomHex(32) + "&act=cancel" + mail, 403},
        {"cancel with another session's token", b.cookie,
         "csrf=" + other.csrf + "&act=cancel" + mail, 403},
        {"delete without token", b.cookie, "act=delete" + upload, 403},
        {"delete with wrong token", b.cookie, "csrf=" + RandomHex(32) + "&act=delete" + upload,
         403},
        {"logout without token", b.cookie, "act=logout", 403},
        {"token but no session", "", "csrf=" + b.csrf + "&act=delete" + upload, 403},
        {"unknown action", b.cookie, "csrf=" + b.csrf + "&act=drop" + upload, 400},
        {"id not a number", b.cookie, "csrf=" + b.csrf + "&act=delete&upload=1x", 400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Ask(env, MakeReq("POST", "/quillet/manage.html", c.cookie, c.body)).status,
                  c.status);
    }
    // Nothing changed, and the session still works.
    EXPECT_EQ(StoredUpload(env, a.later.id).mails[0].state, kMailWaiting);
    EXPECT_EQ(AlbumUploads(env, kTestAlbum).size(), 2u);
    EXPECT_EQ(Ask(env, MakeReq("GET", "/quillet/manage.html", b.cookie)).status, 200);
}

TEST(Manage, AnotherAlbumsUploadIsOutOfReach) {
    SiteEnv env;
    const Album a = MakeAlbum(env);
    const Browser b = LogIn(env, kOtherAlbum, kOtherPass);
    const Response page = Ask(env, MakeReq("GET", "/quillet/manage.html", b.cookie));
    EXPECT_EQ(page.body.find("waiting@example.jp"), std::string::npos);
    EXPECT_EQ(
        PostManage(env, b,
                   "csrf=" + b.csrf + "&act=cancel&mail=" + std::to_string(a.later.mails[0].id))
            .status,
        409);
    EXPECT_EQ(
        PostManage(env, b, "csrf=" + b.csrf + "&act=delete&upload=" + std::to_string(a.now.id))
            .status,
        409);
    EXPECT_EQ(StoredUpload(env, a.later.id).mails[0].state, kMailWaiting);
    EXPECT_EQ(AlbumUploads(env, kTestAlbum).size(), 2u);
}

}  // namespace
