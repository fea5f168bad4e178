// Frames drawn on device pictures: the dotted focus frame and the 3-D edges of buttons and fields.
#include <algorithm>

#include "platform/gdi/records.h"
#include "platform/user/window.h"

namespace {

// Inverts the pixel at column x of a row when it is a dot of the focus frame: dots are the
// pixels at an even distance (along x plus along y) from the frame's top-left corner.
void FlipDot(uint32_t* row, int width, int64_t x, int64_t dist) {
    if (x >= 0 && x < width && dist % 2 == 0) row[x] ^= 0xFFFFFF;
}

// One ring of an edge: the colour of its top and left sides (normal and with BF_SOFT) and of
// its bottom and right sides.
struct EdgeRing {
    UINT bdr;
    int lt, ltSoft, rb;
};

constexpr EdgeRing kEdgeRings[] = {
    {BDR_RAISEDOUTER, COLOR_3DLIGHT, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW},
    {BDR_SUNKENOUTER, COLOR_BTNSHADOW, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT},
    {BDR_RAISEDINNER, COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT, COLOR_BTNSHADOW},
    {BDR_SUNKENINNER, COLOR_3DDKSHADOW, COLOR_BTNSHADOW, COLOR_3DLIGHT},
};

// The ring for the raised or sunken bit of one pair; none when neither or both are set.
const EdgeRing* FindEdgeRing(UINT bits) {
    for (const EdgeRing& ring : kEdgeRings)
        if (ring.bdr == bits) return &ring;
    return nullptr;
}

// Draws the sides of a one-pixel ring on the rectangle that flags ask for. The top and left come
// first, so the bottom and right sides own the corners they share with them.
void DrawEdgeRing(BitmapRec* b, const RECT& r, uint32_t lt, uint32_t rb, UINT flags) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    if (flags & BF_TOP) FillBlock(b, r.left, r.top, w, 1, lt);
    if (flags & BF_LEFT) FillBlock(b, r.left, r.top, 1, h, lt);
    if (flags & BF_BOTTOM) FillBlock(b, r.left, r.bottom - 1, w, 1, rb);
    if (flags & BF_RIGHT) FillBlock(b, r.right - 1, r.top, 1, h, rb);
}

// Moves the sides that flags name one pixel inwards.
void ShrinkEdgeRect(RECT* r, UINT flags) {
    if (flags & BF_LEFT) r->left++;
    if (flags & BF_TOP) r->top++;
    if (flags & BF_RIGHT) r->right--;
    if (flags & BF_BOTTOM) r->bottom--;
}

}  // namespace

// Each pixel of the outline is visited once, so that drawing twice gives the picture back.
BOOL DrawFocusRect(HDC dc, const RECT* rect) {
    if (!dc || !rect) return FALSE;
    if (dc->display) return TRUE;
    BitmapRec* b = dc->bmp;
    // In 64 bits: the distances from a far-off corner must not wrap.
    const int64_t l = rect->left, t = rect->top, r = rect->right, btm = rect->bottom;
    if (r <= l || btm <= t) return TRUE;
    const int64_t y0 = std::max<int64_t>(t, 0), y1 = std::min<int64_t>(btm, b->height);
    const int64_t x0 = std::max<int64_t>(l, 0), x1 = std::min<int64_t>(r, b->width);
    for (int64_t y = y0; y < y1; y++) {
        uint32_t* row = b->px + size_t(y) * b->width;
        if (y == t || y == btm - 1) {
            for (int64_t x = x0; x < x1; x++) FlipDot(row, b->width, x, x - l + y - t);
            continue;
        }
        FlipDot(row, b->width, l, y - t);
        if (r - 1 > l) FlipDot(row, b->width, r - 1, r - 1 - l + y - t);
    }
    return TRUE;
}

// The outer ring lies on the rectangle's edge and the inner one inside it; an edge of only one
// ring draws it on the edge.
BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags) {
    if (!dc || !rect) return FALSE;
    RECT inside = *rect;
    for (const UINT pair : {BDR_RAISEDOUTER | BDR_SUNKENOUTER, BDR_RAISEDINNER | BDR_SUNKENINNER}) {
        const EdgeRing* ring = FindEdgeRing(edge & pair);
        if (!ring) continue;
        const int lt = (flags & BF_SOFT) ? ring->ltSoft : ring->lt;
        if (!dc->display)
            DrawEdgeRing(dc->bmp, inside, ColorToPx(GetSysColor(lt)),
                         ColorToPx(GetSysColor(ring->rb)), flags);
        ShrinkEdgeRect(&inside, flags);
    }
    if ((flags & BF_MIDDLE) && !dc->display)
        FillBlock(dc->bmp, inside.left, inside.top, inside.right - inside.left,
                  inside.bottom - inside.top, ColorToPx(GetSysColor(COLOR_BTNFACE)));
    if (flags & BF_ADJUST) *rect = inside;
    return TRUE;
}
