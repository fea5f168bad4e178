// The look is warm and light: an orange bar, cream background, dark grey text, large type and
// buttons a thumb can hit. Everything is inline because the pages load nothing else.
#include "server/page_frame.h"

static const char kStyle[] =
    "*{box-sizing:border-box}"
    "body{margin:0;background:#fff8ee;color:#333;"
    "font:18px/1.6 'Hiragino Sans','Noto Sans CJK JP','IPAPGothic',sans-serif}"
    "header{background:#f08c28;padding:.5em 1em}"
    "header a{color:#fff;font-weight:bold;font-size:1.2em;text-decoration:none}"
    "main{max-width:36em;margin:0 auto;padding:.5em 1em 2em}"
    "h1{font-size:1.4em;color:#b85c0a;margin:.6em 0}"
    "h2{font-size:1.15em;color:#b85c0a}"
    "a{color:#b85c0a}"
    ".card{background:#fff;border:1px solid #f3d2ae;border-radius:12px;padding:.8em 1em;"
    "margin:1em 0}"
    ".pic{display:flex;gap:1em;align-items:flex-start}"
    ".pic img{flex:none;border-radius:6px}.pic>dl{min-width:0;margin:0}"
    ".album{display:flex;flex-wrap:wrap;gap:.8em;margin:1em 0}"
    "figure{margin:0;background:#fff;border:1px solid #f3d2ae;border-radius:12px;padding:.6em}"
    "figure img{display:block;border-radius:6px;margin:0 auto}"
    "figcaption{color:#666;font-size:.8em;text-align:center;margin-top:.3em}"
    "dl{margin:.5em 0}dt{color:#777;font-size:.85em}dd{margin:0 0 .4em;overflow-wrap:anywhere}"
    "label{display:block;margin:.8em 0 .2em}"
    "input[type=text],input[type=password]{width:100%;font-size:1em;padding:.5em;"
    "border:1px solid #ccc;border-radius:8px;background:#fff}"
    "button{background:#f08c28;color:#fff;border:0;border-radius:8px;padding:.5em 1.1em;"
    "font-size:1em;margin:.6em 0}"
    "button.quiet{background:#fff;color:#b85c0a;border:1px solid #f08c28;padding:.2em .8em;"
    "font-size:.9em;margin:0}"
    "button.danger{color:#b83232;border-color:#d98080}"
    "form.inline{display:inline}"
    "ul.mails{list-style:none;padding:0;margin:.5em 0}"
    "ul.mails li{border-top:1px solid #f3e4d2;padding:.4em 0;overflow-wrap:anywhere}"
    ".state{display:inline-block;border-radius:6px;padding:0 .5em;margin:0 .4em;"
    "font-size:.85em;background:#eee}"
    ".waiting{background:#fff0c8}.sending{background:#dcecff}.sent{background:#dcf5dc}"
    ".failed{background:#fde0e0}.cancelled{background:#eee;color:#777}"
    ".error{background:#fde8e8;border:1px solid #e9a0a0;border-radius:8px;padding:.5em .8em}"
    ".note{color:#666;font-size:.9em}"
    "footer{text-align:center;color:#999;font-size:.8em;padding:1em}";

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

std::string FormatTime(time_t t, const char* fmt) {
    struct tm tm;
    localtime_r(&t, &tm);
    char buf[64];
    strftime(buf, sizeof buf, fmt, &tm);
    return buf;
}

std::string FramePage(const std::string& title, const std::string& content) {
    const std::string t = HtmlEscape(title);
    return "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"UTF-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
           t + " - Quillet</title>\n<style>" + kStyle +
           "</style>\n</head>\n<body>\n<header><a href=\"/quillet/\">Quillet</a></header>\n"
           "<main>\n<h1>" +
           t + "</h1>\n" + content +
           "</main>\n<footer>Quillet 写真メールサーバー</footer>\n</body>\n</html>\n";
}

Response AnswerHtml(int status, const std::string& title, const std::string& content) {
    Response r;
    r.status = status;
    r.type = "text/html; charset=UTF-8";
    r.headers = {{"Content-Security-Policy",
                  "default-src 'self'; img-src 'self'; style-src 'unsafe-inline'; "
                  "form-action 'self'; frame-ancestors 'none'"},
                 {"Referrer-Policy", "no-referrer"}};
    r.body = FramePage(title, content);
    return r;
}

Response RedirectTo(const std::string& path) {
    Response r;
    r.status = 303;
    r.location = path;
    return r;
}
