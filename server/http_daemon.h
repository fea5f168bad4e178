// The HTTP transport on libmicrohttpd: a pool of polling threads, a connection limit, an idle
// time-out and a whole-life time-out per connection, and bounded requests. Each complete request
// goes to AnswerRequest.
#pragma once

#include <string>

#include "server/server_ctx.h"

struct HttpOpts {
    std::string addr = "127.0.0.1";  // a numeric address or a host name
    int port = 8080;                 // 0: a free port the system picks
    int threads = 4;                 // polling threads; each serves many connections
    int maxConnections = 512;        // more are refused at once
    int idleSec = 30;                // a connection silent this long is closed
    int connSec = 120;               // a connection, however busy, is closed after this
};

struct HttpDaemon;

// Reads "ADDR:PORT" or "[IPv6]:PORT" into opts->addr and opts->port. Returns 0 when malformed.
int ParseListenAddr(const std::string& text, HttpOpts* opts);

// Whether `addr` resolves only to this machine (127.0.0.0/8, ::1). Unresolvable names are not.
int IsLoopbackAddr(const std::string& addr);

// Starts serving `ctx` as `opts` say. Returns 1 with *d and the port listened on, 0 (with a log
// line) when the address cannot be had.
int StartHttp(const HttpOpts& opts, ServerCtx* ctx, HttpDaemon** d, int* boundPort);

// Stops accepting, ends the connections and frees *d.
void StopHttp(HttpDaemon* d);
