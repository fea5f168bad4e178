// Window shapes from skin bitmaps: every pixel not of the key colour (the top-left pixel's)
// belongs to the shape, gathered as one-row runs.
#include "ui/bmprgn.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "platform/user/msgbox.h"
#include "platform/user/window.h"

namespace {

constexpr const char* kCaption = "GetBmpRgn";
constexpr const char* kMsgDC = "デバイスコンテキストが取得できませんでした。";
constexpr const char* kMsgMem = "メモリが確保できませんでした";

// Adds the run [x0, x1) of row y to rgn.
void AddRunRgn(HRGN rgn, int x0, int y, int x1) {
    HRGN run = CreateRectRgn(x0, y, x1, y + 1);
    CombineRgn(rgn, rgn, run, RGN_OR);
    DeleteObject(run);
}

}  // namespace

HRGN GetBmpRgn(HWND wnd, HBITMAP bmp, int width, int height, int xOffset, int yOffset) {
    HDC dc = GetDC(wnd);
    if (!dc) {
        MessageBoxA(wnd, kMsgDC, kCaption, MB_OK);
        return nullptr;
    }
    // 24-bit rows padded to 4 bytes; sizes whose buffer would not fit an int are refused.
    const int64_t stride = (3 * int64_t(width) + 3) / 4 * 4;
    BYTE* buf = nullptr;
    if (width > 0 && height > 0 && height <= INT_MAX / stride)
        buf = (BYTE*)calloc(size_t(stride * height), 1);
    if (!buf) {
        MessageBoxA(wnd, kMsgMem, kCaption, MB_OK);
        ReleaseDC(wnd, dc);
        return nullptr;
    }
    BITMAPINFO bi = TopDownInfo(width, height, 24);
    if (GetDIBits(dc, bmp, 0, height, buf, &bi, DIB_RGB_COLORS) == 0) {
        char text[128];
        // The platform keeps no last error code.
        snprintf(text, sizeof text, "ビットマップからバッファへ書込み失敗 %d", 0);
        MessageBoxA(wnd, text, kCaption, MB_OK);
        free(buf);
        ReleaseDC(wnd, dc);
        return nullptr;
    }
    const BYTE* key = buf;
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < height; y++) {
        const BYTE* p = buf + size_t(y) * size_t(stride);
        int run = 0;
        for (int x = 0; x < width; x++, p += 3) {
            if (p[0] != key[0] || p[1] != key[1] || p[2] != key[2]) {
                run++;
            } else if (run > 0) {
                AddRunRgn(rgn, x - run, y, x);
                run = 0;
            }
        }
        if (run > 0) AddRunRgn(rgn, width - run, y, width);
    }
    free(buf);
    ReleaseDC(wnd, dc);
    if (rgn) OffsetRgn(rgn, xOffset, yOffset);
    return rgn;
}

HRGN MakeRndRgn(int width, int height) {
    return CreateRoundRectRgn(0, 0, width + 1, height + 1, 25, 25);
}

int SetRgnCopy(HWND wnd, HRGN rgn) {
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    if (!shape || CombineRgn(shape, rgn, nullptr, RGN_COPY) == RGN_ERROR) {
        DeleteObject(shape);
        return 0;
    }
    SetWindowRgn(wnd, shape, TRUE);
    return 1;
}
