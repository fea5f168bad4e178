// Reading a picture into the work image and fitting it to the canvas; emptying the work image.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/appstate.h"
#include "image/readpic.h"
#include "image/workbmp.h"
#include "platform/user/msgbox.h"
#include "ui/msgdlg.h"

WorkImage WorkBmp;

namespace {

constexpr const char* kMsgAspect =
    "画像の縦横比が大きすぎるため、正しく表示できない可能性があります";

// The largest zoom at which the view of a w x h picture, margins included, keeps to the view
// budget: the root of w h z^2 + 2 m (w + h) z + (2 m)^2 = budget, made a hair smaller so that
// its float rounding cannot step over. A side that zooms to less than a pixel still takes one
// on the view, which leaves (1 + 2 m) (n z + 2 m) = budget for the other side n.
double GetViewZoomCap(int w, int h) {
    const double a = double(w) * h, b = 2.0 * kViewMargin * (double(w) + h);
    const double c = 4.0 * kViewMargin * kViewMargin - kViewBudget;
    double z = (-b + std::sqrt(b * b - 4 * a * c)) / (2 * a);
    const double rest = kViewBudget / (1 + 2 * kViewMargin) - 2 * kViewMargin;
    if (w * z < 1)
        z = rest / h;
    else if (h * z < 1)
        z = rest / w;
    return z * (1 - 1e-6);
}

}  // namespace

// Cover fit: the picture fills the canvas and the overflow is cropped. Zooms are 32-bit floats
// computed in double precision; the product w x h stays an integer.
void FitWorkZoom(int w, int h, WorkZoom* z) {
    float s =
        h * 0.007692307692307693 >= w * 0.008333333333333333 ? float(120.0 / w) : float(130.0 / h);
    // A truncated side one pixel short of the canvas gets a hair more zoom.
    if (std::trunc(w * double(s)) < kCanvasW || std::trunc(h * double(s)) < kCanvasH)
        s = float(s * 1.00841);
    const double P = double(int64_t(w) * h);
    float mx;
    bool reduced = false;
    if (double(s) * s * P > kPixBudget) {
        s = float(std::sqrt(kPixBudget / P));
        mx = s;
        reduced = true;
    } else {
        mx = s > 1 ? float(4.0 * s) : 4.0f;
        if (double(mx) * mx * P > kPixBudget) mx = float(std::sqrt(kPixBudget / P));
    }
    // The view's margins are outside the pixel budget: they bound the zoom of thin pictures.
    const double cap = GetViewZoomCap(w, h);
    if (mx > cap) {
        mx = float(cap);
        if (s > mx) {
            s = mx;
            reduced = true;
        }
    }
    z->warn = reduced && !(w * double(s) > kCanvasW && h * double(s) > kCanvasH);
    float mn = float(2.0 / (w < h ? w : h));
    if (mn > s) mn = s;
    z->fit = s;
    z->max = mx;
    z->min = mn;
}

int InitWorkBmp(const char* path) {
    char file[MAX_PATH];
    if (path) {
        // A longer path would be cut and name another file.
        if (strlen(path) >= (size_t)MAX_PATH) return 0;
        memcpy(file, path, strlen(path) + 1);
    } else if (WorkBmp.loaded) {
        memcpy(file, WorkBmp.path, MAX_PATH);
    } else {
        return 0;
    }
    SIZE size;
    HBITMAP src = ReadPicFile(g_app.workWnd, file, &size);
    if (!src) return 0;

    DeleteObject(WorkBmp.srcBmp);
    DeleteObject(WorkBmp.adjBmp);
    DeleteObject(WorkBmp.viewBmp);
    WorkBmp.viewBmp = nullptr;
    WorkBmp.srcBmp = src;
    WorkBmp.srcW = size.cx;
    WorkBmp.srcH = size.cy;
    // Brightness works on the rows of both pictures directly.
    BITMAP bm{};
    GetObjectA(src, sizeof bm, &bm);
    WorkBmp.srcBits = static_cast<const uint32_t*>(bm.bmBits);
    HDC screen = GetDC(nullptr);
    const BITMAPINFO bi = TopDownInfo(size.cx, size.cy, 32);
    void* bits = nullptr;
    WorkBmp.adjBmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    WorkBmp.adjBits = static_cast<uint32_t*>(bits);
    if (!WorkBmp.adjBmp || !WorkBmp.srcBits) {
        MessageBoxA(g_app.mainWnd, "ビットマップ作成失敗", "InitWorkBmp-Error", MB_OK);
        ClearWorkBmp();
        return 0;
    }
    WorkBmp.adjW = size.cx;
    WorkBmp.adjH = size.cy;
    CopyWorkSrc();

    WorkZoom z;
    FitWorkZoom(size.cx, size.cy, &z);
    if (z.warn) ShowMsgDlg(g_app.mainWnd, kMsgAspect, MSG_ERROR);
    WorkBmp.zoom = WorkBmp.fitZoom = z.fit;
    WorkBmp.maxZoom = z.max;
    WorkBmp.minZoom = z.min;
    WorkBmp.margin = kViewMargin;
    WorkBmp.cx = WorkBmp.cy = 0.5f;
    WorkBmp.loaded = true;
    WorkBmp.mirror = false;
    WorkBmp.rot = 0;
    PowWorkBmp(0);
    return 1;
}

void CopyWorkSrc() {
    memcpy(WorkBmp.adjBits, WorkBmp.srcBits, size_t(WorkBmp.adjW) * WorkBmp.adjH * 4);
}

void ClearWorkBmp() {
    DeleteObject(WorkBmp.srcBmp);
    DeleteObject(WorkBmp.adjBmp);
    DeleteObject(WorkBmp.viewBmp);
    memset(&WorkBmp, 0, sizeof WorkBmp);
}
