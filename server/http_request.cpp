// Query strings and form bodies, and the plain error answers.
#include "server/http_request.h"

static const char* ReasonText(int status) {
    switch (status) {
        case 200: return "OK";
        case 302: return "Found";
        case 400: return "Bad Request";
        case 403: return "Forbidden";
        case 404: return "Not Found";
        case 405: return "Method Not Allowed";
        case 408: return "Request Timeout";
        case 413: return "Content Too Large";
        case 429: return "Too Many Requests";
        case 431: return "Request Header Fields Too Large";
        case 501: return "Not Implemented";
        case 503: return "Service Unavailable";
        default: return "Internal Server Error";
    }
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
