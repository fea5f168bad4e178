#include "ui/memsurf.h"

int MakeMemSurface(MemSurface* s, int w, int h) {
    HDC screen = GetDC(nullptr);
    s->dc = CreateCompatibleDC(screen);
    s->bmp = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    if (!s->dc || !s->bmp) {
        DeleteDC(s->dc);
        DeleteObject(s->bmp);
        *s = MemSurface{};
        return 0;
    }
    s->old = SelectObject(s->dc, s->bmp);
    return 1;
}

void FreeMemSurface(MemSurface* s) {
    if (!s->dc) return;
    SelectObject(s->dc, s->old);
    DeleteDC(s->dc);
    DeleteObject(s->bmp);
    *s = MemSurface{};
}

HBITMAP TakeMemSurface(MemSurface* s) {
    HBITMAP bmp = s->bmp;
    SelectObject(s->dc, s->old);
    DeleteDC(s->dc);
    *s = MemSurface{};
    return bmp;
}

int DrawSkin(HDC dc, HDC mem, HBITMAP bmp, int x, int y, int w, int h) {
    if (!bmp) return 0;
    HGDIOBJ old = SelectObject(mem, bmp);
    const BOOL ok = BitBlt(dc, x, y, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    return ok;
}

void PaintSkin(HWND wnd, HBITMAP skin, int w, int h) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    HDC mem = CreateCompatibleDC(dc);
    DrawSkin(dc, mem, skin, 0, 0, w, h);
    DeleteDC(mem);
    EndPaint(wnd, &ps);
}
