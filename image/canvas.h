// The canvas: the 120 x 130 phone picture that is painted, previewed, saved and sent.
#pragma once

#include "image/stamp.h"
#include "platform/gdi.h"

// Composes the canvas on a 120 x 130 surface: the view picture's window at the origin (white
// when nothing is loaded), then the stamps in list order, keyed and centred. 1 on success.
int DrawCanvas(HDC canvas, const StmpInfo* stamps, int count);
