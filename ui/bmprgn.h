// Window shapes: from a skin bitmap's colour key and the rounded dialog skin.
#pragma once

#include "platform/gdi/region.h"

// The pixels of the width x height bitmap that differ from its top-left pixel, moved by
// (xOffset, yOffset); an empty region when there are none, none (after a message box over wnd)
// on failure. The caller releases the region with DeleteObject.
HRGN GetBmpRgn(HWND wnd, HBITMAP bmp, int width, int height, int xOffset, int yOffset);

// Covers exactly the width x height skin of a dialog with its corners cut.
HRGN MakeRndRgn(int width, int height);

// Gives wnd a copy of the shape rgn, which stays the caller's (a shape built once for a dialog
// that opens many times). 0 when the copy cannot be made: the window keeps its rectangle.
int SetRgnCopy(HWND wnd, HRGN rgn);
