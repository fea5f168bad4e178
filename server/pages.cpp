// Small pages with one shared frame. Every text that came from an upload is escaped.
#include "server/pages.h"

std::string HtmlEscape(const std::string& text) {
    std::string s;
    for (char c : text) {
        switch (c) {
            case '&': s += "&amp;"; break;
            case '<': s += "&lt;"; break;
            case '>': s += "&gt;"; break;
            case '"': s += "&quot;"; break;
            case '\'': s += "&#39;"; break;
            default: s += c;
        }
    }
    return s;
}

// The frame: title, the note that nothing is mailed, the content and a link home.
static std::string Frame(const std::string& title, const std::string& content) {
    return "<!DOCTYPE html>\n<html lang=\"ja\">\n<head><meta charset=\"UTF-8\"><title>" +
           HtmlEscape(title) + "</title></head>\n<body>\n<h1>" + HtmlEscape(title) + "</h1>\n" +
           "<p><strong>このローカルサーバーは写真をメールで送らず、保存します。</strong></p>\n" +
           content + "<hr><p><a href=\"/quillet/\">ホーム</a></p>\n</body>\n</html>\n";
}

std::string HomePage(const std::string& host) {
    const std::string where = HtmlEscape(host.empty() ? "localhost:8080" : host);
    return Frame("Quillet ローカルサーバー",
                 "<p>Quillet で作った写真を、このパソコンの中で受け取るためのサーバーです。"
                 "送られた写真と宛先・件名・本文はフォルダに保存され、アルバムのページで"
                 "見ることができます。</p>\n"
                 "<h2>使い方</h2>\n<ol>\n"
                 "<li>Quillet の設定で、サーバーを <code>" +
                     where +
                     "</code> にします（初期設定の localhost:8080 のままで使えます）。</li>\n"
                     "<li>ユーザーID・パスワード・アルバムIDには何を入れてもかまいません。"
                     "パスワードは保存しません。</li>\n"
                     "<li>送信すると、写真は <code>/users/アルバムID/</code> "
                     "のページに載ります。</li>\n</ol>\n"
                     "<p><a href=\"/quillet/login.html\">アルバムの一覧</a></p>\n");
}

// One upload: its picture and its details.
static std::string UploadItem(const std::string& album, const StoredUpload& up) {
    const std::string when = up.sendAt ? up.schedule + " に送信予定" : "すぐに送信";
    std::string message = HtmlEscape(up.message);
    std::string withBreaks;
    for (char c : message) withBreaks += c == '\n' ? std::string("<br>\n") : std::string(1, c);
    return "<div class=\"upload\">\n<p><img src=\"/users/" + album + "/" + up.id +
           ".jpg\" width=\"120\" height=\"130\" alt=\"\"></p>\n<dl>\n<dt>受付</dt><dd>" +
           HtmlEscape(up.uploaded) + "</dd>\n<dt>送信</dt><dd>" + HtmlEscape(when) +
           "</dd>\n<dt>宛先</dt><dd>" + HtmlEscape(up.recipients) + "</dd>\n<dt>件名</dt><dd>" +
           HtmlEscape(up.subject) + "</dd>\n<dt>本文</dt><dd>" + withBreaks +
           "</dd>\n</dl>\n</div>\n";
}

std::string AlbumPage(const std::string& album, const std::vector<StoredUpload>& ups) {
    std::string items;
    for (const StoredUpload& up : ups) items += UploadItem(album, up);
    if (ups.empty()) items = "<p>まだ写真はありません。</p>\n";
    return Frame("アルバム " + album, items);
}

std::string LoginPage(const std::vector<std::string>& albums) {
    std::string list;
    for (const std::string& a : albums)
        list += "<li><a href=\"/users/" + a + "/\">" + HtmlEscape(a) + "</a></li>\n";
    if (list.empty()) list = "<li>まだアルバムはありません。</li>\n";
    return Frame("アルバムの管理",
                 "<p>ローカルサーバーにはログインがありません。"
                 "写真を送ったアルバムは、どれでも下から開けます。</p>\n<ul>\n" +
                     list + "</ul>\n");
}

std::string NotFoundPage() {
    return Frame("ページが見つかりません", "<p>お探しのページはこのサーバーにはありません。</p>\n");
}
