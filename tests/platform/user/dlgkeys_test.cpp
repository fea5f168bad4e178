// Dialogs and the keyboard: the first focus, Tab between the controls, Enter and Escape as the
// dialog's commands, push buttons, no input for the owner of a modal dialog, and the pointer
// over a control for a window holding the capture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/controls/commctrl.h"
#include "platform/user/modal.h"
#include "platform/user/records.h"
#include "res/dlgtempl.h"
#include "support/testutil.h"

namespace {

constexpr int kName = 10, kNote = 11, kKind = 12;

const DlgItemTempl kItems[] = {
    {-1, "STATIC", "名前", 4, 4, 40, 10, SS_LEFT},
    {kName, "EDIT", "", 50, 4, 100, 12, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL},
    {kNote, "EDIT", "", 50, 20, 100, 40, WS_TABSTOP | WS_BORDER | ES_MULTILINE | ES_WANTRETURN},
    {kKind, "COMBOBOX", "", 50, 64, 100, 80, WS_TABSTOP | CBS_DROPDOWNLIST},
    {IDOK, "BUTTON", "OK", 50, 84, 40, 14, WS_TABSTOP | BS_DEFPUSHBUTTON},
    {IDCANCEL, "BUTTON", "キャンセル", 100, 84, 50, 14, WS_TABSTOP},
};
const DlgTempl kTempl = {901, 9, 160, 104, WS_POPUP | WS_CAPTION, kItems, int(std::size(kItems))};

std::vector<std::pair<int, int>> g_cmds;  // (id, code) of every WM_COMMAND
BOOL g_initAnswer = TRUE;

INT_PTR TestDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_INITDIALOG) {
        if (!g_initAnswer) SetFocus(GetDlgItem(dlg, kNote));
        return g_initAnswer;
    }
    if (msg == WM_COMMAND) {
        g_cmds.push_back({LOWORD(wp), HIWORD(wp)});
        return TRUE;
    }
    return FALSE;
}

std::string TextOf(HWND wnd) {
    char buf[256];
    GetWindowTextA(wnd, buf, sizeof buf);
    return buf;
}

struct DlgKeysTest : ::testing::Test {
    void SetUp() override {
        PlatAddDlgTempl(&kTempl);
        g_cmds.clear();
        g_initAnswer = TRUE;
    }
    void TearDown() override {
        if (IsWindow(dlg)) DestroyWindow(dlg);
        PumpMsgs();
        PlatAddDlgTempl(nullptr);
        SetModalHook(nullptr);
    }
    HWND Open() {
        dlg = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(901), nullptr, TestDlgProc, 0);
        ShowWindow(dlg, SW_SHOW);
        return dlg;
    }
    HWND Item(int id) { return GetDlgItem(dlg, id); }
    HWND dlg = nullptr;
};

TEST_F(DlgKeysTest, FirstFocusFollowsTheInitAnswer) {
    Open();
    EXPECT_EQ(GetFocus(), Item(kName));
    DestroyWindow(dlg);
    g_initAnswer = FALSE;  // the procedure gave the focus itself
    Open();
    EXPECT_EQ(GetFocus(), Item(kNote));
}

// Tab goes through the controls that take it in template order and wraps; Shift+Tab goes back;
// a disabled control is passed over; an edit reached so shows its text selected.
TEST_F(DlgKeysTest, TabOrder) {
    Open();
    SetWindowTextA(Item(kNote), "note");
    const int forward[] = {kNote, kKind, IDOK, IDCANCEL, kName};
    for (int id : forward) {
        PlatPressKey(VK_TAB);
        EXPECT_EQ(GetFocus(), Item(id)) << id;
    }
    PlatPressKey(VK_TAB, true);
    EXPECT_EQ(GetFocus(), Item(IDCANCEL));
    EnableWindow(Item(kName), FALSE);
    PlatPressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), Item(kNote));
    DWORD from = 9, to = 0;
    SendMessageA(Item(kNote), EM_GETSEL, WPARAM(&from), LPARAM(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 4u);
    EXPECT_TRUE(g_cmds.empty() || g_cmds.back().second != BN_CLICKED);
}

// Enter is the default button's command (or the focused button's), Escape IDCANCEL; a multi-line
// field that wants Enter keeps it as a line break.
TEST_F(DlgKeysTest, EnterAndEscapeReachTheDialog) {
    Open();
    struct Row {
        const char* name;
        int focus;
        WPARAM key;
        std::vector<std::pair<int, int>> want;
    };
    const Row rows[] = {
        {"Enter in a one-line field", kName, VK_RETURN, {{IDOK, BN_CLICKED}}},
        {"Escape in a one-line field", kName, VK_ESCAPE, {{IDCANCEL, BN_CLICKED}}},
        {"Enter in the multi-line field", kNote, VK_RETURN, {}},
        {"Escape in the multi-line field", kNote, VK_ESCAPE, {{IDCANCEL, BN_CLICKED}}},
        {"Enter on the focused Cancel button", IDCANCEL, VK_RETURN, {{IDCANCEL, BN_CLICKED}}},
        {"Space on the focused OK button", IDOK, VK_SPACE, {{IDOK, BN_CLICKED}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetFocus(Item(row.focus));
        g_cmds.clear();
        PlatPressKey(row.key);
        PumpMsgs();
        std::vector<std::pair<int, int>> got;
        for (const auto& c : g_cmds)
            if (c.first == IDOK || c.first == IDCANCEL) got.push_back(c);
        EXPECT_EQ(got, row.want);
    }
    EXPECT_EQ(TextOf(Item(kNote)), "\r\n");
    g_cmds.clear();
    SendMessageA(Item(IDOK), BM_CLICK, 0, 0);  // the program's click notifies as the user's
    EXPECT_EQ(g_cmds, (std::vector<std::pair<int, int>>{{IDOK, BN_CLICKED}}));
}

// While a modal dialog is open its owner takes nothing: not a click into its field, not typing,
// not a paste or an input method's commit. Afterwards the field works again.
TEST_F(DlgKeysTest, OwnerOfAModalDialogTakesNoInput) {
    Open();
    HWND name = Item(kName);
    SetFocus(name);
    RECT r;
    GetWindowRect(name, &r);
    POINT at{r.left + 5, r.top + 5};
    ScreenToClient(dlg, &at);
    std::string during;
    SetModalHook([&](const ModalEvent* ev) {
        EXPECT_FALSE(IsWindowEnabled(dlg));
        PlatMouseEvent(dlg, WM_LBUTTONDOWN, at.x, at.y);
        PlatMouseEvent(dlg, WM_LBUTTONUP, at.x, at.y);
        PlatTypeText("abc");
        PlatPasteText("def");
        PlatCommitText("日本");
        during = TextOf(name);
        EndDialog(ev->wnd, 1);
        return 1;
    });
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(199), dlg, TestDlgProc, 0), 1);
    EXPECT_EQ(during, "");
    EXPECT_TRUE(IsWindowEnabled(dlg));
    EXPECT_EQ(GetFocus(), name);
    PlatTypeText("x");
    EXPECT_EQ(TextOf(name), "x");
}

// A window lit under the pointer holds the capture; moving onto a field beside it reaches it
// (outside its client area), so that it can let go.
std::vector<POINT> g_moves;
LRESULT HoverProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCHITTEST && GetCapture() != wnd) SetCapture(wnd);
    if (msg == WM_MOUSEMOVE) {
        g_moves.push_back(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        RECT r;
        GetClientRect(wnd, &r);
        const POINT p = g_moves.back();
        if (p.x < 0 || p.y < 0 || p.x >= r.right || p.y >= r.bottom) ReleaseCapture();
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

TEST_F(DlgKeysTest, PointerOverAControlGoesToTheCapture) {
    Open();
    ASSERT_TRUE(UseTestClass("TestHover", HoverProc));
    HWND lit = CreateWindowExA(0, "TestHover", "", WS_CHILD | WS_VISIBLE, 0, 150, 40, 20, dlg,
                               reinterpret_cast<HMENU>(intptr_t(50)), nullptr, nullptr);
    RECT field;
    GetWindowRect(Item(kName), &field);
    POINT on{field.left + 10, field.top + 5};
    ScreenToClient(dlg, &on);
    g_moves.clear();
    PlatMouseEvent(dlg, WM_MOUSEMOVE, 10, 155);
    EXPECT_EQ(GetCapture(), lit);
    PlatMouseEvent(dlg, WM_MOUSEMOVE, on.x, on.y);
    ASSERT_EQ(g_moves.size(), 2u);
    EXPECT_EQ(g_moves[1].x, on.x);
    EXPECT_EQ(g_moves[1].y, on.y - 150);
    EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace

namespace {

// Each row: what happens to a push button, and whether the dialog hears BN_CLICKED from it.
TEST_F(DlgKeysTest, PushButtonNotifiesItsClicks) {
    Open();
    HWND ok = Item(IDOK);
    RECT r;
    GetWindowRect(ok, &r);
    POINT at{r.left + 5, r.top + 5};
    ScreenToClient(dlg, &at);
    const POINT on = at;
    struct Row {
        const char* name;
        std::function<void()> act;
        size_t clicks;
    };
    const Row rows[] = {
        {"the user clicks it",
         [&] {
             PlatMouseEvent(dlg, WM_LBUTTONDOWN, on.x, on.y);
             PlatMouseEvent(dlg, WM_LBUTTONUP, on.x, on.y);
         },
         1},
        {"the program clicks it", [&] { SendMessageA(ok, BM_CLICK, 0, 0); }, 1},
        {"the program renames it", [&] { SetWindowTextA(ok, "はい"); }, 0},
        {"the user clicks it disabled",
         [&] {
             EnableWindow(ok, FALSE);
             PlatMouseEvent(dlg, WM_LBUTTONDOWN, on.x, on.y);
             PlatMouseEvent(dlg, WM_LBUTTONUP, on.x, on.y);
             EnableWindow(ok, TRUE);
         },
         0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        g_cmds.clear();
        row.act();
        PumpMsgs();
        EXPECT_EQ(std::count(g_cmds.begin(), g_cmds.end(), std::make_pair(IDOK, int(BN_CLICKED))),
                  long(row.clicks));
    }
    EXPECT_EQ(TextOf(ok), "はい");
}

}  // namespace

namespace {

// A parent that checks a field when it loses the focus and gives the focus back keeps it there:
// the field hears one WM_KILLFOCUS; the window the focus was going to loses it again before it
// ever hears WM_SETFOCUS.
std::vector<std::pair<int, int>> g_focusHeard;
INT_PTR RefocusProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_INITDIALOG) return TRUE;
    if (msg != WM_COMMAND) return FALSE;
    const int code = HIWORD(wp);
    if (code == EN_SETFOCUS || code == EN_KILLFOCUS) g_focusHeard.push_back({LOWORD(wp), code});
    if (LOWORD(wp) == kName && code == EN_KILLFOCUS) SetFocus(GetDlgItem(dlg, kName));
    return TRUE;
}

TEST_F(DlgKeysTest, FocusGivenBackWhileLeavingStays) {
    dlg = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(901), nullptr, RefocusProc, 0);
    ShowWindow(dlg, SW_SHOW);
    ASSERT_EQ(GetFocus(), Item(kName));
    g_focusHeard.clear();
    SetFocus(Item(kNote));
    EXPECT_EQ(GetFocus(), Item(kName));
    const std::vector<std::pair<int, int>> want = {
        {kName, EN_KILLFOCUS}, {kNote, EN_KILLFOCUS}, {kName, EN_SETFOCUS}};
    EXPECT_EQ(g_focusHeard, want);
}

// Disabling the focused control leaves the focus with no window, not with a neighbour.
TEST_F(DlgKeysTest, DisabledControlLosesTheFocusToNone) {
    Open();
    SetFocus(Item(kKind));
    EnableWindow(Item(kKind), FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(Item(kKind)));
    EXPECT_EQ(SetFocus(Item(kKind)), nullptr);  // a disabled window takes no focus
    EXPECT_EQ(GetFocus(), nullptr);
}

// Ctrl+Enter makes a line break in a multi-line field that leaves Enter to the dialog; Enter
// presses the default push button, whichever its id.
TEST_F(DlgKeysTest, CtrlEnterBreaksALineWhereEnterIsTheDialogs) {
    static constexpr int kSave = 13;
    static const DlgItemTempl items[] = {
        {kNote, "EDIT", "", 4, 4, 100, 40, WS_TABSTOP | ES_MULTILINE},
        {IDOK, "BUTTON", "OK", 4, 50, 40, 14, WS_TABSTOP},
        {kSave, "BUTTON", "保存", 50, 50, 40, 14, WS_TABSTOP | BS_DEFPUSHBUTTON},
    };
    static const DlgTempl templ = {904, 9, 110, 70, WS_POPUP, items, 3};
    PlatAddDlgTempl(&templ);
    dlg = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(904), nullptr, TestDlgProc, 0);
    ASSERT_EQ(GetFocus(), Item(kNote));
    auto presses = [] {
        return std::count(g_cmds.begin(), g_cmds.end(), std::make_pair(kSave, 0));
    };
    PlatTypeText("a");
    PlatPressKey(VK_RETURN);
    EXPECT_EQ(presses(), 1);
    QKeyEvent ctrlEnter(QEvent::KeyPress, Qt::Key_Return, Qt::ControlModifier, "\r");
    QApplication::sendEvent(Item(kNote)->ctl->qt, &ctrlEnter);
    EXPECT_EQ(TextOf(Item(kNote)), "a\r\n");
    EXPECT_EQ(presses(), 1);
}

}  // namespace
