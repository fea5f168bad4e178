// Window classes, creating and destroying windows, and what a window record holds.
#include <strings.h>

#include <QApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>

#include "platform/kernel/cmdline.h"
#include "platform/user/records.h"
#include "platform/user/remote.h"

namespace {

// Classes live as long as the program, with the brushes and cursors they hold.
std::vector<std::unique_ptr<ClassRec>>& g_classes = *new std::vector<std::unique_ptr<ClassRec>>;
std::set<HWND>& g_live = *new std::set<HWND>;
// Every record ever made, destroyed ones included.
std::vector<HWND>& g_records = *new std::vector<HWND>;

// Static controls let the pointer through to the window they lie on.
LRESULT StaticProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCHITTEST) return HTTRANSPARENT;
    return DefWindowProcA(wnd, msg, wp, lp);
}

// The window system's own class, known from the start.
void RegisterBuiltIns() {
    if (!FindClassRec("STATIC")) RegisterSysClass("STATIC", StaticProc);
}

}  // namespace

int EnsureApp() {
    if (!EnsureQtApp()) return 0;
    InstallInputFilter();
    return 1;
}

HINSTANCE PlatInitApp(int* argc, char** argv) {
    // The command line as given, before Qt takes out the arguments it knows.
    SetCmdLineArgs(*argc, argv);
    // Window shapes cut the window only under X11 (on Wayland a mask only limits input), so on a
    // desktop with an X server the program runs as an X client unless told otherwise.
    if (!getenv("QT_QPA_PLATFORM") && getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "xcb", 0);
    if (!QCoreApplication::instance()) new QApplication(*argc, argv);
    InstallInputFilter();
    return reinterpret_cast<HINSTANCE>(1);
}

void RegisterSysClass(const char* name, WNDPROC proc) {
    if (FindClassRec(name)) return;
    g_classes.push_back(
        std::make_unique<ClassRec>(ClassRec{name, 0, proc, nullptr, nullptr, nullptr}));
}

// Class names are known whatever their case ("Edit", "EDIT").
const ClassRec* FindClassRec(const char* name) {
    for (const auto& c : g_classes)
        if (strcasecmp(c->name.c_str(), name) == 0) return c.get();
    return nullptr;
}

WORD RegisterClassExA(const WNDCLASSEXA* cls) {
    EnsureApp();
    RegisterBuiltIns();
    if (!cls || !cls->lpszClassName || !cls->lpfnWndProc) return 0;
    if (FindClassRec(cls->lpszClassName)) return 0;  // the name is taken
    g_classes.push_back(
        std::make_unique<ClassRec>(ClassRec{cls->lpszClassName, cls->style, cls->lpfnWndProc,
                                            cls->hIcon, cls->hCursor, cls->hbrBackground}));
    return WORD(g_classes.size());
}

BOOL GetClassInfoExA(HINSTANCE, LPCSTR name, WNDCLASSEXA* out) {
    RegisterBuiltIns();
    const ClassRec* c = name ? FindClassRec(name) : nullptr;
    if (!c || !out) return FALSE;
    *out = WNDCLASSEXA{
        sizeof(WNDCLASSEXA), c->style, c->proc,         0,      0, nullptr, c->icon, c->cursor,
        c->background,       nullptr,  c->name.c_str(), c->icon};
    return TRUE;
}

WndWidget::WndWidget(WndRec* w, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), wnd(w) {
    setMouseTracking(true);
    if (!parent) setFocusPolicy(Qt::StrongFocus);
}

// The record stays as the handle's tombstone; its pictures go with the widget.
WndWidget::~WndWidget() {
    g_live.erase(wnd);
    wnd->destroyed = true;
    wnd->widget = nullptr;
    if (wnd->backing) DeleteObject(wnd->backing);
    if (wnd->image) DeleteObject(wnd->image);
    wnd->backing = wnd->image = nullptr;
    // The control's widget goes before its record: its signals may still look at the record.
    if (wnd->ctl) delete wnd->ctl->qt;
    delete wnd->ctl;
    wnd->ctl = nullptr;
}

// A control's widget fills its window; the control hears its new size.
void WndWidget::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (!IsLiveWnd(wnd) || !wnd->ctl) return;
    wnd->ctl->qt->setGeometry(rect());
    SendMessageA(wnd, WM_SIZE, 0, MAKELPARAM(width(), height()));
}

HWND GetTopWnd(HWND wnd) {
    while (wnd->child && wnd->parent) wnd = wnd->parent;
    return wnd;
}

bool IsLiveWnd(HWND wnd) {
    return wnd && g_live.count(wnd) && !wnd->destroyed;
}

BOOL IsWindow(HWND wnd) {
    return IsLiveWnd(wnd);
}

void SetOwnerHint(HWND wnd) {
    if (wnd->child || !wnd->parent) return;
    wnd->widget->winId();
    wnd->parent->widget->winId();
    wnd->widget->windowHandle()->setTransientParent(wnd->parent->widget->windowHandle());
}

HWND NewWndRec(const ClassRec* cls, DWORD style, LPCSTR name, int x, int y, int w, int h,
               HWND parent, int id) {
    if (!EnsureApp()) return nullptr;
    WndRec* wnd = new WndRec{};
    g_records.push_back(wnd);
    wnd->cls = cls;
    wnd->proc = cls ? cls->proc : nullptr;
    wnd->parent = parent;
    wnd->child = (style & WS_CHILD) != 0;
    wnd->id = id;
    wnd->style = style;
    wnd->text = name ? name : "";
    wnd->fontPx = parent ? parent->fontPx : 12;
    wnd->disabled = (style & WS_DISABLED) != 0;
    w = std::max(w, 0);
    h = std::max(h, 0);
    if (wnd->child) {
        wnd->widget = new WndWidget(wnd, parent->widget, Qt::Widget);
        wnd->widget->setGeometry(x, y, w, h);
        parent->children.push_back(wnd);
    } else {
        // A top-level window is owned by a top-level window, also when a child is named.
        if (parent) wnd->parent = parent = GetTopWnd(parent);
        // Windows with a caption of their own get the window manager's frame (until a shape
        // takes it away, as on Windows); the others none. An owned window is a dialog to the
        // window manager, an unowned one a normal window.
        const bool framed = (style & WS_CAPTION) == WS_CAPTION;
        const Qt::WindowFlags type = parent ? Qt::Dialog : Qt::Window;
        wnd->widget = new WndWidget(wnd, nullptr, framed ? type : type | Qt::FramelessWindowHint);
        SetOwnerHint(wnd);
        if (x == CW_USEDEFAULT) {
            const QRect screen = QGuiApplication::primaryScreen()->geometry();
            x = screen.x() + (screen.width() - w) / 2;
            y = screen.y() + (screen.height() - h) / 2;
        }
        wnd->widget->setGeometry(x, y, w, h);
        wnd->widget->setWindowTitle(QString::fromStdString(wnd->text));
        if (cls) SetWndIcon(wnd, cls->icon);
    }
    // Windows with a backing picture paint all of it; static controls are drawn by Qt, maybe
    // transparent, and have none.
    if (!IsStaticWnd(wnd)) wnd->widget->setAttribute(Qt::WA_OpaquePaintEvent);
    FitBacking(wnd);
    g_live.insert(wnd);
    return wnd;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE inst, void* param) {
    EnsureApp();
    RegisterBuiltIns();
    const ClassRec* cls = className ? FindClassRec(className) : nullptr;
    if (!cls) {
        fprintf(stderr, "CreateWindowExA: no window class \"%s\"\n",
                IS_INTRESOURCE(className) ? "(number)" : className);
        return nullptr;
    }
    if ((style & WS_CHILD) && !IsLiveWnd(parent)) return nullptr;
    if (parent && !IsLiveWnd(parent)) return nullptr;
    const int id = (style & WS_CHILD) ? int(reinterpret_cast<intptr_t>(menu)) : 0;
    HWND wnd = NewWndRec(cls, style, windowName, x, y, width, height, parent, id);
    if (!wnd) return nullptr;
    if ((exStyle & WS_EX_TOPMOST) && !wnd->child) ApplyTopmost(wnd, true);
    // Another instance started later finds the window through the listener, already while the
    // window is being made (a long start-up must not let a second instance through).
    if (!wnd->child && !wnd->parent) StartWndListener(cls->name.c_str());
    CREATESTRUCTA cs{param, inst, menu,        parent,     height,    width,
                     y,     x,    LONG(style), windowName, className, exStyle};
    if (SendMessageA(wnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(wnd);
        return nullptr;
    }
    if (!IsLiveWnd(wnd)) return nullptr;
    if (style & WS_VISIBLE) ShowWindow(wnd, SW_SHOW);
    return wnd;
}

namespace {

// WM_DESTROY goes to the window before its children, WM_NCDESTROY after them.
void SendDestroyMsgs(HWND wnd) {
    SendMessageA(wnd, WM_DESTROY, 0, 0);
    const std::vector<HWND> kids = wnd->children;
    for (HWND k : kids)
        if (IsLiveWnd(k)) SendDestroyMsgs(k);
    SendMessageA(wnd, WM_NCDESTROY, 0, 0);
    if (GetCapture() == wnd) ReleaseCapture();
    wnd->destroyed = true;
    g_live.erase(wnd);
    DropPostedMsgs(wnd);
}

// Whether a top-level window of the class without owner is left.
bool HasUnownedWnd(const ClassRec* cls) {
    for (HWND w : g_live)
        if (!w->child && !w->parent && w->cls == cls) return true;
    return false;
}

}  // namespace

BOOL DestroyWindow(HWND wnd) {
    if (!IsLiveWnd(wnd) || wnd->destroying) return FALSE;
    wnd->destroying = true;
    // Owned top-level windows go with their owner.
    std::vector<HWND> owned;
    for (HWND w : g_live)
        if (!w->child && w->parent == wnd) owned.push_back(w);
    for (HWND w : owned) DestroyWindow(w);
    SendDestroyMsgs(wnd);
    if (!wnd->child && !wnd->parent && wnd->cls && !HasUnownedWnd(wnd->cls))
        StopWndListener(wnd->cls->name.c_str());
    if (wnd->child && wnd->parent) {
        auto& kids = wnd->parent->children;
        kids.erase(std::remove(kids.begin(), kids.end(), wnd), kids.end());
    }
    wnd->widget->hide();
    // The widget goes once no procedure runs (the message loop frees it).
    wnd->widget->deleteLater();
    WakeMsgLoop();
    return TRUE;
}

HWND GetParent(HWND wnd) {
    return IsLiveWnd(wnd) ? wnd->parent : nullptr;
}

HWND GetDlgItem(HWND dlg, int id) {
    if (!IsLiveWnd(dlg)) return nullptr;
    for (HWND k : dlg->children)
        if (k->id == id && !k->destroyed) return k;
    return nullptr;
}

int GetDlgCtrlID(HWND wnd) {
    return IsLiveWnd(wnd) ? wnd->id : 0;
}

HWND FindLocalWnd(LPCSTR className, LPCSTR windowName) {
    for (HWND w : g_live) {
        if (w->child || w->destroyed) continue;
        if (className && (!w->cls || w->cls->name != className)) continue;
        if (windowName && w->text != windowName) continue;
        return w;
    }
    return nullptr;
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
    HWND local = FindLocalWnd(className, windowName);
    return local ? local : FindRemoteWnd(className, windowName);
}

LONG_PTR GetWindowLongPtrA(HWND wnd, int index) {
    if (!IsLiveWnd(wnd)) return 0;
    switch (index) {
        case GWLP_USERDATA: return wnd->userData;
        case GWLP_ID: return wnd->id;
        case DWLP_MSGRESULT: return wnd->msgResult;
        default: return 0;
    }
}

LONG_PTR SetWindowLongPtrA(HWND wnd, int index, LONG_PTR value) {
    if (!IsLiveWnd(wnd)) return 0;
    LONG_PTR* field = index == GWLP_USERDATA    ? &wnd->userData
                      : index == DWLP_MSGRESULT ? &wnd->msgResult
                                                : nullptr;
    if (!field) return 0;
    const LONG_PTR old = *field;
    *field = value;
    return old;
}

BOOL EnableWindow(HWND wnd, BOOL enable) {
    if (!IsLiveWnd(wnd)) return FALSE;
    const BOOL wasDisabled = wnd->disabled;
    if (wasDisabled == !enable) return wasDisabled;
    wnd->disabled = !enable;
    // A window disabled loses the focus (to none, not to a neighbour Qt would choose) and the
    // capture.
    if (!enable && GetFocus() == wnd) {
        NoteFocus(nullptr);
        if (wnd->ctl) wnd->ctl->qt->clearFocus();
    }
    if (!enable && GetCapture() == wnd) ReleaseCapture();
    // A control disabled itself is drawn greyed; the controls of a disabled window keep their
    // look and only take no input (the input filter drops it).
    if (wnd->ctl) wnd->ctl->qt->setEnabled(enable);
    SendMessageA(wnd, WM_ENABLE, WPARAM(enable), 0);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND wnd) {
    return IsLiveWnd(wnd) && !wnd->disabled;
}
