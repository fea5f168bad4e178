// An off-screen drawing surface: a memory surface with a picture of its own selected, for windows
// that compose their look before they show it; and the copy of a skin picture onto a surface.
#pragma once

#include "platform/gdi/gdi.h"
#include "platform/user/window.h"

struct MemSurface {
    HDC dc;  // none when the surface could not be made
    HBITMAP bmp;
    HGDIOBJ old;
};

// Makes a w x h surface in the display's format. 0 leaves *s empty (nothing to release).
int MakeMemSurface(MemSurface* s, int w, int h);
// Releases the surface and empties *s; an empty one is left as it is.
void FreeMemSurface(MemSurface* s);
// Ends the surface, empties *s and hands its picture to the caller.
HBITMAP TakeMemSurface(MemSurface* s);

// Copies a w x h picture to (x, y) of dc through the memory surface mem; 0 when it cannot.
int DrawSkin(HDC dc, HDC mem, HBITMAP bmp, int x, int y, int w, int h);
// A skinned window's whole paint: its w x h skin at (0, 0).
void PaintSkin(HWND wnd, HBITMAP skin, int w, int h);
