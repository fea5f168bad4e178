// The drawing core: stretching by area averaging and by dropping, block copies, DIB rows.
#include "platform/gdi/gdi.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/gdi/region.h"
#include "support/testutil.h"

namespace {

uint32_t Grey(uint32_t v) {
    return v << 16 | v << 8 | v;
}

struct StretchCase {
    const char* name;
    int sw, sh;
    std::vector<uint32_t> src;
    int dw, dh;
    int mode;
    std::vector<uint32_t> want;
};

TEST(StretchBlt, AveragesOrDropsPixels) {
    const StretchCase cases[] = {
        {"halftone 1:1 is exact",
         3,
         1,
         {0x123456, 0xABCDEF, 0x010203},
         3,
         1,
         HALFTONE,
         {0x123456, 0xABCDEF, 0x010203}},
        {"halftone halves average 2 x 2 blocks",
         4,
         2,
         {Grey(10), Grey(20), Grey(0), Grey(255), Grey(30), Grey(41), Grey(255), Grey(0)},
         2,
         1,
         HALFTONE,
         {Grey(25), Grey(128)}},
        {"halftone 3 to 2 weighs the shared middle pixel half",
         3,
         1,
         {Grey(0), Grey(90), Grey(200)},
         2,
         1,
         HALFTONE,
         {Grey(30), Grey(163)}},
        {"halftone doubling repeats",
         2,
         1,
         {Grey(10), Grey(200)},
         4,
         1,
         HALFTONE,
         {Grey(10), Grey(10), Grey(200), Grey(200)}},
        {"halftone 2 to 3 blends the middle",
         2,
         1,
         {Grey(0), Grey(90)},
         3,
         1,
         HALFTONE,
         {Grey(0), Grey(45), Grey(90)}},
        {"halftone keeps channels apart", 2, 1, {0xFF0000, 0x0000FF}, 1, 1, HALFTONE, {0x800080}},
        {"coloroncolor halves by dropping",
         4,
         1,
         {Grey(1), Grey(2), Grey(3), Grey(4)},
         2,
         1,
         COLORONCOLOR,
         {Grey(2), Grey(4)}},
        {"coloroncolor doubles by repeating",
         2,
         1,
         {Grey(1), Grey(2)},
         4,
         1,
         COLORONCOLOR,
         {Grey(1), Grey(1), Grey(2), Grey(2)}},
    };
    for (const StretchCase& c : cases) {
        SCOPED_TRACE(c.name);
        Surface src(c.sw, c.sh, c.src);
        Surface dst(c.dw, c.dh, std::vector<uint32_t>(c.dw * c.dh));
        SetStretchBltMode(dst.dc, c.mode);
        ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, c.dw, c.dh, src.dc, 0, 0, c.sw, c.sh, SRCCOPY));
        EXPECT_EQ(ComparePics(dst.Pixels(), c.want, c.dw), "");
    }
}

// Large shrinks keep a flat picture flat and the mean of a noisy one.
TEST(StretchBlt, HalftoneShrinkKeepsTheMean) {
    const int sw = 997, sh = 613, dw = 101, dh = 67;
    std::vector<uint32_t> flat(sw * sh, 0x7F3A10), noisy(sw * sh);
    uint64_t sum = 0;
    for (size_t i = 0; i < noisy.size(); i++) {
        noisy[i] = Grey(uint32_t(i * 2654435761u >> 24));
        sum += noisy[i] & 0xFF;
    }
    Surface a(sw, sh, flat), b(sw, sh, noisy);
    Surface da(dw, dh, std::vector<uint32_t>(dw * dh)), db(dw, dh, std::vector<uint32_t>(dw * dh));
    SetStretchBltMode(da.dc, HALFTONE);
    SetStretchBltMode(db.dc, HALFTONE);
    StretchBlt(da.dc, 0, 0, dw, dh, a.dc, 0, 0, sw, sh, SRCCOPY);
    StretchBlt(db.dc, 0, 0, dw, dh, b.dc, 0, 0, sw, sh, SRCCOPY);
    EXPECT_EQ(ComparePics(da.Pixels(), std::vector<uint32_t>(dw * dh, 0x7F3A10), dw), "");
    uint64_t got = 0;
    for (uint32_t p : db.Pixels()) got += p & 0xFF;
    EXPECT_NEAR(double(got) / (dw * dh), double(sum) / (sw * sh), 0.5);
}

// However far a row is shrunk, its halves weigh the same: white then black averages to grey.
TEST(StretchBlt, HalftoneFarShrinkWeighsEveryPixelAlike) {
    for (int sw : {100, 3000, 5000, 100000}) {
        SCOPED_TRACE(sw);
        std::vector<uint32_t> row(sw, 0);
        std::fill(row.begin(), row.begin() + sw / 2, 0xFFFFFF);
        Surface src(sw, 1, row), dst(1, 1, {0x123456});
        SetStretchBltMode(dst.dc, HALFTONE);
        ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, sw, 1, SRCCOPY));
        const uint32_t got = dst.Pixels()[0];
        EXPECT_NEAR(int(got & 0xFF), 128, 1);
        EXPECT_EQ(got, Grey(got & 0xFF));
    }
}

TEST(StretchBlt, ClipsToTheDestinationAndRefusesOutsideSources) {
    Surface src(2, 1, {Grey(10), Grey(200)});
    Surface dst(3, 1, {Grey(1), Grey(1), Grey(1)});
    SetStretchBltMode(dst.dc, HALFTONE);
    ASSERT_TRUE(StretchBlt(dst.dc, -2, 0, 4, 1, src.dc, 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(ComparePics(dst.Pixels(), {Grey(200), Grey(200), Grey(1)}, 3), "");
    EXPECT_FALSE(StretchBlt(dst.dc, 0, 0, 3, 1, src.dc, 1, 0, 2, 1, SRCCOPY));
}

TEST(BitBlt, ClipsAndHandlesOverlap) {
    Surface s(4, 1, {Grey(1), Grey(2), Grey(3), Grey(4)});
    ASSERT_TRUE(BitBlt(s.dc, 1, 0, 4, 1, s.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(ComparePics(s.Pixels(), {Grey(1), Grey(1), Grey(2), Grey(3)}, 4), "");
    Surface t(2, 2, std::vector<uint32_t>(4, 0));
    ASSERT_TRUE(BitBlt(t.dc, -1, -1, 2, 2, s.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(ComparePics(t.Pixels(), {0, 0, 0, 0}, 2), "");  // source row 1 does not exist
    ASSERT_TRUE(BitBlt(t.dc, 1, 1, 2, 2, s.dc, 2, 0, SRCCOPY));
    EXPECT_EQ(ComparePics(t.Pixels(), {0, 0, 0, Grey(2)}, 2), "");
}

TEST(TransparentBlt, LeavesTheKeyColourAndClips) {
    const uint32_t key = 0x204080;  // RGB(0x20, 0x40, 0x80) as a pixel
    Surface s(3, 1, {Grey(1), key, Grey(3)});
    Surface t(3, 2, std::vector<uint32_t>(6, Grey(9)));
    ASSERT_TRUE(TransparentBlt(t.dc, 1, 1, 3, 1, s.dc, 0, 0, 3, 1, RGB(0x20, 0x40, 0x80)));
    EXPECT_EQ(ComparePics(t.Pixels(), {Grey(9), Grey(9), Grey(9), Grey(9), Grey(1), Grey(9)}, 3),
              "");
    EXPECT_FALSE(TransparentBlt(t.dc, 0, 0, 2, 1, s.dc, 0, 0, 3, 1, 0));  // no stretching
}

TEST(FrameRect, DrawsOnlyTheBorder) {
    Surface t(4, 3, std::vector<uint32_t>(12, 0));
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const RECT r{0, 0, 4, 3};
    ASSERT_TRUE(FrameRect(t.dc, &r, red));
    const uint32_t R = 0xFF0000;
    EXPECT_EQ(ComparePics(t.Pixels(), {R, R, R, R, R, 0, 0, R, R, R, R, R}, 4), "");
    DeleteObject(red);
}

// 24 and 32-bit rows out, bottom-up and top-down, padded to 4 bytes.
TEST(GetDIBits, RowsInBothOrders) {
    Surface s(2, 2, {0x010203, 0x040506, 0x070809, 0x0A0B0C});
    struct Case {
        int bits, height;
        std::vector<unsigned char> want;
    };
    const Case cases[] = {
        {24, 2, {9, 8, 7, 12, 11, 10, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0}},
        {24, -2, {3, 2, 1, 6, 5, 4, 0, 0, 9, 8, 7, 12, 11, 10, 0, 0}},
        {32, -2, {3, 2, 1, 0, 6, 5, 4, 0, 9, 8, 7, 0, 12, 11, 10, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, height " << c.height);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = 2;
        bi.bmiHeader.biHeight = c.height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = (WORD)c.bits;
        std::vector<unsigned char> rows(16, 0xEE);
        EXPECT_EQ(GetDIBits(s.dc, s.bmp, 0, 2, rows.data(), &bi, DIB_RGB_COLORS), 2);
        if (c.bits == 24) rows[6] = rows[7] = rows[14] = rows[15] = 0;  // padding is not written
        EXPECT_EQ(rows, c.want);
        // And back in: the picture is unchanged.
        HDC screen = GetDC(nullptr);
        HBITMAP b =
            CreateDIBitmap(screen, &bi.bmiHeader, CBM_INIT, rows.data(), &bi, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        EXPECT_EQ(ComparePics(PicPixels(b, 2, 2), s.Pixels(), 2), "");
        DeleteObject(b);
    }
}

// Sizes near the ends of int clip without wrapping.
TEST(BitBlt, HugeSizesClipWithoutWrapping) {
    Surface s(2, 1, {Grey(1), Grey(2)}), d(2, 1, {0, 0});
    EXPECT_TRUE(BitBlt(d.dc, 1, 0, INT32_MAX, 1, s.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(ComparePics(d.Pixels(), {0, Grey(1)}, 2), "");
    SetStretchBltMode(d.dc, COLORONCOLOR);
    EXPECT_TRUE(StretchBlt(d.dc, -(1 << 30), 0, (1 << 30) + 2, 1, s.dc, 0, 0, 2, 1, SRCCOPY));
    EXPECT_FALSE(StretchBlt(d.dc, 0, 0, 2, 1, s.dc, 1, 0, INT32_MAX, 1, SRCCOPY));
}

// Scan lines of a DIB taller than the picture: only the picture's rows are counted and written.
TEST(GetDIBits, CountsOnlyRowsItWrites) {
    Surface s(1, 2, {Grey(1), Grey(2)});
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 1;
    bi.bmiHeader.biHeight = 4;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> rows(4, 0xEEEEEE);
    EXPECT_EQ(GetDIBits(s.dc, s.bmp, 0, 4, rows.data(), &bi, DIB_RGB_COLORS), 2);
    EXPECT_EQ(rows, (std::vector<uint32_t>{Grey(2), Grey(1), 0xEEEEEE, 0xEEEEEE}));
}

TEST(GdiObjects, SelectedPictureIsNotDeleted) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP b = CreateCompatibleBitmap(screen, 4, 4);
    HGDIOBJ old = SelectObject(dc, b);
    EXPECT_FALSE(DeleteObject(b));
    SelectObject(dc, old);
    EXPECT_TRUE(DeleteObject(b));
    EXPECT_EQ(CreateCompatibleBitmap(screen, 0, 4), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(screen, 1 << 15, 1 << 15), nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    EXPECT_FALSE(DeleteObject(brush));
    SelectObject(dc, oldBrush);
    EXPECT_TRUE(DeleteObject(brush));
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

}  // namespace

// The selection frame's rule: with the null pen the brush fills exactly the region
// CreateRoundRectRgn gives for the same corners; a pen of one pixel rims the whole rectangle.
TEST(RoundRect, NullPenFillsTheRoundRegionAndAPenRimsIt) {
    constexpr int w = 24, h = 20;
    constexpr uint32_t kBg = 0x000000, kRed = 0xFF0000, kBlue = 0x0000FF;
    struct Case {
        const char* name;
        bool pen;
    };
    for (const Case& c : {Case{"null pen", false}, Case{"blue pen", true}}) {
        SCOPED_TRACE(c.name);
        Surface s(w, h, std::vector<uint32_t>(w * h, kBg));
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        HPEN pen = c.pen ? CreatePen(PS_SOLID, 1, RGB(0, 0, 255)) : CreatePen(PS_NULL, 0, 0);
        HGDIOBJ oldBrush = SelectObject(s.dc, red);
        HGDIOBJ oldPen = SelectObject(s.dc, pen);
        EXPECT_TRUE(RoundRect(s.dc, 2, 3, 20, 17, 4, 4));
        SelectObject(s.dc, oldPen);
        SelectObject(s.dc, oldBrush);
        EXPECT_TRUE(DeleteObject(red));
        EXPECT_TRUE(DeleteObject(pen));
        HRGN fill = CreateRoundRectRgn(2, 3, 20, 17, 4, 4);
        HRGN rim = CreateRoundRectRgn(2, 3, 21, 18, 4, 4);
        HRGN inner = CreateRoundRectRgn(3, 4, 20, 17, 2, 2);
        const std::vector<uint32_t> px = s.Pixels();
        for (int y = 0; y < h; y++) {
            for (int x = 0; x < w; x++) {
                uint32_t want = kBg;
                if (!c.pen && PtInRegion(fill, x, y)) want = kRed;
                if (c.pen && PtInRegion(rim, x, y)) want = PtInRegion(inner, x, y) ? kRed : kBlue;
                ASSERT_EQ(px[y * w + x], want) << "at " << x << ", " << y;
            }
        }
        // The null pen's area: columns 2..18 and rows 3..15, its corners cut.
        EXPECT_TRUE(PtInRegion(fill, 18, 8) && PtInRegion(fill, 10, 15) && PtInRegion(fill, 2, 8));
        EXPECT_FALSE(PtInRegion(fill, 19, 8) || PtInRegion(fill, 10, 16) || PtInRegion(fill, 2, 3));
        DeleteObject(fill);
        DeleteObject(rim);
        DeleteObject(inner);
    }
}

namespace {

// 32-bit rows longer than the conversions' blocks, at an odd address: the unused byte is
// dropped on the way in and written 0 on the way out.
TEST(GetDIBits, LongThirtyTwoBitRowsAtAnyAddress) {
    const int w = 600;
    std::vector<uint32_t> in(w);
    for (int x = 0; x < w; x++) in[x] = 0xFF000000u | uint32_t(x * 2654435761u >> 8);
    BITMAPINFO bi = TopDownInfo(w, 1, 32);
    HDC screen = GetDC(nullptr);
    HBITMAP b = CreateDIBitmap(screen, &bi.bmiHeader, CBM_INIT, in.data(), &bi, DIB_RGB_COLORS);
    std::vector<unsigned char> out(4 * w + 1, 0xEE);
    EXPECT_EQ(GetDIBits(screen, b, 0, 1, out.data() + 1, &bi, DIB_RGB_COLORS), 1);
    ReleaseDC(nullptr, screen);
    for (int x = 0; x < w; x++) {
        uint32_t v;
        memcpy(&v, out.data() + 1 + 4 * x, 4);
        ASSERT_EQ(v, in[x] & 0xFFFFFF) << x;
    }
    DeleteObject(b);
}

// A DIB section's rows are the picture's own: written there, drawn from there.
TEST(CreateDIBSection, RowsReachedDirectly) {
    HDC screen = GetDC(nullptr);
    BITMAPINFO bi = TopDownInfo(3, 2, 32);
    void* bits = nullptr;
    HBITMAP b = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_TRUE(b && bits);
    EXPECT_EQ(static_cast<uint32_t*>(bits)[0], 0u);  // made black
    static_cast<uint32_t*>(bits)[5] = 0x123456;
    EXPECT_EQ(PicPixels(b, 3, 2)[5], 0x123456u);
    BITMAP bm{};
    ASSERT_TRUE(GetObjectA(b, sizeof bm, &bm));
    EXPECT_EQ(bm.bmBits, bits);
    HBITMAP plain = CreateCompatibleBitmap(screen, 3, 2);
    ASSERT_TRUE(GetObjectA(plain, sizeof bm, &bm));
    EXPECT_EQ(bm.bmBits, nullptr);
    // Only the display's own rows: 24 bits and bottom-up are refused.
    for (BITMAPINFO other : {TopDownInfo(3, 2, 24), TopDownInfo(3, -2, 32)}) {
        EXPECT_EQ(CreateDIBSection(screen, &other, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
        EXPECT_EQ(bits, nullptr);
    }
    ReleaseDC(nullptr, screen);
    DeleteObject(b);
    DeleteObject(plain);
}

}  // namespace
