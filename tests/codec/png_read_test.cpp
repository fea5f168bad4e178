// GetJpegFile on PNG files: every colour type and bit depth, transparency over white, Adam7.
#include <png.h>

#include "codec/hlvjpg.h"
#include "codec_test.h"

namespace {

enum Trns { kNoTrns, kTrns };

struct PngRow {
    const char* name;
    int colourType;
    int depth;
    bool interlaced;
    Trns trns;
};

const PngRow kPngRows[] = {
    {"grey 1", PNG_COLOR_TYPE_GRAY, 1, false, kNoTrns},
    {"grey 2", PNG_COLOR_TYPE_GRAY, 2, false, kNoTrns},
    {"grey 4", PNG_COLOR_TYPE_GRAY, 4, false, kNoTrns},
    {"grey 8", PNG_COLOR_TYPE_GRAY, 8, false, kNoTrns},
    {"grey 16", PNG_COLOR_TYPE_GRAY, 16, false, kNoTrns},
    {"grey 4 with a transparent grey", PNG_COLOR_TYPE_GRAY, 4, false, kTrns},
    {"grey 16 with a transparent grey", PNG_COLOR_TYPE_GRAY, 16, false, kTrns},
    {"grey+alpha 8", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, kNoTrns},
    {"grey+alpha 16", PNG_COLOR_TYPE_GRAY_ALPHA, 16, false, kNoTrns},
    {"RGB 8", PNG_COLOR_TYPE_RGB, 8, false, kNoTrns},
    {"RGB 16", PNG_COLOR_TYPE_RGB, 16, false, kNoTrns},
    {"RGB 8 with a transparent colour", PNG_COLOR_TYPE_RGB, 8, false, kTrns},
    {"RGBA 8", PNG_COLOR_TYPE_RGB_ALPHA, 8, false, kNoTrns},
    {"RGBA 16", PNG_COLOR_TYPE_RGB_ALPHA, 16, false, kNoTrns},
    {"palette 1", PNG_COLOR_TYPE_PALETTE, 1, false, kNoTrns},
    {"palette 2", PNG_COLOR_TYPE_PALETTE, 2, false, kNoTrns},
    {"palette 4", PNG_COLOR_TYPE_PALETTE, 4, false, kNoTrns},
    {"palette 8", PNG_COLOR_TYPE_PALETTE, 8, false, kNoTrns},
    {"palette 1 with tRNS", PNG_COLOR_TYPE_PALETTE, 1, false, kTrns},
    {"palette 8 with a short tRNS", PNG_COLOR_TYPE_PALETTE, 8, false, kTrns},
    {"interlaced grey 1", PNG_COLOR_TYPE_GRAY, 1, true, kNoTrns},
    {"interlaced RGB 8", PNG_COLOR_TYPE_RGB, 8, true, kNoTrns},
    {"interlaced RGBA 16", PNG_COLOR_TYPE_RGB_ALPHA, 16, true, kNoTrns},
    {"interlaced palette 4 with tRNS", PNG_COLOR_TYPE_PALETTE, 4, true, kTrns},
};

// A spread of sample values that reaches 0 and the maximum.
uint32_t GetSample(int x, int y, int channel, int depth) {
    uint32_t max = (1u << depth) - 1;
    if (x == 0 && y == 0) return 0;
    if (x == 1 && y == 0) return max;
    return ((uint32_t)(x * 37 + y * 101 + channel * 59) * 2654435761u >> 8) & max;
}

uint8_t To8Bits(uint32_t v, int depth) {
    uint32_t max = (1u << depth) - 1;
    return (uint8_t)((v * 255 + max / 2) / max);
}

uint8_t OverWhite(uint8_t c, uint8_t a) {
    return (uint8_t)((a * c + (255 - a) * 255 + 127) / 255);
}

// Fills form with samples for row, and want with the picture they should give.
void MakePngCase(const PngRow& row, PngForm* form, Pic* want) {
    const int kW = 13, kH = 11;
    *form = {.colourType = row.colourType,
             .depth = row.depth,
             .interlaced = row.interlaced,
             .width = kW,
             .height = kH};
    *want = MakePic(kW, kH);
    bool palette = row.colourType == PNG_COLOR_TYPE_PALETTE;
    bool grey = !(row.colourType & PNG_COLOR_MASK_COLOR);
    bool alpha = row.colourType & PNG_COLOR_MASK_ALPHA;
    int entries = 1 << row.depth;
    if (palette) {
        for (int i = 0; i < entries; i++)
            form->palette.push_back(
                {(uint8_t)(i * 37), (uint8_t)(255 - i * 11), (uint8_t)(i * 73)});
        // Entries past a short tRNS stay opaque.
        if (row.trns == kTrns)
            for (int i = 0; i < (entries > 2 ? entries - 3 : 1); i++)
                form->palAlpha.push_back((uint8_t)(i * 97));
    }
    if (row.trns == kTrns && grey) form->keyGrey = (int)GetSample(2, 3, 0, row.depth);
    if (row.trns == kTrns && row.colourType == PNG_COLOR_TYPE_RGB) {
        form->useKeyRgb = true;
        form->keyRgb = {(uint8_t)GetSample(2, 3, 0, 8), (uint8_t)GetSample(2, 3, 1, 8),
                        (uint8_t)GetSample(2, 3, 2, 8)};
    }

    for (int y = 0; y < kH; y++) {
        for (int x = 0; x < kW; x++) {
            uint32_t s[4];
            int channels = palette || grey ? 1 : 3;
            for (int c = 0; c < channels + alpha; c++) s[c] = GetSample(x, y, c, row.depth);
            form->samples.insert(form->samples.end(), s, s + channels + alpha);
            Rgb c;
            uint8_t a = alpha ? To8Bits(s[channels], row.depth) : 255;
            if (palette) {
                c = form->palette[s[0]];
                if (s[0] < form->palAlpha.size()) a = form->palAlpha[s[0]];
            } else if (grey) {
                uint8_t g = To8Bits(s[0], row.depth);
                c = {g, g, g};
                if ((int)s[0] == form->keyGrey) a = 0;
            } else {
                c = {To8Bits(s[0], row.depth), To8Bits(s[1], row.depth), To8Bits(s[2], row.depth)};
                if (form->useKeyRgb && c.r == form->keyRgb.r && c.g == form->keyRgb.g &&
                    c.b == form->keyRgb.b)
                    a = 0;
            }
            PicAt(*want, x, y) = {OverWhite(c.r, a), OverWhite(c.g, a), OverWhite(c.b, a)};
        }
    }
}

class PngReadTest : public CodecTest {};

TEST_F(PngReadTest, DecodesEveryColourTypeAndDepth) {
    for (const PngRow& row : kPngRows) {
        SCOPED_TRACE(row.name);
        PngForm form;
        Pic want;
        MakePngCase(row, &form, &want);
        // Named .jpg: the type comes from the file's first bytes.
        WriteBytes(In("src.jpg"), MakePng(form));
        ASSERT_NE(GetJpegFile(In("src.jpg").c_str(), In("out.bmp").c_str()), 0);
        Pic got;
        ASSERT_TRUE(ReadBmp24(In("out.bmp"), &got));
        EXPECT_TRUE(SamePic(got, want, 1));
    }
}

}  // namespace
