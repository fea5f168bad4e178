// Making thumbnails: the tabs' stores, white placeholders and the 70 x 54 fit of a picture.
#include <cstdint>

#include "app/appstate.h"
#include "browser/thumbs.h"
#include "image/readpic.h"
#include "platform/user/msgbox.h"
#include "ui/memsurf.h"

namespace {

// A 70 x 54 surface on a picture of the owner's screen, filled with `fill`. 0 with the reason's
// message in *why: the picture cannot be made (kWhyMake) or filled (kWhyFill).
enum { kWhyMake = 1, kWhyFill = 2 };
int MakeThumSurface(MemSurface* s, COLORREF fill, int* why) {
    if (!MakeMemSurface(s, kThumW, kThumH)) {
        *why = kWhyMake;
        return 0;
    }
    HBRUSH brush = CreateSolidBrush(fill);
    const RECT all{0, 0, kThumW, kThumH};
    const int filled = brush && FillRect(s->dc, &all, brush);
    DeleteObject(brush);
    if (!filled) {
        FreeMemSurface(s);
        *why = kWhyFill;
        return 0;
    }
    return 1;
}

// Appends (index < 0) or replaces a white picture, reporting under `caption`.
int PutWhiteImg(HWND owner, ThumList* list, int index, const char* caption, const char* putFail) {
    MemSurface s;
    int why = 0;
    if (!MakeThumSurface(&s, RGB(255, 255, 255), &why)) {
        MessageBoxA(
            owner,
            why == kWhyMake ? "ビットマップが作成できません" : "ビットマップが塗りつぶせません",
            caption, MB_OK);
        return 1;
    }
    HBITMAP bmp = TakeMemSurface(&s);
    const int put = index < 0 ? AddThumImg(list, bmp, CLR_INVALID) : SetThumImg(list, index, bmp);
    if (!put) {
        DeleteObject(bmp);
        MessageBoxA(owner, putFail, caption, MB_OK);
    }
    return 1;
}

}  // namespace

int InitThumImgList() {
    for (int t = 0; t < kTabCount; t++) {
        const bool folder = g_app.TabFolder[t][0] != 0;
        g_app.imgLists[t] = CreateThumList(folder, folder ? 10 : 11);
        if (!g_app.imgLists[t]) {
            MessageBoxA(nullptr, "イメージリスト作成失敗", "InitThumImgList-Error", MB_OK);
            return 0;
        }
    }
    return 1;
}

int AddWhiteImg(HWND owner, ThumList* list) {
    return PutWhiteImg(owner, list, -1, "AddWhiteImg-Error", "イメージリスト追加失敗");
}

int SetWhiteImg(HWND owner, ThumList* list, int index) {
    return PutWhiteImg(owner, list, index, "SetWhiteImg-Error", "イメージリスト設定失敗");
}

RECT FitThumRect(int w, int h) {
    int tw = w, th = h;
    if (w > kThumW || h > kThumH) {
        // The side that overflows more decides; equal overflows fit the height. Whole numbers
        // keep exact quotients exact: w x (54 / h) in floating point makes a square 53 wide.
        if (int64_t(h) * kThumW >= int64_t(w) * kThumH) {
            th = kThumH;
            tw = int(int64_t(w) * kThumH / h);
        } else {
            tw = kThumW;
            th = int(int64_t(h) * kThumW / w);
        }
    }
    const int x = (kThumW - tw) / 2, y = (kThumH - th) / 2;
    return RECT{x, y, x + tw, y + th};
}

int CreateImgList(HWND owner, const char* path, ThumList* list, int index) {
    SIZE size;
    HBITMAP pic = ReadPicFile(owner, path, &size);
    if (!pic) return 0;
    BITMAP info{};
    GetObjectA(pic, sizeof info, &info);
    // The top-left pixel: a stamp's uniform background, left out when the thumbnail is drawn.
    const uint32_t corner = *static_cast<const uint32_t*>(info.bmBits);
    const COLORREF key = RGB(corner >> 16 & 0xFF, corner >> 8 & 0xFF, corner & 0xFF);
    MemSurface s;
    int why = 0;
    if (!MakeThumSurface(&s, index < 0 ? key : RGB(255, 255, 255), &why)) {
        MessageBoxA(owner, "ビットマップ作成失敗", "CreateImgList-Error", MB_OK);
        DeleteObject(pic);
        return 1;
    }
    HDC src = CreateCompatibleDC(s.dc);
    HGDIOBJ old = SelectObject(src, pic);
    const RECT r = FitThumRect(size.cx, size.cy);
    SetStretchBltMode(s.dc, COLORONCOLOR);
    StretchBlt(s.dc, r.left, r.top, r.right - r.left, r.bottom - r.top, src, 0, 0, size.cx, size.cy,
               SRCCOPY);
    SelectObject(src, old);
    DeleteDC(src);
    DeleteObject(pic);
    HBITMAP bmp = TakeMemSurface(&s);
    const int put = index < 0 ? AddThumImg(list, bmp, key) : SetThumImg(list, index, bmp);
    if (!put) DeleteObject(bmp);
    return 1;
}
