// The COMBOBOX control: which actions notify the parent, sorted adding, selection, texts and
// heights.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>
#include <functional>
#include <string>

#include "ctl_support.h"
#include "platform/controls/records.h"
#include "support/testutil.h"

namespace {

using Heard = std::vector<std::pair<int, int>>;

constexpr int kDrop = 21, kList = 22;

std::string ItemText(HWND combo, int i) {
    std::string text(size_t(SendMessageA(combo, CB_GETLBTEXTLEN, WPARAM(i), 0)) + 1, '\0');
    text.resize(size_t(SendMessageA(combo, CB_GETLBTEXT, WPARAM(i), LPARAM(text.data()))));
    return text;
}

struct ComboTest : ::testing::Test {
    CtlDlg d;
    HWND drop = d.Add("COMBOBOX", kDrop, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_SORT, 10, 10,
                      128, 268);
    HWND list = d.Add("COMBOBOX", kList, WS_TABSTOP | CBS_DROPDOWNLIST, 10, 60, 128, 200);
    void Fill(HWND combo, std::initializer_list<const char*> texts) {
        for (const char* t : texts) SendMessageA(combo, CB_ADDSTRING, 0, LPARAM(t));
    }
};

// The window is as high as its field, whatever height it was made with.
TEST_F(ComboTest, WindowIsTheSelectionField) {
    RECT r;
    GetWindowRect(drop, &r);
    EXPECT_LT(r.bottom - r.top, 40);
    EXPECT_EQ(SendMessageA(drop, CB_SETITEMHEIGHT, WPARAM(-1), 14), CB_OKAY);
    EXPECT_EQ(SendMessageA(drop, CB_SETITEMHEIGHT, 0, 13), CB_OKAY);
    GetWindowRect(drop, &r);
    EXPECT_EQ(r.bottom - r.top, 20);
    EXPECT_EQ(SendMessageA(drop, CB_GETITEMHEIGHT, WPARAM(-1), 0), 14);
    EXPECT_EQ(SendMessageA(drop, CB_GETITEMHEIGHT, 0, 0), 13);
    EXPECT_EQ(SendMessageA(drop, CB_SETITEMHEIGHT, 0, 0), CB_ERR);
    MoveWindow(drop, 10, 10, 128, 268, TRUE);
    GetWindowRect(drop, &r);
    EXPECT_EQ(r.bottom - r.top, 20);
}

// With CBS_DISABLENOSCROLL the dropped list shows its scroll bar also when all items fit.
TEST_F(ComboTest, ScrollBarAlwaysShownWhenAsked) {
    HWND fixed =
        d.Add("COMBOBOX", 23, WS_VSCROLL | CBS_DROPDOWN | CBS_DISABLENOSCROLL, 150, 10, 128, 268);
    for (HWND combo : {drop, fixed}) {
        Fill(combo, {"a", "b"});
        SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        PumpMsgs();
        const QAbstractItemView* view =
            static_cast<QComboBox*>(GetCtl(combo, CTL_COMBO)->qt)->view();
        EXPECT_EQ(view->verticalScrollBar()->isVisible(), combo == fixed);
        SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    }
}

// A sorted list keeps the order of the file system's names (upper-cased, byte by byte).
TEST_F(ComboTest, SortedAddingAndItemTexts) {
    EXPECT_EQ(SendMessageA(drop, CB_ADDSTRING, 0, LPARAM("zebra")), 0);
    EXPECT_EQ(SendMessageA(drop, CB_ADDSTRING, 0, LPARAM("_x")), 1);
    EXPECT_EQ(SendMessageA(drop, CB_ADDSTRING, 0, LPARAM("Apple")), 0);
    EXPECT_EQ(SendMessageA(drop, CB_ADDSTRING, 0, LPARAM("季節")), 3);
    EXPECT_EQ(SendMessageA(drop, CB_ADDSTRING, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(drop, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(ItemText(drop, 0), "Apple");
    EXPECT_EQ(ItemText(drop, 1), "zebra");
    EXPECT_EQ(ItemText(drop, 2), "_x");
    EXPECT_EQ(ItemText(drop, 3), "季節");
    EXPECT_EQ(SendMessageA(drop, CB_GETLBTEXTLEN, 4, 0), CB_ERR);
    Fill(list, {"b", "a"});  // not sorted: in the order added
    EXPECT_EQ(ItemText(list, 0), "b");
}

// The field of a drop-down combobox takes typed text as a one-line edit field does.
TEST_F(ComboTest, FieldRefusesWhatCp932CannotHold) {
    SendMessageA(drop, CB_LIMITTEXT, 4, 0);
    SetFocus(drop);
    PlatTypeText("ab\xF0\x9F\x98\x80");
    PlatCommitText("日本");
    char buf[16];
    GetWindowTextA(drop, buf, sizeof buf);
    EXPECT_STREQ(buf, "ab日");
}

TEST_F(ComboTest, SelectionByTheProgram) {
    Fill(drop, {"a", "b", "c"});
    EXPECT_EQ(SendMessageA(drop, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(drop, CB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(SendMessageA(drop, CB_GETCURSEL, 0, 0), 1);
    char buf[8];
    GetWindowTextA(drop, buf, sizeof buf);
    EXPECT_STREQ(buf, "b");
    // Past the end or -1: no selection and an empty field.
    EXPECT_EQ(SendMessageA(drop, CB_SETCURSEL, 7, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(drop, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(GetWindowTextLengthA(drop), 0);
    SendMessageA(drop, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageA(drop, CB_GETCOUNT, 0, 0), 0);
}

// Each row: what happens to the comboboxes, and the notifications their parent hears.
TEST_F(ComboTest, NotifiesTheUsersChoicesOnly) {
    struct Row {
        const char* name;
        std::function<void(ComboTest&)> act;
        Heard want;
    };
    const Row rows[] = {
        {"the program selects", [](ComboTest& t) { SendMessageA(t.list, CB_SETCURSEL, 2, 0); }, {}},
        {"the program adds and empties",
         [](ComboTest& t) {
             SendMessageA(t.list, CB_ADDSTRING, 0, LPARAM("d"));
             SendMessageA(t.list, CB_RESETCONTENT, 0, 0);
         },
         {}},
        {"the user picks another item with a key",
         [](ComboTest& t) { SetFocus(t.list), t.d.Take(), PlatPressKey(VK_DOWN); },
         {{kList, CBN_SELENDOK}, {kList, CBN_SELCHANGE}}},
        {"the user types into the field",
         [](ComboTest& t) { SetFocus(t.drop), t.d.Take(), PlatTypeText("x"); },
         {{kDrop, CBN_EDITUPDATE}, {kDrop, CBN_EDITCHANGE}}},
        {"the program disables and hides them",
         [](ComboTest& t) {
             EnableWindow(t.list, FALSE);
             ShowWindow(t.drop, SW_HIDE);
             EnableWindow(t.list, TRUE);
             ShowWindow(t.drop, SW_SHOW);
         },
         {}},
        {"the program sets the field's text",
         [](ComboTest& t) { SetWindowTextA(t.drop, "typed"); },
         {}},
        {"the focus moving",
         [](ComboTest& t) { SetFocus(t.drop), t.d.Take(), SetFocus(t.list); },
         {{kDrop, CBN_KILLFOCUS}, {kList, CBN_SETFOCUS}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetFocus(nullptr);
        SendMessageA(list, CB_RESETCONTENT, 0, 0);
        Fill(list, {"a", "b", "c"});
        SendMessageA(list, CB_SETCURSEL, 0, 0);
        d.Take();
        row.act(*this);
        EXPECT_EQ(d.Take(), row.want);
    }
}

}  // namespace
