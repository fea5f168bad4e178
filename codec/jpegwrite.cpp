// BMP rows to a baseline JPEG built in memory.
#include "codec.h"
#include "jpegerr.h"

constexpr size_t kFirstOutBytes = 1 << 16;

// A libjpeg destination that grows a vector. The vector belongs to the caller of the setjmp
// frame, so a failure mid-way only leaves it partly filled.
struct JpegDst {
    jpeg_destination_mgr pub;
    std::vector<uint8_t>* out;
};

// Everything a failed encode must free; owned by WriteJpegMem, outside the setjmp frame.
struct JpegWrite {
    jpeg_compress_struct cinfo;
    JpegErr err;
    JpegDst dst;
};

static void InitJpegDst(j_compress_ptr cinfo) {
    JpegDst* dst = (JpegDst*)cinfo->dest;
    dst->pub.next_output_byte = dst->out->data();
    dst->pub.free_in_buffer = dst->out->size();
}

// Doubles the vector. No exception may cross libjpeg's C frames: a failure becomes its error.
static boolean GrowJpegDst(j_compress_ptr cinfo) {
    JpegDst* dst = (JpegDst*)cinfo->dest;
    size_t used = dst->out->size();
    bool grown = false;
    try {
        dst->out->resize(used * 2);
        grown = true;
    } catch (...) {
    }
    if (!grown) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    dst->pub.next_output_byte = dst->out->data() + used;
    dst->pub.free_in_buffer = dst->out->size() - used;
    return TRUE;
}

static void TermJpegDst(j_compress_ptr cinfo) {
    JpegDst* dst = (JpegDst*)cinfo->dest;
    dst->out->resize(dst->out->size() - dst->pub.free_in_buffer);
}

static int EncodeJpeg(JpegWrite* wr, const BmpPix* pix, int quality) {
    j_compress_ptr cinfo = &wr->cinfo;
    if (setjmp(wr->err.jmp)) return 0;
    jpeg_create_compress(cinfo);
    wr->dst.pub.init_destination = InitJpegDst;
    wr->dst.pub.empty_output_buffer = GrowJpegDst;
    wr->dst.pub.term_destination = TermJpegDst;
    cinfo->dest = &wr->dst.pub;

    cinfo->image_width = pix->width;
    cinfo->image_height = pix->height;
    cinfo->input_components = pix->pixBytes;
    cinfo->in_color_space = pix->pixBytes == 4 ? JCS_EXT_BGRX : JCS_EXT_BGR;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, TRUE);
    // At the top quality the chroma keeps its full size (4:4:4) instead of the default 4:2:0.
    if (quality == 100)
        for (int i = 0; i < cinfo->num_components; i++)
            cinfo->comp_info[i].h_samp_factor = cinfo->comp_info[i].v_samp_factor = 1;

    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height)
        jpeg_write_scanlines(cinfo, (JSAMPARRAY)pix->rows.data() + cinfo->next_scanline,
                             cinfo->image_height - cinfo->next_scanline);
    jpeg_finish_compress(cinfo);
    return 1;
}

int WriteJpegMem(const BmpPix* pix, int quality, std::vector<uint8_t>* out) {
    out->resize(kFirstOutBytes);
    JpegWrite wr = {};
    wr.cinfo.err = InitJpegErr(&wr.err);
    wr.dst.out = out;
    int ok = EncodeJpeg(&wr, pix, quality);
    jpeg_destroy_compress(&wr.cinfo);
    return ok;
}
