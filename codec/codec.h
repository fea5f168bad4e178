// Records and steps shared by the readers and writers of the codec library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// BITMAPFILEHEADER (14 bytes) and BITMAPINFOHEADER (40 bytes).
constexpr size_t kBmpHdrBytes = 54;

// 2^28 pixels (16384 x 16384) is far beyond any photo: a header claiming more is lying, and is
// refused before anything is allocated for it. Fuzzing builds refuse past 2^22 so that the
// fuzzer spends its time on parsing rather than on filling giant pictures.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
constexpr uint64_t kMaxPixels = 1ull << 22;
#else
constexpr uint64_t kMaxPixels = 1ull << 28;
#endif

// A 24-bit BMP file being built in memory: headers, then the rows bottom-up, each padded to a
// multiple of 4 bytes with zeros. Pixels are B, G, R.
struct BmpBuf {
    uint32_t width = 0;
    uint32_t height = 0;
    size_t stride = 0;  // bytes per row, padding included
    size_t size = 0;    // bytes of the whole file
    std::unique_ptr<uint8_t[]> file;
};

// Row y of the picture, counted from the top.
inline uint8_t* GetBmpRow(const BmpBuf* bmp, uint32_t y) {
    return bmp->file.get() + kBmpHdrBytes + (size_t)(bmp->height - 1 - y) * bmp->stride;
}

// Rows of a BMP file as the JPEG encoder takes them, top row first: B, G, R (3 bytes per pixel)
// or B, G, R, unused (4 bytes). The rows point into the file's bytes or into conv.
struct BmpPix {
    uint32_t width = 0;
    uint32_t height = 0;
    int pixBytes = 3;
    std::vector<uint8_t*> rows;
    std::vector<uint8_t> conv;
};

// Sets up bmp for a width x height picture: headers written, row padding zeroed, pixels left
// for the caller. 0 when the picture is empty, absurdly large or memory is short.
int AllocBmpBuf(BmpBuf* bmp, uint32_t width, uint32_t height);

// Reads a whole regular file into data. 0 when it cannot be read or is too large.
int ReadSrcFile(const char* path, std::vector<uint8_t>* data);

// Replaces path with size bytes of data through a temporary file beside it. 0 on failure, with
// the temporary file removed and an existing path untouched.
int WriteDstFile(const char* path, const uint8_t* data, size_t size);

// Decoders of a file held in memory into a BMP. 0 on malformed, truncated or oversized input.
int ReadJpegBmp(const uint8_t* data, size_t size, BmpBuf* bmp);
int ReadPngBmp(const uint8_t* data, size_t size, BmpBuf* bmp);
int ReadGifBmp(const uint8_t* data, size_t size, BmpBuf* bmp);

// The EXIF orientation (1..8) stored in the body of an APP1 marker; 1 when there is none.
int GetExifOrient(const uint8_t* app1, size_t size);

// Turns bmp upright for an EXIF orientation (2..8; 1 leaves it alone). 0 when memory is short,
// with bmp unchanged.
int OrientBmpBuf(BmpBuf* bmp, int orient);

// Parses a BMP file held in data (which must outlive pix). 0 on an unsupported or malformed file.
int ReadBmpPix(uint8_t* data, size_t size, BmpPix* pix);

// Encodes pix as a baseline JPEG into out. quality is 1..100.
int WriteJpegMem(const BmpPix* pix, int quality, std::vector<uint8_t>* out);
