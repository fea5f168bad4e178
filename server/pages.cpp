// The public pages say only what the server does: it mails now or at the chosen hour.
#include "server/pages.h"

#include <algorithm>

#include "server/page_frame.h"

Response ShowHome(const std::string& host) {
    const std::string where = HtmlEscape(host.empty() ? "localhost:8080" : host);
    return AnswerHtml(
        200, "Quillet 写真メール",
        "<p>Quillet は、携帯電話向けの小さな写真に件名とメッセージを添えて、"
        "最大5台の携帯電話へメールで送るプログラムです。このサーバーはプログラムから写真を"
        "受け取り、すぐに、または1週間以内の指定した時刻にメールで届けます。</p>\n"
        "<div class=\"card\">\n<h2>使い方</h2>\n<ol>\n"
        "<li>Quillet の設定で、サーバーを <code>" +
            where +
            "</code> にします。</li>\n"
            "<li>アルバムID・ユーザーID（メールアドレス）・パスワードは、このサーバーに"
            "登録したものを入れます。</li>\n"
            "<li>送った写真は、アルバムのページ <code>/users/アルバムID/</code> "
            "に載ります。</li>\n</ol>\n</div>\n"
            "<div class=\"card\">\n<h2>アルバムの管理</h2>\n"
            "<p>ログインすると、送った写真とメールの送信状況を見て、送信待ちのメールを"
            "取り消したり、写真を削除したりできます。</p>\n"
            "<p><a href=\"/quillet/login.html\">アルバムの管理にログイン</a></p>\n"
            "<p class=\"note\">パスワードを忘れたときは、プログラムの P ボタンを押すと、"
            "登録したメールアドレスに再設定のリンクが届きます。</p>\n</div>\n");
}

void SortNewestFirst(std::vector<UploadRec>* ups) {
    std::stable_sort(ups->begin(), ups->end(), [](const UploadRec& a, const UploadRec& b) {
        return a.uploaded > b.uploaded;
    });
}

Response ShowAlbum(const std::string& album, std::vector<UploadRec> ups) {
    SortNewestFirst(&ups);
    if (ups.empty()) return AnswerHtml(200, "アルバム " + album, "<p>まだ写真はありません。</p>\n");
    std::string items;
    for (const UploadRec& up : ups)
        items += "<figure>\n<img src=\"/users/" + HtmlEscape(album) + "/" + std::to_string(up.id) +
                 ".jpg\" width=\"120\" height=\"130\" alt=\"\">\n<figcaption>" +
                 FormatTime(up.uploaded, "%Y/%m/%d %H:%M") + "</figcaption>\n</figure>\n";
    return AnswerHtml(200, "アルバム " + album, "<div class=\"album\">\n" + items + "</div>\n");
}

Response ShowMessage(int status, const std::string& title, const std::string& text,
                     const std::string& linkPath, const std::string& linkLabel) {
    std::string html = "<p>" + HtmlEscape(text) + "</p>\n";
    if (!linkPath.empty())
        html +=
            "<p><a href=\"" + HtmlEscape(linkPath) + "\">" + HtmlEscape(linkLabel) + "</a></p>\n";
    return AnswerHtml(status, title, html);
}

Response AnswerNotFound() {
    return ShowMessage(404, "ページが見つかりません",
                       "お探しのページはこのサーバーにはありません。", "/quillet/", "ホームへ");
}

Response AnswerBadMethod(const std::string& allow) {
    Response r = ShowMessage(405, "この操作はできません", "このページはその方法では開けません。",
                             "/quillet/", "ホームへ");
    r.headers.push_back({"Allow", allow});
    return r;
}
