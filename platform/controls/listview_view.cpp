// The view of a list view control: a QTableWidget that looks like the report list, and the
// user's mouse and keys on it turned into the list's own messages and the notifications the
// original sends for them. Qt's own handling of that input is left out, so Qt never changes the
// items' states by itself.
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableWidget>
#include <algorithm>

#include "platform/controls/listview.h"
#include "platform/controls/records.h"

namespace {

constexpr int kRowPadPx = 4;  // around a row's text: room for the 16-px state image

class ListView : public QTableWidget {
public:
    explicit ListView(HWND w) : wnd(w) {}
    HWND wnd;
    bool pressed = false;   // a left press in the view waits for its release: a click
    LVHITTESTINFO press{};  // where that press was

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override { e->accept(); }  // no selection by dragging
    void keyPressEvent(QKeyEvent* e) override;
    void changeEvent(QEvent* e) override;
};

// The cell under a point of the view's area.
LVHITTESTINFO HitView(ListView* v, QPoint inView) {
    const QPoint at = v->viewport()->mapTo(v, inView);
    LVHITTESTINFO hit{};
    hit.pt = {at.x(), at.y()};
    SendMessageA(v->wnd, LVM_SUBITEMHITTEST, 0, LPARAM(&hit));
    return hit;
}

// The item a click at hit acts on: with full-row selection any cell of its row, else only its
// column-0 cell.
int GetClickedItem(HWND wnd, const LVHITTESTINFO& hit) {
    const DWORD ex = DWORD(SendMessageA(wnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    return (ex & LVS_EX_FULLROWSELECT) || hit.iSubItem == 0 ? hit.iItem : -1;
}

// NM_CLICK, NM_DBLCLK or LVN_ITEMACTIVATE about the cell at hit.
void NotifyActivate(HWND wnd, const LVHITTESTINFO& hit, UINT code) {
    NMITEMACTIVATE nm{};
    nm.iItem = GetClickedItem(wnd, hit);
    nm.iSubItem = hit.iSubItem;
    nm.ptAction = hit.pt;
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = nm.iItem;
    if (SendMessageA(wnd, LVM_GETITEMA, 0, LPARAM(&item))) nm.lParam = item.lParam;
    NotifyParent(wnd, &nm.hdr, code);
}

void NotifyColumnClick(HWND wnd, int col) {
    NMLISTVIEW nm{};
    nm.iItem = -1;
    nm.iSubItem = col;
    NotifyParent(wnd, &nm.hdr, LVN_COLUMNCLICK);
}

// Unchecked becomes checked and checked unchecked; an item without a box keeps none.
void ToggleCheck(HWND wnd, int i) {
    const UINT image = ListView_GetItemState(wnd, i, LVIS_STATEIMAGEMASK);
    if (!image) return;
    const UINT other = INDEXTOSTATEIMAGEMASK(image == INDEXTOSTATEIMAGEMASK(2) ? 1 : 2);
    ListView_SetItemState(wnd, i, other, LVIS_STATEIMAGEMASK);
}

void SelectItem(HWND wnd, int i) {
    ListView_SetItemState(wnd, i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// A left press toggles the check box under it, or selects and focuses the item under it, or on
// no item takes the selection from every item. Its release is the click (NM_CLICK).
void PressView(ListView* v, QPoint inView) {
    HWND wnd = v->wnd;
    const LVHITTESTINFO hit = HitView(v, inView);
    v->press = hit;
    v->pressed = true;
    const int i = GetClickedItem(wnd, hit);
    if (hit.flags & LVHT_ONITEMSTATEICON)
        ToggleCheck(wnd, hit.iItem);
    else if (i >= 0)
        SelectItem(wnd, i);
    else
        ListView_SetItemState(wnd, -1, 0, LVIS_SELECTED);
}

void ReleaseView(ListView* v) {
    if (!v->pressed) return;
    v->pressed = false;
    NotifyActivate(v->wnd, v->press, NM_CLICK);
}

// The second press of a double click: NM_DBLCLK, and on an item LVN_ITEMACTIVATE.
void DblClkView(ListView* v, QPoint inView) {
    HWND wnd = v->wnd;
    const LVHITTESTINFO hit = HitView(v, inView);
    NotifyActivate(wnd, hit, NM_DBLCLK);
    if (GetClickedItem(wnd, hit) >= 0) NotifyActivate(wnd, hit, LVN_ITEMACTIVATE);
}

// The arrows, Home and End move the focus and the selection as a click does; Space toggles the
// focused item's box. False for other keys: they are the dialog's.
bool KeyView(HWND wnd, int key) {
    const int count = ListView_GetItemCount(wnd);
    const int focused = ListView_GetNextItem(wnd, -1, LVNI_FOCUSED);
    int to = -1;
    switch (key) {
        case Qt::Key_Up: to = std::max(focused - 1, 0); break;
        case Qt::Key_Down: to = std::min(focused + 1, count - 1); break;
        case Qt::Key_Home: to = 0; break;
        case Qt::Key_End: to = count - 1; break;
        case Qt::Key_Space:
            if (focused >= 0) ToggleCheck(wnd, focused);
            return true;
        default: return false;
    }
    if (to < 0 || to >= count) return true;
    SelectItem(wnd, to);
    ListView_EnsureVisible(wnd, to, FALSE);
    return true;
}

// Rows as high as the font needs.
void FitRows(QTableWidget* list) {
    const int height = list->fontMetrics().height() + kRowPadPx;
    list->verticalHeader()->setMinimumSectionSize(height);
    list->verticalHeader()->setDefaultSectionSize(height);
}

void ListView::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) PressView(this, e->position().toPoint());
}

void ListView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) ReleaseView(this);
}

void ListView::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) DblClkView(this, e->position().toPoint());
}

void ListView::keyPressEvent(QKeyEvent* e) {
    if (!KeyView(wnd, e->key())) e->ignore();
}

void ListView::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange) FitRows(this);
    QTableWidget::changeEvent(e);
}

}  // namespace

// The view of list wnd, set up for the window style: whole rows selected, no editing in place,
// Tab left to the dialog, a clickable header unless LVS_NOSORTHEADER, a plain frame for
// WS_BORDER.
QTableWidget* NewListView(HWND wnd, DWORD style) {
    auto* v = new ListView(wnd);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setTabKeyNavigation(false);
    v->setWordWrap(false);
    v->setShowGrid(false);
    v->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    v->setFrameStyle(style & WS_BORDER ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    v->verticalHeader()->hide();
    v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    v->horizontalHeader()->setHighlightSections(false);
    v->horizontalHeader()->setSectionsClickable(!(style & LVS_NOSORTHEADER));
    QObject::connect(v->horizontalHeader(), &QHeaderView::sectionClicked,
                     [wnd](int col) { NotifyColumnClick(wnd, col); });
    FitRows(v);
    return v;
}
