// The main window's picture commands, as far as they concern the work image.
#include "image/workbmp.h"

int ReloadWorkBmp() {
    return InitWorkBmp(nullptr);
}

void ZoomInWorkBmp() {
    PowWorkBmp(+1);
    ClipWorkOrigin();
}

// A clamped zoom-out takes the centre back from what the canvas shows, so that later zooms and
// turns pivot about it.
void ZoomOutWorkBmp() {
    PowWorkBmp(-1);
    if (ClipWorkOrigin()) TakeWorkCenter();
}

void PanWorkBmp(int dx, int dy) {
    WorkBmp.originX -= dx;
    WorkBmp.originY -= dy;
    ClipWorkOrigin();
}

void TakeWorkCenter() {
    SetWorkCenter(WorkBmp.originX + kCanvasCx, WorkBmp.originY + kCanvasCy);
}

// A quarter turn anticlockwise on screen.
void RotWorkBmp() {
    if (!WorkBmp.loaded) return;
    WorkBmp.rot = (WorkBmp.rot + 3) % 4;
    SetWorkOrigin();
    PowWorkBmp(0);
    ClipWorkOrigin();
}

// Mirrors left-right as the user sees it: with an odd turn, mirroring first swaps the turns.
void MirWorkBmp() {
    if (!WorkBmp.loaded) return;
    WorkBmp.mirror = !WorkBmp.mirror;
    if (WorkBmp.rot & 1) WorkBmp.rot = (WorkBmp.rot + 2) % 4;
    SetWorkOrigin();
    PowWorkBmp(0);
}
