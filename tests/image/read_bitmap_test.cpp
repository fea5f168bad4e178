// The BMP reader: every depth and header kind, the refusals and hostile headers.
#include <gtest/gtest.h>
#include <unistd.h>

#include "image/readpic.h"
#include "support/testutil.h"

namespace {

uint32_t Expand5(uint32_t c) {
    auto ch = [](uint32_t v) { return ((v >> 3) << 3) | (v >> 5); };
    return ch((c >> 16) & 255) << 16 | ch((c >> 8) & 255) << 8 | ch(c & 255);
}

// A 5 x 3 picture of distinct pixels for the depth, and the colours it must read as.
BmpForm Pattern(int bits, std::vector<uint32_t>* want) {
    BmpForm s;
    s.w = 5;
    s.h = 3;
    s.bits = bits;
    const int n = bits <= 8 ? 1 << bits : 0;
    for (int i = 0; i < n; i++) s.pal.push_back((0x010203u * (i + 1) ^ (i << 20)) & 0xFFFFFF);
    for (int i = 0; i < 15; i++) {
        const uint32_t v = bits <= 8 ? uint32_t(i * 7) % n : 0x123456u * (i + 1) & 0xFFFFFF;
        s.px.push_back(v);
        want->push_back(bits <= 8 ? s.pal[v] : bits == 16 ? Expand5(v) : v);
    }
    return s;
}

struct ReadCase {
    const char* name;
    int bits;
    bool core;
    bool topDown;
};

TEST(ReadBitmap, ReadsEveryDepthAndHeader) {
    const ReadCase cases[] = {
        {"1 bit", 1, false, false},
        {"4 bits", 4, false, false},
        {"8 bits", 8, false, false},
        {"16 bits 5-5-5", 16, false, false},
        {"24 bits", 24, false, false},
        {"32 bits", 32, false, false},
        {"core 8 bits", 8, true, false},
        {"core 24 bits", 24, true, false},
        {"top-down 24 bits", 24, false, true},
        {"top-down 8 bits", 8, false, true},
    };
    TempDir dir;
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint32_t> want;
        BmpForm s = Pattern(c.bits, &want);
        s.core = c.core;
        s.topDown = c.topDown;
        const std::string path = dir.File("p.bmp");
        ASSERT_TRUE(WriteFileBytes(path, MakeBmpFile(s)));
        MsgRecorder rec;
        SIZE size{};
        HBITMAP b = ReadBitmap(nullptr, path.c_str(), &size);
        ASSERT_TRUE(b);
        EXPECT_EQ(size.cx, 5);
        EXPECT_EQ(size.cy, 3);
        EXPECT_EQ(ComparePics(PicPixels(b, 5, 3), want, 5), "");
        EXPECT_TRUE(rec.msgs.empty());
        DeleteObject(b);
    }
}

// biClrUsed 16 on an 8-bit file: 16 entries are read and the pixels start right behind them.
TEST(ReadBitmap, ShortPaletteOnEightBits) {
    BmpForm s;
    s.w = 4;
    s.h = 1;
    s.bits = 8;
    s.clrUsed = 16;
    for (int i = 0; i < 16; i++) s.pal.push_back(0x111111u * (i % 15 + 1));
    s.px = {0, 5, 15, 9};
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.File("p.bmp"), MakeBmpFile(s)));
    SIZE size{};
    HBITMAP b = ReadBitmap(nullptr, dir.File("p.bmp").c_str(), &size);
    ASSERT_TRUE(b);
    EXPECT_EQ(ComparePics(PicPixels(b, 4, 1), {s.pal[0], s.pal[5], s.pal[15], s.pal[9]}, 4), "");
    DeleteObject(b);
}

// Rows are padded to 4 bytes: 100 pixels take 300 bytes, 101 take 304.
TEST(ReadBitmap, PaddedRows) {
    TempDir dir;
    for (int w : {100, 101}) {
        SCOPED_TRACE(w);
        BmpForm s;
        s.w = w;
        s.h = 50;
        for (int i = 0; i < w * 50; i++) s.px.push_back(uint32_t(i * 2654435761u) & 0xFFFFFF);
        const auto file = MakeBmpFile(s);
        EXPECT_EQ(file.size() - 54, w == 100 ? 15000u : 15200u);
        ASSERT_TRUE(WriteFileBytes(dir.File("p.bmp"), file));
        SIZE size{};
        HBITMAP b = ReadBitmap(nullptr, dir.File("p.bmp").c_str(), &size);
        ASSERT_TRUE(b);
        EXPECT_EQ(ComparePics(PicPixels(b, w, 50), s.px, w), "");
        DeleteObject(b);
    }
}

struct RefuseCase {
    const char* name;
    void (*damage)(std::vector<unsigned char>&);
    const char* msg;  // nullptr: silent
};

TEST(ReadBitmap, RefusesBadFiles) {
    const RefuseCase cases[] = {
        {"2-bit", [](auto& b) { PutLe16(b, 28, 2); }, "ヘッダ情報が不正です(biBitCount)"},
        {"header of 64 bytes", [](auto& b) { PutLe32(b, 14, 64); }, "ヘッダ情報が不正です(biSize)"},
        {"not BM", [](auto& b) { b[0] = 'X'; }, nullptr},
        {"cut in the file header", [](auto& b) { b.resize(10); }, nullptr},
        {"cut in the info header", [](auto& b) { b.resize(30); }, nullptr},
        {"empty", [](auto& b) { b.clear(); }, nullptr},
        {"palette count past the end", [](auto& b) { PutLe32(b, 46, 0xFFFFFFFF); }, nullptr},
        {"pixels past the end", [](auto& b) { PutLe32(b, 10, 0x7FFFFFF0); }, nullptr},
        {"overflowing sizes",
         [](auto& b) {
             PutLe32(b, 18, 0x7FFFFFFF);
             PutLe32(b, 22, 0x7FFFFFFF);
         },
         "メモリが確保できませんでした"},
        {"huge but not overflowing",
         [](auto& b) {
             PutLe32(b, 18, 70000);
             PutLe32(b, 22, 70000);
         },
         "メモリが確保できませんでした"},
        {"negative width", [](auto& b) { PutLe32(b, 18, (uint32_t)-5); },
         "メモリが確保できませんでした"},
        {"zero height", [](auto& b) { PutLe32(b, 22, 0); }, "メモリが確保できませんでした"},
        {"most negative height", [](auto& b) { PutLe32(b, 22, 0x80000000u); },
         "メモリが確保できませんでした"},
        {"run-length compressed", [](auto& b) { PutLe32(b, 30, 1); }, nullptr},
        {"run-length compressed, no pixel bytes",
         [](auto& b) {
             PutLe32(b, 30, 1);
             b.resize(14 + 40 + 256 * 4);
         },
         nullptr},
    };
    TempDir dir;
    for (const RefuseCase& c : cases) {
        SCOPED_TRACE(c.name);
        BmpForm s;
        s.w = 3;
        s.h = 2;
        s.bits = 8;
        s.pal = {0xFF0000, 0x00FF00};
        s.px = {0, 1, 0, 1, 0, 1};
        auto file = MakeBmpFile(s);
        c.damage(file);
        ASSERT_TRUE(WriteFileBytes(dir.File("bad.bmp"), file));
        MsgRecorder rec;
        SIZE size{7, 7};
        EXPECT_EQ(ReadBitmap(nullptr, dir.File("bad.bmp").c_str(), &size), nullptr);
        if (c.msg) {
            ASSERT_EQ(rec.msgs.size(), 1u);
            EXPECT_EQ(rec.msgs[0].caption, "ReadBitmap-Error");
            EXPECT_EQ(rec.msgs[0].text, c.msg);
        } else {
            EXPECT_TRUE(rec.msgs.empty());
        }
    }
}

struct ShortCase {
    const char* name;
    int bits;
    bool topDown;
    size_t kept;  // pixel bytes left in the file
    std::vector<uint32_t> want;
};

// A file cut short in its pixel block gives its full size: the rows it reaches are read (a cut
// row ends in zero bytes), the others stay black as in a fresh picture.
TEST(ReadBitmap, ShortPixelBlockReadsWhatIsThere) {
    const uint32_t a = 0x112233, b = 0x445566, c = 0x778899, d = 0xAABBCC, e = 0xDDEEFF,
                   f = 0x123456, g = 0x654321, h = 0xABCDEF, i = 0xFEDCBA;
    const std::vector<uint32_t> pal = {0x102030, 0x405060, 0x708090, 0xA0B0C0};
    const ShortCase cases[] = {
        {"no pixel bytes", 24, false, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0}},
        // Rows of 3 pixels take 12 bytes; the file's first row is the picture's bottom one.
        {"four bytes", 24, false, 4, {0, 0, 0, 0, 0, 0, g, h & 0xFF, 0}},
        {"a row and a pixel", 24, false, 12 + 3, {0, 0, 0, d, 0, 0, g, h, i}},
        {"top-down, a row", 24, true, 12, {a, b, c, 0, 0, 0, 0, 0, 0}},
        // Rows of 3 indices take 4 bytes; index 0 is not black.
        {"8 bits, a row and a byte",
         8,
         false,
         4 + 1,
         {0, 0, 0, pal[3], pal[0], pal[0], pal[2], pal[3], pal[1]}},
    };
    TempDir dir;
    for (const ShortCase& k : cases) {
        SCOPED_TRACE(k.name);
        BmpForm s;
        s.w = 3;
        s.h = 3;
        s.bits = k.bits;
        s.topDown = k.topDown;
        if (k.bits == 8) {
            s.pal = pal;
            s.clrUsed = 4;
            s.px = {1, 2, 3, 3, 1, 2, 2, 3, 1};
        } else {
            s.px = {a, b, c, d, e, f, g, h, i};
        }
        auto file = MakeBmpFile(s);
        file.resize(file.size() - 3 * (k.bits == 8 ? 4 : 12) + k.kept);
        ASSERT_TRUE(WriteFileBytes(dir.File("short.bmp"), file));
        MsgRecorder rec;
        SIZE size{};
        HBITMAP bmp = ReadBitmap(nullptr, dir.File("short.bmp").c_str(), &size);
        EXPECT_TRUE(bmp);
        if (!bmp) continue;
        EXPECT_EQ(size.cx, 3);
        EXPECT_EQ(size.cy, 3);
        EXPECT_EQ(ComparePics(PicPixels(bmp, 3, 3), k.want, 3), "");
        EXPECT_TRUE(rec.msgs.empty());
        DeleteObject(bmp);
    }
}

off_t g_cutTo;  // the length another program cuts the file to while it is read; -1: none

void CutFile(const char* path) {
    if (g_cutTo < 0) return;
    ASSERT_EQ(truncate(path, g_cutTo), 0);
}

// A file cut by another program after its headers were read is an unreadable file: no picture,
// no message, and the program goes on (a mapping of the file would have faulted). Read again,
// the cut file gives the rows it reaches, as any file cut before it is opened. The larger file
// has more rows than one read takes.
TEST(ReadBitmap, FileCutWhileItIsReadIsNoPicture) {
    const struct {
        const char* name;
        int w, h;
        off_t cutTo;  // -1: not cut
    } rows[] = {
        {"not cut, one read", 64, 64, -1},
        {"not cut, several reads", 256, 400, -1},
        {"cut to its headers", 64, 64, 54},
        {"cut in its first row", 64, 64, 54 + 100},
        {"cut in the middle", 64, 64, 54 + 192 * 32},
        {"cut by its last byte", 64, 64, 54 + 192 * 64 - 1},
        {"cut in a later read", 256, 400, 54 + 768 * 380},
    };
    TempDir dir;
    const std::string path = dir.File("cut.bmp");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        BmpForm s;
        s.w = row.w;
        s.h = row.h;
        for (int i = 0; i < row.w * row.h; i++) s.px.push_back(uint32_t(i * 2654435761u) >> 8);
        ASSERT_TRUE(WriteFileBytes(path, MakeBmpFile(s)));
        g_cutTo = row.cutTo;
        SetBmpReadHook(CutFile);
        MsgRecorder rec;
        SIZE size{};
        HBITMAP b = ReadBitmap(nullptr, path.c_str(), &size);
        SetBmpReadHook(nullptr);
        EXPECT_TRUE(rec.msgs.empty());
        if (row.cutTo < 0) {
            ASSERT_TRUE(b);
            EXPECT_EQ(ComparePics(PicPixels(b, row.w, row.h), s.px, row.w), "");
            DeleteObject(b);
            continue;
        }
        EXPECT_EQ(b, nullptr);
        b = ReadBitmap(nullptr, path.c_str(), &size);
        ASSERT_TRUE(b);
        EXPECT_EQ(size.cx, row.w);
        EXPECT_EQ(size.cy, row.h);
        DeleteObject(b);
    }
}

TEST(ReadBitmap, MissingFileIsSilent) {
    MsgRecorder rec;
    SIZE size{};
    EXPECT_EQ(ReadBitmap(nullptr, "/nonexistent/x.bmp", &size), nullptr);
    EXPECT_TRUE(rec.msgs.empty());
}

}  // namespace
