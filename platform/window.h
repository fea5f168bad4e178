// Windows: classes, creation, messages and their loop, dialogs, painting, the mouse, placement.
// Names, message numbers and semantics are those the program was written against; only what the
// program calls is here.
#pragma once

#include "platform/gdi.h"

typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef intptr_t INT_PTR;
typedef intptr_t LONG_PTR;
typedef INT_PTR (*DLGPROC)(HWND, UINT, WPARAM, LPARAM);
typedef struct CursorRec* HCURSOR;
typedef struct IconRec* HICON;
typedef struct MenuRec* HMENU;  // for a child window: its control id

// Messages.
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_NCHITTEST = 0x0084;
constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_USER = 0x0400;

// Hit-test answers. HTTRANSPARENT passes the pointer to the window beneath (the parent).
constexpr LRESULT HTTRANSPARENT = -1;
constexpr LRESULT HTNOWHERE = 0;
constexpr LRESULT HTCLIENT = 1;
constexpr LRESULT HTCAPTION = 2;

// WM_ACTIVATE states (low word of the first parameter).
constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;

// Mouse-message key state.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;

// Virtual keys.
constexpr WPARAM VK_RETURN = 0x0D;
constexpr WPARAM VK_ESCAPE = 0x1B;
constexpr WPARAM VK_F1 = 0x70;

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr int CW_USEDEFAULT = int(0x80000000);

// Static control styles.
constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_CENTER = 0x0001;
constexpr DWORD SS_BITMAP = 0x000E;
constexpr DWORD SS_TYPEMASK = 0x001F;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOW = 5;
constexpr int SW_RESTORE = 9;

// Window data (GetWindowLongPtrA / SetWindowLongPtrA).
constexpr int GWLP_USERDATA = -21;
constexpr int GWLP_ID = -12;
constexpr int DWLP_MSGRESULT = 0;

// Colours of the system for class backgrounds: (COLOR_* + 1) cast to a brush.
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_ACTIVECAPTION = 2;
COLORREF GetSysColor(int index);
// A shared brush of a system colour; never released.
HBRUSH GetSysColorBrush(int index);

// Standard cursors and icons (MAKEINTRESOURCEA numbers).
constexpr int IDC_ARROW = 32512;
constexpr int IDI_APPLICATION = 32512;

struct WNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
};

struct CREATESTRUCTA {
    void* lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy, cx, y, x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};

// Packing of message parameters; coordinates are signed 16-bit words.
inline LPARAM MAKELPARAM(int lo, int hi) {
    return LPARAM(DWORD(WORD(lo)) | (DWORD(WORD(hi)) << 16));
}
inline int GET_X_LPARAM(LPARAM lp) {
    return int(int16_t(LOWORD(uintptr_t(lp))));
}
inline int GET_Y_LPARAM(LPARAM lp) {
    return int(int16_t(HIWORD(uintptr_t(lp))));
}

// The application: the window system needs one before any window exists. Returns the program
// instance handle (any value passed as an instance means the program itself).
HINSTANCE PlatInitApp(int* argc, char** argv);

// Classes and windows.
WORD RegisterClassExA(const WNDCLASSEXA* cls);
BOOL GetClassInfoExA(HINSTANCE inst, LPCSTR name, WNDCLASSEXA* cls);
// Creates a window of a registered (or built-in "STATIC") class. For WS_CHILD windows menu is the
// control id. The procedure gets WM_CREATE before this returns; a window that answers -1 is
// destroyed and none is returned. Top-level windows are frameless: their window and client
// areas are the same.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE inst, void* param);
// Sends WM_DESTROY to the window and then to its children, releases them, and ends the window's
// pending messages. Destroying a window also ends its mouse capture.
BOOL DestroyWindow(HWND wnd);
BOOL IsWindow(HWND wnd);
HWND GetParent(HWND wnd);
HWND GetDlgItem(HWND dlg, int id);
int GetDlgCtrlID(HWND wnd);
// A top-level window of the class and title (either may be null: any). When this process has
// none, a running instance of the program of the same user is asked for one of the class: the
// handle then stands for the other instance's window; only ShowWindow(SW_RESTORE) and
// SetForegroundWindow act on it (TRUE when the other instance acknowledged), IsWindow is FALSE.
// An instance that takes the request but does not answer in time counts as having the window.
HWND FindWindowA(LPCSTR className, LPCSTR windowName);
LONG_PTR GetWindowLongPtrA(HWND wnd, int index);
LONG_PTR SetWindowLongPtrA(HWND wnd, int index, LONG_PTR value);
BOOL SetWindowTextA(HWND wnd, LPCSTR text);
int GetWindowTextA(HWND wnd, LPSTR buf, int size);
BOOL EnableWindow(HWND wnd, BOOL enable);
BOOL IsWindowEnabled(HWND wnd);

// Messages. SendMessageA calls the procedure at once; PostMessageA queues the message for the
// loop (a null window posts to the thread). Messages for a destroyed window are dropped.
LRESULT SendMessageA(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
BOOL PostMessageA(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
// Waits for the next message; returns 0 for WM_QUIT, else 1. Window-system events (paint,
// input) are handled while it waits.
BOOL GetMessageA(MSG* msg, HWND wnd, UINT first, UINT last);
// Takes a posted message if one is queued (only PM_REMOVE is known), after handling pending
// window-system events; FALSE when none is there. Never waits.
BOOL PeekMessageA(MSG* msg, HWND wnd, UINT first, UINT last, UINT remove);
constexpr UINT PM_REMOVE = 0x0001;
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
// Posts WM_QUIT: the loop ends when it reaches it, at once when posted before the loop runs.
void PostQuitMessage(int code);
// Handles what the program's procedures leave alone: erasing with the class background, the
// hit test (client area), the class cursor, WM_NCLBUTTONDOWN with HTCAPTION (a window move),
// WM_CLOSE (destroys the window), the window text.
LRESULT DefWindowProcA(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

// Dialogs from the templates in res/. The procedure answers TRUE for handled messages; it gets
// WM_INITDIALOG (lp = param) before the create call returns. DialogBoxParamA disables the
// owner, runs its own loop until EndDialog, and returns the result (-1 when the dialog cannot be
// made). A test's modal hook is told of every modal dialog once it is initialised.
INT_PTR DialogBoxParamA(HINSTANCE inst, LPCSTR templ, HWND owner, DLGPROC proc, LPARAM param);
HWND CreateDialogParamA(HINSTANCE inst, LPCSTR templ, HWND owner, DLGPROC proc, LPARAM param);
BOOL EndDialog(HWND dlg, INT_PTR result);

// Painting. Each window keeps a picture of its client area; WM_PAINT draws into it between
// BeginPaint and EndPaint, GetDC draws into it at any time and shows what was drawn on release.
BOOL InvalidateRect(HWND wnd, const RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND wnd);
HDC BeginPaint(HWND wnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND wnd, const PAINTSTRUCT* ps);

// The mouse. Under capture every mouse message goes to the capturing window, in its client
// coordinates, also outside it; no hit test is asked then.
HWND SetCapture(HWND wnd);
BOOL ReleaseCapture();
HWND GetCapture();
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR LoadCursorA(HINSTANCE inst, LPCSTR name);
HICON LoadIconA(HINSTANCE inst, LPCSTR name);

// Placement, in screen coordinates for top-level windows and parent-client ones for children.
BOOL ShowWindow(HWND wnd, int cmd);
BOOL IsWindowVisible(HWND wnd);
BOOL MoveWindow(HWND wnd, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND wnd);
BOOL SetForegroundWindow(HWND wnd);
BOOL GetWindowRect(HWND wnd, RECT* rect);
BOOL GetClientRect(HWND wnd, RECT* rect);
BOOL ScreenToClient(HWND wnd, POINT* pt);
BOOL ClientToScreen(HWND wnd, POINT* pt);

struct WINDOWPLACEMENT {
    UINT length;
    UINT flags;
    UINT showCmd;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;
};
static_assert(sizeof(WINDOWPLACEMENT) == 44);
// Fills wp: length 44, flags 0, showCmd SW_SHOWNORMAL, SW_SHOWMINIMIZED or SW_SHOWMAXIMIZED,
// the minimised and maximised positions (-1, -1), and the window rectangle in screen coordinates
// that the window has when shown normally. FALSE for an unknown window.
BOOL GetWindowPlacement(HWND wnd, WINDOWPLACEMENT* wp);

// Test seam: the pointer as a user moves it: msg is WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP
// or WM_LBUTTONDBLCLK (the second press of a double click) at (x, y) in the client coordinates of
// top-level window `wnd`; the event goes to the window system, which finds the window under the
// pointer as it would for a real one.
void PlatMouseEvent(HWND wnd, UINT msg, int x, int y);

// Test seam: the window's current look, its children drawn over it, as a new picture of its
// client size; none for an unknown window.
HBITMAP PlatGrabWindow(HWND wnd);
