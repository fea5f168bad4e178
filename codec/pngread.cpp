// PNG to BMP: libpng expands every colour type and depth to 8-bit B, G, R (plus alpha when the
// file has transparency) and the rows land straight in the bottom-up rows of the BMP.
#include <png.h>

#include <cstring>
#include <new>

#include "codec.h"

struct PngSrc {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

// Everything a failed decode must free; owned by ReadPngBmp, outside the setjmp frame.
struct PngRead {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngSrc src = {};
    std::unique_ptr<uint8_t[]> bgra;  // rows with alpha before they are composed over white
};

static void ReadPngData(png_structp png, png_bytep out, png_size_t n) {
    PngSrc* src = (PngSrc*)png_get_io_ptr(png);
    if (n > src->size - src->pos) png_error(png, "truncated");
    memcpy(out, src->data + src->pos, n);
    src->pos += n;
}

static void FailPng(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

static void WarnPng(png_structp, png_const_charp) {}

// B, G, R, A over white: out = (a * c + (255 - a) * 255 + 127) / 255.
static void ComposeRow(const uint8_t* src, uint8_t* dst, uint32_t width) {
    for (uint32_t x = 0; x < width; x++, src += 4, dst += 3) {
        unsigned a = src[3], white = (255 - a) * 255 + 127;
        dst[0] = (uint8_t)((a * src[0] + white) / 255);
        dst[1] = (uint8_t)((a * src[1] + white) / 255);
        dst[2] = (uint8_t)((a * src[2] + white) / 255);
    }
}

static int DecodePng(PngRead* rd, BmpBuf* bmp) {
    png_structp png = rd->png;
    png_infop info = rd->info;
    if (setjmp(png_jmpbuf(png))) return 0;
    png_set_read_fn(png, &rd->src, ReadPngData);
    png_read_info(png, info);
    uint32_t width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    if ((uint64_t)width * height > kMaxPixels) return 0;

    bool alpha = (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) ||
                 png_get_valid(png, info, PNG_INFO_tRNS);
    png_set_expand(png);  // palette, low grey depths and tRNS
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    size_t rowBytes = (size_t)width * (alpha ? 4 : 3);
    if (png_get_rowbytes(png, info) != rowBytes || !AllocBmpBuf(bmp, width, height)) return 0;

    if (!alpha) {
        for (int pass = 0; pass < passes; pass++)
            for (uint32_t y = 0; y < height; y++) png_read_row(png, GetBmpRow(bmp, y), nullptr);
        return 1;
    }
    // Each interlaced pass adds some pixels to some rows, so an interlaced picture is kept whole
    // until its last pass; otherwise one row at a time is enough.
    size_t bgraRows = passes > 1 ? height : 1;
    rd->bgra.reset(new (std::nothrow) uint8_t[bgraRows * rowBytes]);
    if (!rd->bgra) return 0;
    for (int pass = 0; pass < passes; pass++) {
        for (uint32_t y = 0; y < height; y++) {
            uint8_t* row = rd->bgra.get() + (passes > 1 ? y : 0) * rowBytes;
            png_read_row(png, row, nullptr);
            if (pass == passes - 1) ComposeRow(row, GetBmpRow(bmp, y), width);
        }
    }
    return 1;
}

int ReadPngBmp(const uint8_t* data, size_t size, BmpBuf* bmp) {
    PngRead rd;
    rd.src = {data, size, 0};
    rd.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, FailPng, WarnPng);
    if (!rd.png) return 0;
    rd.info = png_create_info_struct(rd.png);
    int ok = rd.info && DecodePng(&rd, bmp);
    png_destroy_read_struct(&rd.png, &rd.info, nullptr);
    return ok;
}
