// Regions: rectangles, the rounded rectangle's rows, combining, moving and the bounding box.
#include "platform/gdi/region.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

struct Box {
    int left, top, right, bottom;
};

void ExpectBox(HRGN rgn, int kind, Box want) {
    RECT box{-1, -1, -1, -1};
    EXPECT_EQ(GetRgnBox(rgn, &box), kind);
    EXPECT_EQ(box.left, want.left);
    EXPECT_EQ(box.top, want.top);
    EXPECT_EQ(box.right, want.right);
    EXPECT_EQ(box.bottom, want.bottom);
}

TEST(CreateRectRgn, CoversLeftAndTopEdgesOnly) {
    const Box cases[] = {{0, 0, 1, 1}, {-3, 2, 5, 9}, {7, 7, 7, 9}, {3, 4, 1, 9}, {1, 9, 3, 4}};
    for (const Box& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.left << "," << c.top << "," << c.right << "," << c.bottom);
        HRGN rgn = CreateRectRgn(c.left, c.top, c.right, c.bottom);
        ASSERT_NE(rgn, nullptr);
        const bool empty = c.right <= c.left || c.bottom <= c.top;
        if (empty) {
            ExpectBox(rgn, NULLREGION, {0, 0, 0, 0});
        } else {
            ExpectBox(rgn, SIMPLEREGION, c);
            EXPECT_TRUE(PtInRegion(rgn, c.left, c.top));
            EXPECT_TRUE(PtInRegion(rgn, c.right - 1, c.bottom - 1));
        }
        EXPECT_FALSE(PtInRegion(rgn, c.right, c.top));
        EXPECT_FALSE(PtInRegion(rgn, c.left, c.bottom));
        EXPECT_FALSE(PtInRegion(rgn, c.left - 1, c.top));
        EXPECT_TRUE(DeleteObject(rgn));
    }
}

// Inset on both sides of row y of an h-row rounded rectangle cut by a 25 x 25 ellipse.
int Inset25(int y, int h) {
    static const int kTop[9] = {9, 7, 5, 4, 3, 2, 2, 1, 1};
    if (y < 9) return kTop[y];
    if (y >= h - 9) return kTop[h - 1 - y];
    return 0;
}

TEST(CreateRoundRectRgn, CutsCornersRowByRowAndLeavesOutRightAndBottom) {
    struct Case {
        int left, top, right, bottom;
        int x0, y0, w, h;  // the expected w x h shape at (x0, y0)
    };
    const Case cases[] = {
        {0, 0, 101, 61, 0, 0, 100, 60},
        {111, 81, 10, 20, 10, 20, 100, 60},  // swapped corners
        {-50, -30, 51, 31, -50, -30, 100, 60},
        {0, 0, 26, 26, 0, 0, 25, 25},  // the ellipse fills the rectangle: a one-row middle
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.left << "," << c.top << "," << c.right << "," << c.bottom);
        HRGN rgn = CreateRoundRectRgn(c.left, c.top, c.right, c.bottom, 25, 25);
        ASSERT_NE(rgn, nullptr);
        ExpectBox(rgn, COMPLEXREGION, {c.x0, c.y0, c.x0 + c.w, c.y0 + c.h});
        for (int y = -1; y <= c.h; y++) {
            SCOPED_TRACE("row " + std::to_string(y));
            for (int x = -1; x <= c.w; x++) {
                const bool want =
                    y >= 0 && y < c.h && x >= Inset25(y, c.h) && x < c.w - Inset25(y, c.h);
                ASSERT_EQ(PtInRegion(rgn, c.x0 + x, c.y0 + y), want) << "column " << x;
            }
        }
        EXPECT_TRUE(DeleteObject(rgn));
    }
}

TEST(CreateRoundRectRgn, SmallEllipseGivesRectangle) {
    struct Case {
        int left, top, right, bottom, ew, eh;
        Box want;
    };
    const Case cases[] = {
        {0, 0, 51, 41, 1, 25, {0, 0, 50, 40}}, {0, 0, 51, 41, 25, 1, {0, 0, 50, 40}},
        {0, 0, 51, 41, 0, 0, {0, 0, 50, 40}},  {0, 0, 51, 41, -1, 40, {0, 0, 50, 40}},
        {5, 0, 7, 41, 25, 25, {5, 0, 6, 40}},  // one pixel wide: the ellipse shrinks to it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "ellipse " << c.ew << " x " << c.eh << ", right " << c.right);
        HRGN rgn = CreateRoundRectRgn(c.left, c.top, c.right, c.bottom, c.ew, c.eh);
        ASSERT_NE(rgn, nullptr);
        ExpectBox(rgn, SIMPLEREGION, c.want);
        EXPECT_TRUE(DeleteObject(rgn));
    }
}

// Negative ellipse sizes count by their size, and an ellipse larger than the rectangle shrinks
// to it.
TEST(CreateRoundRectRgn, EllipseSizeIsUnsignedAndClamped) {
    HRGN want = CreateRoundRectRgn(0, 0, 21, 31, 20, 30);
    const int sizes[][2] = {{-20, -30}, {25, 40}, {-200, 300}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(testing::Message() << s[0] << " x " << s[1]);
        HRGN rgn = CreateRoundRectRgn(0, 0, 21, 31, s[0], s[1]);
        ASSERT_NE(rgn, nullptr);
        for (int y = -1; y <= 31; y++)
            for (int x = -1; x <= 21; x++)
                ASSERT_EQ(PtInRegion(rgn, x, y), PtInRegion(want, x, y)) << x << "," << y;
        DeleteObject(rgn);
    }
    EXPECT_FALSE(PtInRegion(want, 0, 0));
    EXPECT_TRUE(PtInRegion(want, 10, 15));
    DeleteObject(want);
}

TEST(CombineRgn, ModesAndResultKinds) {
    // Points probed: in the first rectangle only, in both, in the second only, in neither.
    const int kPts[4][2] = {{1, 1}, {3, 3}, {5, 5}, {7, 7}};
    struct Case {
        const char* name;
        Box a, b;
        int mode;
        int kind;
        Box box;
        bool in[4];
    };
    const Case cases[] = {
        {"or", {0, 0, 4, 4}, {2, 2, 6, 6}, RGN_OR, COMPLEXREGION, {0, 0, 6, 6}, {1, 1, 1, 0}},
        {"and", {0, 0, 4, 4}, {2, 2, 6, 6}, RGN_AND, SIMPLEREGION, {2, 2, 4, 4}, {0, 1, 0, 0}},
        {"xor", {0, 0, 4, 4}, {2, 2, 6, 6}, RGN_XOR, COMPLEXREGION, {0, 0, 6, 6}, {1, 0, 1, 0}},
        {"diff", {0, 0, 4, 4}, {2, 2, 6, 6}, RGN_DIFF, COMPLEXREGION, {0, 0, 4, 4}, {1, 0, 0, 0}},
        {"copy", {0, 0, 4, 4}, {2, 2, 6, 6}, RGN_COPY, SIMPLEREGION, {0, 0, 4, 4}, {1, 1, 0, 0}},
        {"and of touching", {0, 0, 4, 4}, {4, 4, 8, 8}, RGN_AND, NULLREGION, {0, 0, 0, 0}, {}},
        {"diff of a cover", {2, 2, 4, 4}, {0, 0, 6, 6}, RGN_DIFF, NULLREGION, {0, 0, 0, 0}, {}},
    };
    // The result in a third region, in place of the first source and in place of the second.
    const char* kInto[] = {"fresh", "first", "second"};
    for (const Case& c : cases) {
        for (int into = 0; into < 3; into++) {
            SCOPED_TRACE(testing::Message() << c.name << " into " << kInto[into]);
            HRGN a = CreateRectRgn(c.a.left, c.a.top, c.a.right, c.a.bottom);
            HRGN b = CreateRectRgn(c.b.left, c.b.top, c.b.right, c.b.bottom);
            HRGN fresh = CreateRectRgn(20, 20, 30, 30);
            HRGN dst = into == 0 ? fresh : into == 1 ? a : b;
            EXPECT_EQ(CombineRgn(dst, a, b, c.mode), c.kind);
            ExpectBox(dst, c.kind, c.box);
            for (int i = 0; i < 4; i++)
                EXPECT_EQ(PtInRegion(dst, kPts[i][0], kPts[i][1]), c.in[i]) << "point " << i;
            DeleteObject(a);
            DeleteObject(b);
            DeleteObject(fresh);
        }
    }
}

TEST(CombineRgn, OneRegionAsBothSourcesAndResult) {
    const struct {
        int mode, kind;
        Box box;
    } cases[] = {{RGN_OR, SIMPLEREGION, {1, 2, 5, 6}},
                 {RGN_AND, SIMPLEREGION, {1, 2, 5, 6}},
                 {RGN_XOR, NULLREGION, {0, 0, 0, 0}},
                 {RGN_DIFF, NULLREGION, {0, 0, 0, 0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode);
        HRGN rgn = CreateRectRgn(1, 2, 5, 6);
        EXPECT_EQ(CombineRgn(rgn, rgn, rgn, c.mode), c.kind);
        ExpectBox(rgn, c.kind, c.box);
        DeleteObject(rgn);
    }
}

TEST(CombineRgn, RejectsBadArguments) {
    HRGN a = CreateRectRgn(0, 0, 4, 4);
    HRGN dst = CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(CombineRgn(dst, a, a, 0), RGN_ERROR);
    EXPECT_EQ(CombineRgn(dst, a, a, 6), RGN_ERROR);
    EXPECT_EQ(CombineRgn(dst, a, nullptr, RGN_OR), RGN_ERROR);
    EXPECT_EQ(CombineRgn(nullptr, a, a, RGN_OR), RGN_ERROR);
    EXPECT_EQ(CombineRgn(dst, nullptr, a, RGN_COPY), RGN_ERROR);
    ExpectBox(dst, SIMPLEREGION, {0, 0, 1, 1});  // untouched
    EXPECT_EQ(CombineRgn(dst, a, nullptr, RGN_COPY), SIMPLEREGION);
    DeleteObject(a);
    DeleteObject(dst);
}

TEST(OffsetRgn, MovesEveryRectangle) {
    HRGN rgn = CreateRectRgn(0, 0, 4, 2);
    HRGN low = CreateRectRgn(2, 5, 3, 6);
    CombineRgn(rgn, rgn, low, RGN_OR);
    EXPECT_EQ(OffsetRgn(rgn, -5, 7), COMPLEXREGION);
    ExpectBox(rgn, COMPLEXREGION, {-5, 7, -1, 13});
    EXPECT_TRUE(PtInRegion(rgn, -5, 7));
    EXPECT_TRUE(PtInRegion(rgn, -3, 12));
    EXPECT_FALSE(PtInRegion(rgn, 0, 0));
    EXPECT_FALSE(PtInRegion(rgn, -5, 12));
    // A move past the coordinate range is refused and leaves the region as it was.
    EXPECT_EQ(OffsetRgn(rgn, INT_MIN, 0), RGN_ERROR);
    EXPECT_EQ(OffsetRgn(rgn, 0, INT_MAX), RGN_ERROR);
    ExpectBox(rgn, COMPLEXREGION, {-5, 7, -1, 13});

    HRGN empty = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(OffsetRgn(empty, 3, 3), NULLREGION);
    ExpectBox(empty, NULLREGION, {0, 0, 0, 0});
    DeleteObject(rgn);
    DeleteObject(low);
    DeleteObject(empty);
}

}  // namespace
