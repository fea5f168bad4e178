// The plain message box, answered through the modal hook or written to stderr.
#include "platform/msgbox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/modal.h"

// What the hook last saw; the event's texts live only during the call, so they are copied.
static struct {
    int calls;
    int kind;
    HWND owner;
    std::string caption, text;
    UINT type;
    int answer;
} g_seen;

static int AnswerBox(const ModalEvent* event) {
    g_seen.calls++;
    g_seen.kind = event->kind;
    g_seen.owner = event->owner;
    g_seen.caption = event->caption;
    g_seen.text = event->text;
    g_seen.type = event->type;
    return g_seen.answer;
}

TEST(MessageBoxTest, HookSeesTheBoxAndAnswers) {
    static const struct {
        const char* name;
        const char* caption;
        const char* text;
        UINT type;
        int answer;
        const char* seenCaption;
    } rows[] = {
        {"error with OK", "送信", "送信できませんでした。\r\n", MB_OK | MB_ICONERROR, IDOK, "送信"},
        {"question answered Cancel", "確認", "削除しますか?", MB_OKCANCEL | MB_ICONQUESTION,
         IDCANCEL, "確認"},
        {"no caption", nullptr, "text", MB_OK, IDOK, "Error"},
    };
    HWND owner = (HWND)&g_seen;
    SetModalHook(AnswerBox);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        g_seen = {};
        g_seen.answer = row.answer;
        EXPECT_EQ(MessageBoxA(owner, row.text, row.caption, row.type), row.answer);
        EXPECT_EQ(g_seen.calls, 1);
        EXPECT_EQ(g_seen.kind, MODAL_MSGBOX);
        EXPECT_EQ(g_seen.owner, owner);
        EXPECT_EQ(g_seen.caption, row.seenCaption);
        EXPECT_EQ(g_seen.text, row.text);
        EXPECT_EQ(g_seen.type, row.type);
    }
    SetModalHook(nullptr);
    int answer = -1;
    ModalEvent event = {MODAL_MSGBOX, nullptr, "c", "t", MB_OK, 0, nullptr};
    EXPECT_EQ(CallModalHook(&event, &answer), 0);
    EXPECT_EQ(answer, -1);
}

// Runs in a fresh process of its own, so that no application object made by another test
// can turn the call into a real window.
TEST(MessageBoxDeathTest, WithoutApplicationPrintsAndAnswersOk) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(exit(MessageBoxA(nullptr, "text here", "Caption", MB_OKCANCEL) == IDOK ? 7 : 1),
                ::testing::ExitedWithCode(7), "Caption: text here");
}
