// StretchBlt: area averaging (HALFTONE) and pixel dropping or repeating (the other modes).
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi_rec.h"

namespace {

// Weights are fixed point with kOne = 1.0; one axis's weights of a destination pixel sum to
// exactly kOne, so a 1:1 stretch reproduces its source exactly.
constexpr int kShift = 12;
constexpr uint32_t kOne = 1u << kShift;

// For every destination pixel d0..d1-1 of one axis: the first source pixel under it and the
// weights of the source pixels it covers. Destination pixel i covers [i*S, (i+1)*S) and source
// pixel k covers [k*D, (k+1)*D) in units of 1/(S*D) of the whole length; a weight is the
// covered share, rounded so that the running sum stays exact.
struct AxisTab {
    std::vector<int> first;  // per destination pixel
    std::vector<int> start;  // offset of its weights; one more entry than pixels
    std::vector<uint16_t> weight;
    int most = 0;  // largest number of source pixels under one destination pixel
};

void MakeAxisTab(int S, int D, int d0, int d1, AxisTab* t) {
    const int n = d1 - d0;
    t->first.resize(n);
    t->start.resize(n + 1);
    t->weight.clear();
    t->weight.reserve(size_t(n) * (S / D + 2));
    for (int i = d0; i < d1; i++) {
        const int64_t lo = int64_t(i) * S, hi = lo + S;
        const int k0 = int(lo / D), k1 = int((hi - 1) / D);
        t->first[i - d0] = k0;
        t->start[i - d0] = (int)t->weight.size();
        int64_t covered = 0;
        uint32_t given = 0;
        for (int k = k0; k <= k1; k++) {
            const int64_t a = std::max(lo, int64_t(k) * D), b = std::min(hi, int64_t(k + 1) * D);
            covered += b - a;
            const uint32_t upTo = uint32_t((covered * kOne + S / 2) / S);
            t->weight.push_back(uint16_t(upTo - given));
            given = upTo;
        }
        t->most = std::max(t->most, k1 - k0 + 1);
    }
    t->start[n] = (int)t->weight.size();
}

// One source row averaged across: three channels per destination pixel, each the channel
// times kOne. The channels travel in 21-bit lanes of one 64-bit word: a lane's sum of
// 255 x weights is at most 255 x 4096 < 2^20, so lanes never carry into each other.
void ShrinkRowX(const uint32_t* row, const AxisTab& tx, uint32_t* out) {
    const int n = (int)tx.first.size();
    const uint16_t* w = tx.weight.data();
    for (int j = 0; j < n; j++) {
        const uint32_t* p = row + tx.first[j];
        const int cnt = tx.start[j + 1] - tx.start[j];
        uint64_t acc = 0;
        for (int t = 0; t < cnt; t++) {
            const uint64_t v = p[t];
            acc += ((v & 0xFF) | ((v & 0xFF00) << 13) | ((v & 0xFF0000) << 26)) * w[t];
        }
        w += cnt;
        out[3 * j] = uint32_t(acc & 0x1FFFFF);
        out[3 * j + 1] = uint32_t((acc >> 21) & 0x1FFFFF);
        out[3 * j + 2] = uint32_t(acc >> 42);
    }
}

// Area averaging: rows are averaged across once each (kept in a small ring while the
// destination rows that cover them are built), then down. A channel's final sum is at most
// 255 x 4096 x 4096 + rounding < 2^32.
void HalftoneBlock(const BitmapRec* s, int sx, int sy, int sw, int sh, BitmapRec* d, int x, int y,
                   int w, int h, int c0, int c1, int r0, int r1) {
    AxisTab tx, ty;
    MakeAxisTab(sw, w, c0, c1, &tx);
    MakeAxisTab(sh, h, r0, r1, &ty);
    const int n = c1 - c0;
    const int ring = ty.most;
    std::vector<uint32_t> rows(size_t(ring) * n * 3);
    std::vector<int> rowOf(ring, -1);
    std::vector<uint32_t> acc(size_t(n) * 3);
    for (int i = r0; i < r1; i++) {
        const int k0 = ty.first[i - r0];
        const int cnt = ty.start[i - r0 + 1] - ty.start[i - r0];
        const uint16_t* wy = ty.weight.data() + ty.start[i - r0];
        std::fill(acc.begin(), acc.end(), 0u);
        for (int t = 0; t < cnt; t++) {
            const int k = k0 + t;
            uint32_t* hrow = rows.data() + size_t(k % ring) * n * 3;
            if (rowOf[k % ring] != k) {
                ShrinkRowX(s->px + size_t(sy + k) * s->width + sx, tx, hrow);
                rowOf[k % ring] = k;
            }
            const uint32_t wt = wy[t];
            for (int j = 0; j < 3 * n; j++) acc[j] += wt * hrow[j];
        }
        uint32_t* out = d->px + size_t(y + i) * d->width + x + c0;
        constexpr uint32_t kHalf = 1u << (2 * kShift - 1);
        for (int j = 0; j < n; j++) {
            const uint32_t b = (acc[3 * j] + kHalf) >> (2 * kShift);
            const uint32_t g = (acc[3 * j + 1] + kHalf) >> (2 * kShift);
            const uint32_t r = (acc[3 * j + 2] + kHalf) >> (2 * kShift);
            out[j] = (r << 16) | (g << 8) | b;
        }
    }
}

// Pixel dropping or repeating: each destination pixel takes the source pixel under its centre.
void NearestBlock(const BitmapRec* s, int sx, int sy, int sw, int sh, BitmapRec* d, int x, int y,
                  int w, int h, int c0, int c1, int r0, int r1) {
    std::vector<int> col(c1 - c0);
    for (int j = c0; j < c1; j++) col[j - c0] = sx + int((int64_t(2 * j + 1) * sw) / (2 * w));
    for (int i = r0; i < r1; i++) {
        const int k = sy + int((int64_t(2 * i + 1) * sh) / (2 * h));
        const uint32_t* row = s->px + size_t(k) * s->width;
        uint32_t* out = d->px + size_t(y + i) * d->width + x;
        for (int j = c0; j < c1; j++) out[j] = row[col[j - c0]];
    }
}

}  // namespace

int SetStretchBltMode(HDC dc, int mode) {
    if (!dc || mode < BLACKONWHITE || mode > HALFTONE) return 0;
    const int old = dc->stretchMode;
    dc->stretchMode = mode;
    return old;
}

BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* old) {
    if (!dc) return FALSE;
    if (old) *old = dc->brushOrg;
    dc->brushOrg = POINT{x, y};
    return TRUE;
}

// Stretches the source rectangle onto the destination rectangle. Mirroring by negative sizes is
// not offered; the source rectangle must lie inside the source picture.
BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                DWORD rop) {
    if (!dst || !src || rop != SRCCOPY || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return FALSE;
    if (dst->display) return TRUE;
    const BitmapRec* s = src->bmp;
    BitmapRec* d = dst->bmp;
    if (sx < 0 || sy < 0 || sx + sw > s->width || sy + sh > s->height) return FALSE;
    if (w == sw && h == sh) return BitBlt(dst, x, y, w, h, src, sx, sy, SRCCOPY);
    // Only the part of the destination rectangle inside the destination picture is built.
    const int c0 = std::max(0, -x), c1 = std::min(w, d->width - x);
    const int r0 = std::max(0, -y), r1 = std::min(h, d->height - y);
    if (c0 >= c1 || r0 >= r1) return TRUE;
    // Stretching within one picture reads from a copy of the source rectangle.
    std::vector<uint32_t> copy;
    BitmapRec from = *s;
    if (s == d) {
        copy.resize(size_t(sw) * sh);
        for (int r = 0; r < sh; r++)
            memcpy(copy.data() + size_t(r) * sw, s->px + size_t(sy + r) * s->width + sx,
                   size_t(sw) * 4);
        from.px = copy.data();
        from.width = sw;
        from.height = sh;
        sx = sy = 0;
    }
    if (dst->stretchMode == HALFTONE)
        HalftoneBlock(&from, sx, sy, sw, sh, d, x, y, w, h, c0, c1, r0, r1);
    else
        NearestBlock(&from, sx, sy, sw, sh, d, x, y, w, h, c0, c1, r0, r1);
    return TRUE;
}
