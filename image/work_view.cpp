// The view picture and the canvas window into it: zooming, the origin and the centre.
#include <algorithm>
#include <cmath>

#include "app/appstate.h"
#include "image/stretchrot.h"
#include "image/workbmp.h"
#include "platform/user/msgbox.h"

namespace {

constexpr double kZoomUp = 1.1;
constexpr double kZoomDown = 0.9090909090909091;

bool OddRot() {
    return WorkBmp.rot & 1;
}
// The zoomed picture's size before turning. At least one pixel each way: under the view
// budget's zoom cap a very thin picture zooms to less than a pixel, and the centre is taken as
// a fraction of these sizes.
int ZoomedW() {
    return std::max(1, int(std::trunc(WorkBmp.adjW * double(WorkBmp.zoom))));
}
int ZoomedH() {
    return std::max(1, int(std::trunc(WorkBmp.adjH * double(WorkBmp.zoom))));
}
// The picture's size on the view (turned when the rotation is odd).
int ViewPicW() {
    return OddRot() ? ZoomedH() : ZoomedW();
}
int ViewPicH() {
    return OddRot() ? ZoomedW() : ZoomedH();
}

// Draws the adjusted picture zoomed, mirrored and turned at (130, 130) on a white view.
int DrawWorkView(HDC screen) {
    const int w = WorkBmp.adjW, h = WorkBmp.adjH;
    HDC view = CreateCompatibleDC(screen), adj = CreateCompatibleDC(screen);
    HGDIOBJ oldView = SelectObject(view, WorkBmp.viewBmp);
    HGDIOBJ oldAdj = SelectObject(adj, WorkBmp.adjBmp);
    PatBlt(view, 0, 0, WorkBmp.viewW, WorkBmp.viewH, WHITENESS);
    const int ok = StretchRotBlt(view, kViewMargin, kViewMargin, ZoomedW(), ZoomedH(), adj, 0, 0, w,
                                 h, WorkBmp.rot, WorkBmp.mirror, 0, 0, 0);
    SelectObject(view, oldView);
    SelectObject(adj, oldAdj);
    DeleteDC(view);
    DeleteDC(adj);
    return ok;
}

}  // namespace

int PowWorkBmp(int step) {
    if (!WorkBmp.loaded) return 0;
    const float old = WorkBmp.zoom;
    if (step < 0) {
        WorkBmp.zoom = float(WorkBmp.zoom * kZoomDown);
        if (WorkBmp.zoom < WorkBmp.minZoom) WorkBmp.zoom = WorkBmp.minZoom;
    } else if (step > 0) {
        WorkBmp.zoom = float(WorkBmp.zoom * kZoomUp);
        if (WorkBmp.zoom > WorkBmp.maxZoom) WorkBmp.zoom = WorkBmp.maxZoom;
    }
    if (step != 0 && WorkBmp.zoom == old) return 0;

    DeleteObject(WorkBmp.viewBmp);
    WorkBmp.viewBmp = nullptr;
    SetWorkOrigin();
    WorkBmp.viewW = ViewPicW() + 2 * kViewMargin;
    WorkBmp.viewH = ViewPicH() + 2 * kViewMargin;
    HDC screen = GetDC(nullptr);
    WorkBmp.viewBmp = CreateCompatibleBitmap(screen, WorkBmp.viewW, WorkBmp.viewH);
    if (!WorkBmp.viewBmp) {
        ReleaseDC(nullptr, screen);
        MessageBoxA(g_app.mainWnd, "ビットマップ作成失敗", "PowWorkBmp-Error", MB_OK);
        return 0;
    }
    DrawWorkView(screen);
    ReleaseDC(nullptr, screen);
    return 1;
}

void SetWorkOrigin() {
    const double fx = WorkBmp.mirror ? 1.0 - WorkBmp.cx : WorkBmp.cx;
    const double fy = WorkBmp.cy;
    double vx, vy;
    switch (WorkBmp.rot) {
        case 1: vx = 1 - fy, vy = fx; break;
        case 2: vx = 1 - fx, vy = 1 - fy; break;
        case 3: vx = fy, vy = 1 - fx; break;
        default: vx = fx, vy = fy; break;
    }
    WorkBmp.originX = int(std::trunc(vx * ViewPicW() + kViewMargin - kCanvasCx));
    WorkBmp.originY = int(std::trunc(kViewMargin + ViewPicH() * vy - kCanvasCy));
}

void SetWorkCenter(int x, int y) {
    const double gx = double(x - kViewMargin) / ViewPicW();
    const double gy = double(y - kViewMargin) / ViewPicH();
    double fx, fy;
    switch (WorkBmp.rot) {
        case 1: fx = gy, fy = 1 - gx; break;
        case 2: fx = 1 - gx, fy = 1 - gy; break;
        case 3: fx = 1 - gy, fy = gx; break;
        default: fx = gx, fy = gy; break;
    }
    // A centre that cannot be computed keeps the old one: a non-finite centre would make the
    // origin's conversion to an integer undefined.
    const double cx = WorkBmp.mirror ? 1 - fx : fx;
    if (std::isfinite(cx)) WorkBmp.cx = float(cx);
    if (std::isfinite(fy)) WorkBmp.cy = float(fy);
}

int ClipWorkOrigin() {
    if (!WorkBmp.loaded) return 0;
    int changed = 0;
    if (WorkBmp.originX + (kCanvasW - 1) < kViewMargin) {
        WorkBmp.originX = kViewMargin - (kCanvasW - 1);
        changed = 1;
    } else if (WorkBmp.originX > WorkBmp.viewW - (kViewMargin + 1)) {
        WorkBmp.originX = WorkBmp.viewW - (kViewMargin + 1);
        changed = 1;
    }
    if (WorkBmp.originY + (kCanvasH - 1) < kViewMargin) {
        WorkBmp.originY = kViewMargin - (kCanvasH - 1);
        changed = 1;
    } else if (WorkBmp.originY > WorkBmp.viewH - (kViewMargin + 1)) {
        WorkBmp.originY = WorkBmp.viewH - (kViewMargin + 1);
        changed = 1;
    }
    return changed;
}
