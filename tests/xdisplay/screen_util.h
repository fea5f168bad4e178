// Screenshots of the program's windows on the virtual display, and photo-like test pictures.
#pragma once

#include <QImage>
#include <string>

#include "platform/user/window.h"

// Whether the display has a window manager (the run under openbox): QUILLET_WM names it.
bool UnderWm();

// Grabs the whole screen into the build folder as `name` (a person looks at it later; under a
// window manager into its sub-folder, e.g. openbox/) and loads it; a null picture when the grab
// failed. Under a window manager it first checks that every shown window with a shape (every
// skinned window) has no frame: _NET_FRAME_EXTENTS 0, 0, 0, 0.
QImage GrabScreen(const std::string& name);

// Waits up to two seconds for `wnd` to be the active window: under a window manager activation
// comes some time after the request. Without one a window may never be active; then it just waits.
void AwaitActive(HWND wnd);

// A real click of the left button at screen point (x, y), through the X server (XTest).
void XClick(int x, int y);

// A w x h BMP named `name` in `dir`: a sky of colour `sky`, a sun and a sea. Returns its path.
std::string PutPhoto(const std::string& dir, const char* name, int w, int h, uint32_t sky);
