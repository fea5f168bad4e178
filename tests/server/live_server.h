// quillet-server on a free port of this machine, in a thread of the test program, storing in a
// temporary folder, for the life of the object.
#pragma once

#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/testutil.h"
#include "server/server_loop.h"

struct ServerRun {
    TempDir dir;
    int listenFd = -1, port = 0;  // listenFd stays -1 when no port could be had
    std::thread loop;
    ServerRun() {
        if (OpenListener(0, &listenFd, &port))
            loop = std::thread([this] { RunServer(listenFd, dir.path); });
    }
    ~ServerRun() {
        if (listenFd < 0) return;
        shutdown(listenFd, SHUT_RDWR);
        loop.join();
        close(listenFd);
    }
};

// The upload folders the server stored for `album`.
inline std::vector<std::filesystem::path> StoredUploads(const ServerRun& server,
                                                        const std::string& album) {
    std::vector<std::filesystem::path> ups;
    std::error_code ec;
    for (const auto& e :
         std::filesystem::directory_iterator(server.dir.path + "/uploads/" + album, ec))
        ups.push_back(e.path());
    return ups;
}
