// Choosing the delivery time: the date dialog with the month calendar and the hour list, and the
// plain dialog that takes the time as typed text when the date dialog cannot be made.
#pragma once

#include "platform/user/window.h"

// A chosen delivery time: date, day of the week and whole hour, minute, second and milliseconds
// 0. wYear 0 means none was chosen: the picture goes out at once.
typedef SYSTEMTIME DeliveryTime;

constexpr int kDateDlgTempl = 156;
constexpr int kDateTextTempl = 155;

// Sets time->wYear to 0 and lets the user choose a time on the date dialog, or on the plain one
// when the date dialog cannot be made. Returns 1 when a time was chosen (all of *time written),
// 0 when the user cancelled (only wYear touched).
int ChooseDlvTime(HWND owner, DeliveryTime* time);

// The date dialog (template 156); its parameter is the DeliveryTime to fill on confirmation.
INT_PTR DlgDateProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
// The plain fallback (template 155); its parameter is the DeliveryTime to fill on OK.
INT_PTR DlgDateTextProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
