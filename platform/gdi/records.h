// The records behind the drawing handles. Only the platform layer sees them.
#pragma once

#include <QFont>
#include <QImage>
#include <QRegion>
#include <cstdint>

#include "platform/gdi/gdi.h"

// Makes sure a Qt application exists (tests draw and create windows without a program entry). 0
// when there is none and none may be made (PlatInitNoApp).
int EnsureQtApp();

enum GdiKind { GDI_BITMAP = 1, GDI_BRUSH = 2, GDI_REGION = 3, GDI_PEN = 4, GDI_FONT = 5 };

struct GdiObj {
    int kind;
    bool stock;  // stock objects are never deleted
};

// A device picture: 32-bit pixels 0x00RRGGBB, top-down rows of `width` pixels.
struct BitmapRec : GdiObj {
    int width;
    int height;
    uint32_t* px;
    DCRec* owner;  // the surface it is selected into, if any
    bool section;  // made by CreateDIBSection: the program reaches px directly
};

struct BrushRec : GdiObj {
    COLORREF color;
    bool hollow;
    int uses;  // surfaces it is selected into
};

// A pen: one pixel wide in its colour, or drawing nothing (PS_NULL, `hollow`).
struct PenRec : BrushRec {};

// A font: the Qt font that draws it, sized in pixels, and the character set its metrics report.
struct FontRec : GdiObj {
    QFont font;
    BYTE charSet;
    int uses;  // surfaces it is selected into
};

// The font of dialogs and their controls when the program gives none: IPA P Gothic, px pixels.
inline QFont GetDlgQFont(int px) {
    QFont f("IPAPGothic");
    f.setPixelSize(px);
    return f;
}

// The stock DEFAULT_GUI_FONT, also the font of a surface that has none selected: the dialog font
// of 12 pixels, the size dialogs take when the program gives none. Makes the Qt application if
// there is none yet (Qt fonts need one).
FontRec* GetGuiFontRec();

struct RgnRec : GdiObj {
    QRegion rgn;
};

struct DCRec {
    BitmapRec* bmp;  // the selected picture (window surfaces point at their backing picture)
    BrushRec* brush;
    PenRec* pen;
    FontRec* font;  // none: the default font
    int stretchMode;
    POINT brushOrg;
    bool display;  // a surface of the whole display from GetDC(NULL): draws nowhere
    HWND wnd;      // a window's surface: draws into its backing picture
    COLORREF textColor;
    COLORREF bkColor;
    int bkMode;
};

// Largest picture the platform creates, in pixels (1 GiB of device picture).
constexpr int64_t kMaxBmpPixels = int64_t(1) << 28;

// A picture of black pixels, or of undefined ones when `zero` is false (the caller writes them
// all). None when the size is not positive or too large, or memory runs out.
BitmapRec* NewBmpRec(int width, int height, bool zero);
inline uint32_t ColorToPx(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline COLORREF PxToColor(uint32_t p) {
    return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
}
// Clips a w x h block at (x, y) to a width x height picture, moving a second origin (sx, sy)
// along; returns 0 when nothing is left.
int ClipBlock(int width, int height, int* x, int* y, int* w, int* h, int* sx, int* sy);

// Fills the part of a w x h block at (x, y) that lies on the picture.
void FillBlock(BitmapRec* b, int x, int y, int w, int h, uint32_t px);
// The pixels of CreateRoundRectRgn(left, top, right, bottom, ew, eh); false when the ellipse is
// too large to trace.
bool RoundRectRegion(int left, int top, int right, int bottom, int ew, int eh, QRegion* out);

// A fresh drawing surface, of the screen or of memory, and its release.
HDC NewDCRec(bool display);
void FreeDCRec(HDC dc);

// A device picture holding a copy of a Qt picture; none when memory runs out.
BitmapRec* NewBmpFromImage(const QImage& pic);
