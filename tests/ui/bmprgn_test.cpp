// Window shapes from skin bitmaps and the rounded dialog shape.
#include "ui/bmprgn.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "platform/user/msgbox.h"
#include "support/testutil.h"

namespace {

// Picture letters: k is the usual key; B, G and R differ from it in one channel only.
uint32_t ColorOf(char c) {
    switch (c) {
        case 'k': return 0x102030;
        case 'B': return 0x102031;
        case 'G': return 0x102130;
        case 'R': return 0x112030;
        case 'a': return 0xFF0000;
        case 'b': return 0x00FF00;
        default: return 0x000000;
    }
}

HBITMAP MakeLetterPic(const std::vector<const char*>& rows) {
    const int w = (int)strlen(rows[0]), h = (int)rows.size();
    std::vector<uint32_t> px;
    for (const char* row : rows)
        for (int x = 0; x < w; x++) px.push_back(ColorOf(row[x]));
    return MakePic(w, h, px);
}

TEST(GetBmpRgn, ShapeIsEveryPixelNotOfTheTopLeftColour) {
    struct Case {
        const char* name;
        std::vector<const char*> pic;
        std::vector<const char*> shape;  // '#': in the region
        int dx, dy;
    };
    const Case cases[] = {
        {"key anywhere is cut out; runs close at the right edge",
         {"kaaak", "akaka", "aaaaa"},
         {".###.", "#.#.#", "#####"},
         0,
         0},
        {"top-left colour found elsewhere is the key; moved",
         {"abba", "bbab"},
         {".##.", "##.#"},
         3,
         -2},
        {"one channel apart is not the key", {"kBGR", "RkkB"}, {".###", "#..#"}, 0, 0},
        {"one column: every row padded", {"k", "a", "k", "a"}, {".", "#", ".", "#"}, -1, 4},
        {"only key colour", {"zzz", "zzz"}, {"...", "..."}, 5, 5},
    };
    MsgRecorder rec;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int w = (int)strlen(c.pic[0]), h = (int)c.pic.size();
        HBITMAP bmp = MakeLetterPic(c.pic);
        HRGN rgn = GetBmpRgn(nullptr, bmp, w, h, c.dx, c.dy);
        ASSERT_NE(rgn, nullptr);
        for (int y = -2; y < h + 2; y++) {
            for (int x = -2; x < w + 2; x++) {
                const bool want = x >= 0 && x < w && y >= 0 && y < h && c.shape[y][x] == '#';
                EXPECT_EQ(PtInRegion(rgn, x + c.dx, y + c.dy), want) << x << "," << y;
            }
        }
        DeleteObject(rgn);
        DeleteObject(bmp);
    }
    EXPECT_TRUE(rec.msgs.empty());
}

TEST(GetBmpRgn, FailuresAreToldAndGiveNone) {
    struct Case {
        const char* name;
        bool bmp;
        int w, h;
        const char* text;
    };
    const char* kMem = "メモリが確保できませんでした";
    const Case cases[] = {
        {"no bitmap", false, 2, 2, "ビットマップからバッファへ書込み失敗 0"},
        {"no width", true, 0, 2, kMem},
        {"negative height", true, 2, -1, kMem},
        {"buffer beyond an int", true, 0x40000000, 2, kMem},
        {"size product beyond 64 bits", true, INT_MAX, INT_MAX, kMem},
    };
    HBITMAP bmp = MakeLetterPic({"ka", "ak"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MsgRecorder rec;
        EXPECT_EQ(GetBmpRgn(nullptr, c.bmp ? bmp : nullptr, c.w, c.h, 0, 0), nullptr);
        ASSERT_EQ(rec.msgs.size(), 1u);
        EXPECT_EQ(rec.msgs[0].caption, "GetBmpRgn");
        EXPECT_EQ(rec.msgs[0].text, c.text);
        EXPECT_EQ(rec.msgs[0].type, MB_OK);
    }
    DeleteObject(bmp);
}

TEST(MakeRndRgn, CoversTheSkinWithItsCornersCut) {
    const int sizes[][2] = {{100, 60}, {30, 200}};
    for (const auto& s : sizes) {
        const int w = s[0], h = s[1];
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        HRGN rgn = MakeRndRgn(w, h);
        ASSERT_NE(rgn, nullptr);
        RECT box{};
        EXPECT_EQ(GetRgnBox(rgn, &box), COMPLEXREGION);
        EXPECT_EQ(box.left, 0);
        EXPECT_EQ(box.top, 0);
        EXPECT_EQ(box.right, w);
        EXPECT_EQ(box.bottom, h);
        const int in[][2] = {{w / 2, 0}, {w / 2, h - 1}, {0, h / 2}, {w - 1, h / 2}};
        for (const auto& p : in) EXPECT_TRUE(PtInRegion(rgn, p[0], p[1])) << p[0] << "," << p[1];
        const int out[][2] = {{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}};
        for (const auto& p : out) EXPECT_FALSE(PtInRegion(rgn, p[0], p[1])) << p[0] << "," << p[1];
        DeleteObject(rgn);
    }
}

}  // namespace
