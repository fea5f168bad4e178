// The report list view control on a QTableWidget: rows are the items, columns the subitems, and
// an item's state image is the check state of its column-0 cell.
//
// A table rather than a tree: LVS_EX_GRIDLINES is its own grid, a cell is addressed by item and
// subitem as the messages address it, and there is no branch indentation to take away.
//
// The items' state lives in Qt (the selection model for LVIS_SELECTED, the column-0 cell for
// the state image and lParam) and in the record (the focused item). Qt never changes it by
// itself: the view's own mouse and key handling is replaced (listview_view.cpp) by one that
// sends the list its own messages, so a user's click and the program's LVM_SETITEMSTATE change
// items the same way and notify the same way. No Qt signal of the view is turned into a
// notification, so the program's changes need no quiet guard.
#include "platform/controls/listview.h"

#include <QHeaderView>
#include <QPersistentModelIndex>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableWidget>
#include <algorithm>

#include "platform/controls/records.h"
#include "platform/text/codepage.h"

namespace {

struct ListRec : CtlRec {
    QTableWidget* list = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    QPersistentModelIndex focus;  // column 0 of the focused item; none when no item has it
};

ListRec* GetListRec(HWND wnd) {
    return static_cast<ListRec*>(GetCtl(wnd, CTL_LISTVIEW));
}

bool IsItem(const ListRec* r, int i) {
    return i >= 0 && i < r->list->rowCount();
}

// The cell of item i and column sub, made when the item has none there yet; none when the list
// has no such column.
QTableWidgetItem* GetCell(ListRec* r, int i, int sub) {
    if (sub < 0 || sub >= r->list->columnCount()) return nullptr;
    QTableWidgetItem* cell = r->list->item(i, sub);
    if (cell) return cell;
    cell = new QTableWidgetItem;
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    r->list->setItem(i, sub, cell);
    return cell;
}

QString GetCellText(ListRec* r, int i, int sub) {
    const QTableWidgetItem* cell = r->list->item(i, sub);
    return cell ? cell->text() : QString();
}

LPARAM GetItemParam(ListRec* r, int i) {
    const QTableWidgetItem* cell = r->list->item(i, 0);
    return cell ? LPARAM(cell->data(Qt::UserRole).toLongLong()) : 0;
}

UINT GetItemState(ListRec* r, int i) {
    UINT state = 0;
    if (r->focus.isValid() && r->focus.row() == i) state |= LVIS_FOCUSED;
    if (r->list->selectionModel()->isRowSelected(i, QModelIndex())) state |= LVIS_SELECTED;
    const QTableWidgetItem* cell = r->list->item(i, 0);
    const QVariant check = cell ? cell->data(Qt::CheckStateRole) : QVariant();
    if (check.isValid()) state |= INDEXTOSTATEIMAGEMASK(check.toInt() == Qt::Checked ? 2 : 1);
    return state;
}

// The state image as the column-0 cell shows it: 0 no box, 1 unchecked, 2 checked.
void PutStateImage(ListRec* r, int i, UINT image) {
    QTableWidgetItem* cell = GetCell(r, i, 0);
    if (!cell) return;
    cell->setData(Qt::CheckStateRole,
                  image ? QVariant(int(image == 2 ? Qt::Checked : Qt::Unchecked)) : QVariant());
}

void PutItemState(ListRec* r, int i, UINT state) {
    QItemSelectionModel* sel = r->list->selectionModel();
    const QModelIndex at = r->list->model()->index(i, 0);
    sel->select(
        at, (state & LVIS_SELECTED ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                QItemSelectionModel::Rows);
    // Qt's current index only draws the focus; the record says which item has it.
    if (state & LVIS_FOCUSED) {
        r->focus = at;
        sel->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
    } else if (r->focus == at) {
        r->focus = QPersistentModelIndex();
        sel->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    PutStateImage(r, i, (state & LVIS_STATEIMAGEMASK) >> 12);
}

LRESULT NotifyItem(HWND wnd, ListRec* r, UINT code, int i, UINT was, UINT now, UINT changed) {
    NMLISTVIEW nm{};
    nm.iItem = i;
    nm.uOldState = was;
    nm.uNewState = now;
    nm.uChanged = changed;
    nm.lParam = IsItem(r, i) ? GetItemParam(r, i) : 0;
    return NotifyParent(wnd, &nm.hdr, code);
}

// Changes item want.iItem as want says (LVIF_TEXT of column 0, LVIF_PARAM, LVIF_STATE under
// stateMask). When something really changes, the parent hears LVN_ITEMCHANGING first (TRUE
// refuses the change) and LVN_ITEMCHANGED after; of a new item only the latter, as the original
// tells of an inserted item's first state. 1 when the item is as asked.
int ChangeItem(HWND wnd, ListRec* r, const LVITEMA& want, bool isNew) {
    const int i = want.iItem;
    const UINT was = GetItemState(r, i);
    UINT now = was;
    if (want.mask & LVIF_STATE) now = (was & ~want.stateMask) | (want.state & want.stateMask);
    UINT changed = now != was ? LVIF_STATE : 0;
    const QString text = want.mask & LVIF_TEXT ? QStr(want.pszText) : QString();
    if ((want.mask & LVIF_TEXT) && text != GetCellText(r, i, 0)) changed |= LVIF_TEXT;
    if ((want.mask & LVIF_PARAM) && want.lParam != GetItemParam(r, i)) changed |= LVIF_PARAM;
    if (!changed) return 1;
    if (!isNew && NotifyItem(wnd, r, LVN_ITEMCHANGING, i, was, now, changed)) return 0;
    if (!IsItem(r, i)) return 0;
    if (changed & LVIF_TEXT) GetCell(r, i, 0)->setText(text);
    if (changed & LVIF_PARAM) GetCell(r, i, 0)->setData(Qt::UserRole, qlonglong(want.lParam));
    if (changed & LVIF_STATE) PutItemState(r, i, now);
    NotifyItem(wnd, r, LVN_ITEMCHANGED, i, was, now, changed);
    return 1;
}

int ChangeItemState(HWND wnd, ListRec* r, int i, UINT state, UINT mask) {
    LVITEMA want{};
    want.mask = LVIF_STATE;
    want.iItem = i;
    want.state = state;
    want.stateMask = mask;
    return ChangeItem(wnd, r, want, false);
}

// LVM_GETNEXTITEM: the first item after `start` that has every state of `flags`; -1 for none.
int FindItem(ListRec* r, int start, UINT flags) {
    for (int i = std::max(start + 1, 0); i < r->list->rowCount(); ++i)
        if ((GetItemState(r, i) & flags) == flags) return i;
    return -1;
}

// LVM_SETITEMSTATE on one item. Taking the focus takes it from the focused item, and taking the
// selection in a single-selection list takes it from the selected one; those items hear of it
// first, so a click notifies in the original's order: the old item loses the focus, then the
// selection, then the new item gains both.
int SetItemState(HWND wnd, ListRec* r, int i, UINT state, UINT mask) {
    const UINT gain = state & mask;
    const int focused = FindItem(r, -1, LVNI_FOCUSED);
    if ((gain & LVIS_FOCUSED) && focused >= 0 && focused != i)
        ChangeItemState(wnd, r, focused, 0, LVIS_FOCUSED);
    if ((gain & LVIS_SELECTED) && (r->style & LVS_SINGLESEL))
        for (int j = FindItem(r, -1, LVNI_SELECTED); j >= 0; j = FindItem(r, j, LVNI_SELECTED))
            if (j != i) ChangeItemState(wnd, r, j, 0, LVIS_SELECTED);
    return ChangeItemState(wnd, r, i, state, mask);
}

// LVM_SETITEMSTATE: item i, or with -1 every item, each notified on its own. No item takes
// the focus for all.
int SetItemsState(HWND wnd, ListRec* r, int i, const LVITEMA* want) {
    if (!want) return 0;
    if (i >= 0) return IsItem(r, i) && SetItemState(wnd, r, i, want->state, want->stateMask);
    if (want->state & want->stateMask & LVIS_FOCUSED) return 0;
    int done = 1;
    for (int j = 0; j < r->list->rowCount(); ++j)
        done &= ChangeItemState(wnd, r, j, want->state, want->stateMask);
    return done;
}

// LVM_GETITEMTEXTA: the text of subitem item->iSubItem into item->pszText; returns its length.
int GetItemText(ListRec* r, int i, LVITEMA* item) {
    if (!item || !IsItem(r, i)) return 0;
    return CopyUtf8Text(Utf8Of(GetCellText(r, i, item->iSubItem)).c_str(), item->pszText,
                        item->cchTextMax);
}

int GetItem(ListRec* r, LVITEMA* item) {
    if (!item || !IsItem(r, item->iItem)) return 0;
    if (item->mask & LVIF_TEXT) GetItemText(r, item->iItem, item);
    if (item->mask & LVIF_STATE) item->state = GetItemState(r, item->iItem) & item->stateMask;
    if (item->mask & LVIF_PARAM) item->lParam = GetItemParam(r, item->iItem);
    return 1;
}

// LVM_SETITEMTEXTA: the text of subitem item->iSubItem. Column 0 is the item's own text, whose
// change is a change of the item.
int SetItemText(HWND wnd, ListRec* r, int i, const LVITEMA* item) {
    if (!item || !IsItem(r, i)) return 0;
    if (item->iSubItem == 0) {
        LVITEMA want{};
        want.mask = LVIF_TEXT;
        want.iItem = i;
        want.pszText = item->pszText;
        return ChangeItem(wnd, r, want, false);
    }
    QTableWidgetItem* cell = GetCell(r, i, item->iSubItem);
    if (!cell) return 0;
    cell->setText(QStr(item->pszText));
    return 1;
}

// LVM_SETITEMA: the state as LVM_SETITEMSTATE sets it, text and lParam as one change.
int SetItem(HWND wnd, ListRec* r, const LVITEMA* item) {
    if (!item || !IsItem(r, item->iItem)) return 0;
    if (item->iSubItem) return (item->mask & LVIF_TEXT) && SetItemText(wnd, r, item->iItem, item);
    LVITEMA rest = *item;
    rest.mask &= LVIF_TEXT | LVIF_PARAM;
    const int done = ChangeItem(wnd, r, rest, false);
    if (!(item->mask & LVIF_STATE)) return done;
    return done && SetItemState(wnd, r, item->iItem, item->state, item->stateMask);
}

// LVM_INSERTITEMA: the new item's index, or -1. In a list with check boxes the item starts
// unchecked, which the parent hears as a state change from nothing (LVN_ITEMCHANGED only), and
// then LVN_INSERTITEM.
int InsertItem(HWND wnd, ListRec* r, const LVITEMA* item) {
    if (!item || item->iSubItem != 0 || item->iItem < 0) return -1;
    const int i = std::min(item->iItem, r->list->rowCount());
    r->list->insertRow(i);
    if (item->mask & LVIF_TEXT) GetCell(r, i, 0)->setText(QStr(item->pszText));
    if (item->mask & LVIF_PARAM) GetCell(r, i, 0)->setData(Qt::UserRole, qlonglong(item->lParam));
    LVITEMA first{};
    first.mask = LVIF_STATE;
    first.iItem = i;
    first.stateMask = LVIS_STATEIMAGEMASK | LVIS_SELECTED | LVIS_FOCUSED;
    if (item->mask & LVIF_STATE) first.state = item->state & item->stateMask;
    if ((r->exStyle & LVS_EX_CHECKBOXES) && !(first.state & LVIS_STATEIMAGEMASK))
        first.state |= INDEXTOSTATEIMAGEMASK(1);
    ChangeItem(wnd, r, first, true);
    NotifyItem(wnd, r, LVN_INSERTITEM, i, 0, 0, 0);
    return i;
}

// LVM_DELETEITEM: the item gives up selection and focus (notified), then LVN_DELETEITEM.
int DeleteItem(HWND wnd, ListRec* r, int i) {
    if (!IsItem(r, i)) return 0;
    ChangeItemState(wnd, r, i, 0, LVIS_SELECTED | LVIS_FOCUSED);
    NotifyItem(wnd, r, LVN_DELETEITEM, i, 0, 0, 0);
    if (IsItem(r, i)) r->list->removeRow(i);
    return 1;
}

// LVM_DELETEALLITEMS: the selected items are deselected (notified), then LVN_DELETEALLITEMS;
// unless the parent answers TRUE, LVN_DELETEITEM follows for each item, the last first.
int DeleteAllItems(HWND wnd, ListRec* r) {
    for (int j = FindItem(r, -1, LVNI_SELECTED); j >= 0; j = FindItem(r, j, LVNI_SELECTED))
        ChangeItemState(wnd, r, j, 0, LVIS_SELECTED);
    r->focus = QPersistentModelIndex();
    if (!NotifyItem(wnd, r, LVN_DELETEALLITEMS, -1, 0, 0, 0))
        for (int j = r->list->rowCount() - 1; j >= 0; --j)
            NotifyItem(wnd, r, LVN_DELETEITEM, j, 0, 0, 0);
    r->list->setRowCount(0);
    return 1;
}

// NM_SETFOCUS, NM_KILLFOCUS: the header alone.
void NotifyCode(HWND wnd, UINT code) {
    NMHDR hdr{};
    NotifyParent(wnd, &hdr, code);
}

int InsertColumn(ListRec* r, int col, const LVCOLUMNA* c) {
    if (!c || col < 0) return -1;
    col = std::min(col, r->list->columnCount());
    r->list->insertColumn(col);
    auto* head = new QTableWidgetItem(c->mask & LVCF_TEXT ? QStr(c->pszText) : QString());
    head->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    r->list->setHorizontalHeaderItem(col, head);
    if (c->mask & LVCF_WIDTH) r->list->setColumnWidth(col, c->cx);
    return col;
}

int SetColumnWidth(ListRec* r, int col, int width) {
    if (col < 0 || col >= r->list->columnCount() || width < 0) return 0;
    r->list->setColumnWidth(col, width);
    return 1;
}

// LVM_SETEXTENDEDLISTVIEWSTYLE: the bits of mask (0: all) from style; returns the old style.
// Check boxes turned on give every item an unchecked box, turned off take the boxes away.
DWORD SetListExStyle(ListRec* r, DWORD mask, DWORD style) {
    const DWORD old = r->exStyle;
    if (!mask) mask = ~DWORD(0);
    r->exStyle = (old & ~mask) | (style & mask);
    r->list->setShowGrid(r->exStyle & LVS_EX_GRIDLINES);
    if ((old ^ r->exStyle) & LVS_EX_CHECKBOXES)
        for (int i = 0; i < r->list->rowCount(); ++i)
            PutStateImage(r, i, r->exStyle & LVS_EX_CHECKBOXES ? 1 : 0);
    return old;
}

// Where the view's area begins in the list's client coordinates, with the header laid out.
QPoint GetViewOrigin(ListRec* r) {
    r->list->doItemsLayout();
    return r->list->viewport()->mapTo(r->list, QPoint(0, 0));
}

// LVM_GETSUBITEMRECT, in the list's client coordinates (below the header): rect->top names the
// subitem, rect->left the part. Subitem 0 with LVIR_BOUNDS is the whole row.
int GetSubItemRect(ListRec* r, int i, RECT* rect) {
    if (!rect || !IsItem(r, i)) return 0;
    const int sub = rect->top;
    if (sub < 0 || sub >= r->list->columnCount()) return 0;
    const QPoint at = GetViewOrigin(r);
    const int left = r->list->columnViewportPosition(sub);
    int width = r->list->columnWidth(sub);
    if (sub == 0 && rect->left == LVIR_BOUNDS) width = r->list->horizontalHeader()->length();
    rect->left = at.x() + left;
    rect->top = at.y() + r->list->rowViewportPosition(i);
    rect->right = rect->left + width;
    rect->bottom = rect->top + r->list->rowHeight(i);
    return 1;
}

// Whether a point of the view lies on the check box of item i.
bool IsOnCheckBox(ListRec* r, int i, QPoint inView) {
    if (!(r->exStyle & LVS_EX_CHECKBOXES)) return false;
    QStyleOptionViewItem opt;
    opt.initFrom(r->list);
    opt.rect = r->list->visualRect(r->list->model()->index(i, 0));
    opt.features |= QStyleOptionViewItem::HasCheckIndicator;
    return r->list->style()
        ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, r->list)
        .contains(inView);
}

// LVM_SUBITEMHITTEST: the cell under hit->pt (client coordinates); returns the item or -1.
int HitTest(ListRec* r, LVHITTESTINFO* hit) {
    if (!hit) return -1;
    const QPoint inView = QPoint(hit->pt.x, hit->pt.y) - GetViewOrigin(r);
    const bool inside = r->list->viewport()->rect().contains(inView);
    hit->iItem = inside ? r->list->rowAt(inView.y()) : -1;
    hit->iSubItem = inside ? r->list->columnAt(inView.x()) : -1;
    if (hit->iItem < 0 || hit->iSubItem < 0) {
        hit->iItem = -1;
        hit->flags = LVHT_NOWHERE;
    } else {
        const bool onBox = hit->iSubItem == 0 && IsOnCheckBox(r, hit->iItem, inView);
        hit->flags = onBox ? LVHT_ONITEMSTATEICON : LVHT_ONITEMLABEL;
    }
    return hit->iItem;
}

// LVM_ENSUREVISIBLE: scrolls until item i shows, wholly or, with partialOk, at least in part.
int EnsureVisible(ListRec* r, int i, bool partialOk) {
    if (!IsItem(r, i)) return 0;
    const int top = r->list->rowViewportPosition(i);
    if (partialOk && top + r->list->rowHeight(i) > 0 && top < r->list->viewport()->height())
        return 1;
    r->list->scrollTo(r->list->model()->index(i, 0), QAbstractItemView::EnsureVisible);
    return 1;
}

LRESULT CreateList(HWND wnd, const CREATESTRUCTA* cs) {
    auto* r = new ListRec;
    r->kind = CTL_LISTVIEW;
    r->style = DWORD(cs->style);
    r->list = NewListView(wnd, r->style);
    HostCtl(wnd, r, r->list);
    return 0;
}

}  // namespace

LRESULT ListViewProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CREATE) return CreateList(wnd, reinterpret_cast<const CREATESTRUCTA*>(lp));
    ListRec* r = GetListRec(wnd);
    if (!r) return DefWindowProcA(wnd, msg, wp, lp);
    const int i = int(wp);
    switch (msg) {
        case WM_SETFOCUS: NotifyCode(wnd, NM_SETFOCUS); return 0;
        case WM_KILLFOCUS: NotifyCode(wnd, NM_KILLFOCUS); return 0;
        case LVM_GETITEMCOUNT: return r->list->rowCount();
        case LVM_GETITEMA: return GetItem(r, reinterpret_cast<LVITEMA*>(lp));
        case LVM_SETITEMA: return SetItem(wnd, r, reinterpret_cast<const LVITEMA*>(lp));
        case LVM_INSERTITEMA: return InsertItem(wnd, r, reinterpret_cast<const LVITEMA*>(lp));
        case LVM_DELETEITEM: return DeleteItem(wnd, r, i);
        case LVM_DELETEALLITEMS: return DeleteAllItems(wnd, r);
        case LVM_GETNEXTITEM: return FindItem(r, i, UINT(lp));
        case LVM_ENSUREVISIBLE: return EnsureVisible(r, i, lp != 0);
        case LVM_INSERTCOLUMNA: return InsertColumn(r, i, reinterpret_cast<const LVCOLUMNA*>(lp));
        case LVM_GETCOLUMNWIDTH: return r->list->columnWidth(i);
        case LVM_SETCOLUMNWIDTH: return SetColumnWidth(r, i, GET_X_LPARAM(lp));
        case LVM_SETITEMSTATE: return SetItemsState(wnd, r, i, reinterpret_cast<LVITEMA*>(lp));
        case LVM_GETITEMSTATE: return IsItem(r, i) ? GetItemState(r, i) & UINT(lp) : 0;
        case LVM_GETITEMTEXTA: return GetItemText(r, i, reinterpret_cast<LVITEMA*>(lp));
        case LVM_SETITEMTEXTA: return SetItemText(wnd, r, i, reinterpret_cast<LVITEMA*>(lp));
        case LVM_SETEXTENDEDLISTVIEWSTYLE: return SetListExStyle(r, DWORD(wp), DWORD(lp));
        case LVM_GETEXTENDEDLISTVIEWSTYLE: return r->exStyle;
        case LVM_GETSUBITEMRECT: return GetSubItemRect(r, i, reinterpret_cast<RECT*>(lp));
        case LVM_SUBITEMHITTEST: return HitTest(r, reinterpret_cast<LVHITTESTINFO*>(lp));
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}
