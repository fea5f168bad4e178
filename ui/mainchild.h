// The main window's child windows.
#pragma once

#include "platform/user/window.h"

// Creates every child of the main window; 1 when all exist, else 0. Nothing made is undone.
int MakeMainChild(HWND mainWnd);
