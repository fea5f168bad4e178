// One client connection: one request read with bounds and time limits, one answer, closed.
#pragma once

#include <string>

#include "server/http_request.h"

// A client that sends nothing for this long is dropped; a whole request must arrive within
// kRequestMs.
inline constexpr int kIdleMs = 10 * 1000;
inline constexpr int kRequestMs = 120 * 1000;

// Reads one request from socket `fd`. Returns 1, or 0 with the status to answer in *status
// (400, 408, 413, 431, 501), or *status = 0 when the client closed the connection.
int ReadRequest(int fd, Request* req, int* status);

// Answers the one request on `fd` for a server keeping its uploads under `dir`, then closes it.
void ServeConnection(int fd, const std::string& dir);
