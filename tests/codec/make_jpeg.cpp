// JPEG fixtures written with libjpeg, and a reader for what the library's JPEG files hold.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "codec_test.h"

struct TestJpegErr {
    jpeg_error_mgr pub;
    jmp_buf jmp;
};

static void FailTestJpeg(j_common_ptr cinfo) {
    longjmp(((TestJpegErr*)cinfo->err)->jmp, 1);
}

Bytes MakeJpeg(const Pic& pic, const JpegForm& form, const Bytes& cmyk) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* mem = nullptr;
    unsigned long memSize = 0;
    jpeg_mem_dest(&cinfo, &mem, &memSize);

    bool isCmyk =
        form.kind == kJpegCmykAdobe || form.kind == kJpegCmykPlain || form.kind == kJpegYcck;
    cinfo.image_width = pic.width;
    cinfo.image_height = pic.height;
    cinfo.input_components = form.kind == kJpegGrey ? 1 : isCmyk ? 4 : 3;
    cinfo.in_color_space = form.kind == kJpegGrey ? JCS_GRAYSCALE : isCmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, form.quality, TRUE);
    if (form.kind == kJpegProgressive) jpeg_simple_progression(&cinfo);
    if (form.kind == kJpegYcck) jpeg_set_colorspace(&cinfo, JCS_YCCK);
    // Without the Adobe marker a reader takes 0 as no ink; with it, inks are stored inverted.
    if (form.kind == kJpegCmykPlain) cinfo.write_Adobe_marker = FALSE;
    if (form.full444)
        for (int i = 0; i < cinfo.num_components; i++)
            cinfo.comp_info[i].h_samp_factor = cinfo.comp_info[i].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    if (!form.app1.empty())
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, form.app1.data(), (unsigned)form.app1.size());

    std::vector<JSAMPLE> row((size_t)pic.width * cinfo.input_components);
    for (int y = 0; y < pic.height; y++) {
        for (int x = 0; x < pic.width; x++) {
            const Rgb& c = PicAt(pic, x, y);
            JSAMPLE* p = &row[(size_t)x * cinfo.input_components];
            if (form.kind == kJpegGrey) {
                p[0] = c.g;
            } else if (isCmyk) {
                for (int i = 0; i < 4; i++) {
                    uint8_t ink = cmyk[((size_t)y * pic.width + x) * 4 + i];
                    p[i] = form.kind == kJpegCmykPlain ? ink : 255 - ink;
                }
            } else {
                p[0] = c.r;
                p[1] = c.g;
                p[2] = c.b;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(mem, mem + memSize);
    free(mem);
    return out;
}

Bytes MakeExifOrient(int orient, bool bigEndian) {
    Bytes b = {'E', 'x', 'i', 'f', 0, 0};
    auto put16 = [&](uint32_t v) {
        if (bigEndian) {
            b.push_back((uint8_t)(v >> 8));
            b.push_back((uint8_t)v);
        } else {
            b.push_back((uint8_t)v);
            b.push_back((uint8_t)(v >> 8));
        }
    };
    auto put32 = [&](uint32_t v) {
        put16(bigEndian ? v >> 16 : v & 0xFFFF);
        put16(bigEndian ? v & 0xFFFF : v >> 16);
    };
    b.insert(b.end(), {(uint8_t)(bigEndian ? 'M' : 'I'), (uint8_t)(bigEndian ? 'M' : 'I')});
    put16(42);
    put32(8);       // IFD0 right after the TIFF header
    put16(2);       // entries: an unrelated one first, then the orientation
    put16(0x010F);  // Make, ASCII, 4 bytes in place
    put16(2);
    put32(4);
    b.insert(b.end(), {'C', 'a', 'm', 0});
    put16(0x0112);
    put16(3);  // SHORT
    put32(1);
    put16((uint32_t)orient);
    put16(0);
    put32(0);  // no next IFD
    return b;
}

JpegFacts ReadJpegFacts(const Bytes& jpeg) {
    JpegFacts facts;
    jpeg_decompress_struct cinfo;
    TestJpegErr err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = FailTestJpeg;
    jpeg_create_decompress(&cinfo);
    if (setjmp(err.jmp)) {
        jpeg_destroy_decompress(&cinfo);
        return JpegFacts();
    }
    jpeg_mem_src(&cinfo, jpeg.data(), (unsigned long)jpeg.size());
    jpeg_read_header(&cinfo, TRUE);
    facts.progressive = cinfo.progressive_mode;
    facts.hSamp = cinfo.comp_info[0].h_samp_factor;
    facts.vSamp = cinfo.comp_info[0].v_samp_factor;
    facts.lumaQuant0 = cinfo.quant_tbl_ptrs[0] ? cinfo.quant_tbl_ptrs[0]->quantval[0] : 0;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    facts.width = (int)cinfo.output_width;
    facts.height = (int)cinfo.output_height;
    facts.pic = MakePic(facts.width, facts.height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = (JSAMPROW)&PicAt(facts.pic, 0, (int)cinfo.output_scanline);
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    facts.ok = true;
    return facts;
}
