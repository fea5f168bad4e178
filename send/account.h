// The user's account: the first-run dialog with its confirmation, the user settings dialog, and
// the character rules of the album ID and the password (CP932 bytes).
#pragma once

#include <span>

#include "app/reginfo.h"
#include "platform/user/window.h"

// Limits of the fields in CP932 bytes. The mail address field holds what the confirmation can
// show whole.
constexpr int kAlbumMax = 10, kPassMax = 20, kMailMax = 259;
constexpr int kPassMin = 6;

// The values shown for confirmation: album ID, password, mail address (CP932 bytes).
struct ConfirmCopy {
    char album[260], pass[260], mail[260];
};
extern ConfirmCopy g_confirm;

// 1 when no byte is the first of a CP932 double-byte character.
int IsSingleByteText(const char* text);
// Single-byte ASCII letters and digits only (the empty text passes).
int IsAlphaNumText(const char* text);
// Single-byte ASCII letters, digits, "_" and "-" only (the empty text passes).
int IsPasswordText(const char* text);
// The message for a password that breaks the character rule.
void MakePassMsg(char* buf, size_t size);

// Shows the stored settings text `name` in field `id` of dlg, when it can be read.
void SetFieldFromReg(HWND dlg, int id, const char* name);
// Tells the user of an account dialog that memory for its texts could not be had, in a plain box
// with the dialog's caption.
void TellNoMemory(HWND dlg, const char* caption);
// Stores the values of an account dialog in one write of the settings, so that they are stored
// together or not at all. 0 when the store fails or memory runs out: dlg is shown (the first run
// hides it during its confirmation) and the user told over it (a plain box with caption for the
// memory), so the dialog can stay open.
int StoreAccount(HWND dlg, const char* caption, std::span<const RegText> vals);

// The first run: 1 when the user confirmed the values and they were stored, 0 when cancelled.
int RunFstDlg(HWND owner);
INT_PTR DlgFstProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
INT_PTR DlgConfirmProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
// The user settings: the album ID and the password, and the password reminder.
void RunUserDlg(HWND owner);
INT_PTR DlgUserProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
