// The typed delivery time: any text through ReadDateText. A time it accepts is a real date and
// hour with its day of the week, reads back the same from its own "yyyy/mm/dd-hh" text, and is
// let through by CheckDlvTime exactly when it lies from now to the same moment a week on, for a
// few moments of now around the ends of a month, a leap day and a year.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "address/date_calc.h"

namespace {

// Days since 1 March of year 0 of the Gregorian calendar, counted by 400-year eras.
long DaysOfDate(int y, int m, int d) {
    if (m <= 2) y--;
    const long era = y / 400, yoe = y - era * 400;
    const long doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy;
}

long HoursOfTime(const SYSTEMTIME& t) {
    return DaysOfDate(t.wYear, t.wMonth, t.wDay) * 24 + t.wHour;
}

int MonthLenOf(int y, int m) {
    return int(m == 12 ? DaysOfDate(y + 1, 1, 1) - DaysOfDate(y, 12, 1)
                       : DaysOfDate(y, m + 1, 1) - DaysOfDate(y, m, 1));
}

// 1 March of year 0 was a Wednesday.
int WeekDayOfDate(int y, int m, int d) {
    return int((DaysOfDate(y, m, d) + 3) % 7);
}

const SYSTEMTIME kNows[] = {
    {2024, 2, 1, 26, 10, 0, 0, 0},    // a week over 29 February, on the hour
    {2023, 12, 4, 28, 23, 30, 5, 0},  // a week into the next year, within the hour
    {2025, 4, 3, 30, 0, 0, 0, 1},     // a week into May, a millisecond past midnight
    {9999, 12, 5, 31, 12, 0, 0, 0},   // the last year the text can hold
};

void CheckDlvRule(const SYSTEMTIME& t) {
    for (const SYSTEMTIME& now : kNows) {
        // The chosen time is on the hour: it is not earlier than now when its hour is later, or
        // the same with now on the hour too.
        const long from = HoursOfTime(now) + (now.wMinute || now.wSecond || now.wMilliseconds);
        const long to = HoursOfTime(now) + 7 * 24;
        const long at = HoursOfTime(t);
        if ((CheckDlvTime(&t, &now) == nullptr) != (at >= from && at <= to)) abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), strnlen((const char*)data, size));
    SYSTEMTIME t;
    if (!ReadDateText(text.c_str(), &t)) return 0;
    if (t.wYear < 1 || t.wYear > 9999 || t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1 ||
        t.wDay > MonthLenOf(t.wYear, t.wMonth) || t.wHour > 23 || t.wMinute || t.wSecond ||
        t.wMilliseconds || t.wDayOfWeek != WeekDayOfDate(t.wYear, t.wMonth, t.wDay))
        abort();
    char own[32];
    snprintf(own, sizeof own, "%04u/%02u/%02u-%02u", t.wYear, t.wMonth, t.wDay, t.wHour);
    SYSTEMTIME back;
    if (!ReadDateText(own, &back) || CompareTime(&back, &t) != 0 || back.wDayOfWeek != t.wDayOfWeek)
        abort();
    CheckDlvRule(t);
    return 0;
}
