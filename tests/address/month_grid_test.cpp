// The calendar's month stepping and the grid of 42 cells.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "address/calendar.h"
#include "date_util.h"

namespace {

SYSTEMTIME Day(int y, int m, int d) {
    return At(y, m, d, 10, 40);
}

TEST(MakeMonthGrid, StepsTheMonthKeepingTheDayInItAndTheWeekdayTrue) {
    struct Case {
        const char* name;
        SYSTEMTIME from;
        int step;
        SYSTEMTIME want;
    };
    const Case cases[] = {
        {"31 Jan 2003 on", Day(2003, 1, 31), 1, Day(2003, 2, 28)},
        {"31 Jan 2004 on, a leap year", Day(2004, 1, 31), 1, Day(2004, 2, 29)},
        {"31 Jan 2100 on, no leap year", Day(2100, 1, 31), 1, Day(2100, 2, 28)},
        {"30 Jan 2000 on", Day(2000, 1, 30), 1, Day(2000, 2, 29)},
        {"31 Mar back", Day(2003, 3, 31), -1, Day(2003, 2, 28)},
        {"31 May on", Day(2002, 5, 31), 1, Day(2002, 6, 30)},
        {"15 Jan 2003 back", Day(2003, 1, 15), -1, Day(2002, 12, 15)},
        {"31 Dec 2002 on", Day(2002, 12, 31), 1, Day(2003, 1, 31)},
        {"10 Jul 2002 on", Day(2002, 7, 10), 1, Day(2002, 8, 10)},
        {"10 Jul 2002 stays", Day(2002, 7, 10), 0, Day(2002, 7, 10)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SYSTEMTIME sel = c.from;
        MonthGrid grid;
        MakeMonthGrid(&sel, &grid, c.step);
        EXPECT_EQ(Show(sel), Show(c.want));
        // What the date dialog reads is the selection as laid out.
        EXPECT_EQ(Show(g_clnSel), Show(c.want));
    }
}

// Stepping month by month from January 1999 to December 2100, with several selected days:
// every cell of the grid, grey or not, stands in the column of its true weekday, the days run
// on without a gap, and the grid of a month is the same whichever day is selected.
TEST(MakeMonthGrid, EveryDayOfEveryMonthUnderItsWeekday) {
    using namespace std::chrono;
    for (int selDay : {1, 6, 7, 14, 15, 28, 31}) {
        SYSTEMTIME sel = Day(1998, 12, selDay);
        MonthGrid grid;
        int wantDay = selDay;
        for (int i = 0; i < 102 * 12; ++i) {
            MakeMonthGrid(&sel, &grid, 1);
            const year_month shown{year{sel.wYear}, month{sel.wMonth}};
            SCOPED_TRACE(std::to_string(sel.wYear) + "/" + std::to_string(sel.wMonth) +
                         " selected " + std::to_string(sel.wDay));
            // A day cut to a short month's last day stays cut.
            wantDay = std::min(wantDay, GetMonthLen(sel.wYear, sel.wMonth));
            ASSERT_EQ(sel.wDay, wantDay);
            ASSERT_EQ(sel.wDayOfWeek, GetWeekDay(sel.wYear, sel.wMonth, sel.wDay));
            // The 1st is in the first row: the grid does not move with the selection.
            const sys_days first{shown / 1};
            const int firstCol = int(weekday{first}.c_encoding());
            for (int cell = 0; cell < 42; ++cell) {
                const year_month_day date{first + days{cell - firstCol}};
                const MonthCell& got = grid.cells[cell];
                const int kind = date.month() == shown.month() ? CELL_SHOWN
                                 : sys_days{date} < first      ? CELL_PREV
                                                               : CELL_NEXT;
                ASSERT_EQ(got.day, int(unsigned(date.day()))) << "cell " << cell;
                ASSERT_EQ(got.kind, kind) << "cell " << cell;
            }
        }
    }
}

}  // namespace
