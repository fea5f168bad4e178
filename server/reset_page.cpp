// The token is the authority: only the owner's mailbox has it, and a post counts only with it
// in the body, which another site's page cannot know. The passwords are checked before the
// token is taken, so a typo does not use the link up; the token is taken before the password is
// hashed, so that posts with made-up tokens cost no hashing.
#include "server/reset_page.h"

#include "server/accounts.h"
#include "server/log.h"
#include "server/page_frame.h"
#include "server/pages.h"
#include "server/session.h"
#include "server/tokens.h"

static const char kTitle[] = "パスワードの再設定";

static Response ShowResetForm(int status, const std::string& token, const std::string& error) {
    return AnswerHtml(
        status, kTitle,
        error +
            "<form class=\"card\" method=\"post\" action=\"/quillet/reset.html\">\n"
            "<input type=\"hidden\" name=\"t\" value=\"" +
            HtmlEscape(token) +
            "\">\n<label for=\"pass\">新しいパスワード</label>\n"
            "<input type=\"password\" id=\"pass\" name=\"pass\" autocomplete=\"new-password\" "
            "required>\n<label for=\"pass2\">もう一度</label>\n"
            "<input type=\"password\" id=\"pass2\" name=\"pass2\" autocomplete=\"new-password\" "
            "required>\n<button type=\"submit\">パスワードを変更</button>\n</form>\n"
            "<p class=\"note\">パスワードは 6～20 文字の半角英数字と「_」「-」です"
            "（プログラムで入力できる文字）。変更したら、プログラムの設定のパスワードも"
            "新しいものにしてください。</p>\n");
}

static Response AnswerBadLink() {
    return ShowMessage(400, kTitle,
                       "リンクが正しくありません。メールのリンクを、"
                       "途中で切れないようにそのまま開いてください。");
}

static Response PostReset(const ServerCtx& ctx, const Request& req) {
    std::string token, pass, again, album, hash;
    if (!QueryValue(req.body, "t", &token) || !IsTokenText(token)) return AnswerBadLink();
    QueryValue(req.body, "pass", &pass);
    QueryValue(req.body, "pass2", &again);
    if (pass != again)
        return ShowResetForm(400, token, "<p class=\"error\">2つのパスワードが違います。</p>\n");
    if (!IsPasswordText(pass))
        return ShowResetForm(400, token,
                             "<p class=\"error\">パスワードは 6～20 文字の半角英数字と"
                             "「_」「-」で決めてください。</p>\n");
    if (!ctx.store->ops->takeResetToken(ctx.store, HashToken(token), ctx.now(), &album))
        return ShowMessage(410, kTitle,
                           "このリンクは使用済みか、有効期限（1時間）が切れています。"
                           "プログラムの P ボタンで、新しいリンクを受け取ってください。");
    if (!HashPass(pass, &hash) || !ctx.store->ops->setPassHash(ctx.store, album, hash))
        return ShowMessage(500, kTitle,
                           "サーバーの不具合でパスワードを変更できませんでした。"
                           "お手数ですが、新しいリンクを受け取ってやり直してください。");
    LogLine("album %s: password set through a reset link", album.c_str());
    return ShowMessage(200, kTitle,
                       "パスワードを変更しました。プログラムの設定のパスワードも、"
                       "新しいものにしてください。",
                       "/quillet/login.html", "アルバムの管理にログイン");
}

Response AnswerReset(const ServerCtx& ctx, const Request& req) {
    if (req.method == "POST") return PostReset(ctx, req);
    std::string token;
    if (!QueryValue(req.query, "t", &token) || !IsTokenText(token)) return AnswerBadLink();
    return ShowResetForm(200, token, "");
}
