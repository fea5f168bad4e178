// libHlvJpg.so: picture files to 24-bit BMP files and BMP files to JPEG files.
// Both functions return nonzero on success and 0 on any failure. The destination is written
// whole or not at all: on failure no output and no temporary file is left, and an existing
// destination is unchanged. A replaced destination keeps its permission bits; a new one gets
// 0600 in a private folder (no group or other bits) and 0666 less the umask elsewhere.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

#define HLVJPG_API __attribute__((visibility("default")))

// Reads a JPEG, PNG or GIF (first frame), told apart by their first bytes, and writes it as a
// bottom-up 24-bit BMP. JPEG EXIF orientation is applied; transparency is composed over white.
HLVJPG_API int GetJpegFile(const char* src, const char* dstBmp);

// Reads an uncompressed BMP (1, 4, 8, 16, 24 or 32 bits per pixel, bottom-up or top-down) and
// writes a baseline JPEG. quality is clamped to 1..100; 100 also keeps the chroma at full size.
HLVJPG_API int SaveJpegFile(const char* srcBmp, const char* dstJpg, int quality);

#ifdef __cplusplus
}
#endif
