// quillet-server: receives the program's uploads and mails them, or keeps its accounts
// (`quillet-server account ...`). quillet-server --help lists the options.
#include <curl/curl.h>
#include <signal.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "server/account_cmd.h"
#include "server/accounts.h"
#include "server/http_daemon.h"
#include "server/log.h"
#include "server/options.h"
#include "server/scheduler.h"

// The server's clock. Test seam: when QUILLET_SERVER_CLOCK_OFFSET_FILE names a file, the whole
// number of seconds it holds is added at every reading, so that a test moves a running server past
// a delivery hour without waiting for it. A missing file or one without a number adds nothing.
static time_t SystemNow() {
    static const char* const offsetFile = getenv("QUILLET_SERVER_CLOCK_OFFSET_FILE");
    const time_t now = time(nullptr);
    if (!offsetFile || !*offsetFile) return now;
    FILE* f = fopen(offsetFile, "r");
    if (!f) return now;
    long long offset = 0;
    if (fscanf(f, "%lld", &offset) != 1) offset = 0;
    fclose(f);
    return now + time_t(offset);
}

// Fills ctx from the options: the relay and its credentials, the limits. Fails with a message.
static int MakeCtx(const ServerOpts& o, Store* st, ServerCtx* ctx) {
    ctx->store = st;
    ctx->dir = o.dir;
    ctx->relay.url = o.smtp;
    ctx->sender = o.sender;
    ctx->publicUrl = o.publicUrl;
    ctx->limits.quotaBytes = o.quotaMb * 1024 * 1024;
    ctx->registerOnFirstUpload = o.registerOnFirstUpload;
    ctx->now = SystemNow;
    std::string error;
    if (!o.smtpAuthFile.empty() && !ReadSmtpAuthFile(o.smtpAuthFile, &ctx->relay, &error)) {
        fprintf(stderr, "quillet-server: %s\n", error.c_str());
        return 0;
    }
    return 1;
}

// Serves until SIGINT or SIGTERM, then finishes the requests and the mail under way.
static int Serve(ServerOpts& o, Store* st) {
    ServerCtx ctx;
    if (!MakeCtx(o, st, &ctx)) return 1;
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);  // the threads made below inherit the mask
    HttpDaemon* http;
    int port;
    if (!StartHttp(o.http, &ctx, &http, &port)) return 1;
    if (ctx.publicUrl.empty()) {
        const std::string& a = o.http.addr;
        ctx.publicUrl = "http://" + (a.find(':') != std::string::npos ? "[" + a + "]" : a) + ":" +
                        std::to_string(port);
    }
    Scheduler* sched;
    if (!StartScheduler(&ctx, &sched)) {
        StopHttp(http);
        return 1;
    }
    LogLine("listening on %s port %d, state under %s, mail %s", o.http.addr.c_str(), port,
            o.dir.c_str(),
            o.smtp.empty() ? ("into " + MaildirOf(ctx)).c_str() : ("through " + o.smtp).c_str());
    // The first line of standard output tells a caller that asked for port 0 which it got.
    printf("quillet-server: listening on %s port %d\n", o.http.addr.c_str(), port);
    fflush(stdout);
    int sig;
    sigwait(&stop, &sig);
    LogLine("stopping (signal %d)", sig);
    StopHttp(http);
    StopScheduler(sched);
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 2 && strcmp(argv[1], "--help") == 0) {
        fputs(kServerUsage, stdout);
        return 0;
    }
    ServerOpts o;
    std::string error;
    if (!ReadServerArgs(argc, argv, &o, &error)) {
        fprintf(stderr, "quillet-server: %s\n\n%s", error.c_str(), kServerUsage);
        return 2;
    }
    const bool account = !o.words.empty() && o.words[0] == "account";
    if (!o.words.empty() && !account) {
        fputs(kServerUsage, stderr);
        return 2;
    }
    // Everything the server writes is for its user alone: addresses, messages, pictures.
    umask(077);
    if (!InitPassHash() || curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        fputs("quillet-server: the crypto or mail library cannot start\n", stderr);
        return 1;
    }
    Store* st;
    if (!OpenStore(o.db, o.dir, &st)) return 1;
    const int rc = account ? RunAccountCmd(o, st, stdin, stdout) : Serve(o, st);
    st->ops->close(st);
    curl_global_cleanup();
    return rc;
}
