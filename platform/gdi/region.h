// Regions: sets of pixels made of rectangles, for window shapes. Rectangles include their left
// and top edge and exclude their right and bottom edge, as on the original platform.
#pragma once

#include "platform/gdi/gdi.h"

struct RgnRec;
typedef RgnRec* HRGN;

// CombineRgn modes and results.
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

constexpr int RGN_ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

// The pixels x in [left, right), y in [top, bottom); an empty region when right <= left or
// bottom <= top. Released with DeleteObject.
HRGN CreateRectRgn(int left, int top, int right, int bottom);

// A rectangle with corners rounded by an ellipse of ew x eh, built row by row as the original
// does: right and bottom are excluded and then one more pixel is left out, so
// CreateRoundRectRgn(0, 0, w + 1, h + 1, 25, 25) covers exactly the w x h pixels of a skin with
// its corners cut. Ellipses narrower or lower than 2 give a plain rectangle; ellipses of more than
// 65,536 pixels are refused (none).
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ew, int eh);

// dst = src1 <mode> src2 (src2 unused for RGN_COPY). Returns the kind of the result or RGN_ERROR.
int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode);

// Moves the region; returns its kind or RGN_ERROR.
int OffsetRgn(HRGN rgn, int dx, int dy);

BOOL PtInRegion(HRGN rgn, int x, int y);

// The bounding rectangle; returns the region's kind (NULLREGION with an empty rectangle).
int GetRgnBox(HRGN rgn, RECT* box);

// Gives the window a shape in window coordinates (for a frameless window, its client area).
// The region then belongs to the window: the caller must not use or release it. A null region
// removes the shape. Returns 1 on success.
int SetWindowRgn(HWND wnd, HRGN rgn, BOOL redraw);

// Copies the window's shape into rgn; returns its kind, or RGN_ERROR when the window has none.
int GetWindowRgn(HWND wnd, HRGN rgn);
