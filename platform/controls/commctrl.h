// The standard controls: one-line and multi-line edit fields, comboboxes and push buttons, their
// messages and the notifications they send their parent (WM_COMMAND with the control id and the
// code in the first parameter, the control in the second; WM_NOTIFY with an NMHDR).
//
// Texts are UTF-8 through the A functions. Input limits count bytes of the CP932 form of the
// text (a double-byte character 2, a line break CR LF 2) and hold for typing, pasting and an
// input method's commit alike; an insertion that does not fit is cut before the first character
// that would cross the limit (EN_MAXTEXT), and one holding a character CP932 cannot represent is
// refused whole. The program's own text changes are not limited.
//
// A control notifies when the user acts. Of the program's own calls only these notify, as they
// do on the original: WM_SETTEXT on a one-line edit (EN_UPDATE, EN_CHANGE) and BM_CLICK
// (BN_CLICKED).
#pragma once

#include "platform/user/window.h"

// Makes the control classes known to the window system: "EDIT", "COMBOBOX", "BUTTON" and
// "SysListView32". The program calls it once before it creates a window; more calls change
// nothing.
void InitCommonControls();

// WM_NOTIFY: the header every notification record starts with.
struct NMHDR {
    HWND hwndFrom;
    uintptr_t idFrom;
    UINT code;
};

// Notification codes of WM_NOTIFY shared by the common controls.
constexpr UINT NM_CLICK = UINT(-2);
constexpr UINT NM_DBLCLK = UINT(-3);
constexpr UINT NM_RCLICK = UINT(-5);
constexpr UINT NM_SETFOCUS = UINT(-7);
constexpr UINT NM_KILLFOCUS = UINT(-8);

// EDIT styles, messages and notifications.
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_UPPERCASE = 0x0008;
constexpr DWORD ES_LOWERCASE = 0x0010;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_WANTRETURN = 0x1000;
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
constexpr UINT EM_GETLIMITTEXT = 0x00D5;
constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;
constexpr WORD EN_UPDATE = 0x0400;
constexpr WORD EN_MAXTEXT = 0x0501;

// COMBOBOX styles, messages, answers and notifications. The height a combobox is made with is
// the height of its dropped-down list; the window itself is as high as its selection field.
constexpr DWORD CBS_SIMPLE = 0x0001;
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_AUTOHSCROLL = 0x0040;
constexpr DWORD CBS_SORT = 0x0100;
constexpr DWORD CBS_DISABLENOSCROLL = 0x0800;
constexpr UINT CB_LIMITTEXT = 0x0141;
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_SHOWDROPDOWN = 0x014F;
constexpr UINT CB_SETITEMHEIGHT = 0x0153;
constexpr UINT CB_GETITEMHEIGHT = 0x0154;
constexpr UINT CB_GETDROPPEDSTATE = 0x0157;
constexpr LRESULT CB_OKAY = 0;
constexpr LRESULT CB_ERR = -1;
constexpr LRESULT CB_ERRSPACE = -2;
constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD CBN_SETFOCUS = 3;
constexpr WORD CBN_KILLFOCUS = 4;
constexpr WORD CBN_EDITCHANGE = 5;
constexpr WORD CBN_EDITUPDATE = 6;
constexpr WORD CBN_DROPDOWN = 7;
constexpr WORD CBN_CLOSEUP = 8;
constexpr WORD CBN_SELENDOK = 9;
constexpr WORD CBN_SELENDCANCEL = 10;

// BUTTON styles, messages and notifications. Enter in a dialog presses the default push button
// (or the focused one), else sends IDOK.
constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
constexpr UINT BM_CLICK = 0x00F5;

// The number of bytes the CP932 form of the control's text takes (CR LF counts 2): what the
// control's input limit is measured against. -1 for an unknown window, or for a text the
// program put there that has no CP932 form.
int GetSjisTextLen(HWND wnd);
