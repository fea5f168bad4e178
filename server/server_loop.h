// The listening socket and the loop that hands each connection to a thread of its own.
#pragma once

#include <string>

// At most this many connections are served at once; more are answered 503.
inline constexpr int kMaxConnections = 64;

// Listens on TCP `port` of every address (0: a free port the system picks). Returns 1 with the
// socket in *fd and the port in *boundPort, 0 when the port cannot be had.
int OpenListener(int port, int* fd, int* boundPort);

// Serves connections on `listenFd` until it is shut down (shutdown(listenFd, SHUT_RDWR)), then
// waits for the connections under way and returns. The caller closes `listenFd`.
void RunServer(int listenFd, const std::string& dir);
