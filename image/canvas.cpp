// Canvas composition.
#include "image/canvas.h"

#include "image/stretchrot.h"
#include "image/workbmp.h"

int DrawCanvas(HDC canvas, const StmpInfo* stamps, int count) {
    HDC mem = CreateCompatibleDC(canvas);
    if (!mem) return 0;
    int ok = 1;
    if (WorkBmp.loaded && WorkBmp.viewBmp) {
        HGDIOBJ old = SelectObject(mem, WorkBmp.viewBmp);
        BitBlt(canvas, 0, 0, kCanvasW, kCanvasH, mem, WorkBmp.originX, WorkBmp.originY, SRCCOPY);
        SelectObject(mem, old);
    } else {
        PatBlt(canvas, 0, 0, kCanvasW, kCanvasH, WHITENESS);
    }
    for (int i = 0; i < count; i++) {
        const StmpInfo& s = stamps[i];
        HGDIOBJ old = SelectObject(mem, s.bmp);
        ok &= StretchRotBlt(canvas, s.x, s.y, s.width, s.height, mem, 0, 0, s.width, s.height,
                            s.rot, s.mirror, 1, 1, s.blend);
        SelectObject(mem, old);
    }
    DeleteDC(mem);
    return ok;
}

HBITMAP MakeCanvasPic() {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP pic = CreateCompatibleBitmap(screen, kCanvasW, kCanvasH);
    ReleaseDC(nullptr, screen);
    int ok = dc && pic;
    if (ok) {
        HGDIOBJ old = SelectObject(dc, pic);
        ok = DrawCanvas(dc, g_stmp.items, g_stmp.count);
        SelectObject(dc, old);
    }
    DeleteDC(dc);
    if (ok) return pic;
    DeleteObject(pic);
    return nullptr;
}
