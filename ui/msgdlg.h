// The program's message box for what the user must be told.
#pragma once

#include "platform/wintypes.h"

enum MsgKind { MSG_ERROR = 0, MSG_NOTICE = 1, MSG_QUESTION = 2 };

// Shows `text` (at most 259 bytes, line feeds allowed) modally over `owner`. Returns 1 for OK,
// 2 for Cancel (only a question has Cancel).
int ShowMsgDlg(HWND owner, const char* text, int kind);
