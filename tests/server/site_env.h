// The site asked without a socket: a store in a temporary folder with two accounts (album1 and
// album2), a clock the test sets, and helpers that post forms and follow a login.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "live_server.h"
#include "server/routes.h"
#include "server/session.h"
#include "server/tokens.h"
#include "upload_body.h"

inline const char kOtherAlbum[] = "album2";
inline const char kOtherPass[] = "pw-other2";
inline const char kPicture[] = "\xFF\xD8\xFF\xE0pic\xFF\xD9";

// The site's clock in these tests.
inline time_t g_siteNow = 0;
inline time_t SiteNow() {
    return g_siteNow;
}

struct SiteEnv {
    TempDir dir;
    ServerCtx ctx;
    SiteEnv() {
        g_siteNow = TestNow();
        ctx.dir = dir.path;
        ctx.sender = "quillet@server.test";
        ctx.publicUrl = "http://server.test";
        ctx.now = SiteNow;
        EXPECT_EQ(OpenStore("", dir.path, &ctx.store), 1);
        EXPECT_EQ(AddTestAccount(ctx, kTestAlbum, kTestPass, kTestUser), 1);
        EXPECT_EQ(AddTestAccount(ctx, kOtherAlbum, kOtherPass, "you@example.jp"), 1);
    }
    ~SiteEnv() {
        if (ctx.store) ctx.store->ops->close(ctx.store);
    }
};

// A request for `target` ("/path?query") from `peer`.
inline Request MakeReq(const std::string& method, const std::string& target,
                       const std::string& cookie = "", const std::string& body = "",
                       const std::string& peer = "192.0.2.1") {
    Request r;
    r.method = method;
    const size_t q = target.find('?');
    r.path = target.substr(0, q);
    if (q != std::string::npos) r.query = target.substr(q + 1);
    r.host = "server.test";
    r.cookie = cookie;
    r.peer = peer;
    r.body = body;
    if (method == "POST") r.type = "application/x-www-form-urlencoded";
    return r;
}

inline Response Ask(const SiteEnv& env, const Request& req) {
    return AnswerRequest(env.ctx, req);
}

// The value of header `name` in `r` ("" when absent); for Set-Cookie, the one that sets `cookie`.
inline std::string HeaderOf(const Response& r, const std::string& name,
                            const std::string& cookie = "") {
    for (const auto& h : r.headers)
        if (h.first == name && h.second.rfind(cookie, 0) == 0) return h.second;
    return "";
}

// "name=value" of a Set-Cookie value.
inline std::string CookiePair(const std::string& setCookie) {
    return setCookie.substr(0, setCookie.find(';'));
}

// The value of the first input named `name` in a page.
inline std::string InputValue(const std::string& html, const std::string& name) {
    const std::string mark = "name=\"" + name + "\" value=\"";
    const size_t at = html.find(mark);
    if (at == std::string::npos) return "";
    const size_t start = at + mark.size();
    return html.substr(start, html.find('"', start) - start);
}

// A browser logged into an album: its cookie and its forms' token.
struct Browser {
    std::string cookie;
    std::string csrf;
};

// Fetches the login form and posts `album` and `pass` with its token. Returns the answer.
inline Response PostLogin(const SiteEnv& env, const std::string& album, const std::string& pass,
                          const std::string& peer = "192.0.2.1") {
    const Response form = Ask(env, MakeReq("GET", "/quillet/login.html", "", "", peer));
    const std::string cookie = CookiePair(HeaderOf(form, "Set-Cookie", kLoginCookie));
    return Ask(
        env, MakeReq("POST", "/quillet/login.html", cookie,
                     "csrf=" + InputValue(form.body, "csrf") + "&album=" + album + "&pass=" + pass,
                     peer));
}

// Logs into `album` and reads the token of the management page's forms.
inline Browser LogIn(const SiteEnv& env, const std::string& album, const std::string& pass) {
    Browser b;
    const Response r = PostLogin(env, album, pass);
    EXPECT_EQ(r.status, 303);
    b.cookie = CookiePair(HeaderOf(r, "Set-Cookie", kSessionCookie));
    b.csrf = InputValue(Ask(env, MakeReq("GET", "/quillet/manage.html", b.cookie)).body, "csrf");
    EXPECT_FALSE(b.csrf.empty());
    return b;
}

// Stores an upload of `album` with one mail per recipient, as the upload route would.
inline UploadRec StoreUpload(const SiteEnv& env, const std::string& album, time_t uploaded,
                             time_t sendAt, const std::vector<std::string>& to,
                             const std::string& subject = "件名",
                             const std::string& message = "本文") {
    UploadRec up;
    up.album = album;
    up.user = kTestUser;
    up.uploaded = uploaded;
    up.sendAt = sendAt;
    up.subject = subject;
    up.message = message;
    for (const std::string& r : to) {
        MailRec m;
        m.recipient = r;
        m.messageId = "<" + RandomHex(8) + "@server.test>";
        m.due = sendAt ? sendAt : uploaded;
        up.mails.push_back(m);
    }
    StoreRefusal why = kRefusedNone;
    EXPECT_EQ(env.ctx.store->ops->addUpload(env.ctx.store, &up, kPicture, env.ctx.limits, &why), 1);
    return up;
}

// The stored upload `id`, with its mails' states as they are now.
inline UploadRec StoredUpload(const SiteEnv& env, long long id) {
    UploadRec up;
    env.ctx.store->ops->getUpload(env.ctx.store, id, &up);
    return up;
}

// The uploads stored for `album`.
inline std::vector<UploadRec> AlbumUploads(const SiteEnv& env, const std::string& album) {
    std::vector<UploadRec> ups;
    env.ctx.store->ops->listUploads(env.ctx.store, album, &ups);
    return ups;
}
