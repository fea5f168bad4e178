// The loopback HTTP server of the client tests.
#include "support/httpserver.h"

#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdlib.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

static int BindLoopback(int* port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (bind(fd, (sockaddr*)&addr, sizeof addr) != 0 ||
        getsockname(fd, (sockaddr*)&addr, &len) != 0) {
        close(fd);
        return -1;
    }
    *port = ntohs(addr.sin_port);
    return fd;
}

int ClosedLoopbackPort() {
    int port = 0;
    int fd = BindLoopback(&port);
    if (fd >= 0) close(fd);
    return port;
}

HttpServer::HttpServer() {
    listenFd = BindLoopback(&port);
    if (listenFd < 0 || listen(listenFd, 8) != 0 || pipe(stopPipe) != 0) abort();
    thread = std::thread(&HttpServer::Run, this);
}

HttpServer::~HttpServer() {
    Stop();
    close(listenFd);
    close(stopPipe[0]);
    close(stopPipe[1]);
}

void HttpServer::Stop() {
    if (!thread.joinable()) return;
    char byte = 1;
    if (write(stopPipe[1], &byte, 1) != 1) abort();
    thread.join();
}

void HttpServer::SetReply(const Reply& r) {
    std::lock_guard<std::mutex> hold(lock);
    reply = r;
}

std::vector<HttpServer::Request> HttpServer::Requests() {
    std::lock_guard<std::mutex> hold(lock);
    return requests;
}

std::string HttpServer::HostPort() const {
    return "127.0.0.1:" + std::to_string(port);
}

// 1 when fd is ready for events, 0 on the stop signal, a time-out (-1 waits for ever) or an error.
// With timeoutMs and no events, 1 after the wait.
int HttpServer::Wait(int fd, short events, int timeoutMs) {
    pollfd fds[2] = {{stopPipe[0], POLLIN, 0}, {fd, events, 0}};
    int n = poll(fds, events ? 2 : 1, timeoutMs);
    if (n < 0 || (fds[0].revents & POLLIN)) return 0;
    if (!events) return 1;
    return n > 0 && fds[1].revents != 0;
}

void HttpServer::Run() {
    while (Wait(listenFd, POLLIN, -1)) {
        int conn = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (conn < 0) continue;
        Serve(conn);
        close(conn);
    }
}

// The Content-Length of a header block, 0 when it has none.
static size_t ContentLength(const std::string& head) {
    size_t at = 0;
    while (at < head.size()) {
        size_t end = head.find("\r\n", at);
        if (end == head.npos) break;
        if (strncasecmp(head.c_str() + at, "Content-Length:", 15) == 0)
            return strtoul(head.c_str() + at + 15, nullptr, 10);
        at = end + 2;
    }
    return 0;
}

int HttpServer::ReadRequest(int conn, Request* request) {
    std::string got;
    size_t headEnd;
    char buf[65536];
    while ((headEnd = got.find("\r\n\r\n")) == got.npos) {
        if (!Wait(conn, POLLIN, -1)) return 0;
        ssize_t n = recv(conn, buf, sizeof buf, 0);
        if (n <= 0) return 0;
        got.append(buf, n);
    }
    size_t lineEnd = got.find("\r\n");
    request->line = got.substr(0, lineEnd);
    request->head = got.substr(lineEnd + 2, headEnd + 4 - (lineEnd + 2));
    request->body = got.substr(headEnd + 4);
    size_t length = ContentLength(request->head);
    while (request->body.size() < length) {
        if (!Wait(conn, POLLIN, -1)) return 0;
        ssize_t n = recv(conn, buf, sizeof buf, 0);
        if (n <= 0) return 0;
        request->body.append(buf, n);
    }
    return 1;
}

int HttpServer::SendAll(int conn, const char* data, size_t len) {
    while (len) {
        if (!Wait(conn, POLLOUT, -1)) return 0;
        ssize_t n = send(conn, data, len, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno == EAGAIN) continue;
        if (n <= 0) return 0;
        data += n;
        len -= n;
    }
    return 1;
}

void HttpServer::Serve(int conn) {
    Request request;
    if (!ReadRequest(conn, &request)) return;
    Reply r;
    {
        std::lock_guard<std::mutex> hold(lock);
        requests.push_back(request);
        r = reply;
    }
    if (r.delayMs && !Wait(-1, 0, r.delayMs)) return;
    switch (r.mode) {
        case kSilent: Wait(conn, POLLIN, -1); return;  // until stopped or the client closes
        case kClose: return;
        case kReset: {
            linger hard = {1, 0};
            setsockopt(conn, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
            return;
        }
        case kAnswer: break;
    }
    size_t piece = r.chunk ? r.chunk : r.answer.size();
    for (size_t at = 0; at < r.answer.size(); at += piece) {
        if (at && r.chunkGapMs && !Wait(-1, 0, r.chunkGapMs)) return;
        size_t len = r.answer.size() - at < piece ? r.answer.size() - at : piece;
        if (!SendAll(conn, r.answer.data() + at, len)) return;
    }
    shutdown(conn, SHUT_WR);
}
