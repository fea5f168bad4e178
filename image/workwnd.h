// The work area: the 120 x 130 child window of the main window that shows the canvas, pans the
// photo and drags stamps with the mouse, and opens a picture file dropped on it.
#pragma once

#include "platform/user/window.h"
#include "ui/memsurf.h"

struct WorkWndInfo {
    MemSurface canvas;  // each paint composes the canvas here, then copies it out
    bool dragging;      // the left button went down on the work area and is still down
    bool stmpDrag;      // ... on a stamp (else the drag pans the photo)
    POINT last;         // pointer position of the last press or move
    POINT grab;         // pointer minus the dragged stamp's corner
    int stmpIdx;        // the dragged stamp: always the top one
    HWND stmpDlg;       // the open stamp dialog, or none
};

extern WorkWndInfo g_work;

LRESULT MainWorkProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

// Invalidates the work area, erasing first or not; it composes the canvas when it paints.
void RepaintWork(BOOL erase);
// A new 120 x 130 picture holding the canvas as the work area shows it; none when the work area
// has no canvas or the picture cannot be made. The caller releases it.
HBITMAP CopyWorkCanvas();
