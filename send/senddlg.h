// The send dialog (template 124) and its progress window (template 130).
#pragma once

#include <string>

#include "platform/kernel/kernel.h"
#include "platform/user/window.h"

// Runs the send dialog modally over owner until it is closed or an upload is accepted.
void RunSendDlg(HWND owner);
INT_PTR DlgSendProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);

// Runs the progress window over the send dialog: it shows itself, then sends g_uploadReq.
// 1 when the server accepted the upload.
int RunProgressDlg(HWND sendDlg);
INT_PTR DlgProgressProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

// The number of commas in text plus one.
int CountAddresses(const char* text);
// The schedule line of an upload: "ON(YYYY/MM/DD-HH)" for a delivery time, "OFF()" when wYear
// is 0 (at once). buf holds at least 20 bytes.
void MakeSchedule(const SYSTEMTIME& dlv, char* buf, size_t size);
// The dialog's delivery line (UTF-8): the date, the day's name, 午前 or 午後 and the hour on a
// 12-hour clock, or "今すぐ送信" after ten blanks when wYear is 0.
std::string MakeDlvLine(const SYSTEMTIME& dlv);
