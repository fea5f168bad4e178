// Drawing surfaces and pictures: the device picture (32-bit XRGB, top-down, owned by the platform),
// memory drawing surfaces, brushes, block copies, stretching and the DIB conversions, with the
// names and constants of the Windows drawing interface.
#pragma once

#include "platform/wintypes.h"

#pragma pack(push, 2)
struct BITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPFILEHEADER) == 14);

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

struct BITMAPCOREHEADER {
    DWORD bcSize;
    WORD bcWidth;
    WORD bcHeight;
    WORD bcPlanes;
    WORD bcBitCount;
};
static_assert(sizeof(BITMAPCOREHEADER) == 12);

struct RGBQUAD {
    BYTE rgbBlue, rgbGreen, rgbRed, rgbReserved;
};
struct RGBTRIPLE {
    BYTE rgbtBlue, rgbtGreen, rgbtRed;
};
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    void* bmBits;
};

// Drawing objects. The records belong to the platform; the program holds only the handles.
struct BitmapRec;
struct BrushRec;
struct PenRec;
struct DCRec;
typedef void* HGDIOBJ;
typedef BitmapRec* HBITMAP;
typedef BrushRec* HBRUSH;
typedef PenRec* HPEN;
typedef DCRec* HDC;

constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_RLE8 = 1;
constexpr DWORD BI_RLE4 = 2;
constexpr DWORD BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr DWORD CBM_INIT = 4;

constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;

constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;

constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;

constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// The application, which fonts, the screen and windows need, is made on demand. For a program
// that opens no window (the command-line exporter), instead of PlatInitApp: no application is
// ever made on demand, so that nothing needs a display. Without one, window and
// dialog creation fail (CreateWindowExA gives none, DialogBoxParamA -1) and MessageBoxA writes
// to stderr. The memory pictures and their drawing work as ever.
void PlatInitNoApp();

// Surfaces and objects.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj);
BOOL DeleteObject(HGDIOBJ obj);
int GetObjectA(HGDIOBJ obj, int size, void* out);
HBRUSH CreateSolidBrush(COLORREF color);
// A pen of one pixel whatever the width asked; PS_NULL draws nothing.
HPEN CreatePen(int style, int width, COLORREF color);
HGDIOBJ GetStockObject(int which);
int GetDeviceCaps(HDC dc, int index);

// Text colours and background mode of a surface, for the text drawn on it.
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF SetBkColor(HDC dc, COLORREF color);
int SetBkMode(HDC dc, int mode);

// Pixels and blocks. Destination writes are clipped to the destination picture.
BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop);
BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
// Draws the one-pixel border of rect with the brush.
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
COLORREF GetPixel(HDC dc, int x, int y);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
// A rectangle with corners rounded by an ew x eh ellipse, filled with the brush and outlined with
// the pen. With the null pen the filled area is one pixel smaller to the right and below, as
// CreateRoundRectRgn gives it.
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ew, int eh);

// Copies the source block except its pixels of colour `transparent`, which leave the destination
// as it was. Source and destination blocks must be the same size: stretching is not offered.
BOOL TransparentBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                    UINT transparent);

// Stretching. HALFTONE averages the source area under each destination pixel with integer
// weights; COLORONCOLOR (and the other modes) drops or repeats pixels.
int SetStretchBltMode(HDC dc, int mode);
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* old);
BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                DWORD rop);

// DIB conversions: 24 and 32-bit rows out; 1, 4, 8, 16 (5-5-5), 24 and 32-bit BI_RGB rows in,
// bottom-up or top-down by the sign of biHeight. Headers may be info (40) or core (12) headers.
int GetDIBits(HDC dc, HBITMAP bmp, UINT start, UINT lines, void* bits, BITMAPINFO* info,
              UINT usage);
int SetDIBits(HDC dc, HBITMAP bmp, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage);
HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage);

// A picture whose pixels the program reaches directly: only 32-bit BI_RGB top-down rows (the
// display's own format) are made; *bits then points at the rows (blue, green, red, unused byte)
// while the picture lives, and GetObjectA gives the same pointer as bmBits (none for other
// pictures). Pixels written there keep the unused byte 0. Other formats and sizes give none.
// section and offset must be none and 0.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);

// The header of top-down BI_RGB rows of width x height pixels at `bits` bits per pixel.
inline BITMAPINFO TopDownInfo(int width, int height, WORD bits) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = bits;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

// A skin or strip bitmap of the program's resources by number (MAKEINTRESOURCEA); none when the
// number names no bitmap. The caller releases it with DeleteObject.
HBITMAP LoadBitmapA(HINSTANCE inst, LPCSTR name);

// Fonts and text. Text is UTF-8; lengths are in bytes (-1: up to the terminator). IPA P Gothic
// stands in for the proportional faces the program names, IPA Gothic for fixed-pitch ones.
struct FontRec;
typedef FontRec* HFONT;

constexpr int FW_DONTCARE = 0;
constexpr int FW_THIN = 100;
constexpr int FW_NORMAL = 400;
constexpr int FW_SEMIBOLD = 600;
constexpr int FW_BOLD = 700;
constexpr DWORD ANSI_CHARSET = 0;
constexpr DWORD DEFAULT_CHARSET = 1;
constexpr DWORD SHIFTJIS_CHARSET = 128;
constexpr DWORD OUT_DEFAULT_PRECIS = 0;
constexpr DWORD OUT_STRING_PRECIS = 1;
constexpr DWORD CLIP_DEFAULT_PRECIS = 0;
constexpr DWORD DEFAULT_QUALITY = 0;
constexpr DWORD DEFAULT_PITCH = 0;
constexpr DWORD FIXED_PITCH = 1;
constexpr DWORD VARIABLE_PITCH = 2;
constexpr DWORD FF_DONTCARE = 0x00;
constexpr DWORD FF_MODERN = 0x30;
constexpr int DEFAULT_GUI_FONT = 17;

struct TEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};

// A negative height is the character height in pixels, a positive one the cell height (character
// plus internal leading), 0 a default size. Width 0 lets the face choose. face may be none.
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR face);
// The metrics of the font selected into the surface (the default font when none is).
BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* tm);
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int len, SIZE* size);
// Draws text with its top-left corner at (x, y) in the surface's font and text colour; in OPAQUE
// mode the text's cell is filled with the background colour first.
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int len);

constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
// Draws text into the rectangle with the alignment of format; returns the height of the text.
int DrawTextA(HDC dc, LPCSTR text, int len, RECT* rect, UINT format);
