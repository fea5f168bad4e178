// The calendar's window: creation, painting and the mouse.
#include "address/calendar.h"

#include <cstdio>

#include "platform/kernel/kernel.h"

ClnState g_cln;

namespace {

constexpr RECT kHeaderRect = {0, 0, 162, 25};
constexpr RECT kDaysRect = {0, 25, 162, 128};
const char* const kWeekNames[kGridCols] = {"日", "月", "火", "水", "木", "金", "土"};

int GetCellX(int col) {
    return 10 + 22 * col;
}
int GetCellY(int row) {
    return 45 + 13 * row;
}
bool IsCell(POINT c) {
    return c.x < kGridCols && c.y < kGridRows;
}

void ClnCreate(HWND wnd) {
    g_cln.nav[0] = ClnNavBtn{RECT{5, 5, 27, 20}, -1, false, false};
    g_cln.nav[1] = ClnNavBtn{RECT{135, 5, 157, 20}, 1, false, false};
    g_cln.tracking = false;
    g_cln.cur = g_cln.prev = POINT{kNoCell, kNoCell};
    GetLocalTime(&g_cln.sel);
    MakeMonthGrid(&g_cln.sel, &g_cln.grid, 0);
    HDC dc = GetDC(wnd);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    ReleaseDC(wnd, dc);
    g_cln.font = CreateFontA(13, 0, 0, 0, FW_THIN, 0, 0, 0, tm.tmCharSet, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, nullptr);
}

void DrawClnText(HDC dc, int x, int y, const char* text, COLORREF color) {
    SetTextColor(dc, color);
    TextOutA(dc, x, y, text, -1);
}

void DrawNavBtn(HDC dc, const ClnNavBtn& b) {
    RECT r = b.rect;
    DrawEdge(dc, &r, b.pressed ? BDR_SUNKENINNER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    DrawClnText(dc, b.rect.left + 3, b.rect.top + (b.pressed ? 2 : 0), b.step < 0 ? "←" : "→",
                RGB(0, 0, 0));
}

void DrawDays(HDC dc) {
    char text[8];
    for (int c = 0; c < kGridCols; ++c) {
        const int x = GetCellX(c);
        DrawClnText(dc, x, 27, kWeekNames[c], RGB(0, 0, 255));
        for (int r = 0; r < kGridRows; ++r) {
            const MonthCell& cell = g_cln.grid.cells[r * kGridCols + c];
            const int y = GetCellY(r);
            std::snprintf(text, sizeof text, "%2d", cell.day);
            COLORREF color = cell.kind == CELL_SHOWN ? RGB(0, 0, 0) : RGB(192, 192, 192);
            if (cell.kind == CELL_SHOWN && cell.day == g_cln.sel.wDay) {
                const RECT mark = {x - 4, y + 1, x + 16, y + 12};
                FillRect(dc, &mark, GetSysColorBrush(COLOR_ACTIVECAPTION));
                color = RGB(255, 255, 255);
            }
            DrawClnText(dc, x, y, text, color);
        }
    }
}

void ClnPaint(HWND wnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    MakeMonthGrid(&g_cln.sel, &g_cln.grid, 0);
    HGDIOBJ oldFont = SelectObject(dc, g_cln.font);
    SetBkMode(dc, TRANSPARENT);
    FillRect(dc, &kHeaderRect, GetSysColorBrush(COLOR_ACTIVECAPTION));
    // Every paint draws it all: transparent text drawn again over itself would thicken.
    FillRect(dc, &kDaysRect, GetSysColorBrush(COLOR_WINDOW));
    char title[32];
    std::snprintf(title, sizeof title, "%04d年%02d月", g_cln.sel.wYear, g_cln.sel.wMonth);
    DrawClnText(dc, 47, 7, title, RGB(255, 255, 255));
    for (const ClnNavBtn& b : g_cln.nav) DrawNavBtn(dc, b);
    DrawDays(dc);
    SelectObject(dc, oldFont);
    EndPaint(wnd, &ps);
    // The paint covered the frame of the cell held under the pointer: it goes back on.
    if (g_cln.tracking && IsCell(g_cln.cur)) DrawCellFocus(wnd, g_cln.cur, g_cln.cur);
}

bool IsInNavBtn(const ClnNavBtn& b, LPARAM lp) {
    const POINT pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    return pt.x >= b.rect.left && pt.x < b.rect.right && pt.y >= b.rect.top && pt.y < b.rect.bottom;
}

void StepClnMonth(HWND wnd, int step) {
    MakeMonthGrid(&g_cln.sel, &g_cln.grid, step);
    InvalidateRect(wnd, nullptr, TRUE);
}

void ClnLBtnDown(HWND wnd, LPARAM lp) {
    g_cln.tracking = true;
    SetCapture(wnd);
    g_cln.cur = g_cln.prev = GetClnCell(lp);
    DrawCellFocus(wnd, g_cln.prev, g_cln.cur);
    for (ClnNavBtn& b : g_cln.nav) {
        b.pressed = IsInNavBtn(b, lp);
        if (b.pressed) StepClnMonth(wnd, b.step);
        InvalidateRect(wnd, &b.rect, FALSE);
    }
}

// Leaving an arrow with the button held lifts it; coming back onto it steps once more.
void ClnMouseMove(HWND wnd, LPARAM lp) {
    const POINT cell = GetClnCell(lp);
    if (cell.x != g_cln.cur.x || cell.y != g_cln.cur.y) {
        g_cln.prev = g_cln.cur;
        g_cln.cur = cell;
        DrawCellFocus(wnd, g_cln.prev, g_cln.cur);
    }
    for (ClnNavBtn& b : g_cln.nav) {
        b.wasPressed = b.pressed;
        b.pressed = IsInNavBtn(b, lp);
        if (b.pressed && !b.wasPressed) StepClnMonth(wnd, b.step);
        if (!b.pressed && b.wasPressed) InvalidateRect(wnd, &b.rect, FALSE);
    }
}

// The day under the release point becomes the selection, also a grey one of a neighbouring
// month, which then becomes the shown month.
void ClnLBtnUp(HWND wnd, LPARAM lp) {
    g_cln.tracking = false;
    ReleaseCapture();
    for (ClnNavBtn& b : g_cln.nav) {
        if (b.pressed) InvalidateRect(wnd, &b.rect, FALSE);
        b.pressed = b.wasPressed = false;
    }
    g_cln.prev = g_cln.cur;
    g_cln.cur = POINT{kNoCell, kNoCell};
    DrawCellFocus(wnd, g_cln.prev, g_cln.cur);
    const POINT cell = GetClnCell(lp);
    if (!IsCell(cell)) return;
    const MonthCell& picked = g_cln.grid.cells[cell.y * kGridCols + cell.x];
    SYSTEMTIME& sel = g_cln.sel;
    if (sel.wMonth == 1 && picked.kind == CELL_PREV) sel.wYear = WORD(sel.wYear - 1);
    if (sel.wMonth == 12 && picked.kind == CELL_NEXT) sel.wYear = WORD(sel.wYear + 1);
    sel.wMonth = WORD((sel.wMonth + picked.kind + 11) % 12 + 1);
    sel.wDay = WORD(picked.day);
    sel.wDayOfWeek = WORD(cell.x);
    // Laid out and published at once, not at the next paint: a click or a confirmation that
    // comes before it must see the new month.
    MakeMonthGrid(&sel, &g_cln.grid, 0);
    InvalidateRect(wnd, nullptr, TRUE);
}

}  // namespace

void DrawCellFocus(HWND wnd, POINT prev, POINT cur) {
    HDC dc = GetDC(wnd);
    const auto drawFrame = [dc](POINT c) {
        const RECT r = {GetCellX(c.x), GetCellY(c.y), 22 * c.x + 23, 58 + 13 * c.y};
        DrawFocusRect(dc, &r);
    };
    if ((prev.x != cur.x || prev.y != cur.y) && IsCell(prev)) drawFrame(prev);
    if (IsCell(cur)) drawFrame(cur);
    ReleaseDC(wnd, dc);
}

LRESULT CalendarProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE: ClnCreate(wnd); return 0;
        case WM_PAINT: ClnPaint(wnd); return 0;
        case WM_LBUTTONDOWN: ClnLBtnDown(wnd, lp); return 0;
        case WM_MOUSEMOVE:
            if (!g_cln.tracking) break;
            ClnMouseMove(wnd, lp);
            return 0;
        case WM_LBUTTONUP:
            if (!g_cln.tracking) break;
            ClnLBtnUp(wnd, lp);
            return 0;
        case WM_DESTROY:
            DeleteObject(g_cln.font);
            g_cln.font = nullptr;
            g_cln.tracking = false;
            return 0;
        default: break;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}
