// The main window: the phone-shaped skinned window that holds every other window.
#pragma once

#include "platform/user/window.h"

constexpr int kMainW = 407;  // client area, the size of skin 118
constexpr int kMainH = 589;

// Registers the class "Quillet" and creates, shows and paints the main window; its creation
// sequence runs before this returns. None when it cannot be made.
HWND CreateMainWnd(HINSTANCE inst, int show);
LRESULT MainWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

// The creation and shutdown sequences (WM_CREATE, WM_DESTROY).
void MainCreate(HWND wnd);
void MainDestroy();
// WM_PAINT: the skin, the current tab page and the red frame of the selected slot.
void MainPaint(HWND wnd);
// The command of bitmap button `id`.
void MainCommand(HWND wnd, int id);
// Opens `file` (a web address, or a file of `dir`) with the shell; what happens is not reported.
void OpenShellPage(const char* file, const char* dir);
// Opens the help page, as button 116 and F1 do.
void OpenHelpPage();
