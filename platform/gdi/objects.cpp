// Drawing surfaces, pictures and brushes: creation, selection and release.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/gdi/records.h"

namespace {

// What a fresh memory surface holds before the program selects its own picture.
BitmapRec g_stockBmp = [] {
    static uint32_t px[1] = {0};
    BitmapRec b{};
    b.kind = GDI_BITMAP;
    b.stock = true;
    b.width = 1;
    b.height = 1;
    b.px = px;
    return b;
}();

BrushRec MakeStockBrush(COLORREF color, bool hollow) {
    BrushRec b{};
    b.kind = GDI_BRUSH;
    b.stock = true;
    b.color = color;
    b.hollow = hollow;
    return b;
}

BrushRec g_stockBrushes[6] = {
    MakeStockBrush(RGB(255, 255, 255), false), MakeStockBrush(RGB(192, 192, 192), false),
    MakeStockBrush(RGB(128, 128, 128), false), MakeStockBrush(RGB(64, 64, 64), false),
    MakeStockBrush(RGB(0, 0, 0), false),       MakeStockBrush(0, true),
};

PenRec MakeStockPen(COLORREF color, bool null) {
    PenRec p{};
    static_cast<BrushRec&>(p) = MakeStockBrush(color, null);
    p.kind = GDI_PEN;
    return p;
}

// WHITE_PEN, BLACK_PEN, NULL_PEN.
PenRec g_stockPens[3] = {MakeStockPen(RGB(255, 255, 255), false), MakeStockPen(RGB(0, 0, 0), false),
                         MakeStockPen(0, true)};

// A fresh surface has no font of its own, which is the default font: that is what the first
// selection gives back.
HGDIOBJ SelectFont(HDC dc, FontRec* f) {
    FontRec* old = dc->font ? dc->font : GetGuiFontRec();
    if (dc->font) dc->font->uses--;
    dc->font = f;
    f->uses++;
    return old;
}

}  // namespace

HDC NewDCRec(bool display) {
    DCRec* dc = new DCRec{};
    dc->bmp = &g_stockBmp;
    dc->brush = &g_stockBrushes[WHITE_BRUSH];
    dc->brush->uses++;
    dc->pen = &g_stockPens[BLACK_PEN - WHITE_PEN];
    dc->pen->uses++;
    dc->stretchMode = BLACKONWHITE;
    dc->display = display;
    dc->textColor = RGB(0, 0, 0);
    dc->bkColor = RGB(255, 255, 255);
    dc->bkMode = OPAQUE;
    return dc;
}

// Gives up the surface's hold on its brush, pen and font, and the surface.
void FreeDCRec(HDC dc) {
    dc->brush->uses--;
    dc->pen->uses--;
    if (dc->font) dc->font->uses--;
    delete dc;
}

// Pixel blocks of large pictures are kept for the next picture after release: a fresh block
// costs a page fault per 4 KiB, which for a photo weighs more than any pass over its pixels.
namespace {

constexpr size_t kKeepFrom = size_t(1) << 20;  // pixels
constexpr size_t kKeepUpTo = size_t(1) << 26;  // pixels: a 256 MiB block is given back
struct SpareBlock {
    uint32_t* px;
    size_t n;
};
SpareBlock g_spare[2];

uint32_t* TakeBlock(size_t n, bool zero) {
    if (n >= kKeepFrom) {
        for (SpareBlock& s : g_spare) {
            // Only a block that is not much larger, so that small pictures do not hold big ones.
            if (!s.px || s.n < n || s.n > 2 * n) continue;
            uint32_t* px = s.px;
            s = SpareBlock{};
            if (zero) memset(px, 0, n * 4);
            return px;
        }
    }
    // calloc: fresh blocks come zeroed from the system without a clearing pass.
    return (uint32_t*)calloc(n, 4);
}

void GiveBlock(uint32_t* px, size_t n) {
    if (n < kKeepFrom || n > kKeepUpTo) {
        free(px);
        return;
    }
    // The smaller spare makes room.
    SpareBlock* slot = &g_spare[0];
    for (SpareBlock& s : g_spare)
        if (!s.px || s.n < slot->n) slot = &s;
    if (slot->px && slot->n > n) {
        free(px);
        return;
    }
    free(slot->px);
    *slot = SpareBlock{px, n};
}

}  // namespace

BitmapRec* NewBmpRec(int width, int height, bool zero) {
    if (width <= 0 || height <= 0 || int64_t(width) * height > kMaxBmpPixels) return nullptr;
    uint32_t* px = TakeBlock(size_t(width) * size_t(height), zero);
    if (!px) return nullptr;
    BitmapRec* b = new BitmapRec{};
    b->kind = GDI_BITMAP;
    b->width = width;
    b->height = height;
    b->px = px;
    return b;
}

int ClipBlock(int width, int height, int* x, int* y, int* w, int* h, int* sx, int* sy) {
    // In 64 bits: callers may pass any int, and the sums must not wrap.
    int64_t X = *x, Y = *y, W = *w, H = *h, SX = *sx, SY = *sy;
    if (X < 0) {
        W += X;
        SX -= X;
        X = 0;
    }
    if (Y < 0) {
        H += Y;
        SY -= Y;
        Y = 0;
    }
    W = std::min(W, width - X);
    H = std::min(H, height - Y);
    if (W <= 0 || H <= 0 || SX > INT32_MAX || SY > INT32_MAX) return 0;
    *x = int(X), *y = int(Y), *w = int(W), *h = int(H), *sx = int(SX), *sy = int(SY);
    return 1;
}

HDC CreateCompatibleDC(HDC) {
    return NewDCRec(false);
}

BOOL DeleteDC(HDC dc) {
    if (!dc || dc->display) return FALSE;
    if (dc->bmp) dc->bmp->owner = nullptr;
    FreeDCRec(dc);
    return TRUE;
}

// Every picture is in the display's 32-bit format, whatever surface it is made for (the
// program only ever asks for pictures compatible with the display or with a surface of it).
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    if (!dc) return nullptr;
    return NewBmpRec(width, height, true);
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ handle) {
    GdiObj* obj = (GdiObj*)handle;
    if (!dc || !obj) return nullptr;
    // The display surface draws nothing but measures text in its font.
    if (obj->kind == GDI_FONT) return SelectFont(dc, (FontRec*)obj);
    if (dc->display) return nullptr;
    if (obj->kind == GDI_BITMAP) {
        BitmapRec* b = (BitmapRec*)obj;
        if (b->owner && b->owner != dc) return nullptr;  // one surface at a time
        BitmapRec* old = dc->bmp;
        if (old) old->owner = nullptr;
        dc->bmp = b;
        if (!b->stock) b->owner = dc;
        return old;
    }
    if (obj->kind == GDI_BRUSH || obj->kind == GDI_PEN) {
        BrushRec** slot = obj->kind == GDI_BRUSH ? &dc->brush : (BrushRec**)&dc->pen;
        BrushRec* old = *slot;
        old->uses--;
        *slot = (BrushRec*)obj;
        (*slot)->uses++;
        return old;
    }
    return nullptr;
}

// A picture, brush, pen or font still selected into a surface is not deleted; regions always are.
BOOL DeleteObject(HGDIOBJ handle) {
    GdiObj* obj = (GdiObj*)handle;
    if (!obj) return FALSE;
    if (obj->stock) return TRUE;
    if (obj->kind == GDI_BITMAP) {
        BitmapRec* b = (BitmapRec*)obj;
        if (b->owner) return FALSE;
        GiveBlock(b->px, size_t(b->width) * size_t(b->height));
        delete b;
        return TRUE;
    }
    if (obj->kind == GDI_BRUSH || obj->kind == GDI_PEN) {
        BrushRec* b = (BrushRec*)obj;
        if (b->uses > 0) return FALSE;
        if (obj->kind == GDI_PEN)
            delete (PenRec*)b;
        else
            delete b;
        return TRUE;
    }
    if (obj->kind == GDI_FONT) {
        FontRec* f = (FontRec*)obj;
        if (f->uses > 0) return FALSE;
        delete f;
        return TRUE;
    }
    if (obj->kind == GDI_REGION) {
        delete (RgnRec*)obj;
        return TRUE;
    }
    return FALSE;
}

int GetObjectA(HGDIOBJ handle, int size, void* out) {
    const GdiObj* obj = (const GdiObj*)handle;
    if (!obj || obj->kind != GDI_BITMAP || !out || size < (int)sizeof(BITMAP)) return 0;
    const BitmapRec* b = (const BitmapRec*)obj;
    BITMAP bm{};
    bm.bmWidth = b->width;
    bm.bmHeight = b->height;
    bm.bmWidthBytes = b->width * 4;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = 32;
    bm.bmBits = b->section ? b->px : nullptr;
    memcpy(out, &bm, sizeof bm);
    return sizeof bm;
}

HBRUSH CreateSolidBrush(COLORREF color) {
    BrushRec* b = new BrushRec{};
    b->kind = GDI_BRUSH;
    b->color = color & 0xFFFFFF;
    return b;
}

HPEN CreatePen(int style, int, COLORREF color) {
    PenRec* p = new PenRec{};
    p->kind = GDI_PEN;
    p->color = color & 0xFFFFFF;
    p->hollow = style == PS_NULL;
    return p;
}

HGDIOBJ GetStockObject(int which) {
    if (which >= WHITE_BRUSH && which <= NULL_BRUSH) return &g_stockBrushes[which];
    if (which >= WHITE_PEN && which <= NULL_PEN) return &g_stockPens[which - WHITE_PEN];
    if (which == DEFAULT_GUI_FONT) return GetGuiFontRec();
    return nullptr;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    if (!dc) return CLR_INVALID;
    const COLORREF old = dc->textColor;
    dc->textColor = color;
    return old;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
    if (!dc) return CLR_INVALID;
    const COLORREF old = dc->bkColor;
    dc->bkColor = color;
    return old;
}

int SetBkMode(HDC dc, int mode) {
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    const int old = dc->bkMode;
    dc->bkMode = mode;
    return old;
}
