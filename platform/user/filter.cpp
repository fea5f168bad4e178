// The window system's watch over the Qt events of the whole application. Hosted controls are Qt
// widgets that handle their own input; what the original window system decided around them is
// decided here: no input for disabled windows, the dialog keys, the pointer for the window that
// holds the capture, and the focus messages.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/user/records.h"

namespace {

// The modifier keys of the last input event, for GetKeyState.
Qt::KeyboardModifiers g_mods;

bool IsInputEvent(QEvent::Type t) {
    switch (t) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::ContextMenu: return true;
        default: return false;
    }
}

bool IsMouseEvent(QEvent::Type t) {
    return t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease ||
           t == QEvent::MouseButtonDblClick || t == QEvent::MouseMove;
}

class InputFilter : public QObject {
public:
    bool eventFilter(QObject* obj, QEvent* e) override {
        if (!IsInputEvent(e->type())) return false;
        if (auto* in = dynamic_cast<QInputEvent*>(e)) g_mods = in->modifiers();
        HWND wnd = FindOwnerWnd(obj);
        if (!wnd) return false;
        // A disabled window, or one whose top-level window is disabled (the owner of a modal
        // dialog), takes nothing; its controls keep their look.
        if (IsInputOff(wnd)) return true;
        if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            return DoDlgKey(wnd, k->key(), k->modifiers());
        }
        // The pointer over a control belongs to the window holding the capture, as it would on
        // the original (a lit bitmap button hears it leave onto the control).
        if (wnd->ctl && IsMouseEvent(e->type())) {
            HWND cap = GetCapture();
            if (!cap || cap == wnd) return false;
            SendQtMouse(wnd, static_cast<QMouseEvent*>(e));
            return true;
        }
        return false;
    }
};

// Focus moved inside Qt: a click into a control, a window activated. A popup of a control (a
// combobox's list) keeps the focus with the control, as the original does; a disabled window
// (the owner of a modal dialog the window manager activated) gets none.
void NoteQtFocus(QWidget*, QWidget* now) {
    if (now && now->window()->windowType() == Qt::Popup) return;
    HWND wnd = now ? FindOwnerWnd(now) : nullptr;
    if (wnd && IsInputOff(wnd)) return;
    NoteFocus(wnd);
}

}  // namespace

void InstallInputFilter() {
    static InputFilter* filter;
    if (filter || !qApp) return;
    filter = new InputFilter;
    qApp->installEventFilter(filter);
    QObject::connect(qApp, &QApplication::focusChanged, NoteQtFocus);
}

short GetKeyState(int vk) {
    const Qt::KeyboardModifier mod = vk == int(VK_SHIFT)     ? Qt::ShiftModifier
                                     : vk == int(VK_CONTROL) ? Qt::ControlModifier
                                                             : Qt::NoModifier;
    return mod != Qt::NoModifier && (g_mods & mod) ? short(0x8000) : 0;
}

HWND FindOwnerWnd(QObject* obj) {
    for (QObject* o = obj; o; o = o->parent()) {
        if (auto* ww = dynamic_cast<WndWidget*>(o)) return IsLiveWnd(ww->wnd) ? ww->wnd : nullptr;
        // A popup of its own (a combobox's list) is not the window's.
        auto* w = qobject_cast<QWidget*>(o);
        if (w && w->isWindow()) return nullptr;
    }
    return nullptr;
}
