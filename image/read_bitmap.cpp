// The program's own BMP reader: header, palette and the pixel block, turned into a device
// picture by the platform's DIB conversion.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "image/readpic.h"
#include "platform/kernel/fileapi.h"
#include "platform/user/msgbox.h"
#include "platform/user/window.h"

namespace {

constexpr const char* kCaption = "ReadBitmap-Error";
constexpr const char* kMsgSize = "ヘッダ情報が不正です(biSize)";
constexpr const char* kMsgBits = "ヘッダ情報が不正です(biBitCount)";
constexpr const char* kMsgMem = "メモリが確保できませんでした";
constexpr const char* kMsgDC = "デバイスコンテキストが作成できません";

// The largest pixel block taken (the original 32-bit program could never allocate more).
constexpr int64_t kMaxPixBytes = int64_t(1) << 30;
constexpr int64_t kMaxPixels = int64_t(1) << 28;

struct FileCloser {
    void operator()(FILE* f) const { fclose(f); }
};
struct MemFree {
    void operator()(void* p) const { free(p); }
};

uint32_t Le32(const BYTE* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}
uint16_t Le16(const BYTE* p) {
    return uint16_t(p[0] | (p[1] << 8));
}

// Pixel rows are read this many bytes at a time (at least a row): a block stays in the cache
// while it is converted, and a photo's block of tens of megabytes is never held whole.
constexpr int64_t kBlockBytes = int64_t(1) << 18;

void (*g_bmpReadHook)(const char* path);

// Where the rows of the pixel block lie in the file, and what the file held when it was opened.
struct PixRows {
    int fd;
    int64_t off;       // the first row's offset
    int64_t fileSize;  // at the open
    int64_t rowBytes;
    int64_t found;  // rows the file reached at the open, the last one possibly cut
    const BITMAPINFO* info;
};

// Reads bytes at off into buf with pread: a file cut meanwhile by another program is a short
// read here, where a mapping of it would fault and end the program. 1 when all came.
int ReadAt(int fd, BYTE* buf, int64_t bytes, int64_t off) {
    while (bytes > 0) {
        const ssize_t n = pread(fd, buf, size_t(bytes), off);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return 0;
        buf += n;
        bytes -= n;
        off += n;
    }
    return 1;
}

// Converts the found rows into bmp, a block of blockRows rows at a time through buf. Bytes past
// what the file held at the open read as zero (a row the file cuts ends in zero bytes). 0 when
// the file now holds less than it did then, or a block cannot be converted.
int ConvPixRows(const PixRows& r, BYTE* buf, int64_t blockRows, HDC dc, HBITMAP bmp) {
    for (int64_t first = 0; first < r.found; first += blockRows) {
        const int64_t n = std::min(blockRows, r.found - first);
        const int64_t at = r.off + first * r.rowBytes;
        const int64_t want = std::min(n * r.rowBytes, r.fileSize - at);
        if (!ReadAt(r.fd, buf, want, at)) return 0;
        memset(buf + want, 0, size_t(n * r.rowBytes - want));
        if (SetDIBits(dc, bmp, UINT(first), UINT(n), buf, r.info, DIB_RGB_COLORS) != n) return 0;
    }
    return 1;
}

HBITMAP Refuse(HWND owner, const char* text) {
    MessageBoxA(owner, text, kCaption, MB_OK);
    return nullptr;
}

}  // namespace

// Reads a BMP with an info (40-byte) or core (12-byte) header, bottom-up or top-down. Returns
// the picture and its size, or none: silently when the file is missing, not a BMP, shorter than
// its headers say or cut while it is read; with a message for a bad header or sizes that cannot
// be allocated. A file already cut short when it is opened gives the rows it reaches.
HBITMAP ReadBitmap(HWND owner, const char* path, SIZE* size) {
    int64_t fileSize = 0;
    std::unique_ptr<FILE, FileCloser> f(OpenPlainFile(path, &fileSize));
    if (!f) return nullptr;

    BYTE fh[14];
    if (fread(fh, 1, sizeof fh, f.get()) != sizeof fh || Le16(fh) != 0x4D42) return nullptr;
    const uint32_t offBits = Le32(fh + 10);

    BYTE ih[40] = {};
    const size_t got = fread(ih, 1, sizeof ih, f.get());
    if (got < 4) return nullptr;
    const uint32_t biSize = Le32(ih);
    int64_t width, height;
    int bitCount;
    uint32_t clrUsed, compression;
    int entry;
    if (biSize == 40) {
        if (got < 40) return nullptr;
        width = (int32_t)Le32(ih + 4);
        height = (int32_t)Le32(ih + 8);
        bitCount = Le16(ih + 14);
        compression = Le32(ih + 16);
        clrUsed = Le32(ih + 32);
        entry = 4;
    } else if (biSize == 12) {
        if (got < 12) return nullptr;
        width = Le16(ih + 4);
        height = Le16(ih + 6);
        bitCount = Le16(ih + 10);
        compression = 0;
        clrUsed = 0;
        entry = 3;
        if (fseek(f.get(), 14 + 12, SEEK_SET) != 0) return nullptr;
    } else {
        return Refuse(owner, kMsgSize);
    }

    int64_t colors = clrUsed;
    if (colors == 0) {
        switch (bitCount) {
            case 1: colors = 2; break;
            case 4: colors = 16; break;
            case 8: colors = 256; break;
            case 15: bitCount = 16; break;
            case 16:
            case 24:
            case 32: break;
            default: return Refuse(owner, kMsgBits);
        }
    }
    // A palette or a pixel block that starts past the end of the file: nothing to read.
    const int64_t palBytes = colors * entry;
    if (14 + biSize + palBytes > fileSize || offBits > fileSize) return nullptr;

    // Header and palette in one block, as the DIB conversion expects them.
    std::unique_ptr<BYTE, MemFree> info((BYTE*)malloc(biSize + palBytes));
    if (!info) return Refuse(owner, kMsgMem);
    memcpy(info.get(), ih, biSize);
    // A 15-bit file is read as 16-bit.
    if (biSize == 40 && bitCount == 16) info.get()[14] = 16;
    if (fread(info.get() + biSize, 1, palBytes, f.get()) != (size_t)palBytes) return nullptr;

    // Rows are padded to 4 bytes. A top-down file (negative height) is read as well.
    const int64_t rows = height < 0 ? -height : height;
    const int64_t rowBytes = (((width * bitCount + 7) / 8 + 3) / 4) * 4;
    if (width <= 0 || rows == 0 || width > kMaxPixels || rows > kMaxPixels ||
        width * rows > kMaxPixels || rowBytes * rows > kMaxPixBytes)
        return Refuse(owner, kMsgMem);
    // The conversion takes uncompressed rows of these depths only. Asked here, so that a file
    // cut before its first row fails as the whole file would.
    if (compression != 0 || (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 &&
                             bitCount != 24 && bitCount != 32))
        return nullptr;
    // A file cut short gives the rows it reaches; the others are left as a fresh picture
    // holds them.
    const int64_t found = std::min(rows, (fileSize - offBits + rowBytes - 1) / rowBytes);
    const int64_t blockRows = std::min(found, std::max<int64_t>(kBlockBytes / rowBytes, 1));
    std::unique_ptr<BYTE, MemFree> buf((BYTE*)malloc(size_t(blockRows * rowBytes)));
    if (blockRows > 0 && !buf) return Refuse(owner, kMsgMem);
    if (g_bmpReadHook) g_bmpReadHook(path);

    HDC dc = GetDC(nullptr);
    if (!dc) return Refuse(owner, kMsgDC);
    // A picture whose rows the program reaches directly (brightness works on them).
    const BITMAPINFO top = TopDownInfo(int(width), int(rows), 32);
    void* px = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &top, DIB_RGB_COLORS, &px, nullptr, 0);
    const PixRows src = {fileno(f.get()), offBits, fileSize,
                         rowBytes,        found,   (const BITMAPINFO*)info.get()};
    if (bmp && !ConvPixRows(src, buf.get(), blockRows, dc, bmp)) {
        DeleteObject(bmp);
        bmp = nullptr;
    }
    ReleaseDC(nullptr, dc);
    if (bmp) *size = SIZE{(LONG)width, (LONG)rows};
    return bmp;
}

void SetBmpReadHook(void (*hook)(const char* path)) {
    g_bmpReadHook = hook;
}
