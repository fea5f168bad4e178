// Reading with poll so that a silent or slow client cannot hold a thread for ever, and writing
// with MSG_NOSIGNAL so that a client gone early cannot end the process.
#include "server/http_conn.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <ctime>

#include "server/routes.h"

using Clock = std::chrono::steady_clock;

// Appends what `fd` has to *buf, waiting at most kIdleMs and not past `deadline`. Returns the
// number of bytes read; 0 with *status = 0 when the client closed, 0 with 408 on a time-out.
static size_t ReceiveSome(int fd, Clock::time_point deadline, std::string* buf, int* status) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    struct pollfd p = {fd, POLLIN, 0};
    *status = 408;
    if (left <= 0 || poll(&p, 1, int(left < kIdleMs ? left : kIdleMs)) <= 0) return 0;
    char chunk[16384];
    const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
    *status = 0;
    if (n <= 0) return 0;
    buf->append(chunk, size_t(n));
    return size_t(n);
}

// Where the head in `buf` ends: after its first blank line, CR LF or bare LF; 0 before that.
static size_t HeadEnd(const std::string& buf) {
    const size_t crlf = buf.find("\r\n\r\n"), lf = buf.find("\n\n");
    if (crlf != std::string::npos && (lf == std::string::npos || crlf < lf)) return crlf + 4;
    return lf != std::string::npos ? lf + 2 : 0;
}

int ReadRequest(int fd, Request* req, int* status) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kRequestMs);
    std::string buf;
    size_t headEnd;
    for (;;) {
        headEnd = HeadEnd(buf);
        if (headEnd) break;
        if (buf.size() > kMaxHeadBytes) {
            *status = 431;
            return 0;
        }
        if (!ReceiveSome(fd, deadline, &buf, status)) return 0;
    }
    if (headEnd > kMaxHeadBytes + 4) {
        *status = 431;
        return 0;
    }
    if (!ParseHead(buf.substr(0, headEnd), req, status)) return 0;
    req->body = buf.substr(headEnd);
    while (req->body.size() < req->contentLength)
        if (!ReceiveSome(fd, deadline, &req->body, status)) return 0;
    req->body.resize(req->contentLength);
    return 1;
}

static void SendAll(int fd, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += size_t(n);
    }
}

// Answers `status` and reads on a while before closing: closing with unread bytes would reset
// the connection, and the client might lose the answer.
static void RefuseRequest(int fd, int status) {
    SendAll(fd, FormatResponse(StatusResponse(status)));
    shutdown(fd, SHUT_WR);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kIdleMs);
    std::string rest;
    int closed;
    while (rest.size() < kMaxHeadBytes * 64 && ReceiveSome(fd, deadline, &rest, &closed))
        rest.clear();
}

void ServeConnection(int fd, const std::string& dir) {
    // Answers that block for long mean a client that does not read.
    struct timeval tv = {kIdleMs / 1000, 0};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    Request req;
    int status;
    if (ReadRequest(fd, &req, &status))
        SendAll(fd, FormatResponse(AnswerRequest(dir, req, time(nullptr))));
    else if (status)
        RefuseRequest(fd, status);
    close(fd);
}
