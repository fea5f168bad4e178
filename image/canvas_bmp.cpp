// The BMP writer for the canvas: file header, info header and palette, bottom-up rows.
#include <cstdlib>
#include <cstring>

#include "image/savepic.h"
#include "image/workbmp.h"
#include "platform/kernel/fileapi.h"
#include "platform/user/window.h"

namespace {

void PutLe16(BYTE* p, uint32_t v) {
    p[0] = BYTE(v);
    p[1] = BYTE(v >> 8);
}

void PutLe32(BYTE* p, uint32_t v) {
    PutLe16(p, v);
    PutLe16(p + 2, v >> 16);
}

}  // namespace

// The whole file is built in memory and written last, so a failure leaves no half file.
int WriteCanvasBmp(const char* path, HBITMAP pic) {
    BITMAP bm{};
    if (!pic || !GetObjectA(pic, sizeof bm, &bm)) return 0;
    const int d = bm.bmPlanes * bm.bmBitsPixel;
    if (d != 1 && d != 4 && d != 8 && d != 16 && d != 24 && d != 32) return 0;
    const size_t rowSize = size_t((kCanvasW * d + 31) / 32) * 4;
    const size_t palBytes = d <= 8 ? size_t(4) << d : 0;
    const size_t offBits = 14 + 40 + palBytes, pixBytes = rowSize * kCanvasH;
    BYTE* file = static_cast<BYTE*>(calloc(1, offBits + pixBytes));
    // The header is built apart: at offset 14 of the file it would not be aligned.
    BITMAPINFO* info = static_cast<BITMAPINFO*>(calloc(1, sizeof(BITMAPINFO) + palBytes));
    if (!file || !info) {
        free(file);
        free(info);
        return 0;
    }
    info->bmiHeader.biSize = 40;
    info->bmiHeader.biWidth = kCanvasW;
    info->bmiHeader.biHeight = kCanvasH;  // positive: rows bottom-up
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = WORD(d);
    info->bmiHeader.biCompression = BI_RGB;
    // The pixel fetch fills the palette behind the info header.
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, pic, 0, kCanvasH, file + offBits, info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);

    file[0] = 'B';
    file[1] = 'M';
    PutLe32(file + 2, uint32_t(offBits + pixBytes));
    PutLe32(file + 10, uint32_t(offBits));
    memcpy(file + 14, info, 40 + palBytes);
    const int ok = rows == kCanvasH && WriteWholeFile(path, file, offBits + pixBytes, 0666);
    free(info);
    free(file);
    return ok;
}
