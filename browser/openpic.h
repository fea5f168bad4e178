// Opening pictures: placing picture paths into the current tab's slots.
#pragma once

#include "platform/window.h"

constexpr int kPicListLen = 11;  // the open dialog gives up to 11 pictures, other ways 10

// A list of picture paths; the first empty one ends it.
typedef char PicList[kPicListLen][MAX_PATH];

// Splits the command line's argument text into up to ten paths (double-quoted ones may hold
// blanks; longer paths are cut to 259 bytes) and places them with AddPicFiles. 0 for an empty
// text.
int ParsePicArgs(HWND owner, int tab, const char* text);
// Places the paths into the current tab's slots from its selected slot on. Returns 1.
int AddPicFiles(HWND owner, PicList list);
