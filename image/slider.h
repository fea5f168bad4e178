// The brightness slider: a knob on a track under the work area. Brightness is applied when the
// knob is released (or double-clicked), not while it is dragged.
#pragma once

#include "platform/user/window.h"
#include "ui/memsurf.h"

constexpr int kSldW = 147, kSldH = 28;
constexpr int kKnobSize = 28;
constexpr int kKnobMid = 60;  // neutral brightness
constexpr int kKnobMin = 1, kKnobMax = 119;

struct SldInfo {
    HBITMAP track;   // 122, 147 x 28; loaded with the window, released when it goes
    HBITMAP knob;    // 123, 28 x 28
    MemSurface off;  // the slider is composed here before it is shown
    int knobX, knobY;
    bool dragging;
    int grabX;  // pointer minus knob at the press
};

extern SldInfo g_sld;

LRESULT MainSldProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

// The brightness of a knob position: -0.8 at 1, 0 at 60, 0.8 at 119.
float GetKnobBrt(int knobX);
// Tells the slider that the work image has a neutral (or no) adjusted picture again.
void ResetSldWnd();
