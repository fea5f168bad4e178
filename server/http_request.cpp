// The request head and the answer's text. Every connection carries one request, so the answer
// always closes it.
#include "server/http_request.h"

#include <strings.h>

#include <cctype>

static const char* ReasonText(int status) {
    switch (status) {
        case 200: return "OK";
        case 302: return "Found";
        case 400: return "Bad Request";
        case 404: return "Not Found";
        case 405: return "Method Not Allowed";
        case 408: return "Request Timeout";
        case 413: return "Content Too Large";
        case 431: return "Request Header Fields Too Large";
        case 501: return "Not Implemented";
        case 503: return "Service Unavailable";
        default: return "Internal Server Error";
    }
}

// Reads a Content-Length value: digits only, at most kMaxBodyBytes (413 beyond).
static int ReadLength(const std::string& v, size_t* n, int* status) {
    *status = 400;
    if (v.empty() || v.size() > 12) return 0;
    *n = 0;
    for (char c : v) {
        if (!isdigit((unsigned char)c)) return 0;
        *n = *n * 10 + size_t(c - '0');
    }
    if (*n > kMaxBodyBytes) *status = 413;
    return *n <= kMaxBodyBytes;
}

static std::string Trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t')) a++;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t' || s[b - 1] == '\r')) b--;
    return s.substr(a, b - a);
}

// Reads the request line "METHOD /target HTTP/1.x".
static int ParseRequestLine(const std::string& line, Request* req) {
    const size_t sp1 = line.find(' ');
    const size_t sp2 = sp1 == std::string::npos ? sp1 : line.find(' ', sp1 + 1);
    if (sp2 == std::string::npos || sp1 == 0) return 0;
    const std::string target = line.substr(sp1 + 1, sp2 - sp1 - 1);
    if (target.empty() || target[0] != '/' || Trim(line.substr(sp2 + 1)).rfind("HTTP/1.", 0) != 0)
        return 0;
    req->method = line.substr(0, sp1);
    const size_t q = target.find('?');
    req->path = target.substr(0, q);
    req->query = q == std::string::npos ? "" : target.substr(q + 1);
    return 1;
}

int ParseHead(const std::string& head, Request* req, int* status) {
    *status = 400;
    size_t pos = 0, lf = head.find('\n');
    if (!ParseRequestLine(Trim(head.substr(0, lf)), req)) return 0;
    bool haveLength = false;
    while (lf != std::string::npos) {
        pos = lf + 1;
        lf = head.find('\n', pos);
        const std::string line = Trim(head.substr(pos, lf == std::string::npos ? lf : lf - pos));
        if (line.empty()) continue;
        const size_t colon = line.find(':');
        if (colon == std::string::npos || colon == 0) return 0;
        const std::string name = line.substr(0, colon), value = Trim(line.substr(colon + 1));
        if (strcasecmp(name.c_str(), "Host") == 0) req->host = value;
        if (strcasecmp(name.c_str(), "Transfer-Encoding") == 0) {
            *status = 501;
            return 0;
        }
        if (strcasecmp(name.c_str(), "Content-Length") == 0) {
            size_t n;
            if (!ReadLength(value, &n, status)) return 0;
            // Two lengths that differ leave the body's end unknown.
            if (haveLength && n != req->contentLength) return 0;
            req->contentLength = n;
            haveLength = true;
        }
    }
    return 1;
}

static int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

static std::string Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); i++) {
        if (s[i] == '+') {
            out += ' ';
        } else if (s[i] == '%' && i + 2 < s.size() && HexValue(s[i + 1]) >= 0 &&
                   HexValue(s[i + 2]) >= 0) {
            out += char(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

int QueryValue(const std::string& query, const std::string& key, std::string* value) {
    size_t start = 0;
    while (start <= query.size()) {
        size_t amp = query.find('&', start);
        if (amp == std::string::npos) amp = query.size();
        const std::string pair = query.substr(start, amp - start);
        const size_t eq = pair.find('=');
        if (Unescape(pair.substr(0, eq)) == key) {
            *value = eq == std::string::npos ? "" : Unescape(pair.substr(eq + 1));
            return 1;
        }
        start = amp + 1;
    }
    return 0;
}

Response StatusResponse(int status) {
    Response r;
    r.status = status;
    r.body = std::to_string(status) + " " + ReasonText(status) + "\n";
    return r;
}

std::string FormatResponse(const Response& resp) {
    std::string s = "HTTP/1.1 " + std::to_string(resp.status) + " " + ReasonText(resp.status) +
                    "\r\nContent-Type: " + resp.type +
                    "\r\nContent-Length: " + std::to_string(resp.body.size()) +
                    "\r\nCache-Control: no-cache\r\nConnection: close\r\n";
    if (!resp.location.empty()) s += "Location: " + resp.location + "\r\n";
    return s + "\r\n" + resp.body;
}
