// Basic types, records and constants of the Windows services the program was written against.
// Sizes are those of the original 32-bit platform (LONG and DWORD are 32 bits here too).
#pragma once

#include <cstddef>
#include <cstdint>

typedef int BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t UINT;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* HANDLE;
typedef uintptr_t DWORD_PTR;

// A failure number shared by several services: an argument that cannot be taken.
constexpr long ERROR_INVALID_PARAMETER = 87;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

constexpr int MAX_PATH = 260;
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)

// A window. The record itself belongs to the window system of the platform layer.
typedef struct WndRec* HWND;

// The program instance (the same record as a loaded module); resources are the program's own
// whatever instance is passed.
typedef struct ModuleRec* HINSTANCE;

// Resources are addressed by number: the number travels in the name pointer.
#define MAKEINTRESOURCEA(i) ((LPCSTR)(uintptr_t)(WORD)(i))
#define IS_INTRESOURCE(p) (((uintptr_t)(p) >> 16) == 0)

struct RECT {
    LONG left, top, right, bottom;
};
struct POINT {
    LONG x, y;
};
struct SIZE {
    LONG cx, cy;
};

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

inline WORD LOWORD(uintptr_t v) {
    return (WORD)(v & 0xFFFF);
}
inline WORD HIWORD(uintptr_t v) {
    return (WORD)((v >> 16) & 0xFFFF);
}
inline BYTE GetRValue(DWORD c) {
    return (BYTE)(c & 0xFF);
}
inline BYTE GetGValue(DWORD c) {
    return (BYTE)((c >> 8) & 0xFF);
}
inline BYTE GetBValue(DWORD c) {
    return (BYTE)((c >> 16) & 0xFF);
}
typedef DWORD COLORREF;
inline constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return (COLORREF)r | ((COLORREF)g << 8) | ((COLORREF)b << 16);
}

// Answers of message boxes and dialogs, and the ids of their OK and Cancel buttons.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
