// The answer to each path: the program's routes, the site's pages and pictures, refused album
// and picture names, unknown paths and methods; the headers of HTML answers; escaping.
#include "server/routes.h"

#include <gtest/gtest.h>

#include "server/page_frame.h"
#include "site_env.h"

namespace {

TEST(AnswerRequest, EachPath) {
    SiteEnv env;
    const UploadRec mine = StoreUpload(env, kTestAlbum, TestNow(), 0, {"a@example.jp"});
    const std::string pic = "/users/album1/" + std::to_string(mine.id) + ".jpg";
    const std::string html = "text/html; charset=UTF-8";
    const std::string text = "text/plain; charset=UTF-8";
    const struct {
        const char* method;
        std::string target;
        int status;
        std::string type;
        std::string holds;
    } cases[] = {
        {"GET", "/", 302, html, "/quillet/"},
        {"GET", "/quillet/", 200, html, "最大5台の携帯電話へメールで送る"},
        {"GET", "/quillet/", 200, html, "<code>server.test</code>"},
        {"GET", "/quillet/index.html", 200, html, "href=\"/quillet/login.html\""},
        {"HEAD", "/quillet/", 200, html, "Quillet"},
        {"GET", "/quillet/login.html", 200, html, "name=\"csrf\""},
        {"GET", "/quillet/manage.html", 303, text, ""},
        {"GET", "/quillet/reset.html", 400, html, "リンクが正しくありません"},
        {"GET", "/quillet/reset.html?t=abc", 400, html, "リンクが正しくありません"},
        {"GET", "/users/album1/", 200, html, "<img src=\"" + pic + "\""},
        {"GET", "/users/album1/?x=1", 200, html, "2025/06/10 10:20"},
        {"GET", "/users/album2/", 200, html, "まだ写真はありません"},
        {"GET", pic, 200, "image/jpeg", kPicture},
        {"GET", "/users/album2/" + std::to_string(mine.id) + ".jpg", 404, html, ""},
        {"GET", "/users/album1/99999.jpg", 404, html, "ページが見つかりません"},
        {"GET", "/users/album1/x.jpg", 404, html, ""},
        {"GET", "/users/album1/" + std::to_string(mine.id) + ".png", 404, html, ""},
        {"GET", "/users/album1/-1.jpg", 404, html, ""},
        {"GET", "/users/../", 404, html, ""},
        {"GET", "/users/%2e%2e/", 404, html, ""},
        {"GET", "/users/album1/../../secret.jpg", 404, html, ""},
        {"GET", "/users/.album1/", 404, html, ""},
        {"GET", "/users/nobody/", 404, html, ""},
        {"GET", "/users/album1", 404, html, ""},
        {"GET", "/cgi-bin/saveimg.cgi", 404, html, ""},
        {"GET", "/etc/passwd", 404, html, ""},
        {"DELETE", "/quillet/", 405, html, "この操作はできません"},
        {"POST", "/quillet/", 405, html, ""},
        {"POST", "/users/album1/", 405, html, ""},
        {"PUT", "/quillet/login.html", 405, html, ""},
        {"POST", "/nothing", 404, html, ""},
        {"POST", "/quillet/resend.php?id=album1&pass=x", 200, text, "OK"},
        {"POST", "/cgi-bin/saveimg.cgi", 200, text, "NG01"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.method) + " " + c.target);
        const Response r = Ask(env, MakeReq(c.method, c.target));
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.type, c.type);
        EXPECT_NE(r.body.find(c.holds), std::string::npos);
        // Every page of the site is framed and carries the headers that keep it from loading
        // foreign things, being framed, or passing its address on.
        if (c.type == html && c.status != 302) {
            EXPECT_NE(r.body.find("<meta name=\"viewport\""), std::string::npos);
            EXPECT_NE(HeaderOf(r, "Content-Security-Policy").find("frame-ancestors 'none'"),
                      std::string::npos);
            EXPECT_EQ(HeaderOf(r, "Referrer-Policy"), "no-referrer");
        }
    }
}

TEST(AnswerRequest, RedirectsAndAllowedMethods) {
    SiteEnv env;
    const struct {
        const char* method;
        const char* target;
        const char* header;
        const char* value;
    } cases[] = {
        {"GET", "/quillet/manage.html", "", "/quillet/login.html"},
        {"DELETE", "/quillet/", "Allow", "GET, HEAD"},
        {"POST", "/users/album1/", "Allow", "GET, HEAD"},
        {"PUT", "/quillet/reset.html", "Allow", "GET, HEAD, POST"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.method) + " " + c.target);
        const Response r = Ask(env, MakeReq(c.method, c.target));
        EXPECT_EQ(*c.header ? HeaderOf(r, c.header) : r.location, c.value);
    }
    EXPECT_EQ(Ask(env, MakeReq("GET", "/")).location, "/quillet/");
}

TEST(HtmlEscape, EveryMarkupCharacter) {
    EXPECT_EQ(HtmlEscape("a<b>&\"c'日本"), "a&lt;b&gt;&amp;&quot;c&#39;日本");
    EXPECT_EQ(HtmlEscape(""), "");
}

TEST(QueryValue, DecodesValues) {
    const struct {
        const char* query;
        const char* key;
        int found;
        const char* value;
    } cases[] = {
        {"id=album1&pass=x", "id", 1, "album1"},
        {"id=album1&pass=x", "pass", 1, "x"},
        {"id=a%40b+c", "id", 1, "a@b c"},
        {"id=%2", "id", 1, "%2"},
        {"pass=x", "id", 0, ""},
        {"", "id", 0, ""},
        {"id", "id", 1, ""},
        {"xid=1&id=2", "id", 1, "2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.query) + " " + c.key);
        std::string v;
        EXPECT_EQ(QueryValue(c.query, c.key, &v), c.found);
        EXPECT_EQ(v, c.value);
    }
}

}  // namespace
