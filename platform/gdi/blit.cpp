// Block copies, fills and single pixels on device pictures.
#include <cstring>

#include "platform/gdi/records.h"

void FillBlock(BitmapRec* b, int x, int y, int w, int h, uint32_t px) {
    int sx = 0, sy = 0;
    if (!ClipBlock(b->width, b->height, &x, &y, &w, &h, &sx, &sy)) return;
    for (int r = 0; r < h; r++) {
        uint32_t* row = b->px + size_t(y + r) * b->width + x;
        for (int c = 0; c < w; c++) row[c] = px;
    }
}

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
    if (!dst) return FALSE;
    if (rop != SRCCOPY) return PatBlt(dst, x, y, w, h, rop);
    if (!src || dst->display) return dst && dst->display;
    const BitmapRec* s = src->bmp;
    BitmapRec* d = dst->bmp;
    // Clip against the source first, then the destination, moving the other origin along.
    if (!ClipBlock(s->width, s->height, &sx, &sy, &w, &h, &x, &y)) return TRUE;
    if (!ClipBlock(d->width, d->height, &x, &y, &w, &h, &sx, &sy)) return TRUE;
    const bool same = s == d;
    // Within one picture the rows may overlap: copy bottom-up when moving down.
    const bool down = same && y > sy;
    for (int i = 0; i < h; i++) {
        const int r = down ? h - 1 - i : i;
        const uint32_t* from = s->px + size_t(sy + r) * s->width + sx;
        uint32_t* to = d->px + size_t(y + r) * d->width + x;
        memmove(to, from, size_t(w) * 4);
    }
    return TRUE;
}

BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop) {
    if (!dc) return FALSE;
    if (dc->display) return TRUE;
    uint32_t px;
    switch (rop) {
        case WHITENESS: px = 0xFFFFFF; break;
        case BLACKNESS: px = 0; break;
        case PATCOPY:
            if (dc->brush->hollow) return TRUE;
            px = ColorToPx(dc->brush->color);
            break;
        default: return FALSE;
    }
    FillBlock(dc->bmp, x, y, w, h, px);
    return TRUE;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    if (!dc || !rect || !brush) return 0;
    if (dc->display || brush->hollow) return 1;
    FillBlock(dc->bmp, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
              ColorToPx(brush->color));
    return 1;
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
    if (!dc || !rect || !brush) return 0;
    const int w = rect->right - rect->left, h = rect->bottom - rect->top;
    if (dc->display || brush->hollow || w <= 0 || h <= 0) return 1;
    const uint32_t px = ColorToPx(brush->color);
    FillBlock(dc->bmp, rect->left, rect->top, w, 1, px);
    FillBlock(dc->bmp, rect->left, rect->bottom - 1, w, 1, px);
    FillBlock(dc->bmp, rect->left, rect->top, 1, h, px);
    FillBlock(dc->bmp, rect->right - 1, rect->top, 1, h, px);
    return 1;
}

BOOL TransparentBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                    UINT transparent) {
    if (!dst || !src || w != sw || h != sh || w <= 0 || h <= 0) return FALSE;
    if (dst->display) return TRUE;
    const BitmapRec* s = src->bmp;
    BitmapRec* d = dst->bmp;
    if (!ClipBlock(s->width, s->height, &sx, &sy, &w, &h, &x, &y)) return TRUE;
    if (!ClipBlock(d->width, d->height, &x, &y, &w, &h, &sx, &sy)) return TRUE;
    const uint32_t key = ColorToPx(transparent);
    for (int r = 0; r < h; r++) {
        const uint32_t* from = s->px + size_t(sy + r) * s->width + sx;
        uint32_t* to = d->px + size_t(y + r) * d->width + x;
        for (int i = 0; i < w; i++)
            if (from[i] != key) to[i] = from[i];
    }
    return TRUE;
}

COLORREF GetPixel(HDC dc, int x, int y) {
    constexpr COLORREF kInvalid = 0xFFFFFFFF;
    if (!dc || dc->display) return kInvalid;
    const BitmapRec* b = dc->bmp;
    if (x < 0 || y < 0 || x >= b->width || y >= b->height) return kInvalid;
    return PxToColor(b->px[size_t(y) * b->width + x]);
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    if (!dc || dc->display) return (COLORREF)-1;
    BitmapRec* b = dc->bmp;
    if (x < 0 || y < 0 || x >= b->width || y >= b->height) return (COLORREF)-1;
    b->px[size_t(y) * b->width + x] = ColorToPx(color);
    return color & 0xFFFFFF;
}

namespace {

void FillRegion(BitmapRec* b, const QRegion& rgn, uint32_t px) {
    for (const QRect& r : rgn) FillBlock(b, r.x(), r.y(), r.width(), r.height(), px);
}

}  // namespace

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ew, int eh) {
    if (!dc) return FALSE;
    if (dc->display) return TRUE;
    // A pen of one pixel covers the rim of the whole rectangle; the brush fills what is inside.
    const bool pen = !dc->pen->hollow;
    QRegion outer, inner;
    if (!RoundRectRegion(left, top, right + pen, bottom + pen, ew, eh, &outer)) return FALSE;
    if (pen && !RoundRectRegion(left + 1, top + 1, right, bottom, ew - 2, eh - 2, &inner))
        return FALSE;
    if (pen) FillRegion(dc->bmp, outer - inner, ColorToPx(dc->pen->color));
    if (!dc->brush->hollow) FillRegion(dc->bmp, pen ? inner : outer, ColorToPx(dc->brush->color));
    return TRUE;
}
