// The delivery time's date arithmetic: one week ahead, comparison, the two rules a chosen time
// must meet, and the typed form of the plain dialog.
#include "address/date_calc.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "date_util.h"

namespace {

// A time with the day of the week as given (0 unless given): the rules must not look at it.
SYSTEMTIME Tm(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0, int dow = 0) {
    return SYSTEMTIME{WORD(y), WORD(mo), WORD(dow), WORD(d), WORD(h), WORD(mi), WORD(s), WORD(ms)};
}

TEST(AddOneWeek, CrossesMonthsYearsAndFebruary) {
    struct Case {
        const char* name;
        SYSTEMTIME from, want;
    };
    const Case cases[] = {
        {"within the month", Tm(2002, 7, 10, 14, 25, 0, 0, 3), Tm(2002, 7, 17, 14, 25, 0, 0, 3)},
        {"to the last day", Tm(2002, 7, 24, 9), Tm(2002, 7, 31, 9)},
        {"into the next month", Tm(2002, 7, 25, 9), Tm(2002, 8, 1, 9)},
        {"out of a 30-day month", Tm(2002, 6, 28, 9), Tm(2002, 7, 5, 9)},
        {"into the next year", Tm(2002, 12, 26, 10, 40, 12, 345, 4),
         Tm(2003, 1, 2, 10, 40, 12, 345, 4)},
        {"February of a leap year", Tm(2004, 2, 25, 9, 10), Tm(2004, 3, 3, 9, 10)},
        {"29 February", Tm(2004, 2, 29, 9), Tm(2004, 3, 7, 9)},
        {"February of 2100, no leap year", Tm(2100, 2, 25, 9, 10), Tm(2100, 3, 4, 9, 10)},
        {"February of 2000, a leap year", Tm(2000, 2, 22), Tm(2000, 2, 29)},
        {"February of 2003", Tm(2003, 2, 22), Tm(2003, 3, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SYSTEMTIME t = c.from;
        AddOneWeek(&t);
        EXPECT_EQ(Show(t), Show(c.want));
    }
}

TEST(CompareTime, FirstDifferenceDecidesAndWeekdayIsIgnored) {
    struct Case {
        const char* name;
        SYSTEMTIME a, b;
        int want;
    };
    const Case cases[] = {
        {"equal", Tm(2002, 7, 10, 14), Tm(2002, 7, 10, 14), 0},
        {"only the weekday differs", Tm(2002, 7, 10, 14, 0, 0, 0, 3),
         Tm(2002, 7, 10, 14, 0, 0, 0, 5), 0},
        {"year before a later month", Tm(2002, 12, 31, 23), Tm(2003, 1, 1, 0), -1},
        {"month before day", Tm(2002, 8, 1), Tm(2002, 7, 31), 1},
        {"day before hour", Tm(2002, 7, 9, 23), Tm(2002, 7, 10, 0), -1},
        {"hour", Tm(2002, 7, 10, 15), Tm(2002, 7, 10, 14, 59, 59, 999), 1},
        {"minute", Tm(2002, 7, 10, 14, 1), Tm(2002, 7, 10, 14, 0, 59), 1},
        {"second", Tm(2002, 7, 10, 14, 0, 1), Tm(2002, 7, 10, 14, 0, 0, 999), 1},
        {"milliseconds", Tm(2002, 7, 10, 14, 0, 0, 0), Tm(2002, 7, 10, 14, 0, 0, 1), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CompareTime(&c.a, &c.b), c.want);
        EXPECT_EQ(CompareTime(&c.b, &c.a), -c.want);
    }
}

// The past message, the one-week message, or none; chosen times are on the whole hour.
TEST(CheckDlvTime, AcceptsFromTheNextHourToTheSameHourAWeekOn) {
    const char* const past = "過去の日時は指定できません";
    const char* const late = "１週間以降の日時は指定できません";
    struct Case {
        const char* name;
        SYSTEMTIME now, chosen;
        const char* want;
    };
    const Case cases[] = {
        {"26 Dec 10:40, 2 Jan 10:00", Tm(2002, 12, 26, 10, 40), Tm(2003, 1, 2, 10), nullptr},
        {"26 Dec 10:40, 2 Jan 11:00", Tm(2002, 12, 26, 10, 40), Tm(2003, 1, 2, 11), late},
        {"14:25 10 Jul, 14:00 that day", Tm(2002, 7, 10, 14, 25), Tm(2002, 7, 10, 14), past},
        {"14:25 10 Jul, 15:00 that day", Tm(2002, 7, 10, 14, 25), Tm(2002, 7, 10, 15), nullptr},
        {"14:25 10 Jul, 14:00 17 Jul", Tm(2002, 7, 10, 14, 25), Tm(2002, 7, 17, 14), nullptr},
        {"14:25 10 Jul, 15:00 17 Jul", Tm(2002, 7, 10, 14, 25), Tm(2002, 7, 17, 15), late},
        {"14:25 10 Jul, 23:00 9 Jul", Tm(2002, 7, 10, 14, 25), Tm(2002, 7, 9, 23), past},
        {"current hour, one millisecond on", Tm(2002, 7, 10, 14, 0, 0, 1), Tm(2002, 7, 10, 14),
         past},
        {"current hour, exactly on it", Tm(2002, 7, 10, 14), Tm(2002, 7, 10, 14), nullptr},
        {"exactly on the hour, a week on", Tm(2002, 7, 10, 14), Tm(2002, 7, 17, 14), nullptr},
        {"25 Feb 2004 09:10, 3 Mar 09:00", Tm(2004, 2, 25, 9, 10), Tm(2004, 3, 3, 9), nullptr},
        {"25 Feb 2004 09:10, 3 Mar 10:00", Tm(2004, 2, 25, 9, 10), Tm(2004, 3, 3, 10), late},
        {"25 Feb 2100 09:10, 4 Mar 09:00", Tm(2100, 2, 25, 9, 10), Tm(2100, 3, 4, 9), nullptr},
        {"25 Feb 2100 09:10, 4 Mar 10:00", Tm(2100, 2, 25, 9, 10), Tm(2100, 3, 4, 10), late},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const char* got = CheckDlvTime(&c.chosen, &c.now);
        EXPECT_STREQ(got ? got : "(accepted)", c.want ? c.want : "(accepted)");
    }
}

TEST(GetWeekDay, AgreesWithTheCalendarOfTheLibrary) {
    using namespace std::chrono;
    for (int y = 1999; y <= 2100; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= GetMonthLen(y, m); ++d) {
                const year_month_day ymd{year{y}, month{unsigned(m)}, day{unsigned(d)}};
                ASSERT_TRUE(ymd.ok()) << y << "/" << m << "/" << d;
                ASSERT_EQ(GetWeekDay(y, m, d), int(weekday{sys_days{ymd}}.c_encoding()))
                    << y << "/" << m << "/" << d;
            }
}

// Characters 1-4, 6-7, 9-10 and 12-13 are the year, month, day and hour, each converted as a
// decimal number; what lies between them is not looked at.
TEST(ReadDateText, ReadsTheFourNumbersAndRefusesWhatIsNoDate) {
    struct Case {
        const char* text;
        int ok;
        SYSTEMTIME want;  // when ok
    };
    const Case cases[] = {
        {"2002/06/18-15", 1, Tm(2002, 6, 18, 15, 0, 0, 0, 2)},
        {"2002-06-18 15", 1, Tm(2002, 6, 18, 15, 0, 0, 0, 2)},
        {"2002/ 6/ 8- 5", 1, Tm(2002, 6, 8, 5, 0, 0, 0, 6)},
        {"2004/02/29-00", 1, Tm(2004, 2, 29, 0, 0, 0, 0, 0)},
        {"2002/12/31-23xyz", 1, Tm(2002, 12, 31, 23, 0, 0, 0, 2)},
        {"2002/13/01-10", 0, {}},
        {"2002/00/10-10", 0, {}},
        {"2002/06/31-10", 0, {}},
        {"2100/02/29-10", 0, {}},
        {"2002/06/00-10", 0, {}},
        {"2002/06/18-24", 0, {}},
        {"2002/06/18-99", 0, {}},
        {"2002/06/18--1", 0, {}},
        {"2002/06/18", 1, Tm(2002, 6, 18, 0, 0, 0, 0, 2)},
        {"", 0, {}},
        {"yyyy/mm/dd-hh", 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SYSTEMTIME t;
        ASSERT_EQ(ReadDateText(c.text, &t), c.ok);
        if (c.ok) {
            EXPECT_EQ(Show(t), Show(c.want));
        }
    }
}

}  // namespace
