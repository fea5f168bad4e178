// The standard controls hosted as Qt widgets: what every control keeps, and the helpers the
// control procedures share. Only the platform layer sees them.
#pragma once

#include <QString>
#include <QWidget>
#include <string>

#include "platform/controls/commctrl.h"
#include "platform/user/records.h"

enum CtlKind { CTL_EDIT = 1, CTL_COMBO, CTL_LISTVIEW, CTL_BUTTON };

// While one lives, the control's Qt signals do not notify the parent.
struct QuietCtl {
    explicit QuietCtl(CtlRec* c) : ctl(c) { ++ctl->quiet; }
    ~QuietCtl() { --ctl->quiet; }
    CtlRec* ctl;
};

// The window procedures of the built-in control classes.
LRESULT EditProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT ComboProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT ButtonProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT ListViewProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

class QTableWidget;
// The Qt view of list view wnd, set up for the window style (listview_view.cpp).
QTableWidget* NewListView(HWND wnd, DWORD style);

// Makes qt the control of window wnd: it fills the window, takes the window's font and focus,
// and follows the pointer. The window record takes ctl.
void HostCtl(HWND wnd, CtlRec* ctl, QWidget* qt);
// The control record of a window, or none when the window is no hosted control of that kind.
CtlRec* GetCtl(HWND wnd, int kind);

// Notifications to the control's parent: WM_COMMAND with the id and code; WM_NOTIFY with hdr,
// whose header this fills (hdr points at the full record of the notification).
void NotifyCmd(HWND ctl, WORD code);
LRESULT NotifyParent(HWND ctl, NMHDR* hdr, UINT code);
