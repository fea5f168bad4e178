// Malformed, truncated and oversized files, missing sources and unwritable destinations: every
// one returns 0 and leaves the destination folder as it was.
#include <png.h>
#include <sys/stat.h>

#include <cstring>

#include "codec/hlvjpg.h"
#include "codec_test.h"

namespace {

Pic MakeGreyPic(int width, int height) {
    Pic pic = MakePic(width, height);
    for (int i = 0; i < (int)pic.px.size(); i++) pic.px[i] = {(uint8_t)i, 128, (uint8_t)(255 - i)};
    return pic;
}

Bytes Cut(Bytes b, size_t keep) {
    b.resize(keep);
    return b;
}

void PutLe(Bytes* b, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; i++) (*b)[at + i] = (uint8_t)(v >> (8 * i));
}

Bytes MakeGoodJpeg() {
    return MakeJpeg(MakeGreyPic(40, 24), JpegForm());
}

Bytes MakeGoodPng() {
    PngForm form = {.colourType = PNG_COLOR_TYPE_GRAY, .depth = 8, .width = 40, .height = 24};
    form.samples.assign(40 * 24, 99);
    return MakePng(form);
}

Bytes MakeGoodGif() {
    GifFrame frame = {.width = 40, .height = 24};
    frame.indices.assign(40 * 24, 1);
    for (size_t i = 0; i < frame.indices.size(); i++) frame.indices[i] = (uint8_t)(i * 7 % 4);
    return MakeGif(40, 24, {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, {frame});
}

Bytes MakeGoodBmp() {
    return MakeBmp(MakeGreyPic(40, 24), BmpForm());
}

// A JPEG whose frame header claims 60000 x 60000 pixels.
Bytes MakeHugeJpeg() {
    Bytes b = MakeGoodJpeg();
    for (size_t i = 0; i + 9 < b.size(); i++) {
        if (b[i] == 0xFF && b[i + 1] == 0xC0) {
            b[i + 5] = b[i + 7] = 60000 >> 8;
            b[i + 6] = b[i + 8] = 60000 & 0xFF;
            break;
        }
    }
    return b;
}

// A GIF of a 65535 x 65535 screen and frame, with the image data missing.
Bytes MakeHugeGif() {
    return {'G', 'I', 'F', '8', '9', 'a', 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0,    0,    0, 0,
            0,   255, 255, 255, ',', 0,   0,    0,    0,    0xFF, 0xFF, 0xFF, 0xFF, 0, 2};
}

// A GIF whose frame has no colour map, local or global.
Bytes MakeMaplessGif() {
    return {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0,    0,    0, ',', 0,
            0,   0,   0,   2,   0,   2,   0, 0, 2, 2, 0x4C, 0x01, 0, ';'};
}

Bytes MakeImagelessGif() {
    return {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0, 0, 0, ';'};
}

Bytes MakeBadCrcPng() {
    Bytes b = MakeGoodPng();
    b[8 + 8 + 3] ^= 1;  // a byte of the IHDR width
    return b;
}

Bytes MakeEmpty() {
    return {};
}

Bytes MakeGarbage() {
    Bytes b(3000);
    for (size_t i = 0; i < b.size(); i++) b[i] = (uint8_t)(i * 131 + 7);
    return b;
}

struct BadRow {
    const char* name;
    Bytes (*make)();
};

const BadRow kBadPicRows[] = {
    {"empty file", MakeEmpty},
    {"garbage", MakeGarbage},
    {"JPEG cut inside its header", [] { return Cut(MakeGoodJpeg(), 120); }},
    {"JPEG cut inside its data",
     [] { return Cut(MakeGoodJpeg(), MakeGoodJpeg().size() / 2 + 200); }},
    {"JPEG claiming 60000 x 60000", MakeHugeJpeg},
    {"PNG signature only", [] { return Cut(MakeGoodPng(), 8); }},
    {"PNG cut inside its data", [] { return Cut(MakeGoodPng(), MakeGoodPng().size() - 20); }},
    {"PNG with a bad header checksum", MakeBadCrcPng},
    {"PNG claiming 100000 x 100000", [] { return MakePngHeader(100000, 100000); }},
    {"GIF cut inside its data", [] { return Cut(MakeGoodGif(), MakeGoodGif().size() / 2); }},
    {"GIF claiming 65535 x 65535", MakeHugeGif},
    {"GIF without a colour map", MakeMaplessGif},
    {"GIF without an image", MakeImagelessGif},
    {"BMP (not a type GetJpegFile reads)", MakeGoodBmp},
};

// A good BMP with the n-byte field at `at` set to v.
template <size_t at, uint32_t v, int n>
Bytes PatchedBmp() {
    Bytes b = MakeGoodBmp();
    PutLe(&b, at, v, n);
    return b;
}

const BadRow kBadBmpRows[] = {
    {"empty file", MakeEmpty},
    {"garbage", MakeGarbage},
    {"BMP cut inside its pixels", [] { return Cut(MakeGoodBmp(), MakeGoodBmp().size() - 10); }},
    {"BMP cut inside its header", [] { return Cut(MakeGoodBmp(), 30); }},
    {"RLE-compressed BMP", PatchedBmp<30, 1, 4>},
    {"BMP 70000 pixels wide", PatchedBmp<18, 70000, 4>},
    {"BMP 20000 x 20000",
     [] {
         Bytes b = PatchedBmp<18, 20000, 4>();
         PutLe(&b, 22, 20000, 4);
         return b;
     }},
    {"BMP of height 0", PatchedBmp<22, 0, 4>},
    {"BMP of 3 bits per pixel", PatchedBmp<28, 3, 2>},
    {"BMP with a 20-byte header", PatchedBmp<14, 20, 4>},
    {"BMP with pixels past its end", PatchedBmp<10, 60000, 4>},
    {"JPEG (not a BMP)", MakeGoodJpeg},
};

class BadInputTest : public CodecTest {
protected:
    // Runs convert on every row twice, without and with an existing target, and checks that the
    // folder holds afterwards exactly what it held before.
    void CheckRows(const BadRow* rows, size_t count, int (*convert)(const char*, const char*)) {
        for (size_t i = 0; i < count; i++) {
            SCOPED_TRACE(rows[i].name);
            WriteBytes(In("src"), rows[i].make());
            EXPECT_EQ(convert(In("src").c_str(), In("out").c_str()), 0);
            EXPECT_EQ(ListDir(dir), std::vector<std::string>{"src"});

            const Bytes old = {'o', 'l', 'd'};
            WriteBytes(In("out"), old);
            EXPECT_EQ(convert(In("src").c_str(), In("out").c_str()), 0);
            EXPECT_EQ(ListDir(dir), (std::vector<std::string>{"out", "src"}));
            EXPECT_EQ(ReadBytes(In("out")), old);
            remove(In("out").c_str());
        }
    }
};

int SaveJpegQ90(const char* src, const char* dst) {
    return SaveJpegFile(src, dst, 90);
}

TEST_F(BadInputTest, GetJpegFileRefusesBadPictures) {
    CheckRows(kBadPicRows, std::size(kBadPicRows), GetJpegFile);
}

TEST_F(BadInputTest, SaveJpegFileRefusesBadBmps) {
    CheckRows(kBadBmpRows, std::size(kBadBmpRows), SaveJpegQ90);
}

TEST_F(BadInputTest, MissingSourceFails) {
    EXPECT_EQ(GetJpegFile(In("missing.jpg").c_str(), In("out").c_str()), 0);
    EXPECT_EQ(SaveJpegFile(In("missing.bmp").c_str(), In("out").c_str(), 90), 0);
    EXPECT_EQ(GetJpegFile(nullptr, In("out").c_str()), 0);
    EXPECT_EQ(GetJpegFile(dir.c_str(), In("out").c_str()), 0);  // a folder
    EXPECT_TRUE(ListDir(dir).empty());
}

struct DstRow {
    const char* name;
    const char* dst;  // under the test folder
};

const DstRow kDstRows[] = {
    {"folder missing", "nowhere/out"},
    {"a file where the folder should be", "src.jpg/out"},
    {"the target is a folder", "sub"},
    {"the target ends in a slash", "out/"},
};

TEST_F(BadInputTest, UnwritableDestinationFails) {
    WriteBytes(In("src.jpg"), MakeGoodJpeg());
    WriteBytes(In("src.bmp"), MakeGoodBmp());
    ASSERT_EQ(mkdir(In("sub").c_str(), 0755), 0);
    for (const DstRow& row : kDstRows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(GetJpegFile(In("src.jpg").c_str(), In(row.dst).c_str()), 0);
        EXPECT_EQ(SaveJpegFile(In("src.bmp").c_str(), In(row.dst).c_str(), 90), 0);
        EXPECT_EQ(ListDir(dir), (std::vector<std::string>{"src.bmp", "src.jpg", "sub"}));
        EXPECT_TRUE(ListDir(In("sub")).empty());
    }
    EXPECT_EQ(GetJpegFile(In("src.jpg").c_str(), ""), 0);
}

}  // namespace
