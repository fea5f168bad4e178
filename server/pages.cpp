// Small pages with one shared frame. Every text that came from an upload is escaped.
#include "server/pages.h"

#include <ctime>

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

// A local time as text in `fmt` (strftime).
static std::string FormatTime(time_t t, const char* fmt) {
    struct tm tm;
    localtime_r(&t, &tm);
    char buf[64];
    strftime(buf, sizeof buf, fmt, &tm);
    return buf;
}

// One upload: its picture and its details. The public album shows no recipient.
static std::string UploadItem(const std::string& album, const UploadRec& up) {
    const std::string when =
        up.sendAt ? FormatTime(up.sendAt, "%Y/%m/%d %H:00") + " に送信予定" : "すぐに送信";
    std::string message = HtmlEscape(up.message);
    std::string withBreaks;
    for (char c : message) withBreaks += c == '\n' ? std::string("<br>\n") : std::string(1, c);
    return "<div class=\"upload\">\n<p><img src=\"/users/" + album + "/" + std::to_string(up.id) +
           ".jpg\" width=\"120\" height=\"130\" alt=\"\"></p>\n<dl>\n<dt>受付</dt><dd>" +
           FormatTime(up.uploaded, "%Y/%m/%d %H:%M:%S") + "</dd>\n<dt>送信</dt><dd>" +
           HtmlEscape(when) + "</dd>\n<dt>件名</dt><dd>" + HtmlEscape(up.subject) +
           "</dd>\n<dt>本文</dt><dd>" + withBreaks + "</dd>\n</dl>\n</div>\n";
}

std::string AlbumPage(const std::string& album, const std::vector<UploadRec>& ups) {
    std::string items;
    for (const UploadRec& up : ups) items += UploadItem(album, up);
    if (ups.empty()) items = "<p>まだ写真はありません。</p>\n";
    return Frame("アルバム " + album, items);
}

std::string NotFoundPage() {
    return Frame("ページが見つかりません", "<p>お探しのページはこのサーバーにはありません。</p>\n");
}
