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

// Across a row the source pixels wholly under a destination pixel share one weight, `mid`
// (kOne x D / S, rounded down); the first and last pixels take their covered shares, the last
// also what rounding `mid` down left over, so that the weights still sum to kOne.
struct RowTab {
    std::vector<int> first, count;
    std::vector<uint32_t> wFirst, wLast;
    uint32_t mid;
};

void MakeRowTab(const AxisTab& t, int S, int D, RowTab* r) {
    const size_t n = t.first.size();
    r->first = t.first;
    r->count.resize(n);
    r->wFirst.resize(n);
    r->wLast.resize(n);
    r->mid = uint32_t((uint64_t(kOne) * D) / S);
    for (size_t j = 0; j < n; j++) {
        const int cnt = t.start[j + 1] - t.start[j];
        r->count[j] = cnt;
        r->wFirst[j] = t.weight[t.start[j]];
        r->wLast[j] = cnt > 1 ? kOne - r->wFirst[j] - uint32_t(cnt - 2) * r->mid : 0;
    }
}

// One source row averaged across: three channels per destination pixel, each the channel times
// kOne (at most 255 x 4096 < 2^20). The middle pixels are summed without weights, two channels
// in the 16-bit lanes of one word, in runs short enough (256) for the lanes not to carry.
void ShrinkRowX(const uint32_t* row, const RowTab& t, uint32_t* out) {
    const int n = (int)t.first.size();
    for (int j = 0; j < n; j++) {
        const uint32_t* p = row + t.first[j];
        const int cnt = t.count[j];
        const uint32_t a = p[0], wa = cnt > 1 ? t.wFirst[j] : kOne;
        uint32_t b = wa * (a & 0xFF), g = wa * ((a >> 8) & 0xFF), r = wa * ((a >> 16) & 0xFF);
        if (cnt > 1) {
            const uint32_t z = p[cnt - 1], wz = t.wLast[j];
            b += wz * (z & 0xFF);
            g += wz * ((z >> 8) & 0xFF);
            r += wz * ((z >> 16) & 0xFF);
        }
        for (int t0 = 1; t0 < cnt - 1; t0 += 256) {
            const int t1 = std::min(cnt - 1, t0 + 256);
            uint32_t rb = 0, gg = 0;
            for (int k = t0; k < t1; k++) {
                rb += p[k] & 0x00FF00FF;
                gg += p[k] & 0x0000FF00;
            }
            b += t.mid * (rb & 0xFFFF);
            g += t.mid * (gg >> 8);
            r += t.mid * (rb >> 16);
        }
        out[3 * j] = b;
        out[3 * j + 1] = g;
        out[3 * j + 2] = r;
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
    RowTab rt;
    MakeRowTab(tx, sw, w, &rt);
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
                ShrinkRowX(s->px + size_t(sy + k) * s->width + sx, rt, hrow);
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
