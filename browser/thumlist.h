// A tab's thumbnail store: up to eleven 70 x 54 pictures, each drawn with or without a
// transparent colour.
#pragma once

#include "platform/gdi/gdi.h"

constexpr int kThumW = 70;
constexpr int kThumH = 54;
constexpr int kThumMax = 11;

struct ThumList {
    bool masked;  // pictures may carry a transparent colour (the stamp tabs)
    int cap;      // room: 10 with a transparent colour, 11 without
    int count;
    HBITMAP pics[kThumMax];   // owned by the store
    COLORREF keys[kThumMax];  // each picture's transparent colour, CLR_INVALID for none
};

// A store for `cap` pictures (at most kThumMax); none when memory runs out.
ThumList* CreateThumList(bool masked, int cap);
// Releases the store and its pictures; none is ignored.
void FreeThumList(ThumList* list);
// Each function below takes none as a store that holds nothing and has no room.
// Removes every picture.
void ClearThumList(ThumList* list);
// Appends bmp, which the store then owns, with its transparent colour (ignored by a store
// without them). 0 when the store is full: bmp stays the caller's.
int AddThumImg(ThumList* list, HBITMAP bmp, COLORREF key);
// Puts bmp, which the store then owns, in place of picture `index`, opaque. 0 when there is no
// such picture: bmp stays the caller's.
int SetThumImg(ThumList* list, int index, HBITMAP bmp);
// Draws picture `index` with its top-left corner at (x, y) of dc; its transparent pixels leave
// dc as it was. 0 when there is no such picture.
int DrawThumImg(const ThumList* list, int index, HDC dc, int x, int y);
