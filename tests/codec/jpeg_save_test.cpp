// SaveJpegFile: BMP layouts in, baseline JPEG out, and the quality setting.
#include "codec/hlvjpg.h"
#include "codec_test.h"

namespace {

// A smooth picture: gradients JPEG keeps nearly exact.
Pic MakeSmoothPic(int width, int height) {
    Pic pic = MakePic(width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            PicAt(pic, x, y) = {(uint8_t)(40 + x * 4), (uint8_t)(60 + y * 5),
                                (uint8_t)(200 - x * 2 - y)};
    return pic;
}

class JpegSaveTest : public CodecTest {};

TEST_F(JpegSaveTest, RoundTripKeepsTheColours) {
    Pic pic = MakeSmoothPic(41, 30);
    WriteBytes(In("src.bmp"), MakeBmp(pic, BmpForm()));
    ASSERT_NE(SaveJpegFile(In("src.bmp").c_str(), In("mid.jpg").c_str(), 100), 0);
    ASSERT_NE(GetJpegFile(In("mid.jpg").c_str(), In("back.bmp").c_str()), 0);
    Pic got;
    ASSERT_TRUE(ReadBmp24(In("back.bmp"), &got));
    EXPECT_TRUE(SamePic(got, pic, 3));
}

struct QualityRow {
    int quality;
    int lumaQuant0;  // first luminance quantiser: 1 at 100, 16 at 50, 255 (baseline cap) at 1
    int lumaSamp;    // 1: chroma at full size; 2: the library default, 4:2:0
};

const QualityRow kQualityRows[] = {
    {100, 1, 1}, {250, 1, 1}, {50, 16, 2}, {1, 255, 2}, {0, 255, 2}, {-7, 255, 2},
};

TEST_F(JpegSaveTest, QualityIsClampedAndTopQualityKeepsChroma) {
    WriteBytes(In("src.bmp"), MakeBmp(MakeSmoothPic(24, 16), BmpForm()));
    for (const QualityRow& row : kQualityRows) {
        SCOPED_TRACE("quality " + std::to_string(row.quality));
        ASSERT_NE(SaveJpegFile(In("src.bmp").c_str(), In("out.jpg").c_str(), row.quality), 0);
        JpegFacts facts = ReadJpegFacts(ReadBytes(In("out.jpg")));
        ASSERT_TRUE(facts.ok);
        EXPECT_FALSE(facts.progressive);
        EXPECT_EQ(facts.width, 24);
        EXPECT_EQ(facts.height, 16);
        EXPECT_EQ(facts.lumaQuant0, row.lumaQuant0);
        EXPECT_EQ(facts.hSamp, row.lumaSamp);
        EXPECT_EQ(facts.vSamp, row.lumaSamp);
    }
}

// Sixteen colours in blocks, as indices and as the picture they make.
std::vector<Rgb> MakePalette(int count) {
    std::vector<Rgb> pal;
    for (int i = 0; i < count; i++)
        pal.push_back({(uint8_t)(i * 16), (uint8_t)(255 - i * 9), (uint8_t)(i * 61)});
    return pal;
}

struct BmpRow {
    const char* name;
    int bits;
    bool topDown;
    bool coreHeader;
    int palCount;  // entries stored; indices reach 2^bits - 1 at most
};

const BmpRow kBmpRows[] = {
    {"24-bit bottom-up", 24, false, false, 0},
    {"24-bit top-down", 24, true, false, 0},
    {"32-bit bottom-up", 32, false, false, 0},
    {"32-bit top-down", 32, true, false, 0},
    {"16-bit 5-5-5", 16, false, false, 0},
    {"8-bit palette", 8, false, false, 256},
    {"8-bit short palette", 8, false, false, 40},
    {"4-bit palette", 4, false, false, 16},
    {"2-bit palette top-down", 2, true, false, 4},
    {"1-bit palette", 1, false, false, 2},
    {"core header 24-bit", 24, false, true, 0},
    {"core header 8-bit palette", 8, false, true, 256},
};

TEST_F(JpegSaveTest, ReadsEveryBmpLayout) {
    const int kW = 37, kH = 21;  // rows of every depth need padding
    for (const BmpRow& row : kBmpRows) {
        SCOPED_TRACE(row.name);
        Pic pic = MakePic(kW, kH);
        BmpForm form;
        form.bits = row.bits;
        form.topDown = row.topDown;
        form.coreHeader = row.coreHeader;
        form.palette = MakePalette(row.palCount);
        // Flat 8 x 8 blocks, so JPEG at quality 100 keeps them within a step or two.
        for (int y = 0; y < kH; y++) {
            for (int x = 0; x < kW; x++) {
                uint32_t block = (uint32_t)((x / 8) * 3 + (y / 8) * 5);
                Rgb& c = PicAt(pic, x, y);
                if (row.bits <= 8) {
                    uint32_t index = block % row.palCount;
                    form.pixels.push_back(index);
                    c = form.palette[index];
                } else if (row.bits == 16) {
                    uint32_t r = block * 7 % 32, g = block * 13 % 32, b = 31 - block % 32;
                    form.pixels.push_back(r << 10 | g << 5 | b);
                    c = {(uint8_t)(r << 3 | r >> 2), (uint8_t)(g << 3 | g >> 2),
                         (uint8_t)(b << 3 | b >> 2)};
                } else {
                    c = {(uint8_t)(block * 40), (uint8_t)(250 - block * 20), (uint8_t)(block * 90)};
                }
            }
        }
        WriteBytes(In("src.bmp"), MakeBmp(pic, form));
        ASSERT_NE(SaveJpegFile(In("src.bmp").c_str(), In("out.jpg").c_str(), 100), 0);
        JpegFacts facts = ReadJpegFacts(ReadBytes(In("out.jpg")));
        ASSERT_TRUE(facts.ok);
        EXPECT_TRUE(SamePic(facts.pic, pic, 4));
    }
}

}  // namespace
