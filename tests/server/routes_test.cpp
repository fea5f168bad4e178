// The answers to each path: pages, the stored picture, the upload and the password reminder,
// escaping of what uploads bring, refused album names and unknown paths.
#include "server/routes.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/testutil.h"
#include "server/pages.h"
#include "server/upload_store.h"
#include "upload_body.h"

namespace {

Request MakeRequest(const std::string& method, const std::string& target) {
    Request r;
    int status;
    EXPECT_EQ(
        ParseHead(method + " " + target + " HTTP/1.1\r\nHost: localhost:8080\r\n", &r, &status), 1);
    return r;
}

TEST(AnswerRequest, EachPath) {
    TempDir dir;
    BodyFields f;
    f.subject = "<b>&\"'";
    f.message = "1<2\r\n3";
    ASSERT_EQ(AcceptUpload(dir.path, MakeBody(f), TestNow()), "OK");
    // What a path that climbs out of the album would reach.
    std::filesystem::create_directories(dir.path + "/secret");
    ASSERT_TRUE(WriteFileBytes(dir.path + "/secret/picture.jpg", {'x'}));
    ASSERT_TRUE(WriteFileBytes(dir.path + "/secret/info.txt",
                               {'m', 'e', 's', 's', 'a', 'g', 'e', ':', '\n'}));
    const struct {
        const char* method;
        const char* target;
        int status;
        const char* type;
        std::string holds;
    } cases[] = {
        {"GET", "/quillet/", 200, "text/html; charset=UTF-8", "localhost:8080"},
        {"GET", "/quillet/", 200, "text/html; charset=UTF-8", "メールで送らず"},
        {"GET", "/", 302, "text/html; charset=UTF-8", "/quillet/"},
        {"GET", "/quillet/login.html", 200, "text/html; charset=UTF-8", "/users/album1/"},
        {"GET", "/users/album1/", 200, "text/html; charset=UTF-8",
         "<img src=\"/users/album1/20250610-102000-1.jpg\""},
        {"GET", "/users/album1/?x=1", 200, "text/html; charset=UTF-8", "&lt;b&gt;&amp;&quot;&#39;"},
        {"GET", "/users/album1/", 200, "text/html; charset=UTF-8", "1&lt;2<br>\n3"},
        {"GET", "/users/album1/", 200, "text/html; charset=UTF-8", "a@example.jp"},
        {"GET", "/users/album1/20250610-102000-1.jpg", 200, "image/jpeg", f.picture},
        {"GET", "/users/album1/nothing.jpg", 404, "text/html; charset=UTF-8", ""},
        {"GET", "/users/../", 404, "text/html; charset=UTF-8", ""},
        {"GET", "/users/%2e%2e/", 404, "text/html; charset=UTF-8", ""},
        {"GET", "/users/album1/../../secret.jpg", 404, "text/html; charset=UTF-8", ""},
        {"GET", "/users/.album1/", 404, "text/html; charset=UTF-8", ""},
        {"GET", "/users/nobody/", 404, "text/html; charset=UTF-8", ""},
        {"GET", "/users/album1", 404, "text/html; charset=UTF-8", ""},
        {"GET", "/cgi-bin/saveimg.cgi", 404, "text/html; charset=UTF-8", ""},
        {"GET", "/etc/passwd", 404, "text/html; charset=UTF-8", ""},
        {"DELETE", "/quillet/", 405, "text/plain; charset=UTF-8", ""},
        {"POST", "/quillet/resend.php?id=album1&pass=secret", 200, "text/plain; charset=UTF-8",
         "OK"},
        {"POST", "/quillet/resend.php?pass=secret", 200, "text/plain; charset=UTF-8", "NG07"},
        {"POST", "/quillet/resend.php?id=..&pass=secret", 200, "text/plain; charset=UTF-8", "NG07"},
        {"POST", "/cgi-bin/saveimg.cgi", 200, "text/plain; charset=UTF-8", "NG01"},
        {"POST", "/nothing", 404, "text/html; charset=UTF-8", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.method) + " " + c.target);
        const Response r = AnswerRequest(dir.path, MakeRequest(c.method, c.target), TestNow());
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.type, c.type);
        EXPECT_NE(r.body.find(c.holds), std::string::npos);
    }
    EXPECT_EQ(AnswerRequest(dir.path, MakeRequest("GET", "/"), TestNow()).location, "/quillet/");
}

TEST(HtmlEscape, EveryMarkupCharacter) {
    EXPECT_EQ(HtmlEscape("a<b>&\"c'日本"), "a&lt;b&gt;&amp;&quot;c&#39;日本");
    EXPECT_EQ(HtmlEscape(""), "");
}

TEST(ParseHead, RequestLineAndHeaders) {
    const struct {
        const char* name;
        std::string head;
        int ok, status;
        const char* path;
        size_t length;
    } cases[] = {
        {"upload", "POST /cgi-bin/saveimg.cgi HTTP/1.1\r\nHost: h\r\ncontent-length: 12\r\n\r\n", 1,
         0, "/cgi-bin/saveimg.cgi", 12},
        {"bare LFs, query", "GET /a?b=c HTTP/1.0\nHost: h\n\n", 1, 0, "/a", 0},
        {"no version", "GET /\r\n\r\n", 0, 400, "", 0},
        {"not HTTP", "GET / FTP/1.0\r\n\r\n", 0, 400, "", 0},
        {"target not a path", "GET http://x/ HTTP/1.1\r\n\r\n", 0, 400, "", 0},
        {"header without colon", "GET / HTTP/1.1\r\nHost\r\n\r\n", 0, 400, "", 0},
        {"length not a number", "POST / HTTP/1.1\r\nContent-Length: 1x\r\n\r\n", 0, 400, "", 0},
        {"negative length", "POST / HTTP/1.1\r\nContent-Length: -1\r\n\r\n", 0, 400, "", 0},
        {"two lengths", "POST / HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n", 0, 400,
         "", 0},
        {"16 MB body", "POST / HTTP/1.1\r\nContent-Length: 16777216\r\n\r\n", 1, 0, "/", 16777216},
        {"body over 16 MB", "POST / HTTP/1.1\r\nContent-Length: 16777217\r\n\r\n", 0, 413, "", 0},
        {"huge length", "POST / HTTP/1.1\r\nContent-Length: 99999999999999999999\r\n\r\n", 0, 400,
         "", 0},
        {"chunked", "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", 0, 501, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Request r;
        int status = 0;
        EXPECT_EQ(ParseHead(c.head, &r, &status), c.ok);
        if (c.ok) {
            EXPECT_EQ(r.path, c.path);
            EXPECT_EQ(r.contentLength, c.length);
        } else {
            EXPECT_EQ(status, c.status);
        }
    }
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
