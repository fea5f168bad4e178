// Factories of the main window's child windows: each registers its window class, creates the
// window with the class name as window name and shows and paints it.
#pragma once

#include "platform/user/window.h"

// Registers window class `name` on first use (class style `style`, background the system colour
// `bgColor`, the application icon, the arrow cursor) and creates a visible child of it with the
// class name as window name and control id `id`, then shows and paints it. A class that exists
// already (a dialog opened again) is used as it is. Returns the window or none.
HWND MakeChildWnd(HWND parent, WNDPROC proc, const char* name, UINT style, int bgColor, int id,
                  int x, int y, int w, int h);

// Thumbnail slot `slot` (0..9) at column, row of the tab page; stores its rectangle grown by 4
// pixels in the application state (the selection frame's area).
HWND MakeThumWnd(HWND parent, WNDPROC proc, int column, int row, int slot);
// The folder combobox of tab `tab` (1, 2), created hidden; height is the dropped-down height.
HWND MakeCmbWnd(HWND parent, int x, int y, int width, int height, int tab);
// The work area at (39, 146), 120 x 130.
HWND MakeWorkWnd(HWND parent, WNDPROC proc);
// The brightness slider at (26, 349), 147 x 28 (double clicks on), with its track (122) and
// knob (123) loaded into the slider record.
HWND MakeSldWnd(HWND parent, WNDPROC proc);
// The calendar of the delivery date dialog at (160, 89), 162 x 128.
HWND MakeClnWnd(HWND parent, WNDPROC proc);
