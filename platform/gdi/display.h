// The display: its size and colour depth, with a seam for tests.
#pragma once

#include "platform/wintypes.h"

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;

// The screen size; the caption and frame sizes are 0, because top-level windows are frameless.
int GetSystemMetrics(int index);

// Test seam: pretend the primary screen has this size and depth (0, 0, 0 restores the real one).
void PlatSetScreen(int width, int height, int bits);

// The desktop work area: the screen without the panels the desktop keeps for itself.
constexpr UINT SPI_GETWORKAREA = 0x0030;
// Only SPI_GETWORKAREA is known: fills the RECT at out in screen coordinates.
BOOL SystemParametersInfoA(UINT action, UINT param, void* out, UINT winIni);
