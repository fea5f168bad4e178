// Making thumbnails: the fit into the slot, the transparent colour of the stamp tabs, white
// placeholders, and pictures that cannot be read.
#include "browser/thumbs.h"

#include <gtest/gtest.h>

#include <iterator>

#include "app/appstate.h"
#include "browser/browser_support.h"

namespace {

TEST(FitThumRect, ShrinksToTheSlotAndCentres) {
    struct Case {
        int w, h;
        RECT want;
    };
    const Case cases[] = {
        // Both sides overflowing alike give 70 x 54 whichever decides; beside that tie, the side
        // that overflows more decides.
        {140, 108, {0, 0, 70, 54}},
        {141, 108, {0, 0, 70, 53}},  // the width: 70 x 53, where the height would give 70 x 54
        {140, 109, {0, 0, 69, 54}},  // the height: 69 x 54, where the width would give 70 x 54
        {98, 98, {8, 0, 62, 54}},  // 54 x 54: exact, where 98 x (54 / 98) in floating point is not
        {700, 100, {0, 22, 70, 32}},  // 70 x 10 at y = 22
        {100, 700, {31, 0, 38, 54}},  // 7 x 54 at x = 31
        {40, 30, {15, 12, 55, 42}},   // fits: not enlarged
        {70, 54, {0, 0, 70, 54}},
        {71, 10, {0, 22, 70, 31}},  // 70 x 9: the fraction is dropped
        {1, 100000, {35, 0, 35, 54}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        const RECT r = FitThumRect(c.w, c.h);
        EXPECT_EQ(r.left, c.want.left);
        EXPECT_EQ(r.top, c.want.top);
        EXPECT_EQ(r.right, c.want.right);
        EXPECT_EQ(r.bottom, c.want.bottom);
    }
}

struct ThumbTest : ::testing::Test {
    AppEnv env;
    MsgRecorder rec;
    TempDir dir;
};

// A stamp's thumbnail leaves its background out: the top-left colour is its transparent colour
// and fills the margins. A replaced picture is opaque on white.
TEST_F(ThumbTest, AppendedThumbnailIsTransparentWhereTheCornerColourIs) {
    const uint32_t green = 0x20A040, red = 0xFF0000;
    const std::string path = PutDotBmp(dir.path, "stamp.bmp", 20, 10, green, red, 9, 4);
    ThumList* list = CreateThumList(true, 10);
    ASSERT_EQ(CreateImgList(nullptr, path.c_str(), list, -1), 1);
    ASSERT_EQ(list->count, 1);
    EXPECT_EQ(ThumPx(list, 0, 0, 0), green);          // margin: the corner's colour
    EXPECT_EQ(ThumPx(list, 0, 25 + 9, 22 + 4), red);  // the 20 x 10 picture sits at (25, 22)

    // Drawn over blue, only the red pixel shows.
    Surface blue(kThumW, kThumH, std::vector<uint32_t>(kThumW * kThumH, 0x0000FF));
    ASSERT_EQ(DrawThumImg(list, 0, blue.dc, 0, 0), 1);
    std::vector<uint32_t> px = blue.Pixels();
    EXPECT_EQ(px[0], 0x0000FFu);
    EXPECT_EQ(px[22 * kThumW + 25], 0x0000FFu);
    EXPECT_EQ(px[26 * kThumW + 34], red);

    ASSERT_EQ(CreateImgList(nullptr, path.c_str(), list, 0), 1);
    EXPECT_EQ(list->count, 1);
    EXPECT_EQ(ThumPx(list, 0, 0, 0), 0xFFFFFFu);
    ASSERT_EQ(DrawThumImg(list, 0, blue.dc, 0, 0), 1);
    px = blue.Pixels();
    EXPECT_EQ(px[0], 0xFFFFFFu);
    EXPECT_EQ(px[22 * kThumW + 25], green);
    FreeThumList(list);
    EXPECT_TRUE(rec.msgs.empty());
}

// Pixels are dropped, never blended: a black and white picture stays black and white.
TEST_F(ThumbTest, StretchDropsPixels) {
    BmpForm f;
    f.w = 140;
    f.h = 108;
    f.px.resize(size_t(f.w) * f.h);
    for (int y = 0; y < f.h; y++)
        for (int x = 0; x < f.w; x++) f.px[size_t(y) * f.w + x] = (x + y) % 2 ? 0xFFFFFF : 0;
    const std::string path = dir.File("checks.bmp");
    ASSERT_TRUE(WriteFileBytes(path, MakeBmpFile(f)));
    ThumList* list = CreateThumList(false, 11);
    ASSERT_EQ(CreateImgList(nullptr, path.c_str(), list, -1), 1);
    for (int y = 0; y < kThumH; y++)
        for (int x = 0; x < kThumW; x++) {
            const uint32_t px = ThumPx(list, 0, x, y);
            ASSERT_TRUE(px == 0 || px == 0xFFFFFF) << x << "," << y;
        }
    FreeThumList(list);
}

TEST_F(ThumbTest, UnreadablePicturesLeaveTheStoreAlone) {
    const std::string text = dir.File("notes.txt");
    ASSERT_TRUE(WriteFileBytes(text, {'h', 'i'}));
    const std::string broken = dir.File("broken.bmp");
    ASSERT_TRUE(WriteFileBytes(broken, {'B', 'M', 0, 0}));
    ThumList* list = CreateThumList(false, 11);
    ASSERT_EQ(AddWhiteImg(nullptr, list), 1);
    for (const std::string& p : {text, broken, dir.File("gone.bmp"), dir.path}) {
        SCOPED_TRACE(p);
        EXPECT_EQ(CreateImgList(nullptr, p.c_str(), list, -1), 0);
        EXPECT_EQ(CreateImgList(nullptr, p.c_str(), list, 0), 0);
        EXPECT_EQ(list->count, 1);
        EXPECT_EQ(ThumPx(list, 0, 5, 5), 0xFFFFFFu);
    }
    FreeThumList(list);
}

// The photo tab's store holds eleven; a stamp tab's ten. A full store and a missing picture
// are reported under the placeholder's caption.
TEST_F(ThumbTest, PlaceholdersAndTheirFailures) {
    g_app.TabFolder[1][0] = 'm';
    ASSERT_EQ(InitThumImgList(), 1);
    EXPECT_EQ(g_app.imgLists[0]->cap, 11);
    EXPECT_FALSE(g_app.imgLists[0]->masked);
    EXPECT_EQ(g_app.imgLists[1]->cap, 10);
    EXPECT_TRUE(g_app.imgLists[1]->masked);
    ThumList* list = g_app.imgLists[1];
    for (int i = 0; i < 10; i++) ASSERT_EQ(AddWhiteImg(nullptr, list), 1);
    EXPECT_TRUE(rec.msgs.empty());
    EXPECT_EQ(AddWhiteImg(nullptr, list), 1);
    EXPECT_EQ(SetWhiteImg(nullptr, list, 10), 1);
    ASSERT_EQ(rec.msgs.size(), 2u);
    EXPECT_EQ(rec.msgs[0].caption, "AddWhiteImg-Error");
    EXPECT_EQ(rec.msgs[0].text, "イメージリスト追加失敗");
    EXPECT_EQ(rec.msgs[1].caption, "SetWhiteImg-Error");
    EXPECT_EQ(rec.msgs[1].text, "イメージリスト設定失敗");
    EXPECT_EQ(list->count, 10);
    for (ThumList*& l : g_app.imgLists) {
        FreeThumList(l);
        l = nullptr;
    }
}

}  // namespace
