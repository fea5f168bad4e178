// The records behind window handles, and the widget that carries a window on Qt. Only the
// platform layer sees them.
#pragma once

#include <QRegion>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/gdi/records.h"
#include "platform/user/window.h"

struct ClassRec {
    std::string name;
    UINT style;
    WNDPROC proc;
    HICON icon;
    HCURSOR cursor;
    HBRUSH background;
};

class WndWidget;

// A Qt widget hosted as a window's client (the standard controls keep their records derived from
// this one). The window record owns it and it goes with the window.
struct CtlRec {
    virtual ~CtlRec() = default;
    int kind = 0;
    QWidget* qt = nullptr;  // the control's Qt widget, a child of the window's widget
    // > 0 while the program itself changes the control: Qt's signals are no notifications then.
    int quiet = 0;
};

struct WndRec {
    WndWidget* widget;
    const ClassRec* cls;  // none for dialogs
    WNDPROC proc;         // window procedure, or none for a dialog
    DLGPROC dlgProc;      // dialog procedure of a dialog
    HWND parent;          // a child's parent, a top-level window's owner
    std::vector<HWND> children;
    bool child;
    int id;
    DWORD style;
    std::string text;  // UTF-8
    LONG_PTR userData;
    LONG_PTR msgResult;  // a dialog procedure's answer for the message it handled
    BitmapRec* backing;  // the client area's picture
    QRegion update;      // still to be painted
    bool erase;          // the update area is to be erased first
    bool hasShape;
    QRegion shape;
    bool destroyed;
    bool disabled;
    bool dialog;
    bool dlgEnded;
    INT_PTR dlgResult;
    int fontPx;        // a dialog's and its controls' font size in pixels
    QPoint movedFrom;  // a window move by hand: where the pointer was, in screen coordinates
    bool moving;
    bool destroying;   // DestroyWindow is under way
    bool beganPaint;   // the procedure called BeginPaint for the WM_PAINT being delivered
    BitmapRec* image;  // an SS_BITMAP static control's picture
    HFONT font;        // set by WM_SETFONT; none: the dialog font of fontPx pixels
    CtlRec* ctl;       // a standard control hosted as a Qt widget, owned by the record
    bool topmost;      // kept above every other window (WS_EX_TOPMOST)
    bool awaitExpose;  // shown, and not yet known to be on the screen
};

// The widget of a window: turns Qt's events into the window's messages.
class WndWidget : public QWidget {
public:
    WndWidget(WndRec* wnd, QWidget* parent, Qt::WindowFlags flags);
    ~WndWidget() override;  // releases the window record with its backing picture
    WndRec* wnd;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool event(QEvent* e) override;
};

// Makes sure a Qt application exists (tests create windows without a program entry) with the
// window system's watch over its input. 0 when there is none and none may be made
// (PlatInitNoApp).
int EnsureApp();

// Live windows: a handle is valid while its record is here and not destroyed. Records are never
// freed (a destroyed window's record stays behind its widget), so an old handle never names a
// new window.
bool IsLiveWnd(HWND wnd);

// The top-level window a window belongs to.
HWND GetTopWnd(HWND wnd);

// Calls the window's procedure (a dialog's through the default dialog handling).
LRESULT CallWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

// Creates a window record and its widget; WM_CREATE is the caller's to send. None when there is
// no application to hold the widget.
HWND NewWndRec(const ClassRec* cls, DWORD style, LPCSTR name, int x, int y, int w, int h,
               HWND parent, int id);

// Tells the window manager that a top-level window belongs to its owner, so that it stays above
// it. Again after anything that makes the native window anew.
void SetOwnerHint(HWND wnd);

// Resizes the backing picture to the widget's size, keeping what fits.
void FitBacking(HWND wnd);

// Paints what is due: WM_PAINT when the update area is not empty.
void PaintDue(HWND wnd);

// A window takes no input while it or its top-level window is disabled (a modal dialog's owner).
bool IsInputOff(HWND wnd);

// Screen position of the last mouse event delivered.
QPoint GetMouseAt();

// Delivers Qt mouse input as the window's mouse messages: msg as given, or the message of the
// event's kind and button (left and right buttons only).
void SendMouseMsg(HWND wnd, QMouseEvent* e, UINT msg);
void SendQtMouse(HWND wnd, QMouseEvent* e);

// A built-in STATIC control: drawn by Qt straight onto its widget, without a backing picture.
bool IsStaticWnd(HWND wnd);
// The look of a built-in STATIC control, drawn straight onto its widget.
void PaintStatic(HWND wnd, QPainter& p);

// A window's class background as a brush, or none.
HBRUSH GetClassBrush(HWND wnd);

// Makes a class of the window system's own known by name, as the built-in ones are: no
// application is needed for it, and a name already known keeps its procedure.
void RegisterSysClass(const char* name, WNDPROC proc);

// Finds a registered class by name; none when unknown.
const ClassRec* FindClassRec(const char* name);

// Takes the next posted message (or a due WM_QUIT) into msg and returns 1; with none, handles
// the window-system events, waiting for one when `wait` is set, and returns 0.
int TakePostedMsg(MSG* msg, bool wait);
// Wakes a loop waiting for events: something was posted or ended.
void WakeMsgLoop();
// Forgets what was posted to a window that goes.
void DropPostedMsgs(HWND wnd);
// Puts a WM_QUIT taken by a nested loop back for the outer loop.
void RepostQuit(const MSG& quit);

// Gives a top-level window its class icon.
void SetWndIcon(HWND wnd, HICON icon);

// Keeps a top-level window above all others, or lets it be stacked normally again.
void ApplyTopmost(HWND wnd, bool on);

// The window text as the window system keeps it (what WM_SETTEXT and WM_GETTEXT do by default).
void SetWndText(HWND wnd, const char* text);

// The Qt font a window draws its text in: the one WM_SETFONT gave, else the dialog font.
QFont GetWndQFont(HWND wnd);

// The window that owns a Qt widget: the nearest window whose widget holds it; none when the
// widget is not one of the window system's (a Qt dialog of its own, a popup list).
HWND FindOwnerWnd(QObject* obj);

// The window system's watch over every Qt event of the application: input for disabled windows
// is dropped, dialog keys (Tab, Enter, Escape) are handled, the pointer over a hosted control
// goes to the window holding the capture, and focus changes become WM_KILLFOCUS/WM_SETFOCUS.
void InstallInputFilter();

// Focus moved to wnd (none: away from every window) by the window system or the user: sends
// WM_KILLFOCUS and WM_SETFOCUS unless wnd already had it.
void NoteFocus(HWND wnd);

// A key pressed while `focus` has the keyboard, in a dialog: Tab and Shift+Tab move the focus,
// Enter and Escape become WM_COMMAND with the default button's id (or IDOK) and IDCANCEL. True
// when the key was taken.
bool DoDlgKey(HWND focus, int key, Qt::KeyboardModifiers mods);

// UTF-8 texts of the A functions and Qt's strings.
QString QStr(const char* utf8);
std::string Utf8Of(const QString& s);
