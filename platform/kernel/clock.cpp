// The tick count and the local time on the C library's clocks, each replaceable by tests.
#include <time.h>

#include "platform/kernel/kernel.h"

static DWORD (*g_tickHook)() = nullptr;
static void (*g_localTimeHook)(SYSTEMTIME*) = nullptr;

void PlatSetTickCountHook(DWORD (*hook)()) {
    g_tickHook = hook;
}
void PlatSetLocalTimeHook(void (*hook)(SYSTEMTIME*)) {
    g_localTimeHook = hook;
}

// The monotonic clock never jumps with the wall clock; only the low 32 bits of the milliseconds
// are kept, so the count wraps like the original one.
DWORD GetTickCount() {
    if (g_tickHook) return g_tickHook();
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (DWORD)((uint64_t)now.tv_sec * 1000u + (uint64_t)now.tv_nsec / 1000000u);
}

void GetLocalTime(SYSTEMTIME* time) {
    if (g_localTimeHook) {
        g_localTimeHook(time);
        return;
    }
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    tm local;
    localtime_r(&now.tv_sec, &local);
    time->wYear = (WORD)(local.tm_year + 1900);
    time->wMonth = (WORD)(local.tm_mon + 1);
    time->wDayOfWeek = (WORD)local.tm_wday;
    time->wDay = (WORD)local.tm_mday;
    time->wHour = (WORD)local.tm_hour;
    time->wMinute = (WORD)local.tm_min;
    // A leap second (tm_sec 60) has no place in the original record.
    time->wSecond = (WORD)(local.tm_sec > 59 ? 59 : local.tm_sec);
    time->wMilliseconds = (WORD)(now.tv_nsec / 1000000);
}
