// One lock around each whole line, so that threads never interleave within one.
#include "server/log.h"

#include <cstdarg>
#include <ctime>
#include <mutex>

static std::mutex g_logLock;
static FILE* g_logFile = nullptr;

void SetLogFile(FILE* f) {
    std::lock_guard<std::mutex> hold(g_logLock);
    g_logFile = f;
}

void LogLine(const char* fmt, ...) {
    const time_t now = time(nullptr);
    struct tm tm;
    localtime_r(&now, &tm);
    char stamp[32];
    strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &tm);
    std::lock_guard<std::mutex> hold(g_logLock);
    FILE* f = g_logFile ? g_logFile : stderr;
    fprintf(f, "%s quillet-server: ", stamp);
    va_list args;
    va_start(args, fmt);
    vfprintf(f, fmt, args);
    va_end(args);
    fputc('\n', f);
    fflush(f);
}
