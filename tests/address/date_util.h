// Times as the date tests write them, and as a failing check prints them.
#pragma once

#include <cstdio>
#include <string>

#include "address/date_calc.h"

// y/mo/d h:mi:s.ms with its true day of the week.
inline SYSTEMTIME At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return SYSTEMTIME{WORD(y), WORD(mo), WORD(GetWeekDay(y, mo, d)), WORD(d), WORD(h), WORD(mi),
                      WORD(s), WORD(ms)};
}

inline std::string Show(const SYSTEMTIME& t) {
    if (t.wYear == 0) return "nothing";
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d(%d) %02d:%02d:%02d.%03d", t.wYear, t.wMonth,
                  t.wDay, t.wDayOfWeek, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
    return text;
}
