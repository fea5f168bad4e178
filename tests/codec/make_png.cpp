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

// Writes the signature and IHDR (and the rest when form has samples) into out.
static void WritePng(const PngForm& form, Bytes* out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        ADD_FAILURE() << "libpng failed to write a fixture";
        png_destroy_write_struct(&png, &info);
        return;
    }
    png_set_write_fn(png, out, AddPngBytes, FlushPng);
    png_set_IHDR(png, info, form.width, form.height, form.depth, form.colourType,
                 form.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (const Rgb& c : form.palette) palette.push_back({c.r, c.g, c.b});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), (int)palette.size());
    png_color_16 key = {};
    key.gray = (png_uint_16)form.keyGrey;
    key.red = form.keyRgb.r;
    key.green = form.keyRgb.g;
    key.blue = form.keyRgb.b;
    if (!form.palAlpha.empty())
        png_set_tRNS(png, info, form.palAlpha.data(), (int)form.palAlpha.size(), nullptr);
    else if (form.keyGrey >= 0 || form.useKeyRgb)
        png_set_tRNS(png, info, nullptr, 0, &key);
    png_write_info(png, info);
    if (form.samples.empty()) {
        png_destroy_write_struct(&png, &info);
        return;
    }

    // Pack the samples: depths below 8 put the leftmost sample in the highest bits, 16-bit
    // samples are big-endian.
    int channels = GetPngChannels(form.colourType);
    size_t perRow = (size_t)form.width * channels;
    size_t rowBytes = (perRow * form.depth + 7) / 8;
    std::vector<png_byte> rows(rowBytes * form.height, 0);
    std::vector<png_bytep> rowPtrs;
    for (int y = 0; y < form.height; y++) {
        png_bytep row = &rows[rowBytes * y];
        rowPtrs.push_back(row);
        for (size_t i = 0; i < perRow; i++) {
            uint32_t v = form.samples[y * perRow + i];
            if (form.depth == 16) {
                row[2 * i] = (png_byte)(v >> 8);
                row[2 * i + 1] = (png_byte)v;
            } else {
                size_t bit = i * form.depth;
                row[bit / 8] |= (png_byte)(v << (8 - form.depth - bit % 8));
            }
        }
    }
    png_set_interlace_handling(png);
    png_write_image(png, rowPtrs.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
}

Bytes MakePng(const PngForm& form) {
    Bytes out;
    WritePng(form, &out);
    return out;
}

Bytes MakePngHeader(uint32_t width, uint32_t height) {
    PngForm form = {
        .colourType = PNG_COLOR_TYPE_RGB, .depth = 8, .width = (int)width, .height = (int)height};
    return MakePng(form);
}
