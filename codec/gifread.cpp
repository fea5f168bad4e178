// GIF to BMP: the first frame on the logical screen. Whatever the frame leaves uncovered and
// its transparent pixels are white.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "codec.h"

struct GifSrc {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

// giflib takes a short count as the end of the file.
static int ReadGifData(GifFileType* gif, GifByteType* out, int n) {
    GifSrc* src = (GifSrc*)gif->UserData;
    size_t count = std::min((size_t)n, src->size - src->pos);
    memcpy(out, src->data + src->pos, count);
    src->pos += count;
    return (int)count;
}

// Skips the records before the first image; *transparent gets the transparent index of the
// last graphics control extension on the way, or -1.
static int SeekGifImage(GifFileType* gif, int* transparent) {
    *transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) != GIF_OK) return 0;
        if (type == IMAGE_DESC_RECORD_TYPE) return DGifGetImageDesc(gif) == GIF_OK;
        if (type != EXTENSION_RECORD_TYPE) return 0;  // the file ends without an image
        int code;
        GifByteType* ext;
        if (DGifGetExtension(gif, &code, &ext) != GIF_OK) return 0;
        GraphicsControlBlock gcb;
        if (code == GRAPHICS_EXT_FUNC_CODE && ext &&
            DGifExtensionToGCB(ext[0], ext + 1, &gcb) == GIF_OK)
            *transparent = gcb.TransparentColor;
        while (ext)
            if (DGifGetExtensionNext(gif, &ext) != GIF_OK) return 0;
    }
}

// B, G, R of every index: the frame's colour map or else the global one; indices past the map
// are black, the transparent one white.
static int MakeGifColours(const GifFileType* gif, int transparent, uint8_t (*bgr)[3]) {
    const ColorMapObject* map = gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap;
    if (!map) return 0;
    memset(bgr, 0, 256 * 3);
    int count = std::min(map->ColorCount, 256);
    for (int i = 0; i < count; i++) {
        bgr[i][0] = map->Colors[i].Blue;
        bgr[i][1] = map->Colors[i].Green;
        bgr[i][2] = map->Colors[i].Red;
    }
    if (transparent >= 0 && transparent < 256) memset(bgr[transparent], 255, 3);
    return 1;
}

static int DecodeGif(GifFileType* gif, BmpBuf* bmp) {
    int transparent;
    uint8_t bgr[256][3];
    if (!SeekGifImage(gif, &transparent) || !MakeGifColours(gif, transparent, bgr)) return 0;

    // The screen is the canvas; a frame reaching past it (a common writer bug) widens it.
    const GifImageDesc& frame = gif->Image;
    uint32_t left = (uint32_t)frame.Left, top = (uint32_t)frame.Top;
    uint32_t frameW = (uint32_t)frame.Width, frameH = (uint32_t)frame.Height;
    uint32_t width = std::max((uint32_t)gif->SWidth, left + frameW);
    uint32_t height = std::max((uint32_t)gif->SHeight, top + frameH);
    if (!AllocBmpBuf(bmp, width, height)) return 0;
    if (left > 0 || top > 0 || frameW < width || frameH < height)
        for (uint32_t y = 0; y < height; y++) memset(GetBmpRow(bmp, y), 255, (size_t)width * 3);

    // Interlaced frames store every 8th row from 0, every 8th from 4, every 4th from 2, then
    // every 2nd from 1.
    static const uint32_t kPassStart[4] = {0, 4, 2, 1}, kPassStep[4] = {8, 8, 4, 2};
    int passes = frame.Interlace ? 4 : 1;
    std::vector<GifPixelType> line(frameW);
    for (int pass = 0; pass < passes; pass++) {
        uint32_t start = frame.Interlace ? kPassStart[pass] : 0;
        uint32_t step = frame.Interlace ? kPassStep[pass] : 1;
        for (uint32_t y = start; y < frameH; y += step) {
            if (DGifGetLine(gif, line.data(), (int)frameW) != GIF_OK) return 0;
            uint8_t* dst = GetBmpRow(bmp, top + y) + (size_t)left * 3;
            for (uint32_t x = 0; x < frameW; x++, dst += 3) {
                const uint8_t* c = bgr[line[x]];
                dst[0] = c[0];
                dst[1] = c[1];
                dst[2] = c[2];
            }
        }
    }
    return 1;
}

int ReadGifBmp(const uint8_t* data, size_t size, BmpBuf* bmp) {
    GifSrc src = {data, size, 0};
    int err;
    GifFileType* gif = DGifOpen(&src, ReadGifData, &err);
    if (!gif) return 0;
    int ok = DecodeGif(gif, bmp);
    DGifCloseFile(gif, &err);
    return ok;
}
