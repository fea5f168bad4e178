// The address book dialog (template 168) and its cell editor (template 181).
#pragma once

#include "platform/user/window.h"

// The ticked addresses the dialog handed back when 決定 closed it: CP932 bytes joined by commas
// (empty when every ticked entry had no address), or none. Released when the dialog closes again
// and by the send dialog.
extern char* g_recipList;
void FreeRecipList();

// One direction flag per list column (送信, 名前, メールアドレス) for the life of the program: 1
// when the next click on its header sorts ascending (unticked first), 0 descending.
extern int g_adrSortUp[3];

// Private messages between the dialog and the cell editor.
constexpr UINT WM_CELL_DONE = WM_USER + 4;   // to the dialog: the editor's text is in the buffer
constexpr UINT WM_CELL_CLOSE = WM_USER + 5;  // to the editor: close, keeping the text

// Runs the dialog modally over owner. 1 when it handed back a recipient list (g_recipList).
int RunAddressDlg(HWND owner);
INT_PTR DlgAddressProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);

// The cell being edited: filled by the dialog before it opens the editor, the text read back by
// the editor as it closes.
struct CellEdit {
    HWND dlg;     // the address book dialog, told WM_CELL_DONE
    HWND editor;  // the open editor, or none
    int row, col;
    RECT cell;       // where the editor goes, in screen coordinates
    char text[256];  // CP932 bytes, at most 255
    int commit;      // cleared by Escape: the entry stays as it was
};
extern CellEdit g_cellEdit;

// Opens the editor over g_cellEdit.cell, modeless. 0 when it cannot be made.
int OpenCellEdit(HWND dlg);
INT_PTR CellEditProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
