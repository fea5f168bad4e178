// quillet-server on a free port of this machine, in threads of the test program, keeping its
// state in a temporary folder, for the life of the object. It knows one account, album1, and
// its clock is the test's when ServerClock::now is set.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "server/accounts.h"
#include "server/http_daemon.h"
#include "server/server_ctx.h"
#include "support/testutil.h"

inline const char kTestAlbum[] = "album1";
inline const char kTestPass[] = "pw-Zq81x";
inline const char kTestUser[] = "me@example.jp";

// The servers' clock in tests: the real one while `now` is 0.
struct ServerClock {
    static inline time_t now = 0;
    static time_t Now() { return now ? now : time(nullptr); }
};

// Adds the account `album` with `pass` and `mail` to the server's store.
inline int AddTestAccount(const ServerCtx& ctx, const std::string& album, const std::string& pass,
                          const std::string& mail) {
    Account acct;
    acct.album = album;
    acct.mail = mail;
    acct.created = ctx.now();
    UseCheapPassHash();
    return InitPassHash() && HashPass(pass, &acct.passHash) &&
           ctx.store->ops->addAccount(ctx.store, acct);
}

struct ServerRun {
    TempDir dir;
    ServerCtx ctx;
    HttpDaemon* http = nullptr;
    int port = 0;  // 0 when the server could not start

    // Opens the store under `stateDir` (the temporary folder when empty) and listens as `opts`
    // say, on a free port of 127.0.0.1.
    explicit ServerRun(const std::string& stateDir = "", HttpOpts opts = HttpOpts()) {
        ctx.dir = stateDir.empty() ? dir.path : stateDir;
        ctx.sender = "quillet@server.test";
        ctx.publicUrl = "http://server.test";
        ctx.now = ServerClock::Now;
        if (!OpenStore("", ctx.dir, &ctx.store)) return;
        Account acct;
        if (!ctx.store->ops->getAccount(ctx.store, kTestAlbum, &acct) &&
            !AddTestAccount(ctx, kTestAlbum, kTestPass, kTestUser))
            return;
        opts.port = 0;
        if (!StartHttp(opts, &ctx, &http, &port)) port = 0;
    }
    ~ServerRun() {
        if (http) StopHttp(http);
        if (ctx.store) ctx.store->ops->close(ctx.store);
    }
};

// The uploads the server stored for `album`, newest first.
inline std::vector<UploadRec> StoredUploads(const ServerRun& server, const std::string& album) {
    std::vector<UploadRec> ups;
    server.ctx.store->ops->listUploads(server.ctx.store, album, &ups);
    return ups;
}

// The picture of an upload as stored.
inline std::string StoredPicture(const ServerRun& server, long long upload) {
    std::string jpeg;
    server.ctx.store->ops->readPicture(server.ctx.store, upload, &jpeg);
    return jpeg;
}
