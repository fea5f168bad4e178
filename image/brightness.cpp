// BrtWorkBmp: every colour byte of the source through one lookup table into the adjusted
// picture, in one pass over the rows of both.
#include "image/brightness.h"

#include <cmath>
#include <cstdint>

#include "image/workbmp.h"

namespace {

// The brightness map of one colour byte, once per channel, shifted to its place in a pixel.
struct BrtTabs {
    uint32_t b[256], g[256], r[256];
    uint32_t lift;
};

// Brightening scales towards white, darkening towards black: v becomes trunc(k v), lifted by
// what scaling took from 255 when brightening.
void MakeBrtTabs(float b, BrtTabs* t) {
    const double k = b > 0 ? 1 - double(b) : 1 + double(b);
    t->lift = b > 0 ? 255 - uint32_t(std::trunc(k * 255)) : 0;
    for (int v = 0; v < 256; v++) {
        const uint32_t m = uint32_t(std::trunc(k * v)) + t->lift;
        t->b[v] = m;
        t->g[v] = m << 8;
        t->r[v] = m << 16;
    }
}

// The table as arithmetic: a multiplier K with (v K) >> 16 == m(v) - lift for every byte v,
// which the compiler turns into vector code. A scale k between 0 and 1 always has one, save
// k = 1 (a b too small to change anything); 0 when there is none.
int FindBrtMul(const BrtTabs& t, uint16_t* mul) {
    uint32_t lo = 0;
    for (uint32_t v = 1; v < 256; v++) {
        const uint32_t need = ((t.b[v] - t.lift) * 65536 + v - 1) / v;
        if (need > lo) lo = need;
    }
    if (lo > 0xFFFF) return 0;
    for (uint32_t v = 0; v < 256; v++)
        if (((v * lo) >> 16) + t.lift != t.b[v]) return 0;
    *mul = uint16_t(lo);
    return 1;
}

// Every byte scaled and lifted, in a loop the compiler turns into 16-bit multiply-highs. Kept
// out of line: inlined where the multiplier is found, it loses its 16-bit type to GCC and the
// loop falls back to 32-bit multiplies, three times slower.
__attribute__((noinline)) void MulBytes(const uint8_t* s, uint8_t* o, int n, uint16_t mul,
                                        uint8_t lift) {
    for (int i = 0; i < n; i++) o[i] = uint8_t(((uint32_t(s[i]) * mul) >> 16) + lift);
}

// Row by row: the bytes through the multiplier, then the unused byte of each pixel back to 0.
void MulSrcToAdj(uint16_t mul, uint8_t lift) {
    const int w = WorkBmp.adjW;
    for (int y = 0; y < WorkBmp.adjH; y++) {
        uint32_t* row = WorkBmp.adjBits + size_t(y) * w;
        MulBytes(reinterpret_cast<const uint8_t*>(WorkBmp.srcBits + size_t(y) * w),
                 reinterpret_cast<uint8_t*>(row), 4 * w, mul, lift);
        for (int x = 0; x < w; x++) row[x] &= 0xFFFFFF;
    }
}

// Pixel by pixel through the three tables.
void MapSrcToAdj(const BrtTabs& t) {
    const size_t count = size_t(WorkBmp.adjW) * WorkBmp.adjH;
    const uint32_t* src = WorkBmp.srcBits;
    uint32_t* adj = WorkBmp.adjBits;
    for (size_t i = 0; i < count; i++) {
        const uint32_t v = src[i];
        adj[i] = t.b[v & 0xFF] | t.g[(v >> 8) & 0xFF] | t.r[(v >> 16) & 0xFF];
    }
}

}  // namespace

int BrtWorkBmp(float b) {
    // Written so that NaN is refused too.
    if (!WorkBmp.loaded || !(b >= -1 && b <= 1) || !WorkBmp.adjBmp) return 0;
    if (b == 0) {
        CopyWorkSrc();
    } else {
        BrtTabs t;
        MakeBrtTabs(b, &t);
        uint16_t mul;
        if (FindBrtMul(t, &mul))
            MulSrcToAdj(mul, uint8_t(t.lift));
        else
            MapSrcToAdj(t);
    }
    PowWorkBmp(0);
    return 1;
}
