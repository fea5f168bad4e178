// A loopback HTTP server for the client tests. It listens on 127.0.0.1 on a port of its own and
// serves the connections one after another on a thread of its own (the client blocks the test's
// thread), records every request as received and answers with raw bytes. Stopping it (also by
// destroying it) never waits on a client.
#pragma once

#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct HttpServer {
    enum Mode {
        kAnswer,  // send answer, then close
        kSilent,  // read the request, then say nothing until stopped or the client goes
        kClose,   // read the request, then close without a byte
        kReset,   // read the request, then reset the connection
    };
    // What the server does with each request.
    struct Reply {
        std::string answer;  // status line, header block and body, as raw bytes
        Mode mode = kAnswer;
        int delayMs = 0;     // wait before answering
        size_t chunk = 0;    // send the answer in pieces of this size (0: at once)
        int chunkGapMs = 0;  // wait between the pieces
    };
    // One request as received.
    struct Request {
        std::string line;  // the request line, without its CRLF
        std::string head;  // the header lines after it, up to and with the empty line
        std::string body;  // Content-Length bytes after the header block
    };

    HttpServer();
    ~HttpServer();
    void SetReply(const Reply& reply);
    std::vector<Request> Requests();
    void Stop();
    // "127.0.0.1:port"
    std::string HostPort() const;
    int port = 0;

private:
    void Run();
    void Serve(int conn);
    int Wait(int fd, short events, int timeoutMs);
    int ReadRequest(int conn, Request* request);
    int SendAll(int conn, const char* data, size_t len);

    int listenFd = -1;
    int stopPipe[2] = {-1, -1};
    std::mutex lock;
    Reply reply;
    std::vector<Request> requests;
    std::thread thread;
};

// A loopback port nobody listens on (bound for a moment and released).
int ClosedLoopbackPort();
