// Regions: creation, combination, moving and queries, on QRegion.
#include "platform/gdi/region.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include "platform/gdi/records.h"

namespace {

// Largest rounding ellipse taken: far beyond any window, and small enough that the tracing
// error terms stay well inside 64 bits.
constexpr int64_t kMaxEllipse = int64_t(1) << 16;

RgnRec* NewRgnRec(const QRegion& rgn) {
    RgnRec* r = new RgnRec{};
    r->kind = GDI_REGION;
    r->rgn = rgn;
    return r;
}

bool IsRgn(HRGN rgn) {
    return rgn && rgn->kind == GDI_REGION;
}

int KindOfRgn(const QRegion& rgn) {
    if (rgn.isEmpty()) return NULLREGION;
    return rgn.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// The pixels x in [left, right), y in [top, bottom); empty when either range is.
QRect RectOf(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    if (right <= left || bottom <= top) return QRect();
    return QRect(QPoint(int(left), int(top)), QPoint(int(right - 1), int(bottom - 1)));
}

// Insets of the rows of the lower half of an ew x eh ellipse (ew, eh >= 2), from its middle row
// eh / 2 (inset 0) down to its last row eh - 1: the column of the leftmost ellipse pixel of each
// row. Traced with Zingl's midpoint algorithm along the lower left quarter: each step goes right,
// down or both by the sign of the doubled error, and a row takes the column the trace has when
// it enters the row. Rows a thin ellipse's trace ends before keep its last column.
std::vector<int> TraceEllipse(int ew, int eh) {
    const int64_t a = ew - 1, b = eh - 1;  // the ellipse's diameters between pixel centres
    const int64_t stepX = 8 * b * b, stepY = 8 * a * a;
    int64_t dx = 4 * b * b * (1 - a);      // error change of the next step right
    int64_t dy = 4 * a * a * (1 + b % 2);  // error change of the next step down
    int64_t err = dx + dy + a * a * (b % 2);
    std::vector<int> inset(eh - eh / 2, 0);
    int x = 0;
    size_t row = 0;
    while (x <= ew / 2 && row + 1 < inset.size()) {
        const int64_t e2 = 2 * err;
        if (e2 >= dx) {
            x++;
            dx += stepX;
            err += dx;
        }
        if (e2 <= dy) {
            row++;
            dy += stepY;
            err += dy;
            inset[row] = x;
        }
    }
    for (size_t i = row + 1; i < inset.size(); i++) inset[i] = inset[row];
    return inset;
}

// Adds rows [y0, y1) spanning [left + inset, right - inset).
void AddSpan(QRegion* rgn, int64_t left, int64_t right, int64_t y0, int64_t y1, int inset) {
    const QRect r = RectOf(left + inset, y0, right - inset, y1);
    if (!r.isEmpty()) *rgn += r;
}

// a = a <mode> b for the combining modes other than RGN_COPY; in place, so that adding
// rectangles one after another to a region does not copy it each time.
void ApplyRgnOp(QRegion* a, const QRegion& b, int mode) {
    switch (mode) {
        case RGN_AND: *a &= b; break;
        case RGN_OR: *a += b; break;
        case RGN_XOR: *a ^= b; break;
        case RGN_DIFF: *a -= b; break;
    }
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return NewRgnRec(QRegion(RectOf(left, top, right, bottom)));
}

bool RoundRectRegion(int left, int top, int right, int bottom, int ew, int eh, QRegion* out) {
    // Normalised; right and bottom are excluded, and one more pixel is left out there.
    const int64_t l = std::min(left, right), r = int64_t(std::max(left, right)) - 1;
    const int64_t t = std::min(top, bottom), b = int64_t(std::max(top, bottom)) - 1;
    const int64_t w = std::min(r - l, std::abs(int64_t(ew)));
    const int64_t h = std::min(b - t, std::abs(int64_t(eh)));
    if (w < 2 || h < 2) {
        *out = QRegion(RectOf(l, t, r, b));
        return true;
    }
    if (w > kMaxEllipse || h > kMaxEllipse) return false;
    const std::vector<int> inset = TraceEllipse(int(w), int(h));
    const int half = int(h / 2);
    QRegion rgn;
    // The upper rows mirror the lower ones; the middle row of the ellipse stretches over the
    // rectangle's height between them.
    for (int i = 0; i < half; i++) AddSpan(&rgn, l, r, t + i, t + i + 1, inset[h - 1 - i - half]);
    AddSpan(&rgn, l, r, t + half, b - h + half + 1, 0);
    for (int i = half + 1; i < h; i++)
        AddSpan(&rgn, l, r, b - h + i, b - h + i + 1, inset[i - half]);
    *out = rgn;
    return true;
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ew, int eh) {
    QRegion rgn;
    if (!RoundRectRegion(left, top, right, bottom, ew, eh, &rgn)) return nullptr;
    return NewRgnRec(rgn);
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode) {
    if (!IsRgn(dst) || !IsRgn(src1) || mode < RGN_AND || mode > RGN_COPY) return RGN_ERROR;
    if (mode == RGN_COPY) {
        dst->rgn = src1->rgn;
        return KindOfRgn(dst->rgn);
    }
    if (!IsRgn(src2)) return RGN_ERROR;
    if (dst == src1) {
        ApplyRgnOp(&dst->rgn, src2->rgn, mode);
    } else {
        QRegion res = src1->rgn;
        ApplyRgnOp(&res, src2->rgn, mode);
        dst->rgn = res;
    }
    return KindOfRgn(dst->rgn);
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
    if (!IsRgn(rgn)) return RGN_ERROR;
    // A move that would carry the region out of the coordinate range is refused.
    const QRect box = rgn->rgn.boundingRect();
    if (!box.isEmpty() &&
        (int64_t(box.left()) + dx < INT_MIN || int64_t(box.right()) + dx >= INT_MAX ||
         int64_t(box.top()) + dy < INT_MIN || int64_t(box.bottom()) + dy >= INT_MAX))
        return RGN_ERROR;
    rgn->rgn.translate(dx, dy);
    return KindOfRgn(rgn->rgn);
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
    return IsRgn(rgn) && rgn->rgn.contains(QPoint(x, y));
}

int GetRgnBox(HRGN rgn, RECT* box) {
    if (!IsRgn(rgn) || !box) return RGN_ERROR;
    const QRect r = rgn->rgn.boundingRect();
    if (r.isEmpty()) {
        *box = RECT{0, 0, 0, 0};
    } else {
        *box = RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    }
    return KindOfRgn(rgn->rgn);
}
