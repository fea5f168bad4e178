// The address book dialog: skin 164 in its rounded shape, the list of entries with their ticks,
// new and delete, sorting by a header click, editing a cell in place, and the two buttons that
// save the book and close, one of them handing back the ticked addresses.
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "address/addrdlg.h"
#include "address/address.h"
#include "app/appstate.h"
#include "platform/controls/listview.h"
#include "platform/text/codepage.h"
#include "platform/user/msgbox.h"
#include "ui/appmsg.h"
#include "ui/memsurf.h"
#include "ui/msgdlg.h"
#include "ui/skindlg.h"

char* g_recipList;
int g_adrSortUp[3] = {1, 1, 1};

namespace {

constexpr int kAdrDlgW = 530, kAdrDlgH = 330;
constexpr int kListId = 1010, kLabelId = 1034;
constexpr int kNewId = 127, kDelId = 128, kCancelId = 129, kDecideId = 130;

const DlgBtn kAdrBtns[] = {
    {kNewId, 20, 287, 75, 28, 165},
    {kDelId, 105, 287, 75, 28, 166},
    {kCancelId, 296, 286, 102, 32, 127},
    {kDecideId, 407, 286, 102, 32, 167},
};

struct AdrCol {
    const char* head;
    int width;
};

const AdrCol kAdrCols[] = {{"送信", 36}, {"名前", 150}, {"メールアドレス", 254}};

struct AdrDlg {
    HWND list;
    HBITMAP skin;
    POINT listAt;  // the list's place in the dialog, for the cell editor
    bool loaded;   // the book was read whole and is saved when the dialog goes
};
AdrDlg g_adrDlg;

// A cell's text in the list: the entry's CP932 bytes as UTF-8.
void SetCellText(int row, int col, const char* sjis) {
    std::string utf8;
    if (!SjisToUtf8(sjis, &utf8)) utf8.clear();
    ListView_SetItemText(g_adrDlg.list, row, col, utf8.data());
}

// A new row at `row`, column 0 holding `first`.
void InsertAdrRow(int row, const char* first) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char*>(first);
    ListView_InsertItem(g_adrDlg.list, &item);
}

void SelectAdrRow(int row) {
    ListView_SetItemState(g_adrDlg.list, row, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(g_adrDlg.list, row, FALSE);
}

void SetAddressList() {
    for (int i = 0; i < g_adrBook.count; i++) {
        const AddressEntry* e = g_adrBook.items[i];
        InsertAdrRow(i, "  ");
        SetCellText(i, 2, e->address);
        SetCellText(i, 1, e->name);
        ListView_SetCheckState(g_adrDlg.list, i, e->selected != 0);
    }
}

void GetAddressChecks() {
    for (int i = 0; i < g_adrBook.count; i++)
        g_adrBook.items[i]->selected = ListView_GetCheckState(g_adrDlg.list, i) ? 1 : 0;
}

int MakeAdrList(HWND dlg) {
    g_adrDlg.list = GetDlgItem(dlg, kListId);
    // The places chosen with the artwork: the list over the skin's white box, the label on the
    // title band.
    MoveWindow(g_adrDlg.list, 20, 48, 490, 228, TRUE);
    MoveWindow(GetDlgItem(dlg, kLabelId), 378, 13, 140, 17, TRUE);
    for (int c = 0; c < 3; c++) {
        LVCOLUMNA col{};
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        col.fmt = LVCFMT_LEFT;
        col.cx = kAdrCols[c].width;
        col.pszText = const_cast<char*>(kAdrCols[c].head);
        col.iSubItem = c;
        ListView_InsertColumn(g_adrDlg.list, c, &col);
    }
    ListView_SetExtendedListViewStyle(g_adrDlg.list,
                                      LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES);
    RECT r;
    GetWindowRect(g_adrDlg.list, &r);
    POINT at = {r.left, r.top};
    ScreenToClient(dlg, &at);
    g_adrDlg.listAt = at;
    return 1;
}

INT_PTR AdrInitDlg(HWND dlg) {
    g_adrDlg = AdrDlg{};
    g_cellEdit.editor = nullptr;
    if (!MakeSkinDlg(dlg, 164, kAdrDlgW, kAdrDlgH, kAdrBtns, int(std::size(kAdrBtns)),
                     "DlgDateProc-Error", &g_adrDlg.skin))
        return FALSE;
    MakeAdrList(dlg);
    // After a failed load the book on the disk is not what the list shows: it is left alone.
    g_adrDlg.loaded = ReadAddress() != 0;
    SetAddressList();
    return TRUE;
}

// Closes the cell editor, its text going into its entry, before anything moves the rows or reads
// the entries: the window system tells the editor that it lost activation only after the click
// that took it away has been handled, when the remembered row may hold another entry.
void EndCellEdit() {
    if (g_cellEdit.editor) SendMessageA(g_cellEdit.editor, WM_CELL_CLOSE, 0, 0);
}

// 新規: a blank entry at the end, selected for the user to fill in.
void NewAdr() {
    if (g_adrBook.count >= kAdrMax) {
        char text[64];
        snprintf(text, sizeof text, "%d件以上登録できません", kAdrMax);
        ShowMsgDlg(GetParent(g_adrDlg.list), text, MSG_ERROR);
        return;
    }
    // The entry first: when it cannot be had, no row is added either.
    if (!AddAddress()) return;
    const int row = g_adrBook.count - 1;
    InsertAdrRow(row, "");
    ListView_SetItemText(g_adrDlg.list, row, 1, const_cast<char*>("  "));
    ListView_SetItemText(g_adrDlg.list, row, 2, const_cast<char*>("  "));
    SelectAdrRow(row);
}

void DelAdr() {
    const int row = ListView_GetNextItem(g_adrDlg.list, -1, LVNI_SELECTED);
    if (row < 0) {
        ShowMsgDlg(GetParent(g_adrDlg.list), "アドレスが選択されていません", MSG_ERROR);
        return;
    }
    DeleteAddress(row);
    ListView_DeleteItem(g_adrDlg.list, row);
}

// A header click sorts by that column, each click the other way, and finds the selected entry
// again at its new row.
void SortAdrCol(int col) {
    if (col < 0 || col > 2) return;
    EndCellEdit();
    const int sel = ListView_GetNextItem(g_adrDlg.list, -1, LVNI_SELECTED);
    const bool hadSel = sel >= 0 && sel < g_adrBook.count;
    const int32_t selId = hadSel ? g_adrBook.items[sel]->id : 0;
    GetAddressChecks();
    const int key = 2 * col + (g_adrSortUp[col] ? 0 : 1);
    g_adrSortUp[col] = !g_adrSortUp[col];
    ShowWindow(g_adrDlg.list, SW_HIDE);
    SortAddress(key);
    ListView_DeleteAllItems(g_adrDlg.list);
    SetAddressList();
    ShowWindow(g_adrDlg.list, SW_SHOW);
    if (hadSel)
        for (int i = 0; i < g_adrBook.count; i++)
            if (g_adrBook.items[i]->id == selId) SelectAdrRow(i);
    InvalidateRect(g_adrDlg.list, nullptr, TRUE);
}

// A double click on a name or an address opens the editor over that cell.
void EditAdrCell(HWND dlg, int row, int col) {
    if (row < 0 || row >= g_adrBook.count || (col != 1 && col != 2)) return;
    EndCellEdit();
    const AddressEntry* e = g_adrBook.items[row];
    snprintf(g_cellEdit.text, sizeof g_cellEdit.text, "%s", col == 1 ? e->name : e->address);
    g_cellEdit.row = row;
    g_cellEdit.col = col;
    g_cellEdit.commit = 1;
    SelectAdrRow(row);
    RECT cell, wnd;
    ListView_GetSubItemRect(g_adrDlg.list, row, col, LVIR_BOUNDS, &cell);
    GetWindowRect(dlg, &wnd);
    const int dx = wnd.left + g_adrDlg.listAt.x, dy = wnd.top + g_adrDlg.listAt.y;
    g_cellEdit.cell = RECT{cell.left + dx, cell.top + dy, cell.right + dx, cell.bottom + dy};
    OpenCellEdit(dlg);
}

void AdrCellDone() {
    const int row = g_cellEdit.row;
    if (!g_cellEdit.commit || row < 0 || row >= g_adrBook.count) return;
    AddressEntry* e = g_adrBook.items[row];
    char* field = g_cellEdit.col == 1 ? e->name : e->address;
    snprintf(field, kAdrTextMax + 1, "%s", g_cellEdit.text);
    SetCellText(row, g_cellEdit.col, field);
}

// The ticked addresses, in list order, joined by commas; none when nothing is ticked.
void MakeRecipList() {
    size_t sum = 0;
    for (int i = 0; i < g_adrBook.count; i++)
        if (g_adrBook.items[i]->selected) sum += strlen(g_adrBook.items[i]->address) + 1;
    if (sum == 0) return;
    g_recipList = static_cast<char*>(malloc(sum + 1));
    if (!g_recipList) {
        MessageBoxA(nullptr, "メモリが確保できませんでした", "アドレス設定", MB_OK);
        return;
    }
    g_recipList[0] = '\0';
    for (int i = 0; i < g_adrBook.count; i++) {
        const AddressEntry* e = g_adrBook.items[i];
        if (!e->selected || !e->address[0]) continue;
        strcat(g_recipList, e->address);
        strcat(g_recipList, ",");
    }
    const size_t len = strlen(g_recipList);
    if (len) g_recipList[len - 1] = '\0';
}

// Saves the book, when it was loaded, once however the dialog goes; releases it.
void EndAdrBook() {
    EndCellEdit();
    if (g_adrDlg.loaded) WriteAddress();
    g_adrDlg.loaded = false;
    FreeAddress();
}

void AdrCommand(HWND dlg, int id) {
    EndCellEdit();
    switch (id) {
        case kNewId: NewAdr(); return;
        case kDelId: DelAdr(); return;
        case kCancelId:
            EndAdrBook();
            FreeRecipList();
            EndDialog(dlg, 0);
            return;
        case kDecideId:
            GetAddressChecks();
            FreeRecipList();
            MakeRecipList();
            EndAdrBook();
            EndDialog(dlg, g_recipList != nullptr);
            return;
        default: return;
    }
}

INT_PTR AdrNotify(HWND dlg, const NMHDR* hdr) {
    if (hdr->idFrom != kListId) return FALSE;
    if (hdr->code == LVN_COLUMNCLICK)
        SortAdrCol(reinterpret_cast<const NMLISTVIEW*>(hdr)->iSubItem);
    if (hdr->code == NM_DBLCLK) {
        const auto* nm = reinterpret_cast<const NMITEMACTIVATE*>(hdr);
        EditAdrCell(dlg, nm->iItem, nm->iSubItem);
    }
    return TRUE;
}

}  // namespace

void FreeRecipList() {
    free(g_recipList);
    g_recipList = nullptr;
}

INT_PTR DlgAddressProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG: return AdrInitDlg(dlg);
        case WM_PAINT: PaintSkin(dlg, g_adrDlg.skin, kAdrDlgW, kAdrDlgH); return TRUE;
        case WM_CTLCOLORSTATIC:
            // The label lies straight on the skin.
            return GetDlgCtrlID(reinterpret_cast<HWND>(lp)) == kLabelId ? ClearLblBk(wp) : FALSE;
        case WM_LBUTTONDOWN: SendMessageA(dlg, WM_NCLBUTTONDOWN, WPARAM(HTCAPTION), 0); return TRUE;
        case WM_APP_BUTTON: AdrCommand(dlg, LOWORD(wp)); return TRUE;
        case WM_NOTIFY: return AdrNotify(dlg, reinterpret_cast<const NMHDR*>(lp));
        case WM_CELL_DONE: AdrCellDone(); return TRUE;
        case WM_DESTROY:
            EndAdrBook();
            FreeSkin(&g_adrDlg.skin);
            return TRUE;
        default: return FALSE;
    }
}

int RunAddressDlg(HWND owner) {
    return int(DialogBoxParamA(g_app.inst, MAKEINTRESOURCEA(168), owner, DlgAddressProc, 0));
}
