// The canvas: the 120 x 130 phone picture that is painted, previewed, saved and sent.
#pragma once

#include "image/stamp.h"
#include "platform/gdi/gdi.h"

// Composes the canvas on a 120 x 130 surface: the view picture's window at the origin (white
// when nothing is loaded), then the stamps in list order, keyed and centred. 1 on success.
int DrawCanvas(HDC canvas, const StmpInfo* stamps, int count);
// A new 120 x 130 picture holding the canvas composition of the work image and the stamp list,
// the same as the work area shows, also when the work area is not on the screen. None when the
// picture cannot be made. The caller releases it.
HBITMAP MakeCanvasPic();
