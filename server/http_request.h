// HTTP/1.1 requests and answers as plain records, and the text between them and the socket.
#pragma once

#include <cstddef>
#include <string>

inline constexpr size_t kMaxHeadBytes = 16 * 1024;
inline constexpr size_t kMaxBodyBytes = 16 * 1024 * 1024;

struct Request {
    std::string method;
    std::string path;   // the target up to '?', not decoded
    std::string query;  // after '?', not decoded
    std::string host;   // the Host header
    size_t contentLength = 0;
    std::string body;
};

struct Response {
    int status = 200;
    std::string type = "text/plain; charset=UTF-8";
    std::string location;  // for redirections
    std::string body;
};

// Reads the request line and headers (the text before the blank line) into *req. Returns 1, or
// 0 with the status to answer in *status: 400 for a malformed head, 413 for a body over
// kMaxBodyBytes, 501 for a transfer coding.
int ParseHead(const std::string& head, Request* req, int* status);

// The value of `key` in a query string ("a=1&b=2"), with %XX and '+' decoded. Returns 0 when the
// key is absent.
int QueryValue(const std::string& query, const std::string& key, std::string* value);

// An error answer: the status and its reason as plain text.
Response StatusResponse(int status);

// The bytes of `resp` on the wire, with Content-Length and "Connection: close".
std::string FormatResponse(const Response& resp);
