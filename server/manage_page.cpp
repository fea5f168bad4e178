// Every action names its target by id and the store refuses ids of another album, so a session
// reaches only its own album's uploads and mails.
#include "server/manage_page.h"

#include "server/log.h"
#include "server/page_frame.h"
#include "server/pages.h"
#include "server/session.h"

static const char kManagePath[] = "/quillet/manage.html";

// A form of one button that posts `fields` (hidden inputs) with the session's token.
static std::string MakeActForm(const Session& s, const std::string& fields, const char* label,
                               const char* buttonClass) {
    return std::string("<form class=\"inline\" method=\"post\" action=\"") + kManagePath +
           "\">\n<input type=\"hidden\" name=\"csrf\" value=\"" + s.csrf + "\">\n" + fields +
           "<button type=\"submit\" class=\"" + buttonClass + "\">" + label +
           "</button>\n</form>\n";
}

static std::string MakeHidden(const char* name, const std::string& value) {
    return std::string("<input type=\"hidden\" name=\"") + name + "\" value=\"" + value + "\">\n";
}

// The state of a mail as a label with its class.
static std::string MakeStateLabel(const MailRec& m) {
    switch (m.state) {
        case kMailWaiting: return "<span class=\"state waiting\">送信待ち</span>";
        case kMailSending: return "<span class=\"state sending\">送信中</span>";
        case kMailSent: return "<span class=\"state sent\">送信済み</span>";
        case kMailFailed:
            return "<span class=\"state failed\">送信失敗</span><span class=\"note\">" +
                   HtmlEscape(m.lastError) + "</span>";
        default: return "<span class=\"state cancelled\">取り消し</span>";
    }
}

static std::string MakeMailItem(const Session& s, const MailRec& m) {
    std::string item = "<li>" + HtmlEscape(m.recipient) + MakeStateLabel(m);
    if (m.state == kMailWaiting)
        item +=
            MakeActForm(s, MakeHidden("act", "cancel") + MakeHidden("mail", std::to_string(m.id)),
                        "取り消す", "quiet");
    return item + "</li>\n";
}

static std::string MakeUploadCard(const Session& s, const UploadRec& up) {
    std::string message;
    for (char c : HtmlEscape(up.message))
        message += c == '\n' ? std::string("<br>") : std::string(1, c);
    std::string mails;
    for (const MailRec& m : up.mails) mails += MakeMailItem(s, m);
    const std::string when =
        up.sendAt ? FormatTime(up.sendAt, "%Y/%m/%d %H:00") + " に送信" : "すぐに送信";
    return "<div class=\"card\">\n<div class=\"pic\">\n<img src=\"/users/" + HtmlEscape(up.album) +
           "/" + std::to_string(up.id) +
           ".jpg\" width=\"120\" height=\"130\" alt=\"\">\n<dl>\n<dt>受付</dt><dd>" +
           FormatTime(up.uploaded, "%Y/%m/%d %H:%M") + "</dd>\n<dt>送信</dt><dd>" + when +
           "</dd>\n<dt>件名</dt><dd>" + HtmlEscape(up.subject) +
           "</dd>\n</dl>\n</div>\n<dl>\n<dt>本文</dt><dd>" + message +
           "</dd>\n</dl>\n<ul class=\"mails\">\n" + mails + "</ul>\n" +
           MakeActForm(s, MakeHidden("act", "delete") + MakeHidden("upload", std::to_string(up.id)),
                       "写真を削除", "quiet danger") +
           "</div>\n";
}

static Response ShowManage(const ServerCtx& ctx, const Session& s) {
    std::vector<UploadRec> ups;
    if (!ctx.store->ops->listUploads(ctx.store, s.album, &ups))
        return ShowMessage(500, "アルバムの管理", "サーバーの不具合で一覧を読めませんでした。");
    SortNewestFirst(&ups);
    const std::string album = HtmlEscape(s.album);
    std::string cards;
    for (const UploadRec& up : ups) cards += MakeUploadCard(s, up);
    if (ups.empty()) cards = "<p>まだ写真はありません。</p>\n";
    return AnswerHtml(200, "アルバム " + s.album + " の管理",
                      "<p>公開ページ: <a href=\"/users/" + album + "/\">/users/" + album +
                          "/</a></p>\n" +
                          "<p class=\"note\">送信待ちのメールは取り消せます。写真を削除すると、"
                          "その写真の送信待ちのメールも送られません。</p>\n" +
                          cards + MakeActForm(s, MakeHidden("act", "logout"), "ログアウト", ""));
}

// Reads the form field `key` as an id: digits only.
static int ReadFormId(const std::string& body, const char* key, long long* id) {
    std::string v;
    if (!QueryValue(body, key, &v) || v.empty() || v.size() > 18) return 0;
    for (char c : v)
        if (c < '0' || c > '9') return 0;
    *id = std::stoll(v);
    return 1;
}

static Response LogOut(const ServerCtx& ctx, const Session& s) {
    ctx.store->ops->dropSession(ctx.store, s.tokenHash);
    Response r = RedirectTo("/quillet/login.html");
    r.headers.push_back({"Set-Cookie", MakeCookie(kSessionCookie, "", 0)});
    return r;
}

static Response PostManage(const ServerCtx& ctx, const Request& req, const Session& s) {
    if (!HasFormToken(req.body, s.csrf))
        return ShowMessage(403, "操作できません",
                           "このページからの操作ではないため、受け付けませんでした。", kManagePath,
                           "管理ページへ");
    std::string act;
    long long id;
    QueryValue(req.body, "act", &act);
    if (act == "logout") return LogOut(ctx, s);
    int done;
    if (act == "cancel" && ReadFormId(req.body, "mail", &id))
        done = ctx.store->ops->cancelMail(ctx.store, s.album, id);
    else if (act == "delete" && ReadFormId(req.body, "upload", &id))
        done = ctx.store->ops->deleteUpload(ctx.store, s.album, id);
    else
        return ShowMessage(400, "操作できません", "操作の内容が正しくありません。");
    if (!done)
        return ShowMessage(409, "操作できませんでした",
                           "送信が始まったか、すでに削除されています。", kManagePath,
                           "管理ページへ");
    LogLine("album %s: %s %s %lld", s.album.c_str(), act.c_str(),
            act == "cancel" ? "mail" : "upload", id);
    return RedirectTo(kManagePath);
}

Response AnswerManage(const ServerCtx& ctx, const Request& req) {
    Session s;
    if (ReadSession(ctx, req, &s))
        return req.method == "POST" ? PostManage(ctx, req, s) : ShowManage(ctx, s);
    if (req.method != "POST") return RedirectTo("/quillet/login.html");
    return ShowMessage(403, "ログインしてください", "ログインの有効期限が切れました。",
                       "/quillet/login.html", "ログイン");
}
