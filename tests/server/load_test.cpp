// Load on loopback: twenty clients sending two hundred uploads at once, while two hundred slow
// clients trickle the start of a request, a byte every half second, often enough that the idle
// time-out never ends them. Every upload is answered and stored exactly once, and the slow
// clients are cut off when their connection's time is up. The figures are printed, not checked.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <mutex>
#include <thread>

#include "live_server.h"
#include "upload_body.h"

namespace {

using Clock = std::chrono::steady_clock;

int Connect(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, (sockaddr*)&a, sizeof a) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Posts `body` as the program does and returns the answer's body ("" on any failure).
std::string PostUpload(int port, const std::string& body) {
    const int fd = Connect(port);
    if (fd < 0) return "";
    const std::string req =
        "POST /cgi-bin/saveimg.cgi HTTP/1.1\r\nHost: 127.0.0.1\r\n"
        "Connection: close\r\nContent-Length: " +
        std::to_string(body.size()) + "\r\n\r\n" + body;
    std::string answer;
    if (send(fd, req.data(), req.size(), MSG_NOSIGNAL) == ssize_t(req.size())) {
        char buf[4096];
        ssize_t n;
        while ((n = recv(fd, buf, sizeof buf, 0)) > 0) answer.append(buf, size_t(n));
    }
    close(fd);
    const size_t head = answer.find("\r\n\r\n");
    return head == std::string::npos ? "" : answer.substr(head + 4);
}

TEST(ServerLoad, UploadsAtOnceBesideSlowClients) {
    HttpOpts opts;
    opts.idleSec = 2;
    opts.connSec = 3;
    ServerRun server("", opts);
    ASSERT_NE(server.port, 0);

    // The slow clients: each sends the start of a head, then a byte every half second while the
    // server keeps it open.
    std::vector<int> slow;
    for (int i = 0; i < 200; i++) {
        const int fd = Connect(server.port);
        ASSERT_GE(fd, 0);
        send(fd, "POST /cgi-bin/saveimg.cgi HTTP/1.1\r\n", 36, MSG_NOSIGNAL);
        slow.push_back(fd);
    }
    std::vector<int> cutAfterMs(slow.size(), 0);
    std::thread trickle([&] {
        const auto t0 = Clock::now();
        for (size_t open = slow.size(); open > 0 && Clock::now() - t0 < std::chrono::seconds(15);) {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            open = 0;
            for (size_t i = 0; i < slow.size(); i++) {
                if (cutAfterMs[i]) continue;
                char c;
                pollfd p = {slow[i], POLLIN, 0};
                const bool closed = (poll(&p, 1, 0) == 1 && recv(slow[i], &c, 1, 0) <= 0) ||
                                    send(slow[i], "X", 1, MSG_NOSIGNAL) != 1;
                if (closed)
                    cutAfterMs[i] =
                        int(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0)
                                .count());
                else
                    open++;
            }
        }
    });

    const int kClients = 20, kEach = 10;
    std::mutex lock;
    std::map<std::string, int> answers;
    double slowestMs = 0;
    const auto start = Clock::now();
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; c++) {
        clients.emplace_back([&, c] {
            for (int n = 0; n < kEach; n++) {
                BodyFields f;
                f.subject = "c" + std::to_string(c) + "-" + std::to_string(n);
                const auto t0 = Clock::now();
                const std::string answer = PostUpload(server.port, MakeBody(f));
                const double ms =
                    std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
                std::lock_guard<std::mutex> hold(lock);
                answers[answer]++;
                slowestMs = std::max(slowestMs, ms);
            }
        });
    }
    for (std::thread& t : clients) t.join();
    const double sec = std::chrono::duration<double>(Clock::now() - start).count();
    printf("%d uploads in %.2f s: %.0f per second, the slowest answered in %.0f ms\n",
           kClients * kEach, sec, kClients * kEach / sec, slowestMs);

    EXPECT_EQ(answers["OK"], kClients * kEach);
    EXPECT_EQ(answers.size(), 1u);
    // Each upload stored once: every subject exactly one time.
    std::map<std::string, int> subjects;
    for (const UploadRec& up : StoredUploads(server, kTestAlbum)) subjects[up.subject]++;
    EXPECT_EQ(subjects.size(), size_t(kClients * kEach));
    for (const auto& s : subjects) EXPECT_EQ(s.second, 1) << s.first;

    trickle.join();
    int latest = 0;
    for (size_t i = 0; i < slow.size(); i++) {
        EXPECT_NE(cutAfterMs[i], 0) << "slow client " << i << " was never cut off";
        latest = std::max(latest, cutAfterMs[i]);
        close(slow[i]);
    }
    printf("the last slow client was cut off after %d ms\n", latest);
}

}  // namespace
