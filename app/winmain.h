// The program entry.
#pragma once

#include "platform/user/window.h"

// Checks the display, reads the command line, keeps the program to one running instance, shows
// the splash, creates the main window and runs the message loop. `argText` is the command line
// after the program name. Returns the exit status, 0 in every case.
int QuilletMain(HINSTANCE inst, const char* argText, int show);
