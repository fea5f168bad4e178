// The report list view: the notifications each user action and each program call sends, texts,
// item searches, scrolling, cell rectangles and hit tests.
#include "platform/controls/listview.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace {

std::vector<std::string> g_heard;  // the parent's WM_NOTIFY, described
bool g_refuse;                     // the parent answers LVN_ITEMCHANGING with TRUE

std::string NameOf(UINT code) {
    switch (code) {
        case LVN_ITEMCHANGING: return "CHANGING";
        case LVN_ITEMCHANGED: return "CHANGED";
        case LVN_INSERTITEM: return "INSERT";
        case LVN_DELETEITEM: return "DELETE";
        case LVN_DELETEALLITEMS: return "DELETEALL";
        case LVN_COLUMNCLICK: return "COLUMN";
        case LVN_ITEMACTIVATE: return "ACTIVATE";
        case NM_CLICK: return "CLICK";
        case NM_DBLCLK: return "DBLCLK";
        case NM_SETFOCUS: return "SETFOCUS";
        case NM_KILLFOCUS: return "KILLFOCUS";
        default: return std::to_string(int(code));
    }
}

// "CHANGED 1 1003>1002" for a state change, "CHANGED 0 text", "CLICK 2/1" for item/subitem,
// "SETFOCUS" for a bare header.
std::string Describe(const NMHDR* hdr) {
    if (hdr->code == NM_SETFOCUS || hdr->code == NM_KILLFOCUS) return NameOf(hdr->code);
    const auto* nm = reinterpret_cast<const NMLISTVIEW*>(hdr);
    std::string s = NameOf(hdr->code) + " " + std::to_string(nm->iItem);
    if (hdr->code != LVN_ITEMCHANGING && hdr->code != LVN_ITEMCHANGED)
        return s + "/" + std::to_string(nm->iSubItem);
    char states[32];
    std::snprintf(states, sizeof states, " %04X>%04X", nm->uOldState, nm->uNewState);
    if (nm->uChanged & LVIF_STATE) s += states;
    if (nm->uChanged & LVIF_TEXT) s += " text";
    return s;
}

LRESULT ParentProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_NOTIFY) return DefWindowProcA(wnd, msg, wp, lp);
    const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
    g_heard.push_back(Describe(hdr));
    return g_refuse && hdr->code == LVN_ITEMCHANGING;
}

constexpr int kListX = 10, kListY = 10, kListW = 460, kListH = 200;

// A dialog's address list: three columns, three rows, row 0 checked, row 1 selected and focused.
struct ListTest : ::testing::Test {
    HWND top = nullptr;
    HWND list = nullptr;

    void SetUp() override {
        g_heard.clear();
        g_refuse = false;
        ASSERT_TRUE(UseTestClass("TestListParent", ParentProc));
        top = CreateWindowExA(0, "TestListParent", "", WS_POPUP | WS_VISIBLE, 50, 50, 500, 260,
                              nullptr, nullptr, nullptr, nullptr);
        const DWORD style =
            WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
        list = CreateWindowExA(0, WC_LISTVIEWA, "", style, kListX, kListY, kListW, kListH, top,
                               reinterpret_cast<HMENU>(intptr_t(1001)), nullptr, nullptr);
        ASSERT_NE(list, nullptr);
        ListView_SetExtendedListViewStyle(
            list, LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES);
        const char* heads[] = {"送信", "名前", "メールアドレス"};
        const int widths[] = {36, 150, 254};
        for (int c = 0; c < 3; ++c) {
            LVCOLUMNA col{};
            col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
            col.fmt = LVCFMT_LEFT;
            col.cx = widths[c];
            col.pszText = const_cast<char*>(heads[c]);
            col.iSubItem = c;
            ASSERT_EQ(ListView_InsertColumn(list, c, &col), c);
        }
        for (int i = 0; i < 3; ++i) AddRow(i, "名前", "mail@example.jp");
        ListView_SetCheckState(list, 0, TRUE);
        ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        PlatActivate(top, TRUE);
        SetFocus(list);
        PumpMsgs();
        g_heard.clear();
    }
    void TearDown() override {
        DestroyWindow(top);
        PumpMsgs();
    }

    void AddRow(int i, const char* name, const char* mail) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<char*>("  ");
        ASSERT_EQ(ListView_InsertItem(list, &item), i);
        ListView_SetItemText(list, i, 1, const_cast<char*>(name));
        ListView_SetItemText(list, i, 2, const_cast<char*>(mail));
    }
    RECT Cell(int i, int sub, int part = LVIR_BOUNDS) {
        RECT r{};
        EXPECT_TRUE(ListView_GetSubItemRect(list, i, sub, part, &r));
        return r;
    }
    // A point of the list in the top-level window's client coordinates.
    POINT OnTop(int x, int y) {
        POINT pt{x, y};
        ClientToScreen(list, &pt);
        ScreenToClient(top, &pt);
        return pt;
    }
    void Mouse(UINT msg, int x, int y) {
        const POINT pt = OnTop(x, y);
        PlatMouseEvent(top, msg, pt.x, pt.y);
    }
    void Click(int x, int y) {
        Mouse(WM_LBUTTONDOWN, x, y);
        Mouse(WM_LBUTTONUP, x, y);
    }
    void ClickCell(int i, int sub) {
        const RECT r = Cell(i, sub);
        Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    // Every item's state, as hex, in order.
    std::string States() {
        std::string s;
        for (int i = 0; i < ListView_GetItemCount(list); ++i) {
            char one[8];
            std::snprintf(one, sizeof one, "%04X ", ListView_GetItemState(list, i, ~0u));
            s += one;
        }
        return s;
    }
};

TEST_F(ListTest, EachActionNotifiesAsTheOriginal) {
    struct Row {
        const char* name;
        std::function<void(ListTest&)> act;
        std::vector<std::string> heard;
        const char* states;  // afterwards
    };
    const Row rows[] = {
        {"click a row",
         [](ListTest& t) { t.ClickCell(2, 1); },
         {"CHANGING 1 1003>1002", "CHANGED 1 1003>1002", "CHANGING 1 1002>1000",
          "CHANGED 1 1002>1000", "CHANGING 2 1000>1003", "CHANGED 2 1000>1003", "CLICK 2/1"},
         "2000 1000 1003 "},
        {"click a check box",
         [](ListTest& t) {
             const RECT r = t.Cell(2, 0, LVIR_LABEL);
             t.Click(r.left + 8, (r.top + r.bottom) / 2);
         },
         {"CHANGING 2 1000>2000", "CHANGED 2 1000>2000", "CLICK 2/0"},
         "2000 1003 2000 "},
        {"double click the selected row's cell",
         [](ListTest& t) {
             const RECT r = t.Cell(1, 2);
             const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
             t.Click(x, y);
             t.Mouse(WM_LBUTTONDBLCLK, x, y);
             t.Mouse(WM_LBUTTONUP, x, y);
         },
         {"CLICK 1/2", "DBLCLK 1/2", "ACTIVATE 1/2"},
         "2000 1003 1000 "},
        {"click a header",
         [](ListTest& t) {
             const RECT r = t.Cell(0, 2);
             t.Click((r.left + r.right) / 2, r.top / 2);
         },
         {"COLUMN -1/2"},
         "2000 1003 1000 "},
        {"click empty space",
         [](ListTest& t) {
             const RECT r = t.Cell(2, 1);
             t.Click((r.left + r.right) / 2, r.bottom + 30);
         },
         {"CHANGING 1 1003>1001", "CHANGED 1 1003>1001", "CLICK -1/1"},
         "2000 1001 1000 "},
        {"arrow down",
         [](ListTest&) { PlatPressKey(VK_DOWN); },
         {"CHANGING 1 1003>1002", "CHANGED 1 1003>1002", "CHANGING 1 1002>1000",
          "CHANGED 1 1002>1000", "CHANGING 2 1000>1003", "CHANGED 2 1000>1003"},
         "2000 1000 1003 "},
        {"space",
         [](ListTest&) { PlatPressKey(VK_SPACE); },
         {"CHANGING 1 1003>2003", "CHANGED 1 1003>2003"},
         "2000 2003 1000 "},
        {"focus leaves and comes back",
         [](ListTest& t) {
             SetFocus(t.top);
             SetFocus(t.list);
         },
         {"KILLFOCUS", "SETFOCUS"},
         "2000 1003 1000 "},
        {"insert an item",
         [](ListTest& t) {
             LVITEMA item{};
             item.mask = LVIF_TEXT;
             item.iItem = 1;
             item.pszText = const_cast<char*>("  ");
             ListView_InsertItem(t.list, &item);
         },
         {"CHANGED 1 0000>1000", "INSERT 1/0"},
         "2000 1000 1003 1000 "},
        {"uncheck by program",
         [](ListTest& t) { ListView_SetCheckState(t.list, 0, FALSE); },
         {"CHANGING 0 2000>1000", "CHANGED 0 2000>1000"},
         "1000 1003 1000 "},
        {"select by program",
         [](ListTest& t) {
             ListView_SetItemState(t.list, 0, LVIS_SELECTED | LVIS_FOCUSED,
                                   LVIS_SELECTED | LVIS_FOCUSED);
         },
         {"CHANGING 1 1003>1002", "CHANGED 1 1003>1002", "CHANGING 1 1002>1000",
          "CHANGED 1 1002>1000", "CHANGING 0 2000>2003", "CHANGED 0 2000>2003"},
         "2003 1000 1000 "},
        {"select the selected item again",
         [](ListTest& t) { ListView_SetItemState(t.list, 1, LVIS_SELECTED, LVIS_SELECTED); },
         {},
         "2000 1003 1000 "},
        {"delete the selected item",
         [](ListTest& t) { ListView_DeleteItem(t.list, 1); },
         {"CHANGING 1 1003>1000", "CHANGED 1 1003>1000", "DELETE 1/0"},
         "2000 1000 "},
        {"delete every item",
         [](ListTest& t) { ListView_DeleteAllItems(t.list); },
         {"CHANGING 1 1003>1001", "CHANGED 1 1003>1001", "DELETEALL -1/0", "DELETE 2/0",
          "DELETE 1/0", "DELETE 0/0"},
         ""},
        {"text of a subitem",
         [](ListTest& t) { ListView_SetItemText(t.list, 0, 2, const_cast<char*>("別")); },
         {},
         "2000 1003 1000 "},
        {"text of the item itself",
         [](ListTest& t) { ListView_SetItemText(t.list, 0, 0, const_cast<char*>("別")); },
         {"CHANGING 0 text", "CHANGED 0 text"},
         "2000 1003 1000 "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TearDown();
        SetUp();
        row.act(*this);
        EXPECT_EQ(g_heard, row.heard);
        EXPECT_EQ(States(), row.states);
    }
}

TEST_F(ListTest, RefusedChangeLeavesTheItem) {
    g_refuse = true;
    ClickCell(2, 1);
    ListView_SetCheckState(list, 2, TRUE);
    EXPECT_EQ(States(), "2000 1003 1000 ");
}

TEST_F(ListTest, JapaneseTextsRoundTrip) {
    AddRow(3, "山田 太郎", "山田@例え.jp");
    char buf[64];
    ListView_GetItemText(list, 3, 1, buf, sizeof buf);
    EXPECT_STREQ(buf, "山田 太郎");
    LVITEMA item{};
    item.iSubItem = 2;
    item.pszText = buf;
    item.cchTextMax = sizeof buf;
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMTEXTA, 3, LPARAM(&item)),
              LRESULT(std::string("山田@例え.jp").size()));
    EXPECT_STREQ(buf, "山田@例え.jp");
    // A buffer too small keeps whole characters only.
    ListView_GetItemText(list, 3, 1, buf, 5);
    EXPECT_STREQ(buf, "山");
    EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, 2, 0), 254);
}

TEST_F(ListTest, NextItemByState) {
    struct Row {
        int start;
        UINT flags;
        int found;
    } const rows[] = {
        {-1, LVNI_ALL, 0},
        {0, LVNI_ALL, 1},
        {2, LVNI_ALL, -1},
        {-1, LVNI_SELECTED, 1},
        {1, LVNI_SELECTED, -1},
        {-1, LVNI_FOCUSED, 1},
        {-1, LVNI_SELECTED | LVNI_FOCUSED, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.start) + " " + std::to_string(row.flags));
        EXPECT_EQ(ListView_GetNextItem(list, row.start, row.flags), row.found);
    }
}

TEST_F(ListTest, CellRectsAndHitTestAgree) {
    const RECT row = Cell(0, 0, LVIR_BOUNDS);
    const RECT name = Cell(0, 1);
    EXPECT_EQ(name.right - name.left, 150);
    EXPECT_EQ(row.right - row.left, 36 + 150 + 254);
    EXPECT_EQ(name.left, row.left + 36);
    EXPECT_GT(row.top, 10);  // below the header
    const RECT next = Cell(1, 2);
    EXPECT_EQ(next.top, row.bottom);
    for (int i = 0; i < 3; ++i)
        for (int sub = 1; sub < 3; ++sub) {
            const RECT r = Cell(i, sub);
            LVHITTESTINFO hit{};
            hit.pt = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            EXPECT_EQ(SendMessageA(list, LVM_SUBITEMHITTEST, 0, LPARAM(&hit)), i);
            EXPECT_EQ(hit.iSubItem, sub);
            EXPECT_EQ(hit.flags, LVHT_ONITEMLABEL);
        }
}

TEST_F(ListTest, EnsureVisibleScrollsTheRows) {
    for (int i = 3; i < 40; ++i) AddRow(i, "名前", "mail@example.jp");
    RECT client{};
    GetClientRect(list, &client);
    const RECT first = Cell(0, 1);
    // The row cut by the bottom edge is shown enough when a part is enough.
    int cut = 0;
    while (Cell(cut, 1).bottom < client.bottom) ++cut;
    ASSERT_LT(Cell(cut, 1).top, client.bottom - 1);
    EXPECT_TRUE(ListView_EnsureVisible(list, cut, TRUE));
    EXPECT_EQ(Cell(0, 1).top, first.top);
    EXPECT_TRUE(ListView_EnsureVisible(list, cut, FALSE));
    EXPECT_LT(Cell(0, 1).top, first.top);
    EXPECT_LE(Cell(cut, 1).bottom, client.bottom);
    EXPECT_GT(Cell(35, 1).top, client.bottom);
    EXPECT_TRUE(ListView_EnsureVisible(list, 35, FALSE));
    const RECT shown = Cell(35, 1);
    EXPECT_LE(shown.bottom, client.bottom);
    EXPECT_GE(shown.top, first.top);
    EXPECT_TRUE(ListView_EnsureVisible(list, 0, FALSE));
    EXPECT_EQ(Cell(0, 1).top, first.top);
    EXPECT_FALSE(ListView_EnsureVisible(list, 40, FALSE));
}

}  // namespace
