// The plain message box.
#pragma once

#include "platform/wintypes.h"

constexpr UINT MB_OK = 0x00;
constexpr UINT MB_OKCANCEL = 0x01;
constexpr UINT MB_YESNO = 0x04;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;

constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows text (UTF-8) under caption with an OK button, OK and Cancel for MB_OKCANCEL, or Yes and
// No for MB_YESNO, and the icon the MB_ICON* flag names, and waits for the answer: the button's
// IDOK, IDCANCEL, IDYES or IDNO; Escape and the close box answer the last button. The box is
// modal to the owner: the owner's top-level window takes no input until it is answered.
// A test's modal hook answers in its place. Without a running application the message goes to
// stderr as "caption: text" and the answer is the first button's (IDOK, IDYES).
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);
