// The orientation tag of the EXIF block a camera stores in the JPEG APP1 marker.
#include <cstring>

#include "codec.h"

constexpr size_t kExifHdrBytes = 6;  // "Exif\0\0", then a TIFF file
constexpr uint32_t kOrientTag = 0x0112;
constexpr uint32_t kShortType = 3;

// 16 and 32-bit numbers of the TIFF file in its byte order.
static uint32_t GetTiff16(const uint8_t* p, bool bigEndian) {
    return bigEndian ? (uint32_t)p[0] << 8 | p[1] : (uint32_t)p[1] << 8 | p[0];
}

static uint32_t GetTiff32(const uint8_t* p, bool bigEndian) {
    uint32_t first = GetTiff16(p, bigEndian), second = GetTiff16(p + 2, bigEndian);
    return bigEndian ? first << 16 | second : second << 16 | first;
}

int GetExifOrient(const uint8_t* app1, size_t size) {
    if (size < kExifHdrBytes + 8 || memcmp(app1, "Exif\0", 6) != 0) return 1;
    const uint8_t* tiff = app1 + kExifHdrBytes;
    size_t tiffSize = size - kExifHdrBytes;
    bool bigEndian;
    if (!memcmp(tiff, "II*\0", 4))
        bigEndian = false;
    else if (!memcmp(tiff, "MM\0*", 4))
        bigEndian = true;
    else
        return 1;

    // IFD0: a count, then 12-byte entries of tag, type, count and value.
    uint32_t ifd = GetTiff32(tiff + 4, bigEndian);
    if (ifd > tiffSize - 2) return 1;
    uint32_t entries = GetTiff16(tiff + ifd, bigEndian);
    for (uint32_t i = 0; i < entries; i++) {
        size_t at = ifd + 2 + (size_t)i * 12;
        if (at + 12 > tiffSize) return 1;
        const uint8_t* e = tiff + at;
        if (GetTiff16(e, bigEndian) != kOrientTag) continue;
        if (GetTiff16(e + 2, bigEndian) != kShortType || GetTiff32(e + 4, bigEndian) < 1) return 1;
        uint32_t orient = GetTiff16(e + 8, bigEndian);
        return orient >= 1 && orient <= 8 ? (int)orient : 1;
    }
    return 1;
}
