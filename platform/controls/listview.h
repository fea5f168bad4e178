// The list view control in report form: columns with a header, rows of an item and its subitems,
// check boxes, selection and focus, and the notifications it sends its parent (WM_NOTIFY).
//
// Texts are UTF-8 through the A messages. Item states: LVIS_FOCUSED, LVIS_SELECTED and, with
// LVS_EX_CHECKBOXES, the state image in bits 12-15 (1 unchecked, 2 checked, 0 no box).
//
// The control notifies for the program's own changes as well as the user's: LVM_SETITEMSTATE,
// LVM_SETITEMA and the text of column 0 send LVN_ITEMCHANGING then LVN_ITEMCHANGED when an item
// really changes; LVM_INSERTITEMA sends LVN_ITEMCHANGED (no LVN_ITEMCHANGING) when the new item
// starts with a state, then LVN_INSERTITEM; LVM_DELETEITEM takes selection and focus from the
// item (notified) before LVN_DELETEITEM. A parent that answers LVN_ITEMCHANGING with TRUE keeps
// the item as it was.
#pragma once

#include "platform/controls/commctrl.h"

#define WC_LISTVIEWA "SysListView32"

// Styles (window style) and extended styles (LVM_SETEXTENDEDLISTVIEWSTYLE).
constexpr DWORD LVS_REPORT = 0x0001;
constexpr DWORD LVS_SINGLESEL = 0x0004;
constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
constexpr DWORD LVS_NOSORTHEADER = 0x8000;
constexpr DWORD LVS_EX_GRIDLINES = 0x0001;
constexpr DWORD LVS_EX_CHECKBOXES = 0x0004;
constexpr DWORD LVS_EX_FULLROWSELECT = 0x0020;

// Messages.
constexpr UINT LVM_FIRST = 0x1000;
constexpr UINT LVM_GETITEMCOUNT = LVM_FIRST + 4;
constexpr UINT LVM_GETITEMA = LVM_FIRST + 5;
constexpr UINT LVM_SETITEMA = LVM_FIRST + 6;
constexpr UINT LVM_INSERTITEMA = LVM_FIRST + 7;
constexpr UINT LVM_DELETEITEM = LVM_FIRST + 8;
constexpr UINT LVM_DELETEALLITEMS = LVM_FIRST + 9;
constexpr UINT LVM_GETNEXTITEM = LVM_FIRST + 12;
constexpr UINT LVM_ENSUREVISIBLE = LVM_FIRST + 19;
constexpr UINT LVM_INSERTCOLUMNA = LVM_FIRST + 27;
constexpr UINT LVM_GETCOLUMNWIDTH = LVM_FIRST + 29;
constexpr UINT LVM_SETCOLUMNWIDTH = LVM_FIRST + 30;
constexpr UINT LVM_SETITEMSTATE = LVM_FIRST + 43;
constexpr UINT LVM_GETITEMSTATE = LVM_FIRST + 44;
constexpr UINT LVM_GETITEMTEXTA = LVM_FIRST + 45;
constexpr UINT LVM_SETITEMTEXTA = LVM_FIRST + 46;
constexpr UINT LVM_SETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 54;
constexpr UINT LVM_GETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 55;
constexpr UINT LVM_GETSUBITEMRECT = LVM_FIRST + 56;
constexpr UINT LVM_SUBITEMHITTEST = LVM_FIRST + 57;

// Items.
constexpr UINT LVIF_TEXT = 0x0001;
constexpr UINT LVIF_IMAGE = 0x0002;
constexpr UINT LVIF_PARAM = 0x0004;
constexpr UINT LVIF_STATE = 0x0008;
constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;
constexpr UINT LVIS_STATEIMAGEMASK = 0xF000;
constexpr UINT INDEXTOSTATEIMAGEMASK(UINT i) {
    return i << 12;
}

struct LVITEMA {
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    LPSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
    int iIndent;
    int iGroupId;
    UINT cColumns;
    UINT* puColumns;
    int* piColFmt;
    int iGroup;
};

// Columns.
constexpr UINT LVCF_FMT = 0x0001;
constexpr UINT LVCF_WIDTH = 0x0002;
constexpr UINT LVCF_TEXT = 0x0004;
constexpr UINT LVCF_SUBITEM = 0x0008;
constexpr int LVCFMT_LEFT = 0x0000;

struct LVCOLUMNA {
    UINT mask;
    int fmt;
    int cx;
    LPSTR pszText;
    int cchTextMax;
    int iSubItem;
    int iImage;
    int iOrder;
    int cxMin;
    int cxDefault;
    int cxIdeal;
};

// LVM_GETNEXTITEM: the states the item found must have (all of them).
constexpr UINT LVNI_ALL = 0x0000;
constexpr UINT LVNI_FOCUSED = 0x0001;
constexpr UINT LVNI_SELECTED = 0x0002;

// LVM_GETSUBITEMRECT: the part of the cell, in RECT::left (RECT::top is the subitem). Subitem 0
// with LVIR_BOUNDS is the whole row.
constexpr int LVIR_BOUNDS = 0;
constexpr int LVIR_ICON = 1;
constexpr int LVIR_LABEL = 2;

// LVM_SUBITEMHITTEST.
constexpr UINT LVHT_NOWHERE = 0x0001;
constexpr UINT LVHT_ONITEMICON = 0x0002;
constexpr UINT LVHT_ONITEMLABEL = 0x0004;
constexpr UINT LVHT_ONITEMSTATEICON = 0x0008;

struct LVHITTESTINFO {
    POINT pt;  // in the list's client coordinates
    UINT flags;
    int iItem;
    int iSubItem;
    int iGroup;
};

// Notifications.
constexpr UINT LVN_ITEMCHANGING = UINT(-100);
constexpr UINT LVN_ITEMCHANGED = UINT(-101);
constexpr UINT LVN_INSERTITEM = UINT(-102);
constexpr UINT LVN_DELETEITEM = UINT(-103);
constexpr UINT LVN_DELETEALLITEMS = UINT(-104);
constexpr UINT LVN_COLUMNCLICK = UINT(-108);
constexpr UINT LVN_ITEMACTIVATE = UINT(-114);

struct NMLISTVIEW {
    NMHDR hdr;
    int iItem;
    int iSubItem;
    UINT uNewState;
    UINT uOldState;
    UINT uChanged;
    POINT ptAction;
    LPARAM lParam;
};

// NM_CLICK, NM_DBLCLK and LVN_ITEMACTIVATE.
struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem;
    int iSubItem;
    UINT uNewState;
    UINT uOldState;
    UINT uChanged;
    POINT ptAction;
    LPARAM lParam;
    UINT uKeyFlags;
};

inline DWORD ListView_SetExtendedListViewStyle(HWND lv, DWORD style) {
    return DWORD(SendMessageA(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(style)));
}
inline int ListView_InsertColumn(HWND lv, int col, const LVCOLUMNA* c) {
    return int(SendMessageA(lv, LVM_INSERTCOLUMNA, WPARAM(col), LPARAM(c)));
}
inline int ListView_InsertItem(HWND lv, const LVITEMA* item) {
    return int(SendMessageA(lv, LVM_INSERTITEMA, 0, LPARAM(item)));
}
inline void ListView_SetItemText(HWND lv, int i, int sub, LPSTR text) {
    LVITEMA item{};
    item.iSubItem = sub;
    item.pszText = text;
    SendMessageA(lv, LVM_SETITEMTEXTA, WPARAM(i), LPARAM(&item));
}
inline void ListView_GetItemText(HWND lv, int i, int sub, LPSTR buf, int size) {
    LVITEMA item{};
    item.iSubItem = sub;
    item.pszText = buf;
    item.cchTextMax = size;
    SendMessageA(lv, LVM_GETITEMTEXTA, WPARAM(i), LPARAM(&item));
}
inline void ListView_SetItemState(HWND lv, int i, UINT state, UINT mask) {
    LVITEMA item{};
    item.state = state;
    item.stateMask = mask;
    SendMessageA(lv, LVM_SETITEMSTATE, WPARAM(i), LPARAM(&item));
}
inline UINT ListView_GetItemState(HWND lv, int i, UINT mask) {
    return UINT(SendMessageA(lv, LVM_GETITEMSTATE, WPARAM(i), LPARAM(mask)));
}
inline void ListView_SetCheckState(HWND lv, int i, BOOL check) {
    ListView_SetItemState(lv, i, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), LVIS_STATEIMAGEMASK);
}
inline BOOL ListView_GetCheckState(HWND lv, int i) {
    return BOOL(((ListView_GetItemState(lv, i, LVIS_STATEIMAGEMASK) >> 12) - 1));
}
inline int ListView_GetNextItem(HWND lv, int start, UINT flags) {
    return int(SendMessageA(lv, LVM_GETNEXTITEM, WPARAM(start), LPARAM(flags)));
}
inline BOOL ListView_DeleteItem(HWND lv, int i) {
    return BOOL(SendMessageA(lv, LVM_DELETEITEM, WPARAM(i), 0));
}
inline BOOL ListView_DeleteAllItems(HWND lv) {
    return BOOL(SendMessageA(lv, LVM_DELETEALLITEMS, 0, 0));
}
inline BOOL ListView_EnsureVisible(HWND lv, int i, BOOL partialOk) {
    return BOOL(SendMessageA(lv, LVM_ENSUREVISIBLE, WPARAM(i), LPARAM(partialOk)));
}
inline int ListView_GetItemCount(HWND lv) {
    return int(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0));
}
// The cell (item, sub) in the list's client coordinates; part is LVIR_BOUNDS, _ICON or _LABEL.
inline BOOL ListView_GetSubItemRect(HWND lv, int i, int sub, int part, RECT* rect) {
    rect->top = sub;
    rect->left = part;
    return BOOL(SendMessageA(lv, LVM_GETSUBITEMRECT, WPARAM(i), LPARAM(rect)));
}
