// BMP files to rows for the JPEG encoder. 24 and 32-bit rows are used in place; palette and
// 16-bit rows are converted to B, G, R first.
#include <cstring>

#include "codec.h"

constexpr uint32_t kCoreHdrBytes = 12;  // BITMAPCOREHEADER
constexpr uint32_t kInfoHdrBytes = 40;  // BITMAPINFOHEADER; V4 and V5 headers extend it
constexpr uint32_t kMaxJpegSide = 65500;

// What the headers say, checked against the file before any pixel is touched.
struct BmpHdr {
    uint32_t width;
    uint32_t height;
    bool topDown;
    uint32_t bits;
    size_t stride;
    size_t pixOff;           // where the rows start in the file
    const uint8_t* palette;  // B, G, R entries of palBytes bytes each
    uint32_t palBytes;
    uint32_t palCount;
};

static uint32_t GetLe16(const uint8_t* p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8;
}

static uint32_t GetLe32(const uint8_t* p) {
    return GetLe16(p) | GetLe16(p + 2) << 16;
}

static int ParseBmpHdr(const uint8_t* data, size_t size, BmpHdr* hdr) {
    if (size < 14 + kCoreHdrBytes || data[0] != 'B' || data[1] != 'M') return 0;
    uint32_t offBits = GetLe32(data + 10), infoBytes = GetLe32(data + 14);
    if (infoBytes > size - 14) return 0;
    const uint8_t* info = data + 14;
    int64_t height;
    if (infoBytes == kCoreHdrBytes) {
        hdr->width = GetLe16(info + 4);
        height = GetLe16(info + 6);
        hdr->bits = GetLe16(info + 10);
        hdr->palBytes = 3;
        hdr->palCount = 0;
    } else if (infoBytes >= kInfoHdrBytes) {
        int32_t width = (int32_t)GetLe32(info + 4);
        if (width <= 0 || GetLe32(info + 16) != 0) return 0;  // compressed (not BI_RGB)
        hdr->width = (uint32_t)width;
        height = (int32_t)GetLe32(info + 8);
        hdr->bits = GetLe16(info + 14);
        hdr->palBytes = 4;
        hdr->palCount = GetLe32(info + 32);
    } else {
        return 0;
    }
    hdr->topDown = height < 0;
    hdr->height = (uint32_t)(height < 0 ? -height : height);
    if (hdr->width == 0 || hdr->height == 0 || hdr->width > kMaxJpegSide ||
        hdr->height > kMaxJpegSide || (uint64_t)hdr->width * hdr->height > kMaxPixels)
        return 0;
    uint32_t bits = hdr->bits;
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return 0;

    hdr->stride = (((size_t)hdr->width * bits + 31) / 32) * 4;
    if (offBits > size || (uint64_t)hdr->stride * hdr->height > size - offBits) return 0;
    hdr->pixOff = offBits;

    // The palette sits between the headers and the pixels. A count of 0 means all 2^bits; some
    // writers store fewer entries than they say, the missing ones are taken as black.
    if (bits <= 8) {
        uint32_t full = 1u << bits, palOff = 14 + infoBytes;
        uint32_t stored = offBits > palOff ? (offBits - palOff) / hdr->palBytes : 0;
        if (hdr->palCount == 0 || hdr->palCount > full) hdr->palCount = full;
        if (hdr->palCount > stored) hdr->palCount = stored;
        hdr->palette = data + palOff;
    }
    return 1;
}

// Palette rows: each index looked up in a table of the palette's colours; indices past the
// palette are black.
static void CvtPalRows(const BmpHdr* hdr, BmpPix* pix) {
    uint8_t bgr[256][3] = {};
    for (uint32_t i = 0; i < hdr->palCount; i++)
        memcpy(bgr[i], hdr->palette + i * hdr->palBytes, 3);
    uint32_t bits = hdr->bits, mask = (1u << bits) - 1;
    for (uint32_t y = 0; y < pix->height; y++) {
        const uint8_t* src = pix->rows[y];
        uint8_t* dst = pix->conv.data() + (size_t)y * pix->width * 3;
        // The leftmost pixel of a byte is in its highest bits.
        for (uint32_t x = 0, bit = 0; x < pix->width; x++, bit += bits, dst += 3) {
            uint32_t index = (src[bit >> 3] >> (8 - bits - (bit & 7))) & mask;
            memcpy(dst, bgr[index], 3);
        }
        pix->rows[y] = pix->conv.data() + (size_t)y * pix->width * 3;
    }
}

// 16-bit rows: x rrrrr ggggg bbbbb, little-endian; 5 bits widen to 8 by repeating the top ones.
static void Cvt555Rows(BmpPix* pix) {
    uint8_t widen[32];
    for (int v = 0; v < 32; v++) widen[v] = (uint8_t)(v << 3 | v >> 2);
    for (uint32_t y = 0; y < pix->height; y++) {
        const uint8_t* src = pix->rows[y];
        uint8_t* dst = pix->conv.data() + (size_t)y * pix->width * 3;
        for (uint32_t x = 0; x < pix->width; x++, src += 2, dst += 3) {
            uint32_t v = GetLe16(src);
            dst[0] = widen[v & 31];
            dst[1] = widen[(v >> 5) & 31];
            dst[2] = widen[(v >> 10) & 31];
        }
        pix->rows[y] = pix->conv.data() + (size_t)y * pix->width * 3;
    }
}

int ReadBmpPix(uint8_t* data, size_t size, BmpPix* pix) {
    BmpHdr hdr = {};
    if (!ParseBmpHdr(data, size, &hdr)) return 0;
    pix->width = hdr.width;
    pix->height = hdr.height;
    pix->rows.resize(hdr.height);
    for (uint32_t y = 0; y < hdr.height; y++)
        pix->rows[y] =
            data + hdr.pixOff + (size_t)(hdr.topDown ? y : hdr.height - 1 - y) * hdr.stride;
    pix->pixBytes = hdr.bits == 32 ? 4 : 3;
    if (hdr.bits >= 24) return 1;

    pix->conv.resize((size_t)hdr.width * 3 * hdr.height);
    if (hdr.bits == 16)
        Cvt555Rows(pix);
    else
        CvtPalRows(&hdr, pix);
    return 1;
}
