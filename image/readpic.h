// Reading picture files into device pictures: BMP by the program's own reader, JPEG, GIF and PNG
// through the codec library and the conversion file temp.bmp.
#pragma once

#include "platform/gdi/gdi.h"

// Each reader returns a picture owned by the caller, with its width and height in *size, or
// none. The picture is a DIB section: GetObjectA gives its 32-bit top-down rows. `owner` owns
// the reader's message boxes.
HBITMAP ReadPicFile(HWND owner, const char* path, SIZE* size);
HBITMAP ReadBitmap(HWND owner, const char* path, SIZE* size);
// Test seam: ReadBitmap calls hook with the path once the headers and the palette are read and
// before the pixel rows are, where another program may cut the file; null removes it.
void SetBmpReadHook(void (*hook)(const char* path));
HBITMAP ReadJpegFile(HWND owner, const char* path, SIZE* size);

// The extension of a path: the text from the last "." of the name part, dot included; "" when
// the name has none.
const char* PicExt(const char* path);
