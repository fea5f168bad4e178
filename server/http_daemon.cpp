// libmicrohttpd calls AccessRequest several times per request: once when the head is in, once
// per piece of the body, and once more when the body is complete. A request record lives from
// the first call to MHD's completion notice.
//
// MHD's time-out closes a connection that stays silent; a client that trickles a byte now and
// then would hold its slot for ever. So every connection is also listed from MHD's start notice
// to its close notice, and a reaper thread shuts down the socket of any connection older than
// connSec; MHD then sees the end and frees it. The close notice comes before MHD closes the
// socket, and both take the list's lock, so the reaper never touches a number reused by another
// socket.
#include "server/http_daemon.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netdb.h>
#include <netinet/in.h>
#include <strings.h>
#include <sys/socket.h>

#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

#include "server/log.h"
#include "server/routes.h"

using Clock = std::chrono::steady_clock;

struct OpenConn {
    int fd;
    Clock::time_point started;
};

struct HttpDaemon {
    MHD_Daemon* mhd = nullptr;
    ServerCtx* ctx = nullptr;
    int connSec = 0;
    std::mutex lock;  // guards conns and stop
    std::map<MHD_Connection*, OpenConn> conns;
    int stop = 0;
    std::condition_variable wake;
    std::thread reaper;
};

// One request under way.
struct ReqState {
    Request req;
    size_t headBytes = 0;
    int refused = 0;  // the status to answer instead of reading on, 0 while all is well
};

int ParseListenAddr(const std::string& text, HttpOpts* opts) {
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) return 0;
    std::string addr = text.substr(0, colon);
    if (addr.front() == '[') {
        if (addr.size() < 3 || addr.back() != ']') return 0;
        addr = addr.substr(1, addr.size() - 2);
    } else if (addr.find(':') != std::string::npos) {
        return 0;  // a bare IPv6 address needs its brackets
    }
    char* end;
    const long port = strtol(text.c_str() + colon + 1, &end, 10);
    if (*end || port < 0 || port > 65535) return 0;
    opts->addr = addr;
    opts->port = int(port);
    return 1;
}

// Resolves `addr` into *out (port 0). Returns 0 when it does not resolve.
static int ResolveAddr(const std::string& addr, sockaddr_storage* out, socklen_t* len) {
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* res = nullptr;
    if (getaddrinfo(addr.c_str(), nullptr, &hints, &res) != 0 || !res) return 0;
    memcpy(out, res->ai_addr, res->ai_addrlen);
    *len = res->ai_addrlen;
    freeaddrinfo(res);
    return 1;
}

static int IsLoopbackSockAddr(const sockaddr_storage& sa) {
    if (sa.ss_family == AF_INET)
        return (ntohl(((const sockaddr_in&)sa).sin_addr.s_addr) >> 24) == 127;
    if (sa.ss_family != AF_INET6) return 0;
    const in6_addr& a = ((const sockaddr_in6&)sa).sin6_addr;
    if (IN6_IS_ADDR_LOOPBACK(&a)) return 1;
    return IN6_IS_ADDR_V4MAPPED(&a) && a.s6_addr[12] == 127;
}

int IsLoopbackAddr(const std::string& addr) {
    sockaddr_storage sa;
    socklen_t len;
    return ResolveAddr(addr, &sa, &len) && IsLoopbackSockAddr(sa);
}

// The client's address as text.
static std::string PeerOf(MHD_Connection* conn) {
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(conn, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    char text[INET6_ADDRSTRLEN] = "";
    if (!info || !info->client_addr) return text;
    const sockaddr* sa = info->client_addr;
    if (sa->sa_family == AF_INET)
        inet_ntop(AF_INET, &((const sockaddr_in*)sa)->sin_addr, text, sizeof text);
    else if (sa->sa_family == AF_INET6)
        inet_ntop(AF_INET6, &((const sockaddr_in6*)sa)->sin6_addr, text, sizeof text);
    return text;
}

// Percent-encodes every byte but the unreserved ones, so QueryValue gets back what MHD decoded.
static void AppendEscaped(std::string* out, const char* s) {
    static const char hex[] = "0123456789ABCDEF";
    for (; s && *s; s++) {
        const unsigned char c = (unsigned char)*s;
        if (isalnum(c) || strchr("-._~", c)) {
            *out += char(c);
        } else {
            *out += '%';
            *out += hex[c >> 4];
            *out += hex[c & 15];
        }
    }
}

// Visits the head's fields: counts their size and keeps those the routes read.
static MHD_Result TakeHeader(void* cls, MHD_ValueKind kind, const char* key, const char* value) {
    ReqState* st = (ReqState*)cls;
    const char* v = value ? value : "";
    if (kind == MHD_GET_ARGUMENT_KIND) {
        if (!st->req.query.empty()) st->req.query += '&';
        AppendEscaped(&st->req.query, key);
        if (value) {
            st->req.query += '=';
            AppendEscaped(&st->req.query, value);
        }
        return MHD_YES;
    }
    st->headBytes += strlen(key) + strlen(v) + 4;
    if (strcasecmp(key, MHD_HTTP_HEADER_HOST) == 0) st->req.host = v;
    if (strcasecmp(key, MHD_HTTP_HEADER_COOKIE) == 0) st->req.cookie = v;
    if (strcasecmp(key, MHD_HTTP_HEADER_CONTENT_TYPE) == 0) st->req.type = v;
    return MHD_YES;
}

// The head is in: the request record, and a refusal when the head or the announced body is too
// large.
static ReqState* BeginRequest(MHD_Connection* conn, const char* url, const char* method) {
    ReqState* st = new ReqState;
    st->req.method = method;
    st->req.path = url;
    st->req.peer = PeerOf(conn);
    st->headBytes = strlen(method) + strlen(url) + 12;
    MHD_get_connection_values(conn, MHD_HEADER_KIND, TakeHeader, st);
    MHD_get_connection_values(conn, MHD_GET_ARGUMENT_KIND, TakeHeader, st);
    const char* length =
        MHD_lookup_connection_value(conn, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    if (st->headBytes + st->req.query.size() > kMaxHeadBytes)
        st->refused = 431;
    else if (length && strtoull(length, nullptr, 10) > kMaxBodyBytes)
        st->refused = 413;
    return st;
}

static MHD_Result SendResponse(MHD_Connection* conn, const Response& r) {
    MHD_Response* resp =
        MHD_create_response_from_buffer(r.body.size(), (void*)r.body.data(), MHD_RESPMEM_MUST_COPY);
    if (!resp) return MHD_NO;
    MHD_add_response_header(resp, MHD_HTTP_HEADER_CONTENT_TYPE, r.type.c_str());
    MHD_add_response_header(resp, MHD_HTTP_HEADER_CACHE_CONTROL, "no-store");
    MHD_add_response_header(resp, "X-Content-Type-Options", "nosniff");
    if (!r.location.empty())
        MHD_add_response_header(resp, MHD_HTTP_HEADER_LOCATION, r.location.c_str());
    for (const auto& h : r.headers)
        MHD_add_response_header(resp, h.first.c_str(), h.second.c_str());
    const MHD_Result ok = MHD_queue_response(conn, (unsigned)r.status, resp);
    MHD_destroy_response(resp);
    return ok;
}

static MHD_Result AccessRequest(void* cls, MHD_Connection* conn, const char* url,
                                const char* method, const char*, const char* data, size_t* dataSize,
                                void** reqCls) {
    const HttpDaemon* d = (const HttpDaemon*)cls;
    ReqState* st = (ReqState*)*reqCls;
    if (!st) {
        *reqCls = st = BeginRequest(conn, url, method);
        // Refused before the body is read: the connection closes after the answer.
        return st->refused ? SendResponse(conn, StatusResponse(st->refused)) : MHD_YES;
    }
    if (*dataSize) {
        // A body that grows past the limit (chunked) ends the connection.
        if (st->req.body.size() + *dataSize > kMaxBodyBytes) {
            LogLine("request from %s cut off: body too large", st->req.peer.c_str());
            return MHD_NO;
        }
        st->req.body.append(data, *dataSize);
        *dataSize = 0;
        return MHD_YES;
    }
    return SendResponse(conn, AnswerRequest(*d->ctx, st->req));
}

static void EndRequest(void*, MHD_Connection*, void** reqCls, MHD_RequestTerminationCode) {
    delete (ReqState*)*reqCls;
    *reqCls = nullptr;
}

static void NoteConnection(void* cls, MHD_Connection* conn, void**,
                           MHD_ConnectionNotificationCode code) {
    HttpDaemon* d = (HttpDaemon*)cls;
    std::lock_guard<std::mutex> hold(d->lock);
    if (code == MHD_CONNECTION_NOTIFY_CLOSED) {
        d->conns.erase(conn);
        return;
    }
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(conn, MHD_CONNECTION_INFO_CONNECTION_FD);
    if (info) d->conns[conn] = OpenConn{info->connect_fd, Clock::now()};
}

// Once a second: the connections past their time are shut down and forgotten.
static void ReapConnections(HttpDaemon* d) {
    std::unique_lock<std::mutex> hold(d->lock);
    while (!d->wake.wait_for(hold, std::chrono::seconds(1), [d] { return d->stop != 0; })) {
        const Clock::time_point oldest = Clock::now() - std::chrono::seconds(d->connSec);
        for (auto it = d->conns.begin(); it != d->conns.end();) {
            if (it->second.started > oldest) {
                ++it;
                continue;
            }
            shutdown(it->second.fd, SHUT_RDWR);
            it = d->conns.erase(it);
        }
    }
}

static void LogMhd(void*, const char* fmt, va_list args) {
    char text[512];
    vsnprintf(text, sizeof text, fmt, args);
    const size_t n = strlen(text);
    if (n && text[n - 1] == '\n') text[n - 1] = 0;
    LogLine("%s", text);
}

int StartHttp(const HttpOpts& opts, ServerCtx* ctx, HttpDaemon** d, int* boundPort) {
    sockaddr_storage sa;
    socklen_t len;
    if (!ResolveAddr(opts.addr, &sa, &len)) {
        LogLine("cannot resolve the listening address %s", opts.addr.c_str());
        return 0;
    }
    if (sa.ss_family == AF_INET)
        ((sockaddr_in&)sa).sin_port = htons(uint16_t(opts.port));
    else
        ((sockaddr_in6&)sa).sin6_port = htons(uint16_t(opts.port));
    HttpDaemon* h = new HttpDaemon;
    h->ctx = ctx;
    h->connSec = opts.connSec;
    unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL | MHD_USE_ERROR_LOG;
    if (sa.ss_family == AF_INET6) flags |= MHD_USE_IPv6;
    h->mhd = MHD_start_daemon(
        flags, 0, nullptr, nullptr, AccessRequest, h, MHD_OPTION_EXTERNAL_LOGGER, LogMhd, nullptr,
        MHD_OPTION_SOCK_ADDR, (sockaddr*)&sa, MHD_OPTION_THREAD_POOL_SIZE, (unsigned)opts.threads,
        MHD_OPTION_CONNECTION_LIMIT, (unsigned)opts.maxConnections, MHD_OPTION_CONNECTION_TIMEOUT,
        (unsigned)opts.idleSec, MHD_OPTION_CONNECTION_MEMORY_LIMIT,
        (size_t)(2 * kMaxHeadBytes + 16 * 1024), MHD_OPTION_NOTIFY_COMPLETED, EndRequest, nullptr,
        MHD_OPTION_NOTIFY_CONNECTION, NoteConnection, h, MHD_OPTION_END);
    if (!h->mhd) {
        LogLine("cannot listen on %s port %d", opts.addr.c_str(), opts.port);
        delete h;
        return 0;
    }
    const MHD_DaemonInfo* info = MHD_get_daemon_info(h->mhd, MHD_DAEMON_INFO_BIND_PORT);
    *boundPort = info ? info->port : opts.port;
    h->reaper = std::thread(ReapConnections, h);
    *d = h;
    return 1;
}

void StopHttp(HttpDaemon* d) {
    {
        std::lock_guard<std::mutex> hold(d->lock);
        d->stop = 1;
        d->wake.notify_all();
    }
    d->reaper.join();
    MHD_stop_daemon(d->mhd);
    delete d;
}
