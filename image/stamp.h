// A stamp: a small decoration picture laid over the canvas.
#pragma once

#include "platform/gdi.h"

struct StmpInfo {
    HBITMAP bmp;  // the stamp as read; owned by the stamp list
    int x, y;     // canvas position of the unturned stamp's top-left corner (may be negative)
    int width, height;
    int rot;      // 0 none, 1 quarter turn clockwise, 2 half turn, 3 quarter turn anticlockwise
    bool mirror;  // mirrored left-right before turning
    bool blend;   // drawn half-and-half with what lies below
};
