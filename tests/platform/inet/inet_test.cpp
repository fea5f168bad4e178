// The HTTP client against the loopback test server: the bytes sent, the header block and body
// handed back, and the failure numbers.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <thread>

#include "platform/inet/error.h"
#include "platform/inet/wininet.h"
#include "support/httpserver.h"

namespace {

const char kObject[] = "cgi-bin/saveimg.cgi";
const char kAgent[] = "QuilletClient";
const std::string kOkHead = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n";

// curl takes proxies from the environment; the tests talk to the loopback server directly.
void ClearProxies() {
    for (const char* name : {"http_proxy", "all_proxy", "ALL_PROXY", "no_proxy", "NO_PROXY"})
        unsetenv(name);
}

// The handles of one request as the program makes them, closed in the program's order.
struct Session {
    HINTERNET net = nullptr, con = nullptr, req = nullptr;
    BOOL sent = FALSE;
    DWORD error = 0;
    explicit Session(const std::string& server, INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT,
                     const char* object = kObject, DWORD flags = INTERNET_FLAG_NO_CACHE_WRITE) {
        ClearProxies();
        net = InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
        con = InternetConnectA(net, server.c_str(), port, nullptr, nullptr, INTERNET_SERVICE_HTTP,
                               0, 0);
        req = HttpOpenRequestA(con, "POST", object, nullptr, nullptr, nullptr, flags, 0);
    }
    BOOL Send(const std::string& body) {
        SetLastError(0);
        sent = HttpSendRequestA(req, nullptr, 0, (void*)body.data(), (DWORD)body.size());
        error = GetLastError();
        return sent;
    }
    // The next read of up to count bytes; ok says how it went.
    std::string Read(DWORD count, BOOL* ok = nullptr) {
        std::string got(count, '\0');
        DWORD read = 12345;
        BOOL done = InternetReadFile(req, got.data(), count, &read);
        if (ok) *ok = done;
        got.resize(done ? read : 0);
        return got;
    }
    ~Session() {
        InternetCloseHandle(req);
        InternetCloseHandle(con);
        InternetCloseHandle(net);
    }
};

std::string Answer(const std::string& body) {
    return kOkHead + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::vector<std::string> HeaderLines(const std::string& head) {
    std::vector<std::string> lines;
    std::istringstream in(head);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string BinaryBody(size_t size) {
    std::string body(size, '\0');
    for (size_t i = 0; i < size; ++i) body[i] = (char)(i * 7 % 251);
    return body;
}

}  // namespace

TEST(InetSend, RequestBytes) {
    HttpServer server;
    server.SetReply({Answer("OK")});
    const std::string hostPort = server.HostPort();
    struct Row {
        const char* name;
        std::string server;
        INTERNET_PORT port;
        const char* object;
        DWORD flags;
        std::string body;
        bool cacheControl;
    };
    const Row rows[] = {
        {"binary body with NULs", hostPort, 80, kObject, INTERNET_FLAG_NO_CACHE_WRITE,
         std::string("a\0b\r\n\0\xff", 7), true},
        {"empty body", hostPort, 80, kObject, INTERNET_FLAG_NO_CACHE_WRITE, "", true},
        {"2 MB body, no Expect", hostPort, 80, kObject, INTERNET_FLAG_NO_CACHE_WRITE,
         BinaryBody(2 << 20), true},
        {"port as argument", "127.0.0.1", (INTERNET_PORT)server.port, kObject,
         INTERNET_FLAG_NO_CACHE_WRITE, "x", true},
        {"object with a query", hostPort, 80, "quillet/resend.php?id=A1&pass=p/../w",
         INTERNET_FLAG_NO_CACHE_WRITE, "", true},
        {"dot segments sent as given", hostPort, 80, "a/../cgi-bin/saveimg.cgi", 0, "x", false},
        {"answer may be cached", hostPort, 80, kObject, 0, "x", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        size_t before = server.Requests().size();
        {
            Session s(row.server, row.port, row.object, row.flags);
            ASSERT_TRUE(s.Send(row.body)) << s.error;
        }
        std::vector<HttpServer::Request> got = server.Requests();
        ASSERT_EQ(got.size(), before + 1);
        EXPECT_EQ(got.back().line, std::string("POST /") + row.object + " HTTP/1.1");
        std::vector<std::string> want = {"Host: " + hostPort, "User-Agent: QuilletClient",
                                         "Content-Length: " + std::to_string(row.body.size())};
        if (row.cacheControl) want.push_back("Cache-Control: no-cache");
        std::sort(want.begin(), want.end());
        EXPECT_EQ(HeaderLines(got.back().head), want);
        EXPECT_TRUE(got.back().body == row.body) << "body differs";
    }
}

TEST(InetQuery, HeaderBlockAsReceived) {
    const std::string padded =
        "HTTP/1.1 200 OK\r\nX-Pad: " + std::string(300 - 47, 'p') + "\r\nContent-Length: 2\r\n\r\n";
    struct Row {
        const char* name;
        std::string answer;
        std::string block;
        size_t chunk = 0;  // sent in pieces of this size, 0: at once
    };
    const Row rows[] = {
        {"plain", Answer("OK"), kOkHead + "Content-Length: 2\r\n\r\n"},
        {"odd spacing kept",
         "HTTP/1.1 200 OK\r\nX-Test:  spaced value \r\nContent-Length: 0\r\n\r\n",
         "HTTP/1.1 200 OK\r\nX-Test:  spaced value \r\nContent-Length: 0\r\n\r\n"},
        {"300 bytes", padded + "OK", padded},
        // The 100 block arrives alone first.
        {"final answer after 100 Continue",
         "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n",
         "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", 25},
        {"redirect not followed",
         "HTTP/1.1 302 Found\r\nLocation: /elsewhere\r\nContent-Length: 0\r\n\r\n",
         "HTTP/1.1 302 Found\r\nLocation: /elsewhere\r\nContent-Length: 0\r\n\r\n"},
        {"server error page", "HTTP/1.1 500 Oops\r\nContent-Length: 3\r\n\r\nbad",
         "HTTP/1.1 500 Oops\r\nContent-Length: 3\r\n\r\n"},
    };
    ASSERT_EQ(padded.size(), 300u);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HttpServer server;
        server.SetReply({row.answer, HttpServer::kAnswer, 0, row.chunk, row.chunk ? 50 : 0});
        Session s(server.HostPort());
        ASSERT_TRUE(s.Send("body")) << s.error;
        char buf[1024];
        memset(buf, 'z', sizeof buf);
        DWORD len = sizeof buf;
        ASSERT_TRUE(HttpQueryInfoA(s.req, HTTP_QUERY_RAW_HEADERS_CRLF, buf, &len, nullptr));
        EXPECT_EQ(std::string(buf, len), row.block);
        EXPECT_EQ(buf[len], '\0');
        EXPECT_EQ(server.Requests().size(), 1u);
    }
}

// The A function's lengths: without the NUL on success, with it when the buffer is too small.
TEST(InetQuery, LengthContract) {
    const std::string block = kOkHead + "Content-Length: 2\r\n\r\n";
    const DWORD size = (DWORD)block.size();
    struct Row {
        const char* name;
        bool noBuffer;
        DWORD length;
        BOOL ok;
        DWORD lengthAfter;
    };
    const Row rows[] = {
        {"no buffer", true, 1000, FALSE, size + 1},
        {"no room", false, 0, FALSE, size + 1},
        {"room for all but the NUL", false, size, FALSE, size + 1},
        {"exact room", false, size + 1, TRUE, size},
        {"ample room", false, 256, TRUE, size},
    };
    HttpServer server;
    server.SetReply({Answer("OK")});
    Session s(server.HostPort());
    ASSERT_TRUE(s.Send("")) << s.error;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        char buf[256];
        DWORD len = row.length;
        SetLastError(0);
        BOOL ok = HttpQueryInfoA(s.req, HTTP_QUERY_RAW_HEADERS_CRLF, row.noBuffer ? nullptr : buf,
                                 &len, nullptr);
        EXPECT_EQ(ok, row.ok);
        EXPECT_EQ(len, row.lengthAfter);
        EXPECT_EQ(GetLastError(), ok ? 0u : ERROR_INSUFFICIENT_BUFFER);
        if (ok) {
            EXPECT_EQ(std::string(buf, len), block);
        }
    }
}

// A read blocks until it has the bytes asked for or the body ended.
TEST(InetRead, BodyInReadsOf256) {
    const std::string big = BinaryBody(300000);
    struct Row {
        const char* name;
        std::string answer;
        size_t chunk;
        std::string body;
    };
    const Row rows[] = {
        {"long body", Answer(big), 0, big},
        {"short body", Answer("OK0\n"), 0, "OK0\n"},
        {"one byte", Answer("N"), 0, "N"},
        {"empty body", Answer(""), 0, ""},
        {"body to the close", kOkHead + "\r\n" + big.substr(0, 1000), 0, big.substr(0, 1000)},
        {"dribbled", Answer(big.substr(0, 600)), 7, big.substr(0, 600)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HttpServer server;
        HttpServer::Reply reply = {row.answer};
        reply.chunk = row.chunk;
        reply.chunkGapMs = row.chunk ? 2 : 0;
        server.SetReply(reply);
        Session s(server.HostPort());
        ASSERT_TRUE(s.Send("x")) << s.error;
        std::string all;
        for (;;) {
            BOOL ok = FALSE;
            std::string got = s.Read(256, &ok);
            ASSERT_TRUE(ok);
            if (got.empty()) break;
            all += got;
            if (all.size() < row.body.size()) {
                ASSERT_EQ(got.size(), 256u);
            }
        }
        EXPECT_TRUE(all == row.body) << all.size() << " bytes of " << row.body.size();
    }
}

// A long body read only in part: closing the handles ends the transfer without waiting.
TEST(InetClose, AnyOrderAndUnreadBody) {
    HttpServer server;
    server.SetReply({Answer(BinaryBody(3 << 20))});
    const int orders[][3] = {{2, 1, 0}, {0, 1, 2}, {1, 0, 2}};
    for (const auto& order : orders) {
        SCOPED_TRACE(testing::Message() << order[0] << order[1] << order[2]);
        ClearProxies();
        HINTERNET h[3];
        h[0] = InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
        h[1] = InternetConnectA(h[0], server.HostPort().c_str(), 80, nullptr, nullptr,
                                INTERNET_SERVICE_HTTP, 0, 0);
        h[2] = HttpOpenRequestA(h[1], "POST", kObject, nullptr, nullptr, nullptr, 0, 0);
        ASSERT_TRUE(HttpSendRequestA(h[2], nullptr, 0, nullptr, 0)) << GetLastError();
        char buf[256];
        DWORD read = 0;
        ASSERT_TRUE(InternetReadFile(h[2], buf, sizeof buf, &read));
        EXPECT_EQ(read, 256u);
        for (int which : order) EXPECT_TRUE(InternetCloseHandle(h[which]));
    }
    // The server is free again for a request of its own.
    server.SetReply({Answer("OK")});
    Session s(server.HostPort());
    EXPECT_TRUE(s.Send("x")) << s.error;
    EXPECT_EQ(s.Read(256), "OK");
}

TEST(InetSend, FailureNumbers) {
    struct Row {
        const char* name;
        HttpServer::Reply reply;
        std::string server;  // empty: the test server
        DWORD error;
    };
    const Row rows[] = {
        {"connection refused",
         {},
         "127.0.0.1:" + std::to_string(ClosedLoopbackPort()),
         ERROR_INTERNET_CANNOT_CONNECT},
        {"unknown host", {}, "nosuch.invalid", ERROR_INTERNET_NAME_NOT_RESOLVED},
        {"never answers", {"", HttpServer::kSilent}, "", ERROR_INTERNET_TIMEOUT},
        {"answers too late", {Answer("OK"), HttpServer::kAnswer, 8000}, "", ERROR_INTERNET_TIMEOUT},
        {"closes without a word", {"", HttpServer::kClose}, "", ERROR_HTTP_INVALID_SERVER_RESPONSE},
        {"resets", {"", HttpServer::kReset}, "", ERROR_INTERNET_CONNECTION_ABORTED},
        {"not HTTP", {"SSH-2.0-Hello\r\n"}, "", ERROR_HTTP_INVALID_SERVER_RESPONSE},
        {"garbage",
         {std::string("\x16\x03\x01\0\x05hello", 10)},
         "",
         ERROR_HTTP_INVALID_SERVER_RESPONSE},
        {"closes in the header block",
         {"HTTP/1.1 200 OK\r\nContent-Le"},
         "",
         ERROR_INTERNET_CONNECTION_ABORTED},
    };
    PlatSetHttpTimeouts(1000, 1000);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HttpServer server;
        server.SetReply(row.reply);
        auto start = std::chrono::steady_clock::now();
        {
            Session s(row.server.empty() ? server.HostPort() : row.server);
            EXPECT_FALSE(s.Send("body"));
            EXPECT_EQ(s.error, row.error);
            DWORD len = 256;
            char buf[256];
            EXPECT_FALSE(HttpQueryInfoA(s.req, HTTP_QUERY_RAW_HEADERS_CRLF, buf, &len, nullptr));
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    }
    PlatSetHttpTimeouts(0, 0);
}

// Failures after the header block belong to the reads, after the bytes that did arrive.
TEST(InetRead, FailureAfterHeaderBlock) {
    const std::string stalled = kOkHead + "Content-Length: 500\r\n\r\nabc";
    struct Row {
        const char* name;
        HttpServer::Reply reply;
        std::string bytes;
        DWORD error;
    };
    const Row rows[] = {
        {"body cut short",
         {kOkHead + "Content-Length: 500\r\n\r\n0123456789"},
         "0123456789",
         ERROR_INTERNET_CONNECTION_ABORTED},
        // The header block and three bytes, then nothing.
        {"body stalls",
         {stalled + "def", HttpServer::kAnswer, 0, stalled.size(), 8000},
         "abc",
         ERROR_INTERNET_TIMEOUT},
    };
    PlatSetHttpTimeouts(1000, 1000);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HttpServer server;
        server.SetReply(row.reply);
        Session s(server.HostPort());
        ASSERT_TRUE(s.Send("x")) << s.error;
        BOOL ok = FALSE;
        EXPECT_EQ(s.Read(256, &ok), row.bytes);
        EXPECT_TRUE(ok);
        EXPECT_EQ(s.Read(256, &ok), "");
        EXPECT_FALSE(ok);
        EXPECT_EQ(GetLastError(), row.error);
    }
    PlatSetHttpTimeouts(0, 0);
}

TEST(InetConnect, NeedsAServerNameOnly) {
    ClearProxies();
    HINTERNET net = InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    ASSERT_NE(net, nullptr);
    struct Row {
        const char* name;
        const char* server;
        bool ok;
    };
    const Row rows[] = {
        {"empty", "", false},
        {"none", nullptr, false},
        {"unknown host: nothing is resolved yet", "nosuch.invalid", true},
        {"closed port: nothing is connected yet", "127.0.0.1:1", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetLastError(0);
        HINTERNET con =
            InternetConnectA(net, row.server, 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
        EXPECT_EQ(con != nullptr, row.ok);
        EXPECT_EQ(GetLastError(), row.ok ? 0u : ERROR_INVALID_PARAMETER);
        if (con) {
            EXPECT_TRUE(InternetCloseHandle(con));
        }
    }
    EXPECT_TRUE(InternetCloseHandle(net));
}

TEST(InetError, CurlCodes) {
    struct Row {
        int code;
        int connected;
        DWORD error;
    };
    const Row rows[] = {
        {6, 0, ERROR_INTERNET_NAME_NOT_RESOLVED},
        {5, 0, ERROR_INTERNET_NAME_NOT_RESOLVED},
        {7, 0, ERROR_INTERNET_CANNOT_CONNECT},
        {28, 0, ERROR_INTERNET_CANNOT_CONNECT},
        {28, 1, ERROR_INTERNET_TIMEOUT},
        {52, 1, ERROR_HTTP_INVALID_SERVER_RESPONSE},
        {1, 1, ERROR_HTTP_INVALID_SERVER_RESPONSE},
        {8, 1, ERROR_HTTP_INVALID_SERVER_RESPONSE},
        {56, 1, ERROR_INTERNET_CONNECTION_ABORTED},
        {55, 1, ERROR_INTERNET_CONNECTION_ABORTED},
        {18, 1, ERROR_INTERNET_CONNECTION_ABORTED},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "CURLcode " << row.code << " connected " << row.connected);
        EXPECT_EQ(InetErrorOfCurl(row.code, row.connected), row.error);
    }
}

TEST(InetError, LastErrorPerThread) {
    SetLastError(ERROR_INTERNET_TIMEOUT);
    DWORD other = 1;
    std::thread([&] {
        other = GetLastError();
        SetLastError(ERROR_INTERNET_CANNOT_CONNECT);
    }).join();
    EXPECT_EQ(other, 0u);
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_TIMEOUT);
}
