// The application state: one record for the whole run, owned by the main window.
#pragma once

#include "browser/thumlist.h"
#include "platform/gdi/region.h"
#include "platform/user/window.h"

constexpr int kTabCount = 3;    // 0 photos, 1 messages, 2 illustrations
constexpr int kSlotCount = 10;  // thumbnail slots per tab

struct AppState {
    HINSTANCE inst;            // the program instance: windows and resources come from it
    HWND mainWnd;              // owner of the plain message boxes of every part
    HWND splashWnd;            // the splash while it is shown
    HWND workWnd;              // the work area: owner of the picture reader's messages
    HWND sldWnd;               // the brightness slider
    HWND loadBtnWnd;           // button 115, shown on the photo tab only
    HWND cmbWnd[kTabCount];    // folder combobox of each tab that has a folder
    HWND thumWnd[kSlotCount];  // the thumbnail slots, shared by the tabs
    HFONT listFont;            // the folder comboboxes' font

    const char* StartPath;  // picture from the command line or the hand-over, or none
    bool HandOver;          // the command line had the hand-over form
    bool HandOverTooLong;   // ... and its path did not fit: it is refused, never cut
    char handOverBuf[MAX_PATH];

    char ModuleDir[MAX_PATH];    // folder of the program file, with a trailing "/"
    char AppDataPath[MAX_PATH];  // the user's application-data folder, no trailing "/"
    char AppFolder[MAX_PATH];    // AppDataPath + "/Halvorne/Quillet/"
    char ServerHost[MAX_PATH];   // in-memory copies of "SERVER" and "HOMEPAGE"
    char HomePage[MAX_PATH];

    int CurTab;
    char TabFolder[kTabCount][MAX_PATH];  // "" for the photo tab, else ModuleDir + name + "/"
    char TabSlots[kTabCount][kSlotCount][MAX_PATH];
    int SelSlot[kTabCount];
    ThumList* imgLists[kTabCount];  // picture k is the thumbnail of slot k
    bool refilling;                 // a tab refill is running: none starts inside it
    RECT slotRects[kSlotCount];     // thumbnail slots grown by 4 pixels: the selection frames
    RECT tabPageRect;

    HBITMAP mainSkin;  // 118, 407 x 589
    HRGN mainRgn;      // belongs to the main window once given to it
    HBITMAP tabPages[kTabCount];
    HBITMAP preSkin;  // preview dialog skin 138 and its shape
    HRGN preRgn;
    HBITMAP stmpSkin;  // stamp dialog skin 146 and its shape
    HRGN stmpRgn;
    HBRUSH hiliteBrush;  // the red selection frame
    HPEN nullPen;
};

extern AppState g_app;
