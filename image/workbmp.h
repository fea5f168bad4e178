// The work image: the picture being edited, its brightness-adjusted copy and the view picture
// (the adjusted copy zoomed, mirrored and turned, set in a white margin), of which the canvas
// shows a 120 x 130 window.
#pragma once

#include "platform/gdi/gdi.h"

constexpr int kCanvasW = 120;
constexpr int kCanvasH = 130;
constexpr int kCanvasCx = 60;
constexpr int kCanvasCy = 65;
constexpr int kViewMargin = 130;
constexpr double kPixBudget = 1048576.0;  // largest pixel count of the zoomed picture
// Largest pixel count of the view picture, white margins included. Only pictures of extreme
// aspect ratio reach it: for a 1 x 1000000 picture the margins alone would take a gigabyte.
constexpr double kViewBudget = 33554432.0;

struct WorkImage {
    bool loaded;
    HBITMAP srcBmp;           // the picture as read; never changed by editing
    const uint32_t* srcBits;  // its rows: 32-bit top-down pixels 0x00RRGGBB
    int srcW, srcH;
    HBITMAP adjBmp;     // the source with brightness applied, same size
    uint32_t* adjBits;  // its rows: 32-bit top-down pixels 0x00RRGGBB
    int adjW, adjH;
    HBITMAP viewBmp;  // the zoomed, mirrored and turned picture at (130, 130) on white
    int viewW, viewH;
    float zoom;  // view pixels per picture pixel
    float fitZoom;
    float maxZoom, minZoom;
    float cx, cy;  // picture point (fractions of the unturned source) at the canvas centre
    int margin;
    int originX, originY;  // top-left corner of the canvas window in the view picture
    int rot;               // 0 none, 1 quarter turn clockwise, 2 half turn, 3 anticlockwise
    bool mirror;           // mirrored left-right before turning
    char path[MAX_PATH];   // the current picture; set by whoever opened it
};

extern WorkImage WorkBmp;

// The zoom a freshly read w x h picture gets: covering the canvas within the pixel budget.
struct WorkZoom {
    float fit, max, min;
    bool warn;  // the aspect ratio is too extreme for the picture to cover the canvas
};
void FitWorkZoom(int w, int h, WorkZoom* z);

// Reads `path` (or, with none, reloads the current picture) into the work image, fits the zoom
// and builds the view. 1 on success; 0 leaves the work image as it was (unless a picture
// could not be created, which empties it).
int InitWorkBmp(const char* path);
// Zooms out (-1), in (+1) or only rebuilds the view (0). 1 when the view was rebuilt.
int PowWorkBmp(int step);
void SetWorkOrigin();
void SetWorkCenter(int x, int y);
// Keeps at least one column and one row of the picture on the canvas; 1 when it moved.
int ClipWorkOrigin();
void ClearWorkBmp();
// Copies the source picture unchanged into the adjusted one.
void CopyWorkSrc();

// The main window's picture commands on the work image (repainting is the caller's).
int ReloadWorkBmp();
void ZoomInWorkBmp();
void ZoomOutWorkBmp();
// Moves the photo by (dx, dy) canvas pixels, as a drag with the mouse does: the canvas window
// moves the other way on the view, held by ClipWorkOrigin.
void PanWorkBmp(int dx, int dy);
// Takes the centre back from what the canvas shows, so that later zooms and turns pivot about it.
void TakeWorkCenter();
void RotWorkBmp();
void MirWorkBmp();
