// Windows of other running instances of the program, for the window system: this process
// answers for its top-level windows on a per-user local socket for each window class, and a
// handle can stand for a window of the instance that answers for a class. Such a handle has no
// widget and is not a live local window: only FindWindowA, ShowWindow(SW_RESTORE) and
// SetForegroundWindow act on it.
#pragma once

#include "platform/user/window.h"

// The local part of FindWindowA: a top-level window of this process (create.cpp).
HWND FindLocalWnd(LPCSTR className, LPCSTR windowName);

// Starts answering for class className, unless this process already does or another running
// instance does. A stale socket left by a crashed instance is replaced.
void StartWndListener(const char* className);
// Stops answering for class className and removes its socket.
void StopWndListener(const char* className);

// Asks the instance that answers for className whether it has a top-level window of that class
// and title (any title for none): a handle standing for it when it has, or when it is there but
// does not answer in time; none when no other instance answers for the class.
HWND FindRemoteWnd(LPCSTR className, LPCSTR windowName);
bool IsRemoteWnd(HWND wnd);

enum RemoteAsk { REMOTE_RESTORE, REMOTE_FOREGROUND };
// Asks the other instance to restore its window (show it normally and raise it) or to bring it
// to the foreground; TRUE when it acknowledged.
BOOL AskRemoteWnd(HWND wnd, RemoteAsk ask);
