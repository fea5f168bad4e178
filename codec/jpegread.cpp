// JPEG to BMP: libjpeg-turbo decodes straight into the bottom-up rows of the BMP.
#include <algorithm>
#include <cstring>
#include <new>

#include "codec.h"
#include "jpegerr.h"

constexpr int kRowsPerCall = 16;

// Everything a failed decode must free; owned by ReadJpegBmp, outside the setjmp frame.
struct JpegRead {
    jpeg_decompress_struct cinfo;
    JpegErr err;
    std::unique_ptr<uint8_t[]> cmyk;  // kRowsPerCall rows of C, M, Y, K
};

// CMYK to B, G, R. Adobe's writers store the inks inverted (255 = no ink), which is what the
// Adobe marker tells; without it 0 is no ink.
static void CvtCmykRow(const uint8_t* src, uint8_t* dst, uint32_t width, bool inverted) {
    uint8_t flip = inverted ? 0 : 255;
    for (uint32_t x = 0; x < width; x++, src += 4, dst += 3) {
        unsigned c = src[0] ^ flip, m = src[1] ^ flip, y = src[2] ^ flip, k = src[3] ^ flip;
        dst[0] = (uint8_t)((y * k + 127) / 255);
        dst[1] = (uint8_t)((m * k + 127) / 255);
        dst[2] = (uint8_t)((c * k + 127) / 255);
    }
}

// Reads the scanlines of a B, G, R decode into their BMP rows, several per call.
static void ReadBgrRows(j_decompress_ptr cinfo, BmpBuf* bmp) {
    JSAMPROW rows[kRowsPerCall];
    while (cinfo->output_scanline < cinfo->output_height) {
        uint32_t y = cinfo->output_scanline;
        uint32_t n = std::min<uint32_t>(kRowsPerCall, cinfo->output_height - y);
        for (uint32_t i = 0; i < n; i++) rows[i] = GetBmpRow(bmp, y + i);
        jpeg_read_scanlines(cinfo, rows, n);
    }
}

// Reads CMYK scanlines into rd->cmyk and converts them into their BMP rows.
static void ReadCmykRows(JpegRead* rd, BmpBuf* bmp) {
    j_decompress_ptr cinfo = &rd->cinfo;
    size_t cmykStride = (size_t)cinfo->output_width * 4;
    JSAMPROW rows[kRowsPerCall];
    for (int i = 0; i < kRowsPerCall; i++) rows[i] = rd->cmyk.get() + i * cmykStride;
    while (cinfo->output_scanline < cinfo->output_height) {
        uint32_t y = cinfo->output_scanline;
        uint32_t n = jpeg_read_scanlines(cinfo, rows, kRowsPerCall);
        for (uint32_t i = 0; i < n; i++)
            CvtCmykRow(rows[i], GetBmpRow(bmp, y + i), cinfo->output_width,
                       cinfo->saw_Adobe_marker);
    }
}

static int DecodeJpeg(JpegRead* rd, const uint8_t* data, size_t size, BmpBuf* bmp) {
    j_decompress_ptr cinfo = &rd->cinfo;
    if (setjmp(rd->err.jmp)) return 0;
    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, data, (unsigned long)size);
    jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(cinfo, TRUE);
    if ((uint64_t)cinfo->image_width * cinfo->image_height > kMaxPixels) return 0;

    bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(cinfo);
    if (!AllocBmpBuf(bmp, cinfo->output_width, cinfo->output_height)) return 0;
    if (cmyk) {
        rd->cmyk.reset(new (std::nothrow) uint8_t[(size_t)cinfo->output_width * 4 * kRowsPerCall]);
        if (!rd->cmyk) return 0;
        ReadCmykRows(rd, bmp);
    } else {
        ReadBgrRows(cinfo, bmp);
    }
    return 1;
}

// The orientation from the first APP1 marker that holds EXIF data.
static int GetJpegOrient(j_decompress_ptr cinfo) {
    for (jpeg_saved_marker_ptr m = cinfo->marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1 && m->data_length >= 6 && !memcmp(m->data, "Exif\0", 6))
            return GetExifOrient(m->data, m->data_length);
    return 1;
}

int ReadJpegBmp(const uint8_t* data, size_t size, BmpBuf* bmp) {
    JpegRead rd{};
    rd.cinfo.err = InitJpegErr(&rd.err);
    int ok = DecodeJpeg(&rd, data, size, bmp);
    int orient = ok ? GetJpegOrient(&rd.cinfo) : 1;
    // The rows are all read: the rest of the file (up to EOI) does not matter.
    jpeg_destroy_decompress(&rd.cinfo);
    return ok && OrientBmpBuf(bmp, orient);
}
