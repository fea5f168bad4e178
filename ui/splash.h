// The splash shown while the program starts.
#pragma once

#include "platform/user/window.h"

// Dialog procedure of the splash (template 142): centres the dialog at the size of its skin 143
// and gives it the skin's shape.
INT_PTR DlgSplashProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
