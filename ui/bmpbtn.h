// Bitmap buttons: a strip of three looks (normal, hover, pressed) stacked in one bitmap, a window
// per button, and one table of all buttons of the program indexed by id - 101.
#pragma once

#include "platform/user/window.h"

constexpr int kFirstBtnId = 101;
constexpr int kBtnCount = 45;  // ids 101 to 145, unique across every window

enum BtnLook { BTN_NORMAL = 0, BTN_HOVER = 1, BTN_PRESSED = 2 };

struct ButtonEntry {
    HBITMAP strip;  // the three looks of width x height, stacked
    LONG width;
    LONG height;       // of one look
    LONG look;         // BtnLook shown
    BOOL pressed;      // the left button went down on it and is still down
    BOOL justClicked;  // a click was just reported: no hover look until the mouse moves
    DWORD clickTime;   // tick count of the last click
};

extern ButtonEntry ButtonTable[kBtnCount];

// Creates button `id` as a visible child of parent at (x, y), width x height, showing strip
// bitmap `strip`; registers its class "Child" + id on first use. Returns the window, or none when
// it cannot be made. A strip that does not load leaves the button blank.
HWND MakeBmpBtn(HWND parent, WNDPROC proc, int id, int x, int y, int width, int height, int strip);

// The button procedure: lights on hover, shows pressed while held, and on a release over it
// posts WM_APP_BUTTON (id, 0) to its parent.
LRESULT BmpBtnProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

// Releases every strip of the table (at shutdown).
void FreeBtnStrips();
