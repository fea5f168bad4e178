// A thread per connection, counted so that a flood of clients meets a limit and so that the
// loop can wait for the last one before it returns.
#include "server/server_loop.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "server/http_conn.h"

int OpenListener(int port, int* fd, int* boundPort) {
    const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) return 0;
    const int on = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    struct sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    addr.sin_port = htons(uint16_t(port));
    socklen_t len = sizeof addr;
    if (bind(s, (struct sockaddr*)&addr, sizeof addr) != 0 || listen(s, 64) != 0 ||
        getsockname(s, (struct sockaddr*)&addr, &len) != 0) {
        close(s);
        return 0;
    }
    *fd = s;
    *boundPort = ntohs(addr.sin_port);
    return 1;
}

void RunServer(int listenFd, const std::string& dir) {
    std::mutex lock;
    std::condition_variable done;
    int active = 0;
    for (;;) {
        const int fd = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            // A shut-down listener says EINVAL; anything else (a reset client) is passed over.
            if (errno == EINVAL || errno == EBADF) break;
            continue;
        }
        std::unique_lock<std::mutex> hold(lock);
        if (active >= kMaxConnections) {
            hold.unlock();
            const std::string busy = FormatResponse(StatusResponse(503));
            send(fd, busy.data(), busy.size(), MSG_NOSIGNAL);
            close(fd);
            continue;
        }
        active++;
        hold.unlock();
        std::thread([fd, &dir, &lock, &done, &active] {
            ServeConnection(fd, dir);
            std::lock_guard<std::mutex> g(lock);
            active--;
            done.notify_all();
        }).detach();
    }
    std::unique_lock<std::mutex> hold(lock);
    done.wait(hold, [&active] { return active == 0; });
}
