// What every rounded skinned dialog does alike: its skin, shape and bitmap buttons at opening,
// labels drawn straight on the skin, placement in the work area, and the texts of its fields.
#pragma once

#include <string>

#include "platform/user/window.h"

struct DlgBtn {
    int id, x, y, w, h, strip;
};

// Loads skin `skinNum` into *skin, gives dlg the rounded shape of a w x h skin and makes the
// buttons in their order. When a button cannot be made, says so in a box under `caption`,
// destroys dlg and returns 0.
int MakeSkinDlg(HWND dlg, int skinNum, int w, int h, const DlgBtn* btns, int count,
                const char* caption, HBITMAP* skin);
// Releases *skin, if any, and empties it.
void FreeSkin(HBITMAP* skin);
// The answer to WM_CTLCOLORSTATIC for a label that lies straight on the skin.
INT_PTR ClearLblBk(WPARAM dc);
// Moves dlg, w x h, to the middle of the desktop's work area.
void CentreInWorkArea(HWND dlg, int w, int h);

// The text of field `id` as UTF-8.
std::string GetFieldText(HWND dlg, int id);
// The text of field `id` as CP932 bytes; 0 when it has no CP932 form (the fields refuse such
// text as it is typed).
int GetFieldSjis(HWND dlg, int id, std::string* sjis);
// Shows CP932 bytes in field `id`; 0 (the field left empty) when they are not CP932.
int SetFieldSjis(HWND dlg, int id, const char* sjis);
