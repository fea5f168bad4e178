// Stamps: small decoration pictures laid over the canvas, in a list drawn first to last.
#pragma once

#include "platform/user/window.h"

struct StmpInfo {
    HBITMAP bmp;  // the stamp as read; owned by the stamp list
    int x, y;     // canvas position of the unturned stamp's top-left corner (may be negative)
    int width, height;
    int rot;      // 0 none, 1 quarter turn clockwise, 2 half turn, 3 quarter turn anticlockwise
    bool mirror;  // mirrored left-right before turning
    bool blend;   // drawn half-and-half with what lies below
};

// The stamps in drawing order: the last is on top. The storage always has room for at least
// one record once the list is made; it grows and shrinks by one record per stamp.
struct StmpList {
    StmpInfo* items;
    int count;
};

extern StmpList g_stmp;

// Makes the empty list (room for one record). 0 when the storage cannot be had.
int InitStmpList();
// Releases every stamp picture and the storage; the list is then unmade.
void FreeStmpList();

// Reads the picture at path and puts it on top, centred on the canvas. 1 on success; 0 for an
// empty path, a picture that cannot be read (silently) or storage that cannot grow (told).
int AddStmp(const char* path);
// AddStmp with the path of the selected slot of that tab.
int AddStmpFromList(int tab);
// Removes every stamp. 0 when the fresh storage cannot be had (told).
int ClearStmp();
// Removes the top stamp. 0 when there is none, or when the storage could not shrink (told; the
// stamp is gone all the same).
int DelStmp();

// The work area's operations on the list.
// The index of the topmost stamp whose occupied rectangle (turned with the stamp) holds the
// canvas point, or -1. Transparent pixels count: the whole rectangle is the target.
int HitStmp(int x, int y);
// Moves stamp `index` to the top; those above it move down one place and keep their order.
void TopStmp(int index);
// Puts the top stamp's unturned corner at (x, y), keeping its centre on the canvas.
void MoveStmp(int x, int y);
// The stamp dialog's commands on the top stamp: a quarter turn anticlockwise; a left-right
// mirror as seen on screen (an odd turn swaps with the other odd turn).
void RotStmp();
void MirStmp();

// The stamp dialog (template 148), modeless over the main window, acting on the top stamp.
INT_PTR StmpDCProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
// Replaces any open stamp dialog by a new one standing over the top stamp. 0 when it cannot be
// made (told).
int OpenStmpDlg();
