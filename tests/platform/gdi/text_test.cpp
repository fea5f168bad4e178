// Fonts and text on device pictures, the focus frame and 3-D edges.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/gdi/gdi.h"
#include "support/testutil.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

// A picture whose pixels all differ, so that a moved or swapped pixel shows.
std::vector<uint32_t> MakeRamp(int w, int h) {
    std::vector<uint32_t> px(size_t(w) * h);
    for (size_t i = 0; i < px.size(); i++) px[i] = uint32_t(i * 0x030507 + 0x102030) & 0xFFFFFF;
    return px;
}

// The expected picture: the original where the map has '.', else the pixel that `mark` gives
// for the map's letter and the original pixel. One string per row.
std::vector<uint32_t> ApplyMap(const std::vector<uint32_t>& orig, int w,
                               const std::vector<std::string>& map,
                               const std::function<uint32_t(char, uint32_t)>& mark) {
    std::vector<uint32_t> want = orig;
    for (size_t y = 0; y < map.size(); y++)
        for (size_t x = 0; x < map[y].size(); x++)
            if (map[y][x] != '.') want[y * w + x] = mark(map[y][x], want[y * w + x]);
    return want;
}

HFONT MakeFont(int height, int width, int weight, DWORD pitch, DWORD charSet) {
    return CreateFontA(height, width, 0, 0, weight, FALSE, FALSE, FALSE, charSet,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitch, nullptr);
}

SIZE GetExtent(HDC dc, const char* text) {
    SIZE size{};
    EXPECT_TRUE(GetTextExtentPoint32A(dc, text, -1, &size));
    return size;
}

TEXTMETRICA GetMetrics(HDC dc) {
    TEXTMETRICA tm{};
    EXPECT_TRUE(GetTextMetricsA(dc, &tm));
    return tm;
}

struct FontCase {
    const char* name;
    int height, width, weight;
    DWORD pitch, charSet;
    int wantEm;    // pixel size (cell height less internal leading); 0: not checked
    int wantCell;  // 0: not checked
    int wantWeight;
    bool fixed;
    int wantAve;  // 0: not checked
    int wantCharSet;
};

TEST(CreateFont, HeightWeightPitchGiveMetrics) {
    const FontCase cases[] = {
        {"negative height is the pixel size", -13, 0, FW_NORMAL, DEFAULT_PITCH, DEFAULT_CHARSET, 13,
         0, FW_NORMAL, false, 0, SHIFTJIS_CHARSET},
        {"zero height is 12 pixels", 0, 0, FW_DONTCARE, DEFAULT_PITCH, DEFAULT_CHARSET, 12, 0,
         FW_NORMAL, false, 0, SHIFTJIS_CHARSET},
        {"positive height is the cell", 13, 0, FW_NORMAL, DEFAULT_PITCH, DEFAULT_CHARSET, 0, 13,
         FW_NORMAL, false, 0, SHIFTJIS_CHARSET},
        {"positive height 20", 20, 0, FW_NORMAL, DEFAULT_PITCH, DEFAULT_CHARSET, 0, 20, FW_NORMAL,
         false, 0, SHIFTJIS_CHARSET},
        {"fixed pitch", 14, 0, FW_NORMAL, FIXED_PITCH, DEFAULT_CHARSET, 0, 14, FW_NORMAL, true, 0,
         SHIFTJIS_CHARSET},
        {"modern family is fixed", -12, 0, FW_NORMAL, FF_MODERN, DEFAULT_CHARSET, 12, 0, FW_NORMAL,
         true, 0, SHIFTJIS_CHARSET},
        {"fixed 14 high 7 wide", 14, 7, FW_NORMAL, FIXED_PITCH, DEFAULT_CHARSET, 0, 14, FW_NORMAL,
         true, 7, SHIFTJIS_CHARSET},
        {"proportional 10 wide", -12, 10, FW_NORMAL, DEFAULT_PITCH, DEFAULT_CHARSET, 12, 0,
         FW_NORMAL, false, 10, SHIFTJIS_CHARSET},
        {"thin", 13, 0, FW_THIN, FIXED_PITCH, DEFAULT_CHARSET, 0, 13, FW_THIN, true, 0,
         SHIFTJIS_CHARSET},
        {"semibold", 17, 0, FW_SEMIBOLD, DEFAULT_PITCH, DEFAULT_CHARSET, 0, 17, FW_SEMIBOLD, false,
         0, SHIFTJIS_CHARSET},
        {"bold in the asked character set", -14, 0, FW_BOLD, DEFAULT_PITCH, ANSI_CHARSET, 14, 0,
         FW_BOLD, false, 0, ANSI_CHARSET},
    };
    Surface s(1, 1, {0});
    for (const FontCase& row : cases) {
        SCOPED_TRACE(row.name);
        HFONT font = MakeFont(row.height, row.width, row.weight, row.pitch, row.charSet);
        ASSERT_NE(font, nullptr);
        HGDIOBJ old = SelectObject(s.dc, font);
        const TEXTMETRICA tm = GetMetrics(s.dc);
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        if (row.wantEm) {
            EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, row.wantEm);
        }
        if (row.wantCell) {
            EXPECT_EQ(tm.tmHeight, row.wantCell);
        }
        EXPECT_EQ(tm.tmWeight, row.wantWeight);
        EXPECT_EQ(tm.tmCharSet, row.wantCharSet);
        if (row.wantAve) {
            EXPECT_EQ(tm.tmAveCharWidth, row.wantAve);
        }
        // A fixed-pitch face gives narrow and wide letters one advance; Windows marks the
        // variable-pitch fonts with the low bit.
        const SIZE narrow = GetExtent(s.dc, "iiii"), wide = GetExtent(s.dc, "MMMM");
        EXPECT_EQ(narrow.cx == wide.cx, row.fixed);
        EXPECT_EQ(tm.tmPitchAndFamily & 1, row.fixed ? 0 : 1);
        EXPECT_EQ(narrow.cy, tm.tmHeight);
        SelectObject(s.dc, old);
        EXPECT_TRUE(DeleteObject(font));
    }
}

// The cell of a positive height is the largest that fits: one pixel more of character height
// would overflow it.
TEST(CreateFont, PositiveHeightTakesLargestFittingSize) {
    Surface s(1, 1, {0});
    for (int cell : {9, 12, 14, 16, 20, 31}) {
        SCOPED_TRACE(cell);
        HFONT font = MakeFont(cell, 0, FW_NORMAL, DEFAULT_PITCH, DEFAULT_CHARSET);
        HGDIOBJ old = SelectObject(s.dc, font);
        const TEXTMETRICA tm = GetMetrics(s.dc);
        HFONT larger =
            MakeFont(-(tm.tmHeight - tm.tmInternalLeading + 1), 0, FW_NORMAL, DEFAULT_PITCH, 0);
        SelectObject(s.dc, larger);
        EXPECT_LE(tm.tmHeight, cell);
        EXPECT_GT(GetMetrics(s.dc).tmHeight, cell);
        SelectObject(s.dc, old);
        DeleteObject(font);
        DeleteObject(larger);
    }
}

// Pixels that differ from white inside the rectangle and outside it, and how many inside have the
// text colour and the background colour.
struct InkCount {
    int inside = 0, outside = 0, textColour = 0, background = 0;
};

InkCount CountInk(const std::vector<uint32_t>& px, int w, RECT cell, uint32_t bg, uint32_t text) {
    InkCount n;
    for (size_t i = 0; i < px.size(); i++) {
        const int x = int(i % w), y = int(i / w);
        const bool in = x >= cell.left && x < cell.right && y >= cell.top && y < cell.bottom;
        if (px[i] == text) n.textColour += in;
        if (px[i] == bg) n.background += in;
        if (px[i] != kWhite) (in ? n.inside : n.outside)++;
    }
    return n;
}

struct TextOutCase {
    const char* name;
    int bkMode;
    const char* text;
};

TEST(TextOut, DrawsInItsCellInTheTextColour) {
    const TextOutCase cases[] = {
        {"opaque latin", OPAQUE, "Ab"},
        {"transparent latin", TRANSPARENT, "Ab"},
        {"transparent japanese", TRANSPARENT, "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86"},
        {"opaque japanese", OPAQUE, "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86"},
    };
    constexpr int kW = 80, kH = 30;
    const COLORREF text = RGB(200, 0, 0), bk = RGB(0, 128, 0);
    for (const TextOutCase& row : cases) {
        SCOPED_TRACE(row.name);
        Surface s(kW, kH, std::vector<uint32_t>(kW * kH, kWhite));
        HFONT font = MakeFont(-20, 0, FW_BOLD, DEFAULT_PITCH, DEFAULT_CHARSET);
        HGDIOBJ old = SelectObject(s.dc, font);
        SetTextColor(s.dc, text);
        SetBkColor(s.dc, bk);
        SetBkMode(s.dc, row.bkMode);
        const SIZE size = GetExtent(s.dc, row.text);
        ASSERT_TRUE(TextOutA(s.dc, 5, 4, row.text, -1));
        const RECT cell{5, 4, 5 + size.cx, 4 + size.cy};
        const InkCount n = CountInk(s.Pixels(), kW, cell, 0x008000, 0xC80000);  // bk, text
        EXPECT_EQ(n.outside, 0);
        EXPECT_GT(n.textColour, 0);
        if (row.bkMode == OPAQUE) {
            EXPECT_EQ(n.inside, size.cx * size.cy);  // nothing left white
            EXPECT_GT(n.background, 0);
        } else {
            EXPECT_GT(n.inside, 0);
            EXPECT_LT(n.inside, size.cx * size.cy / 2);
            EXPECT_EQ(n.background, 0);
        }
        SelectObject(s.dc, old);
        DeleteObject(font);
    }
}

// The length counts bytes: the first two draw what the two-letter text draws.
TEST(TextOut, LengthCountsBytes) {
    constexpr int kW = 40, kH = 20;
    Surface cut(kW, kH, std::vector<uint32_t>(kW * kH, kWhite));
    Surface whole(kW, kH, std::vector<uint32_t>(kW * kH, kWhite));
    ASSERT_TRUE(TextOutA(cut.dc, 2, 2, "AbXYZ", 2));
    ASSERT_TRUE(TextOutA(whole.dc, 2, 2, "Ab", -1));
    EXPECT_EQ(ComparePics(cut.Pixels(), whole.Pixels(), kW), "");
    EXPECT_NE(ComparePics(cut.Pixels(), std::vector<uint32_t>(kW * kH, kWhite), kW), "");
}

struct DrawCase {
    const char* name;
    void (*draw)(HDC dc);
};

// Qt's 32-bit drawing sets the top byte of what it touches; the picture's rows keep it 0. A DIB
// section shows the rows as they are.
TEST(TextOut, KeepsTheTopByteZero) {
    const DrawCase cases[] = {
        {"text out", [](HDC dc) { TextOutA(dc, 1, 1, "Ab", -1); }},
        {"draw text",
         [](HDC dc) {
             RECT r{0, 0, 30, 20};
             DrawTextA(dc, "Ab", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
         }},
        {"draw text unclipped",
         [](HDC dc) {
             RECT r{0, 0, 5, 5};
             DrawTextA(dc, "Ab", -1, &r, DT_NOCLIP);
         }},
    };
    constexpr int kW = 30, kH = 20;
    for (const DrawCase& row : cases) {
        SCOPED_TRACE(row.name);
        HDC dc = CreateCompatibleDC(nullptr);
        const BITMAPINFO bi = TopDownInfo(kW, kH, 32);
        void* bits = nullptr;
        HBITMAP pic = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_TRUE(pic && bits);
        HGDIOBJ old = SelectObject(dc, pic);
        row.draw(dc);
        const uint32_t* px = static_cast<const uint32_t*>(bits);
        int padded = 0, drawn = 0;
        for (int i = 0; i < kW * kH; i++) {
            padded += px[i] >> 24 != 0;
            drawn += px[i] != 0;
        }
        EXPECT_EQ(padded, 0);
        EXPECT_GT(drawn, 0);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(pic);
    }
}

// The display surface draws nowhere but measures in the font selected into it.
TEST(TextOut, DisplaySurfaceMeasuresOnly) {
    HDC screen = GetDC(nullptr);
    HFONT font = MakeFont(-24, 0, FW_NORMAL, DEFAULT_PITCH, DEFAULT_CHARSET);
    HGDIOBJ old = SelectObject(screen, font);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(GetMetrics(screen).tmHeight - GetMetrics(screen).tmInternalLeading, 24);
    EXPECT_TRUE(TextOutA(screen, 0, 0, "Ab", -1));
    RECT r{0, 0, 100, 100};
    EXPECT_EQ(DrawTextA(screen, "Ab", -1, &r, DT_SINGLELINE), GetMetrics(screen).tmHeight);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(DeleteObject(font));
}

// The box of pixels that differ from white; empty when none does.
RECT FindInkBox(const std::vector<uint32_t>& px, int w) {
    RECT box{w, int(px.size()) / w, 0, 0};
    for (size_t i = 0; i < px.size(); i++) {
        if (px[i] == kWhite) continue;
        const int x = int(i % w), y = int(i / w);
        box = RECT{std::min<int>(box.left, x), std::min<int>(box.top, y),
                   std::max<int>(box.right, x + 1), std::max<int>(box.bottom, y + 1)};
    }
    return box;
}

struct AlignCase {
    const char* name;
    UINT format;
    // Where the text's cell sits in the 100 x 40 box at (10, 5), in halves of the spare room:
    // 0 at the left or top, 1 centred, 2 at the right or bottom.
    int hHalves, vHalves;
};

// In OPAQUE mode the background fills exactly the text's cell, which shows where it went.
TEST(DrawText, AlignsTheLineInTheBox) {
    const AlignCase cases[] = {
        {"left top", DT_LEFT | DT_SINGLELINE, 0, 0},
        {"right", DT_RIGHT | DT_SINGLELINE, 2, 0},
        {"centred", DT_CENTER | DT_VCENTER | DT_SINGLELINE, 1, 1},
        {"bottom", DT_BOTTOM | DT_SINGLELINE, 0, 2},
        {"vertical centring needs a single line", DT_VCENTER, 0, 0},
    };
    constexpr int kW = 130, kH = 60;
    for (const AlignCase& row : cases) {
        SCOPED_TRACE(row.name);
        Surface s(kW, kH, std::vector<uint32_t>(kW * kH, kWhite));
        SetBkColor(s.dc, RGB(0, 0, 255));
        const SIZE size = GetExtent(s.dc, "Hello");
        RECT r{10, 5, 110, 45};
        const int got = DrawTextA(s.dc, "Hello", -1, &r, row.format);
        const RECT ink = FindInkBox(s.Pixels(), kW);
        EXPECT_EQ(ink.right - ink.left, size.cx);
        EXPECT_EQ(ink.bottom - ink.top, size.cy);
        const int left = 10 + (100 - size.cx) * row.hHalves / 2;
        const int top = 5 + (40 - size.cy) * row.vHalves / 2;
        EXPECT_NEAR(ink.left, left, 1);
        EXPECT_EQ(ink.top, top);
        EXPECT_EQ(got, top + size.cy - 5);  // where the text ends below the box's top
    }
}

TEST(DrawText, CalcRectMeasuresWithoutDrawing) {
    constexpr int kW = 40, kH = 40;
    Surface s(kW, kH, std::vector<uint32_t>(kW * kH, kWhite));
    const TEXTMETRICA tm = GetMetrics(s.dc);
    const SIZE line = GetExtent(s.dc, "one two three");
    RECT single{3, 4, 5, 6};
    EXPECT_EQ(DrawTextA(s.dc, "one two three", -1, &single, DT_CALCRECT | DT_SINGLELINE),
              tm.tmHeight);
    EXPECT_EQ(single.left, 3);
    EXPECT_EQ(single.top, 4);
    EXPECT_EQ(single.right, 3 + line.cx);
    EXPECT_EQ(single.bottom, 4 + tm.tmHeight);
    // Word breaks keep the lines within the width: three words, three lines.
    RECT wrapped{0, 0, line.cx / 2, 0};
    EXPECT_EQ(DrawTextA(s.dc, "one two three", -1, &wrapped, DT_CALCRECT | DT_WORDBREAK),
              3 * tm.tmHeight);
    EXPECT_LE(wrapped.right, line.cx / 2);
    EXPECT_EQ(wrapped.bottom, 3 * tm.tmHeight);
    EXPECT_EQ(ComparePics(s.Pixels(), std::vector<uint32_t>(kW * kH, kWhite), kW), "");
}

TEST(DrawText, ClipsToTheBoxUnlessNoClip) {
    constexpr int kW = 60, kH = 20;
    for (const UINT noClip : {0u, DT_NOCLIP}) {
        SCOPED_TRACE(noClip ? "no clip" : "clipped");
        Surface s(kW, kH, std::vector<uint32_t>(kW * kH, kWhite));
        RECT r{0, 0, 10, 20};
        DrawTextA(s.dc, "WWWWWW", -1, &r, DT_SINGLELINE | noClip);
        EXPECT_EQ(FindInkBox(s.Pixels(), kW).right > 10, noClip != 0);
    }
}

struct FrameCase {
    const char* name;
    RECT rect;
    std::vector<std::string> map;  // 'x': inverted
};

TEST(DrawFocusRect, InvertsEveryOtherPixelOfTheOutline) {
    const FrameCase cases[] = {
        {"whole frame",
         {0, 0, 6, 5},
         {"x.x.x..", ".....x.", "x......", ".....x.", "x.x.x..", "......."}},
        {"frame inside",
         {1, 1, 5, 4},
         {".......", ".x.x...", "....x..", ".x.x...", ".......", "......."}},
        {"corner off the picture keeps the dots where they were",
         {-1, -1, 4, 3},
         {".......", "...x...", "x.x....", ".......", ".......", "......."}},
        {"one pixel wide", {2, 0, 3, 5}, {"..x....", ".......", "..x....", ".......", "..x...."}},
        {"one pixel high", {1, 2, 6, 3}, {".......", ".......", ".x.x.x."}},
        {"beyond the right and bottom",
         {3, 2, 9, 8},
         {".......", ".......", "...x.x.", ".......", "...x...", "......."}},
        {"empty", {3, 3, 3, 5}, {}},
    };
    constexpr int kW = 7, kH = 6;
    const std::vector<uint32_t> orig = MakeRamp(kW, kH);
    for (const FrameCase& row : cases) {
        SCOPED_TRACE(row.name);
        Surface s(kW, kH, orig);
        ASSERT_TRUE(DrawFocusRect(s.dc, &row.rect));
        const auto want = ApplyMap(orig, kW, row.map, [](char, uint32_t p) { return p ^ kWhite; });
        EXPECT_EQ(ComparePics(s.Pixels(), want, kW), "");
        ASSERT_TRUE(DrawFocusRect(s.dc, &row.rect));
        EXPECT_EQ(ComparePics(s.Pixels(), orig, kW), "") << "drawn twice";
    }
}

uint32_t GetEdgePx(char c, uint32_t) {
    switch (c) {
        case 'H': return 0xFFFFFF;  // button highlight
        case 'L': return 0xE3E3E3;  // 3-D light
        case 'S': return 0xA0A0A0;  // button shadow
        case 'D': return 0x696969;  // 3-D dark shadow
        case 'F': return 0xF0F0F0;  // button face
        default: return 0;
    }
}

struct EdgeCase {
    const char* name;
    UINT edge, flags;
    std::vector<std::string> map;
    RECT wantRect;  // after BF_ADJUST
};

TEST(DrawEdge, DrawsRingsInTheThreeDColours) {
    // The edge of (0, 0, 6, 5) on a 7 x 6 picture.
    const EdgeCase cases[] = {
        {"raised",
         EDGE_RAISED,
         BF_RECT | BF_ADJUST,
         {"LLLLLD.", "LHHHSD.", "LH..SD.", "LSSSSD.", "DDDDDD."},
         {2, 2, 4, 3}},
        {"sunken with middle",
         EDGE_SUNKEN,
         BF_RECT | BF_MIDDLE,
         {"SSSSSH.", "SDDDLH.", "SDFFLH.", "SLLLLH.", "HHHHHH."},
         {0, 0, 6, 5}},
        {"soft raised",
         EDGE_RAISED,
         BF_RECT | BF_SOFT,
         {"HHHHHD.", "HLLLSD.", "HL..SD.", "HSSSSD.", "DDDDDD."},
         {0, 0, 6, 5}},
        {"etched",
         EDGE_ETCHED,
         BF_RECT,
         {"SSSSSH.", "SHHHSH.", "SH..SH.", "SSSSSH.", "HHHHHH."},
         {0, 0, 6, 5}},
        {"lone inner ring on the edge",
         BDR_RAISEDINNER,
         BF_RECT | BF_MIDDLE | BF_ADJUST,
         {"HHHHHS.", "HFFFFS.", "HFFFFS.", "HFFFFS.", "SSSSSS."},
         {1, 1, 5, 4}},
        {"top and left only",
         BDR_SUNKENOUTER,
         BF_TOP | BF_LEFT | BF_ADJUST,
         {"SSSSSS.", "S......", "S......", "S......", "S......"},
         {1, 1, 6, 5}},
        {"bottom only",
         EDGE_RAISED,
         BF_BOTTOM | BF_ADJUST,
         {".......", ".......", ".......", "SSSSSS.", "DDDDDD."},
         {0, 0, 6, 3}},
    };
    constexpr int kW = 7, kH = 6;
    const std::vector<uint32_t> orig = MakeRamp(kW, kH);
    for (const EdgeCase& row : cases) {
        SCOPED_TRACE(row.name);
        Surface s(kW, kH, orig);
        RECT r{0, 0, 6, 5};
        ASSERT_TRUE(DrawEdge(s.dc, &r, row.edge, row.flags));
        EXPECT_EQ(ComparePics(s.Pixels(), ApplyMap(orig, kW, row.map, GetEdgePx), kW), "");
        EXPECT_EQ(r.left, row.wantRect.left);
        EXPECT_EQ(r.top, row.wantRect.top);
        EXPECT_EQ(r.right, row.wantRect.right);
        EXPECT_EQ(r.bottom, row.wantRect.bottom);
    }
}

// Two kinds of surface, each freed its own way.
struct DCKind {
    const char* name;
    HDC (*make)();
    void (*free)(HDC);
};

const DCKind kDCKinds[] = {
    {"memory surface", [] { return CreateCompatibleDC(nullptr); }, [](HDC dc) { DeleteDC(dc); }},
    {"display surface", [] { return GetDC(nullptr); }, [](HDC dc) { ReleaseDC(nullptr, dc); }},
};

TEST(SelectFont, GivesBackThePreviousFontAndHoldsIt) {
    HGDIOBJ stock = GetStockObject(DEFAULT_GUI_FONT);
    ASSERT_NE(stock, nullptr);
    for (const DCKind& kind : kDCKinds) {
        SCOPED_TRACE(kind.name);
        HDC dc = kind.make();
        const TEXTMETRICA before = GetMetrics(dc);
        HFONT font = MakeFont(-30, 0, FW_NORMAL, DEFAULT_PITCH, DEFAULT_CHARSET);
        // A fresh surface draws in the default font, the stock one.
        EXPECT_EQ(SelectObject(dc, font), stock);
        EXPECT_GT(GetMetrics(dc).tmHeight, before.tmHeight);
        EXPECT_FALSE(DeleteObject(font)) << "still selected";
        EXPECT_EQ(SelectObject(dc, stock), font);
        EXPECT_EQ(GetMetrics(dc).tmHeight, before.tmHeight);
        EXPECT_TRUE(DeleteObject(font));
        // Freeing the surface lets go of its font.
        HFONT held = MakeFont(-9, 0, FW_NORMAL, DEFAULT_PITCH, DEFAULT_CHARSET);
        EXPECT_EQ(SelectObject(dc, held), stock);
        kind.free(dc);
        EXPECT_TRUE(DeleteObject(held));
    }
    EXPECT_TRUE(DeleteObject(stock));
    EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), stock);
}

}  // namespace
