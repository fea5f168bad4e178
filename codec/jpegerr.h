// The libjpeg error manager of the codec: errors jump back to the caller, messages are silent.
#pragma once

#include <csetjmp>
#include <cstdio>

// jpeglib.h needs FILE and size_t declared before it.
#include <jerror.h>
#include <jpeglib.h>

// The function that calls setjmp(jmp) must hold no automatic objects with destructors: the jump
// skips them. Records that must be freed after a failure belong to its caller.
struct JpegErr {
    jpeg_error_mgr pub;
    jmp_buf jmp;
};

// Fills err and returns the pointer to store in cinfo.err.
jpeg_error_mgr* InitJpegErr(JpegErr* err);
