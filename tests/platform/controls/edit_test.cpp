// The EDIT control: which actions notify the parent, the input limit in CP932 bytes on every
// way text comes in, texts with CR LF line breaks.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ctl_support.h"
#include "platform/text/codepage.h"
#include "support/testutil.h"

namespace {

using Heard = std::vector<std::pair<int, int>>;

constexpr int kLine = 11, kMulti = 12;

std::string TextOf(HWND wnd) {
    std::string text(size_t(GetWindowTextLengthA(wnd)) + 1, '\0');
    text.resize(size_t(GetWindowTextA(wnd, text.data(), int(text.size()))));
    return text;
}

struct EditTest : ::testing::Test {
    CtlDlg d;
    HWND line = d.Add("EDIT", kLine, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 200, 20);
    HWND multi =
        d.Add("EDIT", kMulti, WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN,
              10, 40, 200, 80);
};

// Each row: what happens to a field, and the notifications its parent hears.
TEST_F(EditTest, NotifiesTheUsersChangesAndSetTextOfOneLineFields) {
    struct Row {
        const char* name;
        std::function<void(EditTest&)> act;
        Heard want;
    };
    const Row rows[] = {
        {"typing a key",
         [](EditTest& t) { SetFocus(t.line), t.d.Take(), PlatTypeText("a"); },
         {{kLine, EN_UPDATE}, {kLine, EN_CHANGE}}},
        {"an input method's commit",
         [](EditTest& t) { SetFocus(t.line), t.d.Take(), PlatCommitText("日本"); },
         {{kLine, EN_UPDATE}, {kLine, EN_CHANGE}}},
        {"a paste",
         [](EditTest& t) { SetFocus(t.line), t.d.Take(), PlatPasteText("xy"); },
         {{kLine, EN_UPDATE}, {kLine, EN_CHANGE}}},
        {"typing past the limit",
         [](EditTest& t) {
             SendMessageA(t.line, EM_LIMITTEXT, 2, 0);
             SetWindowTextA(t.line, "ab");
             SetFocus(t.line), t.d.Take(), PlatTypeText("c");
         },
         {{kLine, EN_MAXTEXT}}},
        {"a character CP932 cannot hold",
         [](EditTest& t) { SetFocus(t.line), t.d.Take(), PlatTypeText("\xF0\x9F\x98\x80"); },
         {}},
        {"the program's text, one line",
         [](EditTest& t) { SetWindowTextA(t.line, "p"); },
         {{kLine, EN_UPDATE}, {kLine, EN_CHANGE}}},
        {"the program's text, multi-line", [](EditTest& t) { SetWindowTextA(t.multi, "p"); }, {}},
        {"typing, multi-line",
         [](EditTest& t) { SetFocus(t.multi), t.d.Take(), PlatTypeText("q"); },
         {{kMulti, EN_UPDATE}, {kMulti, EN_CHANGE}}},
        {"selecting and limiting",
         [](EditTest& t) {
             SendMessageA(t.line, EM_SETSEL, 0, -1);
             SendMessageA(t.line, EM_LIMITTEXT, 5, 0);
         },
         {}},
        {"the focus moving",
         [](EditTest& t) { SetFocus(t.line), t.d.Take(), SetFocus(t.multi); },
         {{kLine, EN_KILLFOCUS}, {kMulti, EN_SETFOCUS}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditTest& t = *this;
        SetFocus(nullptr);
        SetWindowTextA(line, "");
        SetWindowTextA(multi, "");
        SendMessageA(line, EM_LIMITTEXT, 0, 0);
        d.Take();
        row.act(t);
        EXPECT_EQ(d.Take(), row.want);
    }
}

// A 30-byte field takes Japanese text up to 30 CP932 bytes, by keys, paste and commit alike,
// and never keeps half a character.
TEST_F(EditTest, LimitCountsCp932BytesAndNeverCutsACharacter) {
    struct Row {
        const char* name;
        void (*enter)(const char*);
    };
    const Row rows[] = {
        {"typed", PlatTypeText}, {"pasted", PlatPasteText}, {"committed", PlatCommitText}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetWindowTextA(line, "a");  // 1 byte: 29 left, room for 14 double-byte characters
        SendMessageA(line, EM_LIMITTEXT, 30, 0);
        SetFocus(line);
        SendMessageA(line, EM_SETSEL, WPARAM(-1), 0);
        SendMessageA(line, EM_SETSEL, 1, 1);
        row.enter("あいうえおかきくけこさしすせそたち");  // 17 characters, 34 bytes
        EXPECT_EQ(TextOf(line), "aあいうえおかきくけこさしすせ");
        EXPECT_EQ(GetSjisTextLen(line), 29);
        d.Take();
    }
}

TEST_F(EditTest, CharacterWithoutCp932FormIsRefusedWhole) {
    SetWindowTextA(line, "ok");
    SetFocus(line);
    SendMessageA(line, EM_SETSEL, 2, 2);
    PlatPasteText("x\xF0\x9F\x98\x80y");  // an emoji between two letters
    EXPECT_EQ(TextOf(line), "ok");
    PlatCommitText("\xF0\x9F\x98\x80");
    EXPECT_EQ(TextOf(line), "ok");
    SetFocus(multi);
    PlatTypeText("\xF0\x9F\x98\x80");
    EXPECT_EQ(TextOf(multi), "");
}

// Line breaks go out as CR LF and count two bytes; the limit holds in multi-line fields too, and
// Enter there is a line break.
TEST_F(EditTest, MultiLineTextHasCrLfBreaks) {
    SetFocus(multi);
    PlatTypeText("あいう\nx");
    EXPECT_EQ(TextOf(multi), "あいう\r\nx");
    EXPECT_EQ(GetWindowTextLengthA(multi), 9 + 2 + 1);
    EXPECT_EQ(GetSjisTextLen(multi), 9);
    EXPECT_EQ(SjisLen("あいう\r\nx"), 9);
    SetWindowTextA(multi, "1\r\n2");
    EXPECT_EQ(TextOf(multi), "1\r\n2");
    SendMessageA(multi, EM_LIMITTEXT, 7, 0);
    SendMessageA(multi, EM_SETSEL, 4, 4);
    PlatTypeText("\n3\n4");  // the break and "3" fit (7 bytes), the next break does not
    EXPECT_EQ(TextOf(multi), "1\r\n2\r\n3");
}

TEST_F(EditTest, LowerCaseFieldLowersWhatComesIn) {
    HWND mail = d.Add("EDIT", 13, WS_TABSTOP | ES_LOWERCASE | ES_AUTOHSCROLL, 10, 130, 200, 20);
    SetFocus(mail);
    PlatTypeText("Ab");
    PlatPasteText("@EXAMPLE.jp");
    EXPECT_EQ(TextOf(mail), "ab@example.jp");
}

// A buffer sized from the length holds the whole text; a smaller one gets whole characters.
TEST_F(EditTest, TextLengthIsInUtf8Bytes) {
    SetWindowTextA(line, "日本語");
    EXPECT_EQ(GetWindowTextLengthA(line), 9);
    char small[6];
    EXPECT_EQ(GetWindowTextA(line, small, sizeof small), 3);
    EXPECT_STREQ(small, "日");
    char buf[32];
    EXPECT_EQ(GetDlgItemTextA(d.dlg, kLine, buf, sizeof buf), 9u);
    EXPECT_STREQ(buf, "日本語");
    SendDlgItemMessageA(d.dlg, kLine, EM_SETSEL, 3, 6);
    DWORD from = 0, to = 0;
    SendMessageA(line, EM_GETSEL, WPARAM(&from), LPARAM(&to));
    EXPECT_EQ(from, 3u);
    EXPECT_EQ(to, 6u);
}

}  // namespace

namespace {

// A one-line field takes the first line of what is pasted, without control characters; a
// multi-line one turns lone CRs into line breaks that count 2 bytes each.
TEST_F(EditTest, PastedLineBreaksFitTheField) {
    SetFocus(line);
    PlatPasteText("ab\tc\r\nnext line");
    EXPECT_EQ(TextOf(line), "abc");
    SetFocus(multi);
    SendMessageA(multi, EM_LIMITTEXT, 4, 0);
    PlatPasteText("a\rb\rc");
    EXPECT_EQ(TextOf(multi), "a\r\nb");
    EXPECT_EQ(GetSjisTextLen(multi), 4);
}

// Keys with Alt type nothing; a format character (a zero-width joiner) has no CP932 form and
// is refused like any other.
TEST_F(EditTest, MultiLineKeysAreFittedToo) {
    SetFocus(multi);
    SendMessageA(multi, EM_LIMITTEXT, 3, 0);
    PlatTypeText("abc");
    PlatTypeText("\xE2\x80\x8D");  // U+200D
    EXPECT_EQ(TextOf(multi), "abc");
    SendMessageA(multi, EM_LIMITTEXT, 10, 0);
    PlatTypeText("\xE2\x80\x8D");
    EXPECT_EQ(TextOf(multi), "abc");
}

}  // namespace
