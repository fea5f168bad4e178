// libjpeg errors and warnings for a library that must neither exit nor print.
#include "jpegerr.h"

static void ExitJpegErr(j_common_ptr cinfo) {
    longjmp(((JpegErr*)cinfo->err)->jmp, 1);
}

// Data that ends before the picture does is a failure, not a picture with a grey bottom. The
// memory source answers the end of the data with an end marker (and a warning, ignored: files
// that only lack their end marker are common and whole); the decoder warns of hitting a marker
// only when it still needed data. Other warnings (stray bytes, a lost restart marker) leave a
// usable picture.
static void EmitJpegMsg(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_HIT_MARKER) ExitJpegErr(cinfo);
}

static void OutputJpegMsg(j_common_ptr) {}

jpeg_error_mgr* InitJpegErr(JpegErr* err) {
    jpeg_std_error(&err->pub);
    err->pub.error_exit = ExitJpegErr;
    err->pub.emit_message = EmitJpegMsg;
    err->pub.output_message = OutputJpegMsg;
    return &err->pub;
}
