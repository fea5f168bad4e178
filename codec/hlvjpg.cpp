// The two entry points of the library: picture file to BMP, and BMP to JPEG.
#include "hlvjpg.h"

#include <cstring>
#include <new>

#include "codec.h"

enum PicType { kPicNone, kPicJpeg, kPicPng, kPicGif };

// The type comes from the first bytes, whatever the file's name says.
static PicType GetPicType(const std::vector<uint8_t>& data) {
    static const uint8_t kJpegSig[3] = {0xFF, 0xD8, 0xFF};
    static const uint8_t kPngSig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    size_t n = data.size();
    const uint8_t* p = data.data();
    if (n >= sizeof kJpegSig && !memcmp(p, kJpegSig, sizeof kJpegSig)) return kPicJpeg;
    if (n >= sizeof kPngSig && !memcmp(p, kPngSig, sizeof kPngSig)) return kPicPng;
    if (n >= 6 && (!memcmp(p, "GIF87a", 6) || !memcmp(p, "GIF89a", 6))) return kPicGif;
    return kPicNone;
}

static int ConvPicToBmp(const char* src, const char* dstBmp) {
    std::vector<uint8_t> data;
    if (!ReadSrcFile(src, &data)) return 0;
    BmpBuf bmp;
    int ok = 0;
    switch (GetPicType(data)) {
        case kPicJpeg: ok = ReadJpegBmp(data.data(), data.size(), &bmp); break;
        case kPicPng: ok = ReadPngBmp(data.data(), data.size(), &bmp); break;
        case kPicGif: ok = ReadGifBmp(data.data(), data.size(), &bmp); break;
        case kPicNone: break;
    }
    return ok && WriteDstFile(dstBmp, bmp.file.get(), bmp.size);
}

static int ConvBmpToJpeg(const char* srcBmp, const char* dstJpg, int quality) {
    std::vector<uint8_t> data;
    BmpPix pix;
    std::vector<uint8_t> jpeg;
    quality = quality < 1 ? 1 : quality > 100 ? 100 : quality;
    return ReadSrcFile(srcBmp, &data) && ReadBmpPix(data.data(), data.size(), &pix) &&
           WriteJpegMem(&pix, quality, &jpeg) && WriteDstFile(dstJpg, jpeg.data(), jpeg.size());
}

// No exception (memory running out in a std::vector) may leave through the C interface.
int GetJpegFile(const char* src, const char* dstBmp) {
    try {
        return ConvPicToBmp(src, dstBmp);
    } catch (...) {
        return 0;
    }
}

int SaveJpegFile(const char* srcBmp, const char* dstJpg, int quality) {
    try {
        return ConvBmpToJpeg(srcBmp, dstJpg, quality);
    } catch (...) {
        return 0;
    }
}
