// The preview: the canvas as it was when the dialog opened, on the screen of a drawn phone.
#pragma once

#include "platform/user/window.h"

INT_PTR PreProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
// Runs the preview (template 144) modally over `owner`, the main window.
void ShowPreview(HWND owner);
