// Conversions between DIB rows (device-independent pixel rows in memory) and device pictures.
#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/gdi/records.h"

namespace {

// A DIB as described by its header: geometry, depth and palette as device pixels.
struct DibDesc {
    int width;
    int height;  // rows, always positive
    bool topDown;
    int bits;
    int stride;  // bytes per row, padded to 4
    uint32_t pal[256];
};

// The longest info header there is (the fifth version); the palette follows the header.
constexpr DWORD kMaxInfoSize = 124;

// Reads an info header (40 bytes or a later, longer one) or a core header (12 bytes) with the
// palette behind it. Palette entries past the stated count, and indices past it, are black.
// Only uncompressed (BI_RGB) DIBs of 1, 4, 8, 16, 24 and 32 bits are taken.
int ParseDib(const BITMAPINFO* info, DibDesc* d) {
    const BYTE* raw = (const BYTE*)info;
    DWORD size;
    memcpy(&size, raw, 4);
    int64_t width, height;
    int count;
    DWORD compression = BI_RGB;
    const BYTE* colors = raw + size;
    int entry;
    if (size == sizeof(BITMAPCOREHEADER)) {
        BITMAPCOREHEADER core;
        memcpy(&core, raw, sizeof core);
        width = core.bcWidth;
        height = core.bcHeight;
        d->bits = core.bcBitCount;
        count = d->bits <= 8 ? 1 << d->bits : 0;
        entry = 3;
    } else if (size >= sizeof(BITMAPINFOHEADER) && size <= kMaxInfoSize) {
        const BITMAPINFOHEADER& h = info->bmiHeader;
        width = h.biWidth;
        height = h.biHeight;
        d->bits = h.biBitCount;
        compression = h.biCompression;
        count = h.biClrUsed ? (int)std::min<DWORD>(h.biClrUsed, 256)
                            : (d->bits <= 8 ? 1 << d->bits : 0);
        entry = 4;
    } else {
        return 0;
    }
    if (compression != BI_RGB) return 0;
    if (d->bits != 1 && d->bits != 4 && d->bits != 8 && d->bits != 16 && d->bits != 24 &&
        d->bits != 32)
        return 0;
    d->topDown = height < 0;
    if (height < 0) height = -height;
    const int64_t stride = ((width * d->bits + 31) / 32) * 4;
    if (width <= 0 || height <= 0 || width > INT_MAX / 32 || stride * height > INT_MAX) return 0;
    d->width = (int)width;
    d->height = (int)height;
    d->stride = (int)stride;
    if (d->bits > 8) count = 0;  // a palette of a true-colour DIB is only a hint
    for (int i = 0; i < 256; i++) {
        d->pal[i] = 0;
        if (i >= count) continue;
        const BYTE* e = colors + i * entry;
        d->pal[i] = (uint32_t(e[2]) << 16) | (uint32_t(e[1]) << 8) | e[0];
    }
    return 1;
}

// 5-bit channel to 8 bits, with the low bits filled from the high ones.
constexpr uint32_t Expand5(uint32_t v) {
    return (v << 3) | (v >> 2);
}

void DibRowToPx(const DibDesc& d, const BYTE* s, uint32_t* out, int n) {
    switch (d.bits) {
        case 1:
            for (int x = 0; x < n; x++) out[x] = d.pal[(s[x >> 3] >> (7 - (x & 7))) & 1];
            break;
        case 4:
            for (int x = 0; x < n; x++) out[x] = d.pal[(s[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
            break;
        case 8:
            for (int x = 0; x < n; x++) out[x] = d.pal[s[x]];
            break;
        case 16:
            for (int x = 0; x < n; x++) {
                const uint32_t v = s[2 * x] | (uint32_t(s[2 * x + 1]) << 8);
                out[x] = (Expand5((v >> 10) & 31) << 16) | (Expand5((v >> 5) & 31) << 8) |
                         Expand5(v & 31);
            }
            break;
        case 24: {
            // Four-byte loads; the last pixel of the row is read by bytes so as not to run past it.
            int x = 0;
            for (; x + 1 < n; x++) {
                uint32_t v;
                memcpy(&v, s + 3 * x, 4);
                out[x] = v & 0xFFFFFF;
            }
            if (x < n)
                out[x] = s[3 * x] | (uint32_t(s[3 * x + 1]) << 8) | (uint32_t(s[3 * x + 2]) << 16);
            break;
        }
        case 32:
            // A block copy, then the unused byte cleared in a loop the compiler vectorises.
            memcpy(out, s, size_t(n) * 4);
            for (int x = 0; x < n; x++) out[x] &= 0xFFFFFF;
            break;
    }
}

void PxToDibRow(const uint32_t* p, int bits, BYTE* out, int n) {
    if (bits == 32) {
        // Masked through an aligned block, so that the loop vectorises whatever the row's
        // alignment.
        uint32_t block[256];
        for (int x = 0; x < n; x += 256) {
            const int m = std::min(256, n - x);
            for (int i = 0; i < m; i++) block[i] = p[x + i] & 0xFFFFFF;
            memcpy(out + 4 * size_t(x), block, size_t(m) * 4);
        }
        return;
    }
    for (int x = 0; x < n; x++) {
        out[3 * x] = BYTE(p[x]);
        out[3 * x + 1] = BYTE(p[x] >> 8);
        out[3 * x + 2] = BYTE(p[x] >> 16);
    }
}

// Picture row of DIB scan line `line`: in a bottom-up DIB scan lines count from the picture's
// bottom row.
int PicRowOf(const DibDesc& d, const BitmapRec* bmp, int line) {
    return d.topDown ? line : bmp->height - 1 - line;
}

}  // namespace

int GetDIBits(HDC dc, HBITMAP bmp, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT) {
    if (!dc || !bmp || !info) return 0;
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER)) return 0;
    if (!bits) {
        // Size query: the picture's geometry in the display's depth unless one was asked for.
        if (h.biBitCount == 0) h.biBitCount = 32;
        h.biWidth = bmp->width;
        h.biHeight = bmp->height;
        h.biPlanes = 1;
        h.biCompression = BI_RGB;
        h.biSizeImage = DWORD(((int64_t(bmp->width) * h.biBitCount + 31) / 32) * 4 * bmp->height);
        return 1;
    }
    if ((h.biBitCount != 24 && h.biBitCount != 32) || h.biCompression != BI_RGB) return 0;
    DibDesc d;
    if (!ParseDib(info, &d)) return 0;
    const int rows = std::min(d.height, bmp->height);
    if ((int64_t)start >= rows) return 0;
    const int n = (int)std::min<int64_t>(lines, rows - start);
    const int cols = std::min(d.width, bmp->width);
    for (int i = 0; i < n; i++) {
        const int row = PicRowOf(d, bmp, (int)start + i);
        PxToDibRow(bmp->px + size_t(row) * bmp->width, d.bits, (BYTE*)bits + size_t(i) * d.stride,
                   cols);
    }
    return n;
}

int SetDIBits(HDC, HBITMAP bmp, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT) {
    if (!bmp || !bits || !info) return 0;
    DibDesc d;
    if (!ParseDib(info, &d)) return 0;
    const int rows = std::min(d.height, bmp->height);
    if ((int64_t)start >= rows) return 0;
    const int n = (int)std::min<int64_t>(lines, rows - start);
    const int cols = std::min(d.width, bmp->width);
    for (int i = 0; i < n; i++) {
        const int row = PicRowOf(d, bmp, (int)start + i);
        DibRowToPx(d, (const BYTE*)bits + size_t(i) * d.stride, bmp->px + size_t(row) * bmp->width,
                   cols);
    }
    return n;
}

HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage) {
    if (!dc || !header) return nullptr;
    LONG width, height;
    if (header->biSize == sizeof(BITMAPCOREHEADER)) {
        const BITMAPCOREHEADER* core = (const BITMAPCOREHEADER*)header;
        width = core->bcWidth;
        height = core->bcHeight;
    } else {
        width = header->biWidth;
        height = header->biHeight;
    }
    if (height == INT32_MIN) return nullptr;
    if (height < 0) height = -height;
    // Every pixel is written when a DIB of the same size initialises the picture.
    const bool fill = (init & CBM_INIT) && bits && info;
    DibDesc d;
    const bool whole = fill && ParseDib(info, &d) && d.width == width && d.height == height;
    BitmapRec* b = NewBmpRec(width, height, !whole);
    if (!b) return nullptr;
    if (fill && !SetDIBits(dc, b, 0, b->height, bits, info, usage)) {
        DeleteObject(b);
        return nullptr;
    }
    return b;
}

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT, void** bits, HANDLE section,
                         DWORD offset) {
    if (bits) *bits = nullptr;
    if (!dc || !info || !bits || section || offset) return nullptr;
    DibDesc d;
    if (!ParseDib(info, &d) || d.bits != 32 || !d.topDown) return nullptr;
    BitmapRec* b = NewBmpRec(d.width, d.height, true);
    if (!b) return nullptr;
    b->section = true;
    *bits = b->px;
    return b;
}
