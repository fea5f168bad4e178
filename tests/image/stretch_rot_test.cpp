// The compositor: turns and mirrors, placement, colour key and half blending.
#include <gtest/gtest.h>

#include "image/stretchrot.h"
#include "support/testutil.h"

namespace {

constexpr uint32_t A = 0x100000, B = 0x200000, C = 0x300000, D = 0x400000, E = 0x500000,
                   F = 0x600000, W = 0xFFFFFF;

struct TurnCase {
    int rot;
    bool mirror;
    std::vector<uint32_t> want;  // 3 x 3 destination, white where nothing was drawn
};

// Source rows: A B C / D E F. Drawn at (0, 0) uncentred into a white 3 x 3 picture.
TEST(StretchRotBlt, TurnsAndMirrors) {
    const TurnCase cases[] = {
        {0, false, {A, B, C, D, E, F, W, W, W}}, {0, true, {C, B, A, F, E, D, W, W, W}},
        {1, false, {D, A, W, E, B, W, F, C, W}}, {1, true, {F, C, W, E, B, W, D, A, W}},
        {2, false, {F, E, D, C, B, A, W, W, W}}, {2, true, {D, E, F, A, B, C, W, W, W}},
        {3, false, {C, F, W, B, E, W, A, D, W}}, {3, true, {A, D, W, B, E, W, C, F, W}},
    };
    Surface src(3, 2, {A, B, C, D, E, F});
    for (const TurnCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "rotation " << c.rot << (c.mirror ? " mirrored" : ""));
        Surface dst(3, 3, std::vector<uint32_t>(9, W));
        ASSERT_EQ(StretchRotBlt(dst.dc, 0, 0, 3, 2, src.dc, 0, 0, 3, 2, c.rot, c.mirror, 0, 0, 0),
                  1);
        EXPECT_EQ(ComparePics(dst.Pixels(), c.want, 3), "");
    }
}

TEST(StretchRotBlt, PropertiesOfTurns) {
    std::vector<uint32_t> px(5 * 3);
    for (size_t i = 0; i < px.size(); i++) px[i] = uint32_t(i * 0x0A0B0C);
    Surface src(5, 3, px);
    // Two mirrors and four quarter turns give the original back.
    Surface once(5, 3, px), back(5, 3, px);
    StretchRotBlt(once.dc, 0, 0, 5, 3, src.dc, 0, 0, 5, 3, 2, 1, 0, 0, 0);
    StretchRotBlt(back.dc, 0, 0, 5, 3, once.dc, 0, 0, 5, 3, 2, 1, 0, 0, 0);
    EXPECT_EQ(ComparePics(back.Pixels(), px, 5), "");
    Surface q1(3, 5, std::vector<uint32_t>(15)), q2(5, 3, px), q3(3, 5, std::vector<uint32_t>(15)),
        q4(5, 3, std::vector<uint32_t>(15));
    StretchRotBlt(q1.dc, 0, 0, 5, 3, src.dc, 0, 0, 5, 3, 1, 0, 0, 0, 0);
    StretchRotBlt(q2.dc, 0, 0, 3, 5, q1.dc, 0, 0, 3, 5, 1, 0, 0, 0, 0);
    StretchRotBlt(q3.dc, 0, 0, 5, 3, q2.dc, 0, 0, 5, 3, 1, 0, 0, 0, 0);
    StretchRotBlt(q4.dc, 0, 0, 3, 5, q3.dc, 0, 0, 3, 5, 1, 0, 0, 0, 0);
    EXPECT_EQ(ComparePics(q4.Pixels(), px, 5), "");
}

// An odd turn of a centred rectangle keeps its centre: 4 x 2 at (1, 2) turns into 2 x 4 at
// (2, 1).
TEST(StretchRotBlt, CentredTurnKeepsTheCentre) {
    std::vector<uint32_t> px(8, A);
    Surface src(4, 2, px);
    Surface dst(6, 6, std::vector<uint32_t>(36, W));
    ASSERT_EQ(StretchRotBlt(dst.dc, 1, 2, 4, 2, src.dc, 0, 0, 4, 2, 1, 0, 0, 1, 0), 1);
    const auto got = dst.Pixels();
    for (int y = 0; y < 6; y++)
        for (int x = 0; x < 6; x++) {
            SCOPED_TRACE(testing::Message() << x << ", " << y);
            const bool inside = x >= 2 && x < 4 && y >= 1 && y < 5;
            EXPECT_EQ(got[y * 6 + x], inside ? A : W);
        }
}

// The key is the resampled picture's top-left colour, compared exactly; blending halves.
TEST(StretchRotBlt, KeyAndBlend) {
    const uint32_t K = 0x00FF00, K1 = 0x00FF01;
    Surface src(3, 1, {K, K1, B});
    struct Case {
        const char* name;
        int keyed, blend, rot;
        std::vector<uint32_t> want;
    };
    const Case cases[] = {
        {"keyed", 1, 0, 0, {0x808080, K1, B}},
        {"keyed and blended", 1, 1, 0, {0x808080, 0x40BF40, 0x504040}},
        {"blended", 0, 1, 0, {0x40BF40, 0x40BF40, 0x504040}},
        {"blended half turn", 0, 1, 2, {0x504040, 0x40BF40, 0x40BF40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Surface dst(3, 1, {0x808080, 0x808080, 0x808080});
        ASSERT_EQ(
            StretchRotBlt(dst.dc, 0, 0, 3, 1, src.dc, 0, 0, 3, 1, c.rot, 0, c.keyed, 1, c.blend),
            1);
        EXPECT_EQ(ComparePics(dst.Pixels(), c.want, 3), "");
    }
}

// A stamp hanging over the canvas edge is drawn clipped, its visible part in place.
TEST(StretchRotBlt, ClipsAtTheEdges) {
    Surface src(2, 2, {W, A, B, C});
    Surface dst(2, 2, {D, D, D, D});
    ASSERT_EQ(StretchRotBlt(dst.dc, -1, -1, 2, 2, src.dc, 0, 0, 2, 2, 0, 0, 1, 1, 0), 1);
    EXPECT_EQ(ComparePics(dst.Pixels(), {C, D, D, D}, 2), "");
}

}  // namespace
