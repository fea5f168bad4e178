// The application state: one record for the whole run, owned by the main window.
#pragma once

#include "platform/wintypes.h"

struct AppState {
    HWND mainWnd;                // owner of the plain message boxes of every part
    HWND workWnd;                // the work area: owner of the picture reader's messages
    char ModuleDir[MAX_PATH];    // folder of the program file, with a trailing "/"
    char AppDataPath[MAX_PATH];  // the user's application-data folder, no trailing "/"
    char AppFolder[MAX_PATH];    // AppDataPath + "/Halvorne/Quillet/"
};

extern AppState g_app;
