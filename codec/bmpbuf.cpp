// The 24-bit BMP file every reader decodes into.
#include <cstring>
#include <new>

#include "codec.h"

constexpr uint64_t kMaxBmpBytes = 0x7FFFFFFF;

static void PutLe16(uint8_t* p, uint32_t v) {
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
}

static void PutLe32(uint8_t* p, uint32_t v) {
    PutLe16(p, v);
    PutLe16(p + 2, v >> 16);
}

int AllocBmpBuf(BmpBuf* bmp, uint32_t width, uint32_t height) {
    if (width == 0 || height == 0 || (uint64_t)width * height > kMaxPixels) return 0;
    uint64_t stride = ((uint64_t)width * 3 + 3) & ~(uint64_t)3;
    uint64_t size = kBmpHdrBytes + stride * height;
    if (size > kMaxBmpBytes) return 0;
    // Not zeroed: the decoders write every pixel, only the padding needs clearing.
    uint8_t* file = new (std::nothrow) uint8_t[size];
    if (!file) return 0;
    bmp->file.reset(file);
    bmp->width = width;
    bmp->height = height;
    bmp->stride = stride;
    bmp->size = size;

    memset(file, 0, kBmpHdrBytes);
    file[0] = 'B';
    file[1] = 'M';
    PutLe32(file + 2, (uint32_t)size);
    PutLe32(file + 10, kBmpHdrBytes);
    PutLe32(file + 14, 40);
    PutLe32(file + 18, width);
    PutLe32(file + 22, height);  // positive: bottom-up
    PutLe16(file + 26, 1);       // planes
    PutLe16(file + 28, 24);      // bits per pixel; compression 0 is BI_RGB
    PutLe32(file + 34, (uint32_t)(stride * height));
    PutLe32(file + 38, 2835);  // 72 dpi
    PutLe32(file + 42, 2835);

    size_t pad = stride - (size_t)width * 3;
    if (pad)
        for (uint32_t y = 0; y < height; y++) memset(GetBmpRow(bmp, y) + (size_t)width * 3, 0, pad);
    return 1;
}
