// Test seams for the keyboard and activation: keys, typed text, an input method's commit and a
// paste reach the focused window as the window system would deliver a person's input.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include "platform/user/records.h"

namespace {

// The Qt widget that takes the keys of the focused window.
QWidget* GetKeyTarget() {
    HWND focus = GetFocus();
    if (!focus) return nullptr;
    return focus->ctl ? focus->ctl->qt : focus->widget;
}

void SendKey(int key, Qt::KeyboardModifiers mods, const QString& text) {
    QWidget* target = GetKeyTarget();
    if (!target) return;
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(target, &press);
    target = GetKeyTarget();  // the key may have moved the focus
    if (!target) return;
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(target, &release);
}

struct VirtKey {
    WPARAM vk;
    int key;
    const char* text;
};

const VirtKey kVirtKeys[] = {
    {VK_RETURN, Qt::Key_Return, "\r"},
    {VK_ESCAPE, Qt::Key_Escape, "\x1b"},
    {VK_TAB, Qt::Key_Tab, "\t"},
    {VK_SPACE, Qt::Key_Space, " "},
    {VK_BACK, Qt::Key_Backspace, "\b"},
    {VK_DELETE, Qt::Key_Delete, ""},
    {VK_HOME, Qt::Key_Home, ""},
    {VK_END, Qt::Key_End, ""},
    {VK_LEFT, Qt::Key_Left, ""},
    {VK_RIGHT, Qt::Key_Right, ""},
    {VK_UP, Qt::Key_Up, ""},
    {VK_DOWN, Qt::Key_Down, ""},
};

}  // namespace

void PlatPressKey(WPARAM vk, bool shift) {
    const Qt::KeyboardModifiers mods = shift ? Qt::ShiftModifier : Qt::NoModifier;
    for (const VirtKey& k : kVirtKeys) {
        if (k.vk != vk) continue;
        // Qt reports Shift+Tab as its own key.
        const int key = vk == VK_TAB && shift ? int(Qt::Key_Backtab) : k.key;
        SendKey(key, mods, QString::fromLatin1(k.text));
        return;
    }
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
        SendKey(int(vk), mods, QString(QChar(char(shift || vk <= '9' ? vk : vk + 32))));
}

void PlatTypeText(const char* utf8) {
    const QString text = QStr(utf8);
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            PlatPressKey(VK_RETURN);
            continue;
        }
        // A character outside the basic plane comes as one key with both of its halves.
        const int n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString ch = text.mid(i, n);
        const char16_t c = ch[0].unicode();
        const int key = c < 0x80 ? QChar(c).toUpper().unicode() : int(Qt::Key_unknown);
        SendKey(key, Qt::NoModifier, ch);
        i += n - 1;
    }
}

void PlatCommitText(const char* utf8) {
    QWidget* target = GetKeyTarget();
    if (!target) return;
    QInputMethodEvent e;
    e.setCommitString(QStr(utf8));
    QApplication::sendEvent(target, &e);
}

void PlatPasteText(const char* utf8) {
    QGuiApplication::clipboard()->setText(QStr(utf8));
    SendKey(Qt::Key_V, Qt::ControlModifier, QString());
}

void PlatActivate(HWND wnd, BOOL active) {
    if (!IsLiveWnd(wnd)) return;
    QEvent e(active ? QEvent::WindowActivate : QEvent::WindowDeactivate);
    QApplication::sendEvent(GetTopWnd(wnd)->widget, &e);
}
