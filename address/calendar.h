// The month calendar of the delivery date dialog: one month as six weeks, Sunday first, the
// neighbouring months' days greyed, two arrows stepping the month, the selected day highlighted.
// It is worked with the mouse only and tells its parent nothing: the dialog reads the published
// selection when the user confirms.
#pragma once

#include "platform/user/window.h"

constexpr int kGridCols = 7, kGridRows = 6;
constexpr int kNoCell = 10;  // a (column, row) of (10, 10) is no cell

// A cell's kind: a day of the month before, of the shown month, or of the month after.
enum { CELL_PREV = -1, CELL_SHOWN = 0, CELL_NEXT = 1 };

struct MonthCell {
    int day;
    int kind;
};

// The 42 cells, row by row.
struct MonthGrid {
    MonthCell cells[kGridCols * kGridRows];
};

// A month-stepping arrow: its rectangle, whether the pointer holds it down now and whether it
// did before the last mouse move.
struct ClnNavBtn {
    RECT rect;
    int step;  // -1 for "←", +1 for "→"
    bool pressed;
    bool wasPressed;
};

// The one calendar.
struct ClnState {
    SYSTEMTIME sel;  // year, month, day of week and day of the selected day
    MonthGrid grid;
    bool tracking;  // the left button went down in the calendar and is still down
    POINT cur;      // cell under the pointer while tracking
    POINT prev;
    ClnNavBtn nav[2];
    HFONT font;
};

extern ClnState g_cln;
// The selection as last laid out: what the date dialog reads.
extern SYSTEMTIME g_clnSel;

// Steps the month of sel by `step` (-1, 0, +1), keeping the day within the new month and the day
// of the week true; lays out the month in grid and publishes sel.
void MakeMonthGrid(SYSTEMTIME* sel, MonthGrid* grid, int step);

// The cell under client position lp (the mouse message's packed position); (10, 10) for none.
POINT GetClnCell(LPARAM lp);

// Moves the inverting focus frame from cell prev to cell cur, drawing straight on the window.
void DrawCellFocus(HWND wnd, POINT prev, POINT cur);

// The calendar's window procedure (class "CLN801", made by MakeClnWnd).
LRESULT CalendarProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
