// The server on a real socket: an upload exactly as the program sends it, the pages after it,
// the password reminder, and requests that are too big or malformed, after which it still serves.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "live_server.h"
#include "support/testutil.h"
#include "upload_body.h"

namespace {

// A server on a free port of this machine, in a thread, for the life of the fixture.
struct LiveServer : testing::Test, ServerRun {
    void SetUp() override { ASSERT_GE(listenFd, 0); }
    // Sends `request` in pieces of at most `piece` bytes, ends the sending side and returns all
    // that the server answers before it closes.
    std::string Exchange(const std::string& request, size_t piece = 1 << 20) {
        const int s = socket(AF_INET, SOCK_STREAM, 0);
        struct sockaddr_in addr = {};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(uint16_t(port));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(connect(s, (struct sockaddr*)&addr, sizeof addr), 0);
        for (size_t at = 0; at < request.size(); at += piece)
            send(s, request.data() + at, std::min(piece, request.size() - at), MSG_NOSIGNAL);
        // The server sees the end of the request at once, never a client waiting silently.
        shutdown(s, SHUT_WR);
        std::string answer;
        char buf[4096];
        ssize_t n;
        while ((n = recv(s, buf, sizeof buf, 0)) > 0) answer.append(buf, size_t(n));
        close(s);
        return answer;
    }
};

std::string Post(const std::string& target, const std::string& body) {
    return "POST " + target + " HTTP/1.1\r\nHost: localhost:8080\r\nUser-Agent: QuilletClient\r\n" +
           "Content-Length: " + std::to_string(body.size()) +
           "\r\nCache-Control: no-cache\r\n\r\n" + body;
}

// The body of an HTTP answer, after its head.
std::string BodyOf(const std::string& answer) {
    const size_t end = answer.find("\r\n\r\n");
    return end == std::string::npos ? "" : answer.substr(end + 4);
}

TEST_F(LiveServer, UploadThenPages) {
    BodyFields f;
    f.subject = "\x8c\x8f\x96\xbc";  // 件名
    // A picture larger than one read, holding the delimiter and LFs.
    for (int i = 0; f.picture.size() < 60000; i++) f.picture += kD + "\n" + char(i);
    const std::string upload = Exchange(Post("/cgi-bin/saveimg.cgi", MakeBody(f)), 100);
    EXPECT_EQ(upload.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << upload;
    EXPECT_EQ(BodyOf(upload), "OK");

    const std::string album = Exchange("GET /users/album1/ HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_NE(album.find("Content-Type: text/html; charset=UTF-8\r\n"), std::string::npos);
    EXPECT_NE(album.find("<dd>件名</dd>"), std::string::npos) << album;
    const size_t src = album.find("<img src=\"");
    ASSERT_NE(src, std::string::npos);
    const std::string img = album.substr(src + 10, album.find('"', src + 10) - src - 10);
    EXPECT_EQ(BodyOf(Exchange("GET " + img + " HTTP/1.1\r\n\r\n")), f.picture);

    EXPECT_EQ(BodyOf(Exchange(Post("/quillet/resend.php?id=album1&pass=" + f.pass, ""))), "OK");
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir.path)) {
        std::ifstream in(e.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        EXPECT_EQ(bytes.str().find(f.pass), std::string::npos) << e.path();
    }
}

TEST_F(LiveServer, BadRequestsAnsweredAndServerGoesOn) {
    const struct {
        const char* name;
        std::string request;
        const char* statusLine;
    } cases[] = {
        {"head over 16 KB", "GET / HTTP/1.1\r\nX: " + std::string(20000, 'x') + "\r\n\r\n",
         "HTTP/1.1 431 "},
        {"head over 16 KB, unfinished", "GET / HTTP/1.1\r\nX: " + std::string(20000, 'x'),
         "HTTP/1.1 431 "},
        {"body over 16 MB",
         "POST /cgi-bin/saveimg.cgi HTTP/1.1\r\nContent-Length: 20000000\r\n\r\n", "HTTP/1.1 413 "},
        {"garbage", "\x01\x02\x03\r\n\r\n", "HTTP/1.1 400 "},
        {"chunked body", "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n",
         "HTTP/1.1 501 "},
        {"malformed upload", Post("/cgi-bin/saveimg.cgi", "1415926535\n"), "HTTP/1.1 200 "},
        {"unknown path", "GET /x HTTP/1.1\r\n\r\n", "HTTP/1.1 404 "},
        {"closed at once", "", ""},
        {"body cut short", "POST /cgi-bin/saveimg.cgi HTTP/1.1\r\nContent-Length: 50\r\n\r\nab",
         ""},
        {"still serving", "GET /quillet/ HTTP/1.1\r\n\r\n", "HTTP/1.1 200 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string answer = Exchange(c.request);
        // A client that gives up before its request is whole gets no answer at all.
        if (!*c.statusLine)
            EXPECT_EQ(answer, "");
        else
            EXPECT_EQ(answer.substr(0, strlen(c.statusLine)), c.statusLine);
    }
}

}  // namespace
