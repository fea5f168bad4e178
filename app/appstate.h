// The application state: one record for the whole run, owned by the main window.
#pragma once

#include "platform/wintypes.h"

struct AppState {
    HINSTANCE inst;              // the program instance: windows and resources come from it
    HWND mainWnd;                // owner of the plain message boxes of every part
    HWND workWnd;                // the work area: owner of the picture reader's messages
    HWND loadBtnWnd;             // button 115, shown on the photo tab only
    RECT slotRects[10];          // thumbnail slots grown by 4 pixels: the selection frames
    char ModuleDir[MAX_PATH];    // folder of the program file, with a trailing "/"
    char AppDataPath[MAX_PATH];  // the user's application-data folder, no trailing "/"
    char AppFolder[MAX_PATH];    // AppDataPath + "/Halvorne/Quillet/"
};

extern AppState g_app;
