// The texts the send dialog makes from its state: the recipients' count, the schedule line of
// the upload and the delivery line it shows.
#include <cstdio>

#include "send/senddlg.h"

int CountAddresses(const char* text) {
    int n = 1;
    for (const char* p = text; *p; p++) n += *p == ',';
    return n;
}

void MakeSchedule(const SYSTEMTIME& dlv, char* buf, size_t size) {
    if (dlv.wYear == 0)
        snprintf(buf, size, "OFF()");
    else
        snprintf(buf, size, "ON(%04d/%02d/%02d-%02d)", dlv.wYear, dlv.wMonth, dlv.wDay, dlv.wHour);
}

std::string MakeDlvLine(const SYSTEMTIME& dlv) {
    if (dlv.wYear == 0) return "          今すぐ送信";
    static const char* const kDayNames[7] = {"日", "月", "火", "水", "木", "金", "土"};
    char line[128];
    snprintf(line, sizeof line, "%04d年%02d月%02d日(%s)　%s%02d：%02d", dlv.wYear, dlv.wMonth,
             dlv.wDay, kDayNames[dlv.wDayOfWeek % 7], dlv.wHour < 12 ? "午前" : "午後",
             dlv.wHour % 12, dlv.wMinute);
    return line;
}
