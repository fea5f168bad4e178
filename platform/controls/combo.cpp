// The COMBOBOX control on QComboBox: a drop-down list with an edit field (CBS_DROPDOWN) or
// without (CBS_DROPDOWNLIST), sorted when asked. The window is as high as the selection field;
// the height it was made with is the height of the dropped-down list.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <cstring>

#include "platform/controls/fit.h"
#include "platform/kernel/namecmp.h"
#include "platform/text/codepage.h"

namespace {

struct ComboRec : CtlRec {
    HWND wnd = nullptr;
    int fieldHeight = 0;  // the window's height: the selection field
    int dropHeight = 0;   // the field and its dropped-down list
    int itemHeight = 0;   // of the list's items; 0: as the font gives
    int lastSel = -1;     // the selection the parent last heard of
    TextFit fit;          // what the user may type into the field
};

constexpr size_t kDefComboLimit = 30000;

ComboRec* GetCombo(HWND wnd) {
    return static_cast<ComboRec*>(GetCtl(wnd, CTL_COMBO));
}

// Opening and closing the list are the user's; the program's own CB_SHOWDROPDOWN is quiet.
class ComboBox : public QComboBox {
public:
    explicit ComboBox(HWND w) : wnd(w) {}
    void showPopup() override {
        if (ComboRec* c = GetCombo(wnd); c && !c->quiet) NotifyCmd(wnd, CBN_DROPDOWN);
        QComboBox::showPopup();
    }
    // Qt also calls this when the box is hidden or disabled, with no list open.
    void hidePopup() override {
        const bool open = view()->isVisible();
        QComboBox::hidePopup();
        if (ComboRec* c = GetCombo(wnd); open && c && !c->quiet) NotifyCmd(wnd, CBN_CLOSEUP);
    }

private:
    HWND wnd;
};

QComboBox* GetQCombo(const ComboRec* c) {
    return static_cast<QComboBox*>(c->qt);
}

// The list shows as many items as fit in the dropped-down height below the field.
void FitDropList(ComboRec* c) {
    QComboBox* box = GetQCombo(c);
    const int item = c->itemHeight ? c->itemHeight : box->fontMetrics().height() + 2;
    box->setMaxVisibleItems(std::max(1, (c->dropHeight - c->fieldHeight) / item));
}

// A size given to the window is the dropped-down height; the window stays as high as its field.
void ComboSize(ComboRec* c, int height) {
    if (height == c->fieldHeight) return;
    c->dropHeight = height;
    FitDropList(c);
    const QRect r = c->wnd->widget->geometry();
    c->wnd->widget->setGeometry(r.x(), r.y(), r.width(), c->fieldHeight);
}

void SetItemHeight(ComboRec* c, int index) {
    if (c->itemHeight) GetQCombo(c)->setItemData(index, QSize(0, c->itemHeight), Qt::SizeHintRole);
}

// CBS_SORT keeps the items in the order of the file system's names, so that folder names show
// in the order a search finds them.
LRESULT AddComboText(ComboRec* c, const char* utf8) {
    if (!utf8) return CB_ERR;
    QComboBox* box = GetQCombo(c);
    int at = box->count();
    if (c->wnd->style & CBS_SORT) {
        at = 0;
        while (at < box->count() && CompareNameUpper(Utf8Of(box->itemText(at)), utf8) <= 0) ++at;
    }
    QuietCtl quiet(c);
    const int before = box->count();
    const QString field = box->currentText();
    box->insertItem(at, QStr(utf8));
    if (box->count() == before) return CB_ERRSPACE;
    // Qt selects the first item that comes; the list has no selection until one is chosen.
    if (c->lastSel < 0 && box->currentIndex() >= 0) {
        box->setCurrentIndex(-1);
        if (box->lineEdit()) box->lineEdit()->setText(field);
    }
    SetItemHeight(c, at);
    // Items inserted before the selection move it along, as the list's own index does.
    if (c->lastSel >= at) c->lastSel++;
    return at;
}

LRESULT SetComboSel(ComboRec* c, int index) {
    QComboBox* box = GetQCombo(c);
    QuietCtl quiet(c);
    const bool valid = index >= 0 && index < box->count();
    box->setCurrentIndex(valid ? index : -1);
    if (!valid && box->lineEdit()) box->lineEdit()->clear();
    c->lastSel = valid ? index : -1;
    return valid ? index : CB_ERR;
}

void ResetCombo(ComboRec* c) {
    QuietCtl quiet(c);
    GetQCombo(c)->clear();
    if (QLineEdit* edit = GetQCombo(c)->lineEdit()) edit->clear();
    c->lastSel = -1;
}

// CB_SETITEMHEIGHT: -1 sets the selection field (the window grows or shrinks with it), 0 the
// list's items.
LRESULT SetComboItemHeight(ComboRec* c, WPARAM which, LPARAM height) {
    if (height <= 0 || height > 255) return CB_ERR;
    if (int(intptr_t(which)) == -1) {
        c->fieldHeight = int(height) + 6;  // the field's frame: 3 pixels above and below
        GetQCombo(c)->setFixedHeight(c->fieldHeight);
        const QRect r = c->wnd->widget->geometry();
        c->wnd->widget->setGeometry(r.x(), r.y(), r.width(), c->fieldHeight);
    } else {
        c->itemHeight = int(height);
        for (int i = 0; i < GetQCombo(c)->count(); ++i) SetItemHeight(c, i);
    }
    FitDropList(c);
    return CB_OKAY;
}

LRESULT GetItemText(const ComboRec* c, WPARAM index, char* buf) {
    const QComboBox* box = GetQCombo(c);
    if (int(index) < 0 || int(index) >= box->count()) return CB_ERR;
    const std::string text = Utf8Of(box->itemText(int(index)));
    // The caller sized the buffer by CB_GETLBTEXTLEN.
    if (buf) std::memcpy(buf, text.c_str(), text.size() + 1);
    return LRESULT(text.size());
}

// The field's text: what is typed there, or the selected item.
std::string GetComboText(const ComboRec* c) {
    return Utf8Of(GetQCombo(c)->currentText());
}

// The user chose an item (also the one already chosen): the choice ends, and the parent hears
// of a changed selection.
void ComboActivated(HWND wnd, int index) {
    ComboRec* c = GetCombo(wnd);
    if (!c || c->quiet) return;
    NotifyCmd(wnd, CBN_SELENDOK);
    c = GetCombo(wnd);
    if (!c || index == c->lastSel) return;
    c->lastSel = index;
    NotifyCmd(wnd, CBN_SELCHANGE);
}

void ComboEdited(HWND wnd) {
    ComboRec* c = GetCombo(wnd);
    if (!c || c->quiet) return;
    NotifyCmd(wnd, CBN_EDITUPDATE);
    NotifyCmd(wnd, CBN_EDITCHANGE);
}

void ComboCreate(HWND wnd) {
    auto* c = new ComboRec;
    c->kind = CTL_COMBO;
    c->wnd = wnd;
    auto* box = new ComboBox(wnd);
    const DWORD type = wnd->style & 3;
    box->setEditable(type == CBS_DROPDOWN || type == CBS_SIMPLE);
    box->setInsertPolicy(QComboBox::NoInsert);
    QObject::connect(box, &QComboBox::activated, [wnd](int i) { ComboActivated(wnd, i); });
    c->fit = TextFit{c, wnd, kDefComboLimit, false, 0, QString()};
    if (QLineEdit* edit = box->lineEdit()) {
        FitLineEdit(edit, &c->fit);
        QObject::connect(edit, &QLineEdit::textEdited, [wnd] { ComboEdited(wnd); });
    }
    c->dropHeight = wnd->widget->height();
    HostCtl(wnd, c, box);
    c->fieldHeight = box->sizeHint().height();
    box->view()->setFont(box->font());
    // A list too short to scroll still shows its scroll bar, disabled.
    if (wnd->style & CBS_DISABLENOSCROLL)
        box->view()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ComboSize(c, c->dropHeight);
}

}  // namespace

LRESULT ComboProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CREATE) {
        ComboCreate(wnd);
        return 0;
    }
    ComboRec* c = GetCombo(wnd);
    if (!c) return DefWindowProcA(wnd, msg, wp, lp);
    switch (msg) {
        case WM_SIZE: ComboSize(c, HIWORD(uintptr_t(lp))); return 0;
        case WM_SETFONT:
            DefWindowProcA(wnd, msg, wp, lp);
            GetQCombo(c)->view()->setFont(GetWndQFont(wnd));
            FitDropList(c);
            return 0;
        case CB_ADDSTRING: return AddComboText(c, reinterpret_cast<const char*>(lp));
        case CB_LIMITTEXT: c->fit.limit = wp ? size_t(wp) : 0x7FFFFFFE; return TRUE;
        case CB_RESETCONTENT: ResetCombo(c); return CB_OKAY;
        case CB_SETCURSEL: return SetComboSel(c, int(intptr_t(wp)));
        case CB_GETCURSEL:
            return GetQCombo(c)->currentIndex() >= 0 ? GetQCombo(c)->currentIndex() : CB_ERR;
        case CB_GETCOUNT: return GetQCombo(c)->count();
        case CB_GETLBTEXT: return GetItemText(c, wp, reinterpret_cast<char*>(lp));
        case CB_GETLBTEXTLEN: return GetItemText(c, wp, nullptr);
        case CB_SETITEMHEIGHT: return SetComboItemHeight(c, wp, lp);
        case CB_GETITEMHEIGHT:
            return int(intptr_t(wp)) == -1
                       ? c->fieldHeight - 6
                       : (c->itemHeight ? c->itemHeight : GetQCombo(c)->fontMetrics().height());
        case CB_SHOWDROPDOWN: {
            QuietCtl quiet(c);
            if (wp)
                GetQCombo(c)->showPopup();
            else
                GetQCombo(c)->hidePopup();
            return TRUE;
        }
        case CB_GETDROPPEDSTATE: return GetQCombo(c)->view()->isVisible();
        case WM_SETTEXT:
            if (QLineEdit* edit = GetQCombo(c)->lineEdit()) {
                QuietCtl quiet(c);
                edit->setText(QStr(reinterpret_cast<const char*>(lp)));
                return TRUE;
            }
            return CB_ERR;
        case WM_GETTEXT:
            return CopyUtf8Text(GetComboText(c).c_str(), reinterpret_cast<LPSTR>(lp), int(wp));
        case WM_GETTEXTLENGTH: return LRESULT(GetComboText(c).size());
        case WM_SETFOCUS: NotifyCmd(wnd, CBN_SETFOCUS); return 0;
        case WM_KILLFOCUS: NotifyCmd(wnd, CBN_KILLFOCUS); return 0;
        default: return DefWindowProcA(wnd, msg, wp, lp);
    }
}
