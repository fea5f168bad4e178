// Stamps: small decoration pictures laid over the canvas, in a list drawn first to last.
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

// The stamps in drawing order: the last is on top.
struct StmpList {
    StmpInfo* items;
    int count;
};

extern StmpList g_stmp;

// The work area's operations on the list.
// The index of the topmost stamp whose occupied rectangle (turned with the stamp) holds the
// canvas point, or -1. Transparent pixels count: the whole rectangle is the target.
int HitStmp(int x, int y);
// Moves stamp `index` to the top; those above it move down one place and keep their order.
void TopStmp(int index);
// Puts the top stamp's unturned corner at (x, y), keeping its centre on the canvas.
void MoveStmp(int x, int y);
