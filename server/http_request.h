// HTTP requests and answers as plain records, so that the routes and pages are tested without a
// socket. The transport (http_daemon) fills a Request and sends a Response.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

inline constexpr size_t kMaxHeadBytes = 16 * 1024;
inline constexpr size_t kMaxBodyBytes = 16 * 1024 * 1024;

struct Request {
    std::string method;
    std::string path;    // the target up to '?', not decoded
    std::string query;   // after '?', not decoded
    std::string host;    // the Host header
    std::string cookie;  // the Cookie header
    std::string type;    // the Content-Type header
    std::string peer;    // the client's address, for throttling and the log
    std::string body;
};

struct Response {
    int status = 200;
    std::string type = "text/plain; charset=UTF-8";
    std::string location;                                      // for redirections
    std::vector<std::pair<std::string, std::string>> headers;  // more headers, e.g. Set-Cookie
    std::string body;
};

// The value of `key` in a query string or form body ("a=1&b=2"), with %XX and '+' decoded.
// Returns 0 when the key is absent.
int QueryValue(const std::string& query, const std::string& key, std::string* value);

// An error answer: the status and its reason as plain text.
Response StatusResponse(int status);
