#include "address/date_calc.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

const int kMonthLens[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// The number at text[from], at most `len` characters long, as the C library converts it:
// leading blanks and a sign are taken, conversion stops at the first non-digit.
int ReadNumAt(const char* text, size_t from, size_t len) {
    char piece[8] = "";
    const size_t n = strlen(text);
    if (from < n) memcpy(piece, text + from, std::min({len, n - from, sizeof piece - 1}));
    return int(strtol(piece, nullptr, 10));
}

}  // namespace

int GetMonthLen(int year, int month) {
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return month == 2 && leap ? 29 : kMonthLens[month - 1];
}

int GetWeekDay(int year, int month, int day) {
    // Counted from a March-based year, so that the leap day falls at the end of it.
    static const int kMonthShift[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) year -= 1;
    return (year + year / 4 - year / 100 + year / 400 + kMonthShift[month - 1] + day) % 7;
}

int CompareTime(const SYSTEMTIME* a, const SYSTEMTIME* b) {
    const WORD av[7] = {a->wYear,   a->wMonth,  a->wDay,         a->wHour,
                        a->wMinute, a->wSecond, a->wMilliseconds};
    const WORD bv[7] = {b->wYear,   b->wMonth,  b->wDay,         b->wHour,
                        b->wMinute, b->wSecond, b->wMilliseconds};
    for (int i = 0; i < 7; ++i)
        if (av[i] != bv[i]) return av[i] < bv[i] ? -1 : 1;
    return 0;
}

void AddOneWeek(SYSTEMTIME* t) {
    const int len = GetMonthLen(t->wYear, t->wMonth);
    t->wDay = WORD(t->wDay + 7);
    if (t->wDay <= len) return;
    t->wDay = WORD(t->wDay - len);
    t->wMonth = WORD(t->wMonth + 1);
    if (t->wMonth == 13) {
        t->wMonth = 1;
        t->wYear = WORD(t->wYear + 1);
    }
}

const char* CheckDlvTime(const SYSTEMTIME* chosen, const SYSTEMTIME* now) {
    if (CompareTime(chosen, now) < 0) return "過去の日時は指定できません";
    SYSTEMTIME limit = *now;
    AddOneWeek(&limit);
    if (CompareTime(chosen, &limit) > 0) return "１週間以降の日時は指定できません";
    return nullptr;
}

int ReadDateText(const char* text, SYSTEMTIME* t) {
    const int year = ReadNumAt(text, 0, 4), month = ReadNumAt(text, 5, 2);
    const int day = ReadNumAt(text, 8, 2), hour = ReadNumAt(text, 11, 2);
    *t = SYSTEMTIME{WORD(year), WORD(month), 0, WORD(day), WORD(hour), 0, 0, 0};
    // A month 13 or an hour 25 would pass both rules and reach the server as it is.
    if (year < 1 || month < 1 || month > 12 || hour < 0 || hour > 23) return 0;
    if (day < 1 || day > GetMonthLen(year, month)) return 0;
    t->wDayOfWeek = WORD(GetWeekDay(year, month, day));
    return 1;
}
