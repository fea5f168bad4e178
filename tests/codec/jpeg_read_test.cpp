// GetJpegFile on JPEG files: colour spaces, coding modes and EXIF orientation.
#include "codec/hlvjpg.h"
#include "codec_test.h"

namespace {

const Rgb kRed = {200, 40, 40}, kGreen = {40, 180, 60}, kBlue = {50, 60, 200},
          kWhite = {230, 230, 230};

// A picture of four flat quadrants: red, green over blue, white.
Pic MakeQuadPic(int width, int height) {
    Pic pic = MakePic(width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            PicAt(pic, x, y) =
                y < height / 2 ? (x < width / 2 ? kRed : kGreen) : (x < width / 2 ? kBlue : kWhite);
    return pic;
}

struct ColourRow {
    const char* name;
    JpegKind kind;
    Rgb want[4];          // quadrant centres: top left, top right, bottom left, bottom right
    size_t cutBytes = 0;  // bytes cut off the end of the file
};

// Each CMYK quadrant's inks (C, M, Y, K, 0 = none) and what they print as.
const uint8_t kQuadInks[4][4] = {
    {0, 200, 200, 0}, {200, 0, 200, 50}, {200, 200, 0, 0}, {0, 0, 0, 100}};
const Rgb kInkColours[4] = {{255, 55, 55}, {44, 205, 44}, {55, 55, 255}, {155, 155, 155}};

const ColourRow kColourRows[] = {
    {"baseline", kJpegBaseline, {kRed, kGreen, kBlue, kWhite}},
    {"progressive", kJpegProgressive, {kRed, kGreen, kBlue, kWhite}},
    {"baseline without its end marker", kJpegBaseline, {kRed, kGreen, kBlue, kWhite}, 2},
    {"progressive without its end marker", kJpegProgressive, {kRed, kGreen, kBlue, kWhite}, 2},
    {"greyscale", kJpegGrey, {{40, 40, 40}, {180, 180, 180}, {60, 60, 60}, {230, 230, 230}}},
    {"CMYK stored inverted with the Adobe marker",
     kJpegCmykAdobe,
     {kInkColours[0], kInkColours[1], kInkColours[2], kInkColours[3]}},
    {"CMYK without the Adobe marker",
     kJpegCmykPlain,
     {kInkColours[0], kInkColours[1], kInkColours[2], kInkColours[3]}},
    {"YCCK", kJpegYcck, {kInkColours[0], kInkColours[1], kInkColours[2], kInkColours[3]}},
};

class JpegReadTest : public CodecTest {};

TEST_F(JpegReadTest, DecodesEveryColourSpaceAndMode) {
    const int kSide = 32;  // quadrants of whole 16 x 16 blocks: flat, whatever the subsampling
    Pic pic = MakeQuadPic(kSide, kSide);
    Bytes inks((size_t)kSide * kSide * 4);
    for (int y = 0; y < kSide; y++)
        for (int x = 0; x < kSide; x++)
            for (int i = 0; i < 4; i++)
                inks[((size_t)y * kSide + x) * 4 + i] =
                    kQuadInks[(y >= kSide / 2) * 2 + (x >= kSide / 2)][i];

    for (const ColourRow& row : kColourRows) {
        SCOPED_TRACE(row.name);
        JpegForm form;
        form.kind = row.kind;
        // Named .gif: the type comes from the file's first bytes.
        Bytes jpeg = MakeJpeg(pic, form, inks);
        jpeg.resize(jpeg.size() - row.cutBytes);
        WriteBytes(In("src.gif"), jpeg);
        ASSERT_NE(GetJpegFile(In("src.gif").c_str(), In("out.bmp").c_str()), 0);
        Pic got;
        ASSERT_TRUE(ReadBmp24(In("out.bmp"), &got));
        Pic want = MakePic(2, 2);
        Pic centres = MakePic(2, 2);
        for (int q = 0; q < 4; q++) {
            PicAt(want, q % 2, q / 2) = row.want[q];
            PicAt(centres, q % 2, q / 2) = PicAt(got, (q % 2) * 16 + 8, (q / 2) * 16 + 8);
        }
        EXPECT_EQ(got.width, kSide);
        EXPECT_EQ(got.height, kSide);
        EXPECT_TRUE(SamePic(centres, want, 4));
    }
}

struct OrientRow {
    int orient;
    bool bigEndian;
    int width, height;
    Rgb corners[4];  // top left, top right, bottom left, bottom right of the upright picture
    int cutBytes;    // bytes cut off the end of the EXIF block
};

// The stored picture is 7 x 3 (rows padded either way round) with red, green, blue and white
// corners.
const OrientRow kOrientRows[] = {
    {1, false, 7, 3, {kRed, kGreen, kBlue, kWhite}, 0},
    {2, true, 7, 3, {kGreen, kRed, kWhite, kBlue}, 0},
    {3, false, 7, 3, {kWhite, kBlue, kGreen, kRed}, 0},
    {4, true, 7, 3, {kBlue, kWhite, kRed, kGreen}, 0},
    {5, false, 3, 7, {kRed, kBlue, kGreen, kWhite}, 0},
    {6, true, 3, 7, {kBlue, kRed, kWhite, kGreen}, 0},
    {7, false, 3, 7, {kWhite, kGreen, kBlue, kRed}, 0},
    {8, true, 3, 7, {kGreen, kWhite, kRed, kBlue}, 0},
    {0, false, 7, 3, {kRed, kGreen, kBlue, kWhite}, 0},  // out of range: left as stored
    {9, true, 7, 3, {kRed, kGreen, kBlue, kWhite}, 0},
    {6, false, 7, 3, {kRed, kGreen, kBlue, kWhite}, 12},  // the entry cut short: ignored
};

TEST_F(JpegReadTest, TurnsExifOrientationUpright) {
    Pic pic = MakePic(7, 3);
    for (Rgb& c : pic.px) c = {128, 128, 128};
    PicAt(pic, 0, 0) = kRed;
    PicAt(pic, 6, 0) = kGreen;
    PicAt(pic, 0, 2) = kBlue;
    PicAt(pic, 6, 2) = kWhite;
    for (const OrientRow& row : kOrientRows) {
        SCOPED_TRACE("orientation " + std::to_string(row.orient) + (row.bigEndian ? " MM" : " II") +
                     (row.cutBytes ? " cut" : ""));
        JpegForm form;
        form.quality = 100;
        form.full444 = true;
        form.app1 = MakeExifOrient(row.orient, row.bigEndian);
        form.app1.resize(form.app1.size() - row.cutBytes);
        WriteBytes(In("src.jpg"), MakeJpeg(pic, form));
        ASSERT_NE(GetJpegFile(In("src.jpg").c_str(), In("out.bmp").c_str()), 0);
        Pic got;
        ASSERT_TRUE(ReadBmp24(In("out.bmp"), &got));
        ASSERT_EQ(got.width, row.width);
        ASSERT_EQ(got.height, row.height);
        Pic corners = MakePic(2, 2), want = MakePic(2, 2);
        for (int c = 0; c < 4; c++) {
            PicAt(want, c % 2, c / 2) = row.corners[c];
            PicAt(corners, c % 2, c / 2) =
                PicAt(got, c % 2 ? got.width - 1 : 0, c / 2 ? got.height - 1 : 0);
        }
        EXPECT_TRUE(SamePic(corners, want, 8));
    }
}

}  // namespace
