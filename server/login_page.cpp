// The form carries the value of the login cookie it came with, and a post counts only when both
// agree, so another site cannot log a browser into an album of its choosing. A wrong album ID
// and a wrong password get the same answer; the album list is public anyway, but the answer
// need not say more.
#include "server/login_page.h"

#include "server/accounts.h"
#include "server/log.h"
#include "server/login_throttle.h"
#include "server/page_frame.h"
#include "server/pages.h"
#include "server/session.h"
#include "server/tokens.h"
#include "server/upload_check.h"

// The login form with `error` (HTML) above it, as answer `status`. It reuses the browser's
// login cookie, or sets a new one.
static Response ShowLoginForm(const Request& req, int status, const std::string& error) {
    std::string token;
    const int fresh = !ReadCookie(req.cookie, kLoginCookie, &token) || !IsTokenText(token);
    if (fresh) token = RandomHex(32);
    Response r = AnswerHtml(
        status, "アルバムの管理",
        error +
            "<form class=\"card\" method=\"post\" action=\"/quillet/login.html\">\n"
            "<input type=\"hidden\" name=\"csrf\" value=\"" +
            token +
            "\">\n<label for=\"album\">アルバムID</label>\n"
            "<input type=\"text\" id=\"album\" name=\"album\" autocomplete=\"username\" "
            "autocapitalize=\"off\" required>\n"
            "<label for=\"pass\">パスワード</label>\n"
            "<input type=\"password\" id=\"pass\" name=\"pass\" "
            "autocomplete=\"current-password\" required>\n"
            "<button type=\"submit\">ログイン</button>\n</form>\n"
            "<p class=\"note\">プログラムに設定したアルバムIDとパスワードでログインします。"
            "パスワードを忘れたときは、プログラムの P ボタンで再設定のリンクを"
            "受け取れます。</p>\n");
    if (fresh) r.headers.push_back({"Set-Cookie", MakeCookie(kLoginCookie, token, kSessionSec)});
    return r;
}

static Response PostLogin(const ServerCtx& ctx, const Request& req) {
    std::string token, album, pass;
    if (!ReadCookie(req.cookie, kLoginCookie, &token) || !IsTokenText(token) ||
        !HasFormToken(req.body, token))
        return ShowLoginForm(req, 403,
                             "<p class=\"error\">ページの有効期限が切れました。"
                             "もう一度ログインしてください。</p>\n");
    QueryValue(req.body, "album", &album);
    QueryValue(req.body, "pass", &pass);
    const std::string counted = IsSafeName(album) ? album : "";
    const time_t now = ctx.now();
    int waitSec;
    if (!MayTryLogin(counted, req.peer, now, &waitSec)) {
        Response r = ShowMessage(429, "しばらくお待ちください",
                                 "ログインの失敗が続いたため、しばらくログインできません。" +
                                     std::to_string((waitSec + 59) / 60) +
                                     "分ほどたってから、もう一度お試しください。");
        r.headers.push_back({"Retry-After", std::to_string(waitSec)});
        return r;
    }
    Account acct;
    if (counted.empty() || !ctx.store->ops->getAccount(ctx.store, album, &acct) ||
        !CheckPass(acct.passHash, pass)) {
        CountLoginFail(counted, req.peer, now);
        LogLine("failed login from %s", req.peer.c_str());
        return ShowLoginForm(req, 403,
                             "<p class=\"error\">アルバムIDかパスワードが違います。</p>\n");
    }
    ForgetLoginFails(album);
    std::string setCookie;
    if (!StartSession(ctx, album, &setCookie))
        return ShowMessage(500, "ログインできません",
                           "サーバーの不具合でログインできませんでした。");
    LogLine("album %s logged in from %s", album.c_str(), req.peer.c_str());
    Response r = RedirectTo("/quillet/manage.html");
    r.headers.push_back({"Set-Cookie", setCookie});
    return r;
}

Response AnswerLogin(const ServerCtx& ctx, const Request& req) {
    return req.method == "POST" ? PostLogin(ctx, req) : ShowLoginForm(req, 200, "");
}
