// GIF fixtures written with giflib.
#include <gif_lib.h>

#include "codec_test.h"

static int AddGifBytes(GifFileType* gif, const GifByteType* data, int n) {
    Bytes* out = (Bytes*)gif->UserData;
    out->insert(out->end(), data, data + n);
    return n;
}

// A colour map of 2, 4, ... 256 entries holding colours (the rest black).
static ColorMapObject* MakeGifMap(const std::vector<Rgb>& colours) {
    int count = 2;
    while (count < (int)colours.size()) count *= 2;
    ColorMapObject* map = GifMakeMapObject(count, nullptr);
    for (int i = 0; i < count; i++) {
        Rgb c = i < (int)colours.size() ? colours[i] : Rgb{0, 0, 0};
        map->Colors[i] = {c.r, c.g, c.b};
    }
    return map;
}

Bytes MakeGif(int screenW, int screenH, const std::vector<Rgb>& globalMap,
              const std::vector<GifFrame>& frames) {
    Bytes out;
    int err;
    GifFileType* gif = EGifOpen(&out, AddGifBytes, &err);
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = globalMap.empty() ? nullptr : MakeGifMap(globalMap);
    EXPECT_EQ(EGifPutScreenDesc(gif, screenW, screenH, 8, 0, global), GIF_OK);
    for (const GifFrame& f : frames) {
        if (f.transparent >= 0) {
            GraphicsControlBlock gcb = {DISPOSAL_UNSPECIFIED, false, 0, f.transparent};
            GifByteType ext[4];
            EGifGCBToExtension(&gcb, ext);
            EXPECT_EQ(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext), GIF_OK);
        }
        ColorMapObject* local = f.localMap.empty() ? nullptr : MakeGifMap(f.localMap);
        EXPECT_EQ(EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlaced, local),
                  GIF_OK);
        // giflib takes the lines in file order: for an interlaced frame, pass by pass.
        static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < (f.interlaced ? 4 : 1); pass++) {
            for (int y = f.interlaced ? kStart[pass] : 0; y < f.height;
                 y += f.interlaced ? kStep[pass] : 1) {
                std::vector<GifPixelType> line(f.indices.begin() + (size_t)y * f.width,
                                               f.indices.begin() + (size_t)(y + 1) * f.width);
                EXPECT_EQ(EGifPutLine(gif, line.data(), f.width), GIF_OK);
            }
        }
        GifFreeMapObject(local);
    }
    EGifCloseFile(gif, &err);
    GifFreeMapObject(global);
    return out;
}
