// GetJpegFile on GIF files: the first frame on its logical screen, colour maps, transparency.
#include "codec/hlvjpg.h"
#include "codec_test.h"

namespace {

const Rgb kWhite = {255, 255, 255};

std::vector<Rgb> MakeColours(int count, int seed) {
    std::vector<Rgb> colours;
    for (int i = 0; i < count; i++)
        colours.push_back(
            {(uint8_t)(i * 50 + seed), (uint8_t)(200 - i * 30), (uint8_t)(seed * 3 + i)});
    return colours;
}

struct GifRow {
    const char* name;
    int screenW, screenH;
    int left, top, width, height;
    bool interlaced;
    bool globalMap, localMap;
    int transparent;
    int outW, outH;
};

const GifRow kGifRows[] = {
    {"global map, frame fills the screen", 9, 7, 0, 0, 9, 7, false, true, false, -1, 9, 7},
    {"local map wins over the global one", 9, 7, 0, 0, 9, 7, false, true, true, -1, 9, 7},
    {"local map only", 9, 7, 0, 0, 9, 7, false, false, true, -1, 9, 7},
    {"transparent index is white", 9, 7, 0, 0, 9, 7, false, true, false, 2, 9, 7},
    {"frame inside a larger screen", 15, 12, 3, 2, 9, 7, false, true, false, -1, 15, 12},
    {"interlaced frame", 6, 19, 0, 0, 6, 19, true, true, false, 1, 6, 19},
    {"frame past the screen widens it", 5, 5, 2, 1, 9, 7, false, true, false, -1, 11, 8},
};

class GifReadTest : public CodecTest {};

TEST_F(GifReadTest, DrawsFirstFrameOnWhiteScreen) {
    for (const GifRow& row : kGifRows) {
        SCOPED_TRACE(row.name);
        std::vector<Rgb> global = row.globalMap ? MakeColours(4, 1) : std::vector<Rgb>();
        GifFrame first = {.left = row.left,
                          .top = row.top,
                          .width = row.width,
                          .height = row.height,
                          .interlaced = row.interlaced};
        if (row.localMap) first.localMap = MakeColours(4, 77);
        first.transparent = row.transparent;
        for (int i = 0; i < row.width * row.height; i++)
            first.indices.push_back((uint8_t)((i * 7 / 3) % 4));
        // A second frame over the whole screen that must not show.
        GifFrame second = {.width = row.screenW, .height = row.screenH};
        second.localMap = MakeColours(4, 150);
        second.indices.assign((size_t)row.screenW * row.screenH, 3);

        Pic want = MakePic(row.outW, row.outH);
        for (Rgb& c : want.px) c = kWhite;
        const std::vector<Rgb>& colours = row.localMap ? first.localMap : global;
        for (int y = 0; y < row.height; y++) {
            for (int x = 0; x < row.width; x++) {
                int index = first.indices[(size_t)y * row.width + x];
                PicAt(want, row.left + x, row.top + y) =
                    index == row.transparent ? kWhite : colours[index];
            }
        }

        // Named .png: the type comes from the file's first bytes.
        WriteBytes(In("src.png"), MakeGif(row.screenW, row.screenH, global, {first, second}));
        ASSERT_NE(GetJpegFile(In("src.png").c_str(), In("out.bmp").c_str()), 0);
        Pic got;
        ASSERT_TRUE(ReadBmp24(In("out.bmp"), &got));
        EXPECT_TRUE(SamePic(got, want, 0));
    }
}

}  // namespace
