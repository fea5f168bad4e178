// The EDIT control: a one-line field on QLineEdit, a multi-line one on QPlainTextEdit. Texts go
// out with CR LF line breaks; the input limit counts bytes of the CP932 form and is enforced on
// every way text comes in (keys, paste, drop, input method).
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaObject>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QToolTip>
#include <QValidator>

#include "platform/controls/fit.h"
#include "platform/text/codepage.h"

namespace {

constexpr size_t kDefLimit = 32767;
constexpr size_t kMaxLimit = 0x7FFFFFFE;

struct EditRec : CtlRec {
    HWND wnd = nullptr;
    bool multi = false;
    TextFit fit;   // what the user may bring in
    QString told;  // the text the parent last heard of (or the program set)
};

EditRec* GetEdit(HWND wnd) {
    return static_cast<EditRec*>(GetCtl(wnd, CTL_EDIT));
}

// Text a key brings: any but the control characters (Backspace, Tab, Escape) Qt edits with.
bool IsTypedText(const QString& text) {
    return !text.isEmpty() && text[0].unicode() >= 0x20 && text[0].unicode() != 0x7F;
}

// Multi-line fields: the three ways text comes in, each fitted before it goes in.
class MultiEdit : public QPlainTextEdit {
public:
    explicit MultiEdit(EditRec* e) : edit(e) {}

protected:
    void keyPressEvent(QKeyEvent* k) override {
        const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
        const Qt::KeyboardModifiers mods = k->modifiers();
        // Enter (and Ctrl+Enter where Enter is the dialog's) makes a line break.
        if (enter && !(mods & Qt::AltModifier)) return Insert("\n");
        if (!IsTypedText(k->text()) || (mods & Qt::ControlModifier))
            return QPlainTextEdit::keyPressEvent(k);
        // Alt with a key types nothing: it is the menu's.
        if (!(mods & Qt::AltModifier)) Insert(k->text());
    }
    void inputMethodEvent(QInputMethodEvent* m) override {
        QString ins = m->commitString();
        if (ins.isEmpty()) return QPlainTextEdit::inputMethodEvent(m);
        FitText(&edit->fit, GetRest(), &ins);
        QInputMethodEvent fitted(m->preeditString(), m->attributes());
        fitted.setCommitString(ins, m->replacementStart(), m->replacementLength());
        QPlainTextEdit::inputMethodEvent(&fitted);
    }
    void insertFromMimeData(const QMimeData* source) override {
        QString ins = source->text();
        ins.replace("\r\n", "\n");
        ins.replace('\r', '\n');
        Insert(ins);
    }

private:
    void Insert(QString ins) {
        FitText(&edit->fit, GetRest(), &ins);
        if (!ins.isEmpty()) insertPlainText(ins);
    }
    // The text that stays when the selection is replaced.
    QString GetRest() const {
        const QTextCursor c = textCursor();
        QString text = toPlainText();
        return text.remove(c.selectionStart(), c.selectionEnd() - c.selectionStart());
    }
    EditRec* edit;
};

QString GetEditQText(const EditRec* e) {
    if (e->multi) return static_cast<QPlainTextEdit*>(e->qt)->toPlainText();
    return static_cast<QLineEdit*>(e->qt)->text();
}

// The text as the A functions give it: UTF-8 with CR LF line breaks.
std::string GetEditText(const EditRec* e) {
    QString text = GetEditQText(e);
    if (e->multi) text.replace('\n', "\r\n");
    return Utf8Of(text);
}

void PutEditText(EditRec* e, const char* utf8) {
    QString text = QStr(utf8);
    QuietCtl quiet(e);
    if (e->multi) {
        text.replace("\r\n", "\n");
        static_cast<QPlainTextEdit*>(e->qt)->setPlainText(text);
    } else {
        static_cast<QLineEdit*>(e->qt)->setText(text);
    }
    e->told = GetEditQText(e);
}

// A one-line field tells its parent of the program's change too; a multi-line one does not.
void SetEditText(EditRec* e, const char* utf8) {
    PutEditText(e, utf8);
    if (e->multi) return;
    NotifyCmd(e->wnd, EN_UPDATE);
    NotifyCmd(e->wnd, EN_CHANGE);
}

// The user changed the text: the parent hears of it, unless the change was taken back whole (a
// refused key).
void NotifyChange(EditRec* e) {
    const QString now = GetEditQText(e);
    if (e->quiet || now == e->told) return;
    e->told = now;
    NotifyCmd(e->wnd, EN_UPDATE);
    NotifyCmd(e->wnd, EN_CHANGE);
}

// The Qt position of a byte offset into the A text (UTF-8, line breaks counting 2).
int GetQPos(const EditRec* e, const QString& text, LPARAM bytes) {
    if (bytes < 0) return int(text.size());
    LPARAM at = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (at >= bytes) return i;
        at += text[i] == '\n' ? (e->multi ? 2 : 1) : QString(text[i]).toUtf8().size();
    }
    return int(text.size());
}

LPARAM GetBytePos(const EditRec* e, const QString& text, int qpos) {
    QString head = text.left(qpos);
    if (e->multi) head.replace('\n', "\r\n");
    return LPARAM(head.toUtf8().size());
}

// EM_SETSEL: (0, -1) selects all, a start of -1 takes the selection away; the caret goes to the
// end given.
void SetEditSel(EditRec* e, WPARAM wp, LPARAM lp) {
    const QString text = GetEditQText(e);
    const LPARAM start = LPARAM(intptr_t(wp)), end = lp;
    if (e->multi) {
        auto* box = static_cast<QPlainTextEdit*>(e->qt);
        QTextCursor c = box->textCursor();
        if (start < 0) {
            c.clearSelection();
        } else {
            c.setPosition(GetQPos(e, text, start));
            c.setPosition(GetQPos(e, text, end), QTextCursor::KeepAnchor);
        }
        box->setTextCursor(c);
        return;
    }
    auto* line = static_cast<QLineEdit*>(e->qt);
    if (start < 0) {
        line->deselect();
        return;
    }
    const int from = GetQPos(e, text, start), to = GetQPos(e, text, end);
    line->setSelection(from, to - from);
}

LRESULT GetEditSel(const EditRec* e, WPARAM wp, LPARAM lp) {
    const QString text = GetEditQText(e);
    int from, to;
    if (e->multi) {
        const QTextCursor c = static_cast<QPlainTextEdit*>(e->qt)->textCursor();
        from = c.selectionStart();
        to = c.selectionEnd();
    } else {
        const auto* line = static_cast<QLineEdit*>(e->qt);
        from = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
        to = line->hasSelectedText() ? line->selectionEnd() : from;
    }
    const LPARAM a = GetBytePos(e, text, from), b = GetBytePos(e, text, to);
    if (wp) *reinterpret_cast<DWORD*>(wp) = DWORD(a);
    if (lp) *reinterpret_cast<DWORD*>(lp) = DWORD(b);
    return LRESULT(MAKELPARAM(int(a), int(b)));
}

QWidget* MakeLineQt(EditRec* e) {
    auto* line = new QLineEdit;
    line->setFrame(e->wnd->style & WS_BORDER);
    if (e->wnd->style & ES_PASSWORD) line->setEchoMode(QLineEdit::Password);
    line->setReadOnly(e->wnd->style & ES_READONLY);
    FitLineEdit(line, &e->fit);
    HWND wnd = e->wnd;
    QObject::connect(line, &QLineEdit::textEdited, [wnd] {
        if (EditRec* ed = GetEdit(wnd)) NotifyChange(ed);
    });
    return line;
}

QWidget* MakeMultiQt(EditRec* e) {
    auto* box = new MultiEdit(e);
    const DWORD style = e->wnd->style;
    if (!(style & WS_BORDER)) box->setFrameShape(QFrame::NoFrame);
    // Long lines wrap on screen unless the field scrolls sideways; the text keeps no soft breaks.
    const bool sideways = style & (WS_HSCROLL | ES_AUTOHSCROLL);
    box->setLineWrapMode(sideways ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    box->setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn
                                                         : Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAlwaysOn
                                                           : Qt::ScrollBarAlwaysOff);
    box->setReadOnly(style & ES_READONLY);
    box->setTabChangesFocus(true);
    HWND wnd = e->wnd;
    QObject::connect(box, &QPlainTextEdit::textChanged, [wnd] {
        if (EditRec* ed = GetEdit(wnd)) NotifyChange(ed);
    });
    return box;
}

void EditCreate(HWND wnd) {
    auto* e = new EditRec;
    e->kind = CTL_EDIT;
    e->wnd = wnd;
    e->multi = wnd->style & ES_MULTILINE;
    e->fit = TextFit{e, wnd, kDefLimit, (wnd->style & ES_LOWERCASE) != 0, EN_MAXTEXT, QString()};
    QWidget* qt = e->multi ? MakeMultiQt(e) : MakeLineQt(e);
    HostCtl(wnd, e, qt);
    PutEditText(e, wnd->text.c_str());
}

// What the dialog keys leave to the field: characters, arrows, its selection; a multi-line
// field keeps Enter as a line break when it wants Enter, and Ctrl+Enter always.
LRESULT GetEditDlgCode(HWND wnd, WPARAM vk) {
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    const bool multi = wnd->style & ES_MULTILINE;
    if (multi && vk == VK_RETURN &&
        ((wnd->style & ES_WANTRETURN) || GetKeyState(int(VK_CONTROL)) < 0))
        code |= DLGC_WANTALLKEYS;
    return code;
}

}  // namespace

LRESULT EditProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CREATE) {
        EditCreate(wnd);
        return 0;
    }
    EditRec* e = GetEdit(wnd);
    if (!e) return DefWindowProcA(wnd, msg, wp, lp);
    switch (msg) {
        case WM_SETTEXT: SetEditText(e, reinterpret_cast<LPCSTR>(lp)); return TRUE;
        case WM_GETTEXT:
            return CopyUtf8Text(GetEditText(e).c_str(), reinterpret_cast<LPSTR>(lp), int(wp));
        case WM_GETTEXTLENGTH: return LRESULT(GetEditText(e).size());
        case EM_LIMITTEXT:
            e->fit.limit = wp ? std::min(size_t(wp), kMaxLimit) : kMaxLimit;
            return 0;
        case EM_GETLIMITTEXT: return LRESULT(e->fit.limit);
        case EM_SETSEL: SetEditSel(e, wp, lp); return 0;
        case EM_GETSEL: return GetEditSel(e, wp, lp);
        case WM_GETDLGCODE: return GetEditDlgCode(wnd, wp);
        case WM_SETFOCUS: NotifyCmd(wnd, EN_SETFOCUS); return 0;
        case WM_KILLFOCUS: NotifyCmd(wnd, EN_KILLFOCUS); return 0;
        default: return DefWindowProcA(wnd, msg, wp, lp);
    }
}
