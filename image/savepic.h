// Saving the canvas: as a BMP by the program's own writer, as a JPEG made from that BMP by the
// codec library.
#pragma once

#include "platform/gdi/gdi.h"

// The save dialog over the main window; path (MAX_PATH bytes) gets the chosen name. 0 when the
// user cancelled.
int GetSaveName(char* path);
// Writes pic as a bottom-up BMP of its own depth (1, 4, 8, 16, 24 or 32 bits), whole or not at
// all. 1 on success.
int WriteCanvasBmp(const char* path, HBITMAP pic);
// Converts a BMP file to a JPEG of quality 100 through the codec library: 1 done, 0 failed, -1
// when the library cannot be loaded.
int ConvBmpJpeg(const char* bmpPath, const char* jpgPath);
// Saves the canvas picture under path by its extension, exactly ".bmp", ".jpg" or ".jpeg" (the
// JPEG through temp.bmp); every other name is refused. Every failure is told. 1 when saved.
int SaveCanvasFile(const char* path, HBITMAP canvas);
// The main window's save command. 1 when saved or cancelled, 0 on a refused name or a failure.
int SaveWorkPic();
// Writes the canvas as the JPEG to send. An old file of that name is removed first, so that a
// failure never leaves an earlier picture to be sent. 1 when the JPEG was written.
int SaveSendJpeg(const char* jpgPath);
