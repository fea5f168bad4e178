// StretchBlt: area averaging (HALFTONE) and pixel dropping or repeating (the other modes).
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/records.h"

namespace {

// Area averaging runs down, then across. Down, the source rows under a destination row are
// summed with weights in 1/256 into 16-bit sums (at most 255 x 256); across, the sums under a
// destination pixel with weights in 1/2^24 into 64-bit sums, so a channel ends scaled by 2^32.
// On each axis the weights of one destination pixel add up to exactly one, so a 1:1 stretch is
// exact.
constexpr uint32_t kOneY = 256;
constexpr uint32_t kOneX = 1u << 24;
constexpr int kScaleShift = 32;

// For every destination pixel d0..d1-1 of one axis: the first source pixel under it, how many
// it covers and their weights. Destination pixel i covers [i*S, (i+1)*S) and source pixel k
// covers [k*D, (k+1)*D) in units of 1/(S*D) of the whole length; a weight is the covered
// share, rounded so that the running sum stays exact.
struct AxisTab {
    std::vector<int> first;  // per destination pixel
    std::vector<int> start;  // offset of its weights; one more entry than pixels
    std::vector<uint32_t> weight;
};

void MakeAxisTab(int S, int D, int d0, int d1, uint32_t one, AxisTab* t) {
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
            const uint32_t upTo = uint32_t((covered * one + S / 2) / S);
            t->weight.push_back(upTo - given);
            given = upTo;
        }
    }
    t->start[n] = (int)t->weight.size();
}

// Eight 16-bit lanes: the bytes of four pixels split into their even bytes (blue, red) and
// their odd bytes (green, unused).
typedef uint16_t U16x8 __attribute__((vector_size(16)));

// Adds w x (the n pixels of row) to the sums: even[2x], even[2x+1], odd[2x] are blue, red and
// green of pixel x.
void AddRowDown(const uint32_t* row, int n, uint16_t w, uint16_t* even, uint16_t* odd) {
    int x = 0;
    for (; x + 4 <= n; x += 4) {
        U16x8 v, e, o;
        memcpy(&v, row + x, 16);
        memcpy(&e, even + 2 * x, 16);
        memcpy(&o, odd + 2 * x, 16);
        e += (v & 0xFF) * w;
        o += (v >> 8) * w;
        memcpy(even + 2 * x, &e, 16);
        memcpy(odd + 2 * x, &o, 16);
    }
    for (; x < n; x++) {
        even[2 * x] += uint16_t((row[x] & 0xFF) * w);
        even[2 * x + 1] += uint16_t(((row[x] >> 16) & 0xFF) * w);
        odd[2 * x] += uint16_t(((row[x] >> 8) & 0xFF) * w);
    }
}

// Across one row of sums. The source pixels wholly under a destination pixel share one
// weight, `mid` (kOneX x D / S, rounded down), and are summed first; the first and last pixels
// take their covered shares, the last also what rounding `mid` down left over (less than one
// 2^24th per pixel), so that the weights still sum to kOneX.
struct RowTab {
    std::vector<int> first, count;
    std::vector<uint32_t> wFirst, wLast;
    uint64_t mid;
};

void MakeRowTab(const AxisTab& t, int S, int D, RowTab* r) {
    const size_t n = t.first.size();
    r->first = t.first;
    r->count.resize(n);
    r->wFirst.resize(n);
    r->wLast.resize(n);
    r->mid = S > D ? (uint64_t(kOneX) * D) / S : 0;  // only shrinking has middle pixels
    for (size_t j = 0; j < n; j++) {
        const int cnt = t.start[j + 1] - t.start[j];
        r->count[j] = cnt;
        r->wFirst[j] = cnt > 1 ? t.weight[t.start[j]] : kOneX;
        r->wLast[j] = cnt > 1 ? uint32_t(kOneX - r->wFirst[j] - uint64_t(cnt - 2) * r->mid) : 0;
    }
}

void SumAcross(const uint16_t* even, const uint16_t* odd, int k0, const RowTab& t, uint32_t* out) {
    constexpr uint64_t kHalf = uint64_t(1) << (kScaleShift - 1);
    const int n = (int)t.first.size();
    for (int j = 0; j < n; j++) {
        const int a = t.first[j] - k0, cnt = t.count[j];
        const uint64_t wa = t.wFirst[j];
        uint64_t b = wa * even[2 * a], r = wa * even[2 * a + 1], g = wa * odd[2 * a];
        if (cnt > 1) {
            const int z = a + cnt - 1;
            const uint64_t wz = t.wLast[j];
            b += wz * even[2 * z];
            r += wz * even[2 * z + 1];
            g += wz * odd[2 * z];
            uint64_t mb = 0, mr = 0, mg = 0;
            for (int k = a + 1; k < z; k++) {
                mb += even[2 * k];
                mr += even[2 * k + 1];
                mg += odd[2 * k];
            }
            b += t.mid * mb;
            r += t.mid * mr;
            g += t.mid * mg;
        }
        out[j] = uint32_t((r + kHalf) >> kScaleShift) << 16 |
                 uint32_t((g + kHalf) >> kScaleShift) << 8 | uint32_t((b + kHalf) >> kScaleShift);
    }
}

void HalftoneBlock(const BitmapRec* s, int sx, int sy, int sw, int sh, BitmapRec* d, int x, int y,
                   int w, int h, int c0, int c1, int r0, int r1) {
    AxisTab tx, ty;
    MakeAxisTab(sw, w, c0, c1, kOneX, &tx);
    MakeAxisTab(sh, h, r0, r1, kOneY, &ty);
    RowTab rt;
    MakeRowTab(tx, sw, w, &rt);
    // Only the source columns under the visible destination columns are summed down.
    const int k0 = tx.first.front();
    const int kn = rt.first.back() + rt.count.back() - k0;
    std::vector<uint16_t> even(size_t(kn + 4) * 2), odd(size_t(kn + 4) * 2);
    for (int i = r0; i < r1; i++) {
        std::fill(even.begin(), even.end(), 0);
        std::fill(odd.begin(), odd.end(), 0);
        const int first = ty.first[i - r0];
        for (int t = ty.start[i - r0]; t < ty.start[i - r0 + 1]; t++) {
            const int k = first + t - ty.start[i - r0];
            AddRowDown(s->px + size_t(sy + k) * s->width + sx + k0, kn, uint16_t(ty.weight[t]),
                       even.data(), odd.data());
        }
        SumAcross(even.data(), odd.data(), k0, rt, d->px + size_t(y + i) * d->width + x + c0);
    }
}

// Pixel dropping or repeating: each destination pixel takes the source pixel under its centre.
void NearestBlock(const BitmapRec* s, int sx, int sy, int sw, int sh, BitmapRec* d, int x, int y,
                  int w, int h, int c0, int c1, int r0, int r1) {
    std::vector<int> col(c1 - c0);
    for (int j = c0; j < c1; j++)
        col[j - c0] = sx + int(((2 * int64_t(j) + 1) * sw) / (2 * int64_t(w)));
    for (int i = r0; i < r1; i++) {
        const int k = sy + int(((2 * int64_t(i) + 1) * sh) / (2 * int64_t(h)));
        const uint32_t* row = s->px + size_t(k) * s->width;
        uint32_t* out = d->px + size_t(y + i) * d->width + (x + c0);
        for (int j = 0; j < c1 - c0; j++) out[j] = row[col[j]];
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
    if (sx < 0 || sy < 0 || int64_t(sx) + sw > s->width || int64_t(sy) + sh > s->height)
        return FALSE;
    if (w == sw && h == sh) return BitBlt(dst, x, y, w, h, src, sx, sy, SRCCOPY);
    // Only the part of the destination rectangle inside the destination picture is built.
    const int c0 = int(std::max<int64_t>(0, -int64_t(x)));
    const int c1 = int(std::min<int64_t>(w, int64_t(d->width) - x));
    const int r0 = int(std::max<int64_t>(0, -int64_t(y)));
    const int r1 = int(std::min<int64_t>(h, int64_t(d->height) - y));
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
