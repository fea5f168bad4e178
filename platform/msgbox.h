// The plain message box.
#pragma once

#include "platform/wintypes.h"

constexpr UINT MB_OK = 0x00;
constexpr UINT MB_OKCANCEL = 0x01;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;

// Shows text (UTF-8) under caption with an OK button, or OK and Cancel for MB_OKCANCEL, and the
// icon the MB_ICON* flag names, and waits for the answer: IDOK or IDCANCEL (also for Escape).
// A test's modal hook answers in its place. Without a running application the message goes to
// stderr as "caption: text" and the answer is IDOK.
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);
