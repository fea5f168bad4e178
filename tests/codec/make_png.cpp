// PNG fixtures written with libpng from raw samples, so every colour type and depth is exact.
#include <png.h>

#include "codec_test.h"

static void AddPngBytes(png_structp png, png_bytep data, png_size_t n) {
    Bytes* out = (Bytes*)png_get_io_ptr(png);
    out->insert(out->end(), data, data + n);
}

static void FlushPng(png_structp) {}

static int GetPngChannels(int colourType) {
    switch (colourType) {
        case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
        case PNG_COLOR_TYPE_RGB: return 3;
        case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
        default: return 1;
    }
}

// Writes the signature and IHDR (and the rest when spec has samples) into out.
static void WritePng(const PngSpec& spec, Bytes* out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        ADD_FAILURE() << "libpng failed to write a fixture";
        png_destroy_write_struct(&png, &info);
        return;
    }
    png_set_write_fn(png, out, AddPngBytes, FlushPng);
    png_set_IHDR(png, info, spec.width, spec.height, spec.depth, spec.colourType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (const Rgb& c : spec.palette) palette.push_back({c.r, c.g, c.b});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), (int)palette.size());
    png_color_16 key = {};
    key.gray = (png_uint_16)spec.keyGrey;
    key.red = spec.keyRgb.r;
    key.green = spec.keyRgb.g;
    key.blue = spec.keyRgb.b;
    if (!spec.palAlpha.empty())
        png_set_tRNS(png, info, spec.palAlpha.data(), (int)spec.palAlpha.size(), nullptr);
    else if (spec.keyGrey >= 0 || spec.useKeyRgb)
        png_set_tRNS(png, info, nullptr, 0, &key);
    png_write_info(png, info);
    if (spec.samples.empty()) {
        png_destroy_write_struct(&png, &info);
        return;
    }

    // Pack the samples: depths below 8 put the leftmost sample in the highest bits, 16-bit
    // samples are big-endian.
    int channels = GetPngChannels(spec.colourType);
    size_t perRow = (size_t)spec.width * channels;
    size_t rowBytes = (perRow * spec.depth + 7) / 8;
    std::vector<png_byte> rows(rowBytes * spec.height, 0);
    std::vector<png_bytep> rowPtrs;
    for (int y = 0; y < spec.height; y++) {
        png_bytep row = &rows[rowBytes * y];
        rowPtrs.push_back(row);
        for (size_t i = 0; i < perRow; i++) {
            uint32_t v = spec.samples[y * perRow + i];
            if (spec.depth == 16) {
                row[2 * i] = (png_byte)(v >> 8);
                row[2 * i + 1] = (png_byte)v;
            } else {
                size_t bit = i * spec.depth;
                row[bit / 8] |= (png_byte)(v << (8 - spec.depth - bit % 8));
            }
        }
    }
    png_set_interlace_handling(png);
    png_write_image(png, rowPtrs.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
}

Bytes MakePng(const PngSpec& spec) {
    Bytes out;
    WritePng(spec, &out);
    return out;
}

Bytes MakePngHeader(uint32_t width, uint32_t height) {
    PngSpec spec = {
        .colourType = PNG_COLOR_TYPE_RGB, .depth = 8, .width = (int)width, .height = (int)height};
    return MakePng(spec);
}
