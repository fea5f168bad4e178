// The program's message box for what the user must be told.
#pragma once

#include "platform/user/window.h"

enum MsgKind { MSG_ERROR = 0, MSG_NOTICE = 1, MSG_QUESTION = 2 };

// Shows `text` (UTF-8, at most 259 bytes, line feeds allowed) modally over `owner` in the skinned
// box of its kind: an error with OK, a notice with OK, a question with Cancel and OK. Returns 1
// for OK, 2 for Cancel. When the box cannot be made (no windows, or its buttons failed), the text
// goes to the plain message box under the caption "Quillet", which answers the same way.
int ShowMsgDlg(HWND owner, const char* text, int kind);

// The message box's dialog procedure (template 199).
INT_PTR DlgMsgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
