// The calendar's month arithmetic and its grid of 42 cells.
#include "address/calendar.h"
#include "address/date_calc.h"

SYSTEMTIME g_clnSel;

namespace {

// Month lengths indexed 0 to 13: December before January and January after December.
void GetMonthLens(int year, int lens[14]) {
    lens[0] = 31;
    for (int m = 1; m <= 12; ++m) lens[m] = GetMonthLen(year, m);
    lens[13] = 31;
}

// The new weekday of the selection after its month was stepped, with the day kept.
void StepMonth(SYSTEMTIME* sel, const int lens[14], int step) {
    int dow = sel->wDayOfWeek;
    if (step > 0) {
        dow = (dow + lens[sel->wMonth] % 7) % 7;
        sel->wMonth = WORD(sel->wMonth == 12 ? 1 : sel->wMonth + 1);
        if (sel->wMonth == 1) sel->wYear = WORD(sel->wYear + 1);
    } else {
        dow = (dow - lens[sel->wMonth - 1] % 7 + 7) % 7;
        sel->wMonth = WORD(sel->wMonth == 1 ? 12 : sel->wMonth - 1);
        if (sel->wMonth == 12) sel->wYear = WORD(sel->wYear - 1);
    }
    // The 31st stepped into a shorter month becomes its last day, that many weekdays earlier.
    const int len = lens[sel->wMonth];
    if (sel->wDay > len) {
        dow = (dow + 7 - (sel->wDay - len) % 7) % 7;
        sel->wDay = WORD(len);
    }
    sel->wDayOfWeek = WORD(dow);
}

}  // namespace

void MakeMonthGrid(SYSTEMTIME* sel, MonthGrid* grid, int step) {
    int lens[14];
    GetMonthLens(sel->wYear, lens);
    if (step != 0) StepMonth(sel, lens, step);
    // The 1st always sits in the first row, so that the grid of a month stays put while the
    // selection moves within it.
    const int first = ((sel->wDayOfWeek - (sel->wDay - 1)) % 7 + 7) % 7;
    const int len = lens[sel->wMonth];
    const int prevLen = lens[sel->wMonth - 1];
    MonthCell* cells = grid->cells;
    for (int i = 0; i < first; ++i) cells[i] = MonthCell{prevLen - (first - 1 - i), CELL_PREV};
    for (int d = 1; d <= len; ++d) cells[first + d - 1] = MonthCell{d, CELL_SHOWN};
    for (int i = first + len; i < kGridCols * kGridRows; ++i)
        cells[i] = MonthCell{i - first - len + 1, CELL_NEXT};
    g_clnSel = *sel;
}

POINT GetClnCell(LPARAM lp) {
    // Unsigned, so that positions left of or above the grid give huge numbers, not cells.
    const unsigned col = (unsigned(LOWORD(uintptr_t(lp))) - 10) / 22;
    const unsigned row = (unsigned(HIWORD(uintptr_t(lp))) - 45) / 13;
    if (col < kGridCols && row < kGridRows) return POINT{LONG(col), LONG(row)};
    return POINT{kNoCell, kNoCell};
}
