// The stamp list: adding, deleting and clearing stamps, turning and mirroring them, and how the
// canvas draws them.
#include "image/stamp.h"

#include <gtest/gtest.h>

#include "app/appstate.h"
#include "image/canvas.h"
#include "image/workbmp.h"
#include "support/testutil.h"

namespace {

struct StampTest : testing::Test {
    AppEnv env;
    void SetUp() override { ASSERT_EQ(InitStmpList(), 1); }
    void TearDown() override { FreeStmpList(); }
    // A w x h picture of colour back with pixel (dx, dy) in dot, as a BMP file.
    std::string Put(const char* name, int w, int h, uint32_t back = 0x008080,
                    uint32_t dot = 0xFF0000, int dx = 0, int dy = 0) {
        return PutDotBmp(env.data.path, name, w, h, back, dot, dx, dy);
    }
    PicData Canvas() {
        HBITMAP pic = MakeCanvasPic();
        EXPECT_NE(pic, nullptr);
        return TakePicData(pic);
    }
};

TEST_F(StampTest, AddPutsTheStampOnTopCentredWithHalvesTruncated) {
    const struct {
        int w, h, x, y;
    } cases[] = {
        {40, 30, 40, 50}, {41, 31, 40, 50}, {1, 1, 60, 65}, {200, 300, 60 - 100, 65 - 150}};
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        const std::string name = std::to_string(c.w) + "x" + std::to_string(c.h) + ".bmp";
        ASSERT_EQ(AddStmp(Put(name.c_str(), c.w, c.h).c_str()), 1);
        ASSERT_EQ(g_stmp.count, ++n);
        const StmpInfo& s = g_stmp.items[n - 1];
        EXPECT_EQ(s.x, c.x);
        EXPECT_EQ(s.y, c.y);
        EXPECT_EQ(s.width, c.w);
        EXPECT_EQ(s.height, c.h);
        EXPECT_EQ(s.rot, 0);
        EXPECT_FALSE(s.mirror);
        EXPECT_FALSE(s.blend);
    }
}

TEST_F(StampTest, UnreadableOrEmptyPathsAddNothingSilently) {
    ASSERT_TRUE(WriteFileBytes(env.data.File("broken.bmp"), {'B', 'M', 1, 2}));
    MsgRecorder rec;
    for (const std::string& path :
         {std::string(), env.data.File("missing.bmp"), env.data.File("broken.bmp")}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(AddStmp(path.c_str()), 0);
    }
    EXPECT_EQ(g_stmp.count, 0);
    EXPECT_TRUE(rec.msgs.empty());
}

TEST_F(StampTest, DeleteTakesTheTopAndTheEmptiedListIsReused) {
    EXPECT_EQ(DelStmp(), 0);  // nothing to delete
    const std::string a = Put("a.bmp", 4, 4), b = Put("b.bmp", 6, 6);
    ASSERT_EQ(AddStmp(a.c_str()), 1);
    ASSERT_EQ(AddStmp(b.c_str()), 1);
    EXPECT_EQ(DelStmp(), 1);
    ASSERT_EQ(g_stmp.count, 1);
    EXPECT_EQ(g_stmp.items[0].width, 4);
    const StmpInfo* one = g_stmp.items;
    EXPECT_EQ(DelStmp(), 1);
    EXPECT_EQ(g_stmp.count, 0);
    EXPECT_EQ(g_stmp.items, one);  // storage for one record stays
    ASSERT_EQ(AddStmp(b.c_str()), 1);
    EXPECT_EQ(g_stmp.count, 1);
    EXPECT_EQ(g_stmp.items[0].width, 6);
    // Clearing removes them all and leaves a list ready for the next.
    ASSERT_EQ(AddStmp(a.c_str()), 1);
    EXPECT_EQ(ClearStmp(), 1);
    EXPECT_EQ(g_stmp.count, 0);
    EXPECT_EQ(AddStmp(a.c_str()), 1);
}

TEST_F(StampTest, TurnAndMirrorActOnTheTopStampAsSeenOnScreen) {
    ASSERT_EQ(AddStmp(Put("low.bmp", 4, 4).c_str()), 1);
    ASSERT_EQ(AddStmp(Put("top.bmp", 4, 4).c_str()), 1);
    const struct {
        void (*cmd)();
        int rot;
        bool mirror;
    } steps[] = {{RotStmp, 3, false}, {MirStmp, 1, true},  {RotStmp, 0, true},
                 {MirStmp, 0, false}, {RotStmp, 3, false}, {RotStmp, 2, false},
                 {MirStmp, 2, true},  {RotStmp, 1, true},  {RotStmp, 0, true}};
    int i = 0;
    for (const auto& s : steps) {
        SCOPED_TRACE(i++);
        s.cmd();
        EXPECT_EQ(g_stmp.items[1].rot, s.rot);
        EXPECT_EQ(g_stmp.items[1].mirror, s.mirror);
    }
    EXPECT_EQ(g_stmp.items[0].rot, 0);
    EXPECT_FALSE(g_stmp.items[0].mirror);
}

// The key is the top-left pixel, matched exactly: white there makes all pure white clear, also
// inside the motif; near-white stays.
TEST_F(StampTest, TopLeftColourIsTransparentEverywhere) {
    BmpForm f;
    f.w = 5;
    f.h = 3;
    f.px = {0xFFFFFF, 0x0000FF, 0x0000FF, 0x0000FF, 0xFFFFFF,  //
            0xFFFFFF, 0x0000FF, 0xFFFFFF, 0x0000FF, 0xFFFFFE,  //
            0xFFFFFF, 0x0000FF, 0x0000FF, 0x0000FF, 0xFFFFFF};
    ASSERT_TRUE(WriteFileBytes(env.data.File("ring.bmp"), MakeBmpFile(f)));
    ASSERT_EQ(InitWorkBmp(Put("photo.bmp", 240, 260, 0x00FF00, 0x00FF00).c_str()), 1);
    ASSERT_EQ(AddStmp(env.data.File("ring.bmp").c_str()), 1);  // at (58, 64)
    const PicData c = Canvas();
    const uint32_t want[3][5] = {{0x00FF00, 0x0000FF, 0x0000FF, 0x0000FF, 0x00FF00},
                                 {0x00FF00, 0x0000FF, 0x00FF00, 0x0000FF, 0xFFFFFE},
                                 {0x00FF00, 0x0000FF, 0x0000FF, 0x0000FF, 0x00FF00}};
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 5; x++) EXPECT_EQ(c.At(58 + x, 64 + y), want[y][x]) << x << ", " << y;
}

// A stamp turned once keeps its centre: 40 x 20 at (40, 50) lies at left 50, top 40, 20 x 40,
// and its top-left pixel has gone to the top-right corner.
TEST_F(StampTest, TurnedStampIsDrawnWhereItIsHit) {
    ASSERT_EQ(AddStmp(Put("bar.bmp", 40, 20, 0x0000FF, 0xFF0000, 39, 0).c_str()), 1);
    ASSERT_EQ(g_stmp.items[0].x, 40);
    ASSERT_EQ(g_stmp.items[0].y, 55);
    g_stmp.items[0].y = 50;
    g_stmp.items[0].rot = 1;
    const PicData c = Canvas();  // nothing loaded: white under the stamp
    int inside = 0;
    for (int y = 0; y < kCanvasH; y++) {
        for (int x = 0; x < kCanvasW; x++) {
            const bool in = x >= 50 && x < 70 && y >= 40 && y < 80;
            inside += in;
            EXPECT_EQ(HitStmp(x, y), in ? 0 : -1) << x << ", " << y;
            // The key colour is blue, the top-left pixel's: only the red dot is drawn, at the
            // bottom-right of the turned rectangle (top-right of the unturned one turned
            // clockwise).
            const uint32_t want = x == 69 && y == 79 ? 0xFF0000u : 0xFFFFFFu;
            ASSERT_EQ(c.At(x, y), want) << x << ", " << y;
        }
    }
    EXPECT_EQ(inside, 20 * 40);
}

}  // namespace
