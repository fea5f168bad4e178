// Windows: classes, creation, messages and their loop, dialogs, painting, the mouse, placement.
// Names, message numbers and semantics are those the program was written against; only what the
// program calls is here.
#pragma once

#include "platform/gdi/gdi.h"

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
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_CANCELMODE = 0x001F;
constexpr UINT WM_NEXTDLGCTL = 0x0028;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_GETFONT = 0x0031;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_NCHITTEST = 0x0084;
constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
// The dialog keys ask a control what it is and which keys it keeps: first parameter the virtual
// key being handled (0: none), answer DLGC_* bits.
constexpr UINT WM_GETDLGCODE = 0x0087;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
constexpr UINT WM_CTLCOLOREDIT = 0x0133;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
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

// WM_GETDLGCODE answers.
constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_HASSETSEL = 0x0008;
constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;
constexpr LRESULT DLGC_BUTTON = 0x2000;

// What the dialog keys send their controls: a push button's click to the dialog, the selection of
// all an edit's text when the keyboard brings the focus to it.
constexpr WORD BN_CLICKED = 0;
constexpr UINT EM_SETSEL = 0x00B1;

// Virtual keys.
constexpr WPARAM VK_BACK = 0x08;
constexpr WPARAM VK_TAB = 0x09;
constexpr WPARAM VK_RETURN = 0x0D;
constexpr WPARAM VK_SHIFT = 0x10;
constexpr WPARAM VK_CONTROL = 0x11;
constexpr WPARAM VK_ESCAPE = 0x1B;
constexpr WPARAM VK_SPACE = 0x20;
constexpr WPARAM VK_END = 0x23;
constexpr WPARAM VK_HOME = 0x24;
constexpr WPARAM VK_LEFT = 0x25;
constexpr WPARAM VK_UP = 0x26;
constexpr WPARAM VK_RIGHT = 0x27;
constexpr WPARAM VK_DOWN = 0x28;
constexpr WPARAM VK_DELETE = 0x2E;
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
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
// Extended styles.
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
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
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
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
inline WPARAM MAKEWPARAM(int lo, int hi) {
    return WPARAM(DWORD(WORD(lo)) | (DWORD(WORD(hi)) << 16));
}

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

// Drawing surfaces of windows. GetDC of a window draws into the window's picture; ReleaseDC then
// shows what was drawn. GetDC(nullptr) is a surface of the screen, for its facts.
HDC GetDC(HWND wnd);
int ReleaseDC(HWND wnd, HDC dc);

// The window system's own drawing on any surface: focus frames and 3-D edges.
// The dotted focus frame on the rectangle's edges (right and bottom excluded): it inverts the
// pixels under its dots, so drawing it twice restores them.
BOOL DrawFocusRect(HDC dc, const RECT* rect);

constexpr UINT BDR_RAISEDOUTER = 0x0001;
constexpr UINT BDR_SUNKENOUTER = 0x0002;
constexpr UINT BDR_RAISEDINNER = 0x0004;
constexpr UINT BDR_SUNKENINNER = 0x0008;
constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr UINT BF_LEFT = 0x0001;
constexpr UINT BF_TOP = 0x0002;
constexpr UINT BF_RIGHT = 0x0004;
constexpr UINT BF_BOTTOM = 0x0008;
constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr UINT BF_MIDDLE = 0x0800;
constexpr UINT BF_SOFT = 0x1000;
constexpr UINT BF_ADJUST = 0x2000;
constexpr UINT BF_FLAT = 0x4000;
constexpr UINT BF_MONO = 0x8000;
// The three-dimensional edge of a button or field, in the system's 3-D colours; BF_MIDDLE fills
// the inside with the button face colour, BF_ADJUST shrinks rect by the edge drawn, BF_SOFT
// swaps the top-left colours of the outer and inner rings. BF_FLAT and BF_MONO draw as without.
BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags);

// Classes and windows.
WORD RegisterClassExA(const WNDCLASSEXA* cls);
BOOL GetClassInfoExA(HINSTANCE inst, LPCSTR name, WNDCLASSEXA* cls);
// Creates a window of a registered (or built-in "STATIC") class. For WS_CHILD windows menu is the
// control id. The procedure gets WM_CREATE before this returns; a window that answers -1 is
// destroyed and none is returned. Top-level windows are frameless: their window and client
// areas are the same. None without an application after PlatInitNoApp.
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
// The length in bytes of the window's UTF-8 text (text controls: with CR LF line breaks), so that
// a buffer of one more byte holds it.
int GetWindowTextLengthA(HWND wnd);
BOOL SetDlgItemTextA(HWND dlg, int id, LPCSTR text);
UINT GetDlgItemTextA(HWND dlg, int id, LPSTR buf, int size);
LRESULT SendDlgItemMessageA(HWND dlg, int id, UINT msg, WPARAM wp, LPARAM lp);
// A disabled window takes no input, nor do its children (they keep their look: only a control
// disabled itself is drawn greyed). Returns whether the window was disabled before.
BOOL EnableWindow(HWND wnd, BOOL enable);
BOOL IsWindowEnabled(HWND wnd);

// Keyboard focus. SetFocus sends WM_KILLFOCUS to the window losing it (wParam: the one gaining
// it), then WM_SETFOCUS to the one gaining it (wParam: the one losing it), and returns the window
// that had it. A disabled window does not take it.
HWND SetFocus(HWND wnd);
HWND GetFocus();
// The top-level window of this program that is active (has the keyboard), or none.
HWND GetActiveWindow();
// The next (or with previous, the preceding) visible, enabled WS_TABSTOP control of the dialog
// after ctl, in creation order, wrapping round; ctl itself when it is the only one.
HWND GetNextDlgTabItem(HWND dlg, HWND ctl, BOOL previous);
// Whether VK_SHIFT or VK_CONTROL was held at the input being handled: negative while held.
short GetKeyState(int vk);

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

// SetWindowPos: the window to place after, and what to leave alone.
#define HWND_TOP ((HWND)0)
#define HWND_BOTTOM ((HWND)1)
#define HWND_TOPMOST ((HWND)-1)
#define HWND_NOTOPMOST ((HWND)-2)
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
// Moves, sizes, stacks, shows or hides a window in one call. HWND_TOPMOST keeps a top-level
// window above all others (WS_EX_TOPMOST); HWND_NOTOPMOST ends that.
BOOL SetWindowPos(HWND wnd, HWND after, int x, int y, int width, int height, UINT flags);

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

// Test seams: a person's hands.
// The pointer: msg is WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK (the second
// press of a double click), WM_RBUTTONDOWN or WM_RBUTTONUP at (x, y) in the client coordinates of
// top-level window `wnd`; the event goes to the window system, which finds the window under the
// pointer as it would for a real one (a control's own widgets included).
void PlatMouseEvent(HWND wnd, UINT msg, int x, int y);
// Types UTF-8 text key by key into the window that has the focus; "\n" presses Enter.
void PlatTypeText(const char* utf8);
// An input method commits UTF-8 text (a Japanese conversion) into the focused window.
void PlatCommitText(const char* utf8);
// Puts UTF-8 text on the clipboard and pastes it into the focused window (Ctrl+V).
void PlatPasteText(const char* utf8);
// Presses and releases a key (VK_RETURN, VK_ESCAPE, VK_TAB, VK_SPACE, the arrows, ...) on the
// focused window, with Shift held when `shift` is set.
void PlatPressKey(WPARAM vk, bool shift = false);
// The window system gives the top-level window activation, or takes it away.
void PlatActivate(HWND wnd, BOOL active);

// Test seam: the window's current look, its children drawn over it, as a new picture of its
// client size; none for an unknown window.
HBITMAP PlatGrabWindow(HWND wnd);
