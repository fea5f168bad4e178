// The plain message box, answered through the modal hook or written to stderr.
#include "platform/user/msgbox.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <cstdlib>
#include <string>

#include "platform/user/modal.h"
#include "support/testutil.h"

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
    ModalEvent event = {MODAL_MSGBOX, nullptr, "c",     "t",    MB_OK, 0,
                        nullptr,      nullptr, nullptr, nullptr};
    EXPECT_EQ(CallModalHook(&event, &answer), 0);
    EXPECT_EQ(answer, -1);
}

// The real box over its owner's top-level window, which takes no input until the box is
// answered and then gets back the state it had; each button gives its own answer, Escape the
// last button's.
TEST(MessageBoxTest, RealBoxIsModalToItsOwner) {
    static const struct {
        const char* name;
        UINT type;
        QMessageBox::StandardButton click;  // NoButton: press Escape
        bool childOwner;
        bool ownerOffBefore;
        int answer;
    } rows[] = {
        {"OK", MB_OK, QMessageBox::Ok, false, false, IDOK},
        {"Escape with OK only", MB_OK | MB_ICONERROR, QMessageBox::NoButton, false, false, IDOK},
        {"Cancel", MB_OKCANCEL, QMessageBox::Cancel, false, false, IDCANCEL},
        {"Escape cancels", MB_OKCANCEL, QMessageBox::NoButton, false, false, IDCANCEL},
        {"Yes", MB_YESNO | MB_ICONWARNING, QMessageBox::Yes, false, false, IDYES},
        {"No", MB_YESNO, QMessageBox::No, false, false, IDNO},
        {"Escape says No", MB_YESNO, QMessageBox::NoButton, false, false, IDNO},
        {"owned by a child window", MB_OK, QMessageBox::Ok, true, false, IDOK},
        {"owner disabled before stays so", MB_OK, QMessageBox::Ok, false, true, IDOK},
    };
    BtnParent top;
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, top.wnd, nullptr, nullptr,
                                 nullptr);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EnableWindow(top.wnd, !row.ownerOffBefore);
        struct {
            bool found = false;
            QString parentTitle;
            BOOL ownerOn = TRUE;
        } seen;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            seen.found = true;
            seen.parentTitle = box->parentWidget() ? box->parentWidget()->windowTitle() : "";
            seen.ownerOn = IsWindowEnabled(top.wnd);
            if (row.click != QMessageBox::NoButton) {
                box->button(row.click)->click();
                return;
            }
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(box, &esc);
        });
        EXPECT_EQ(MessageBoxA(row.childOwner ? child : top.wnd, "text", "caption", row.type),
                  row.answer);
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(seen.parentTitle, "parent");
        EXPECT_FALSE(seen.ownerOn);
        EXPECT_EQ(IsWindowEnabled(top.wnd), !row.ownerOffBefore);
    }
}

// Runs in a fresh process of its own, so that no application object made by another test
// can turn the call into a real window.
TEST(MessageBoxDeathTest, WithoutApplicationPrintsAndAnswersTheFirstButton) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(exit(MessageBoxA(nullptr, "text here", "Caption", MB_OKCANCEL) == IDOK ? 7 : 1),
                ::testing::ExitedWithCode(7), "Caption: text here");
    // A question's first button is Yes.
    EXPECT_EXIT(exit(MessageBoxA(nullptr, "Replace it", "Ask", MB_YESNO) == IDYES ? 7 : 1),
                ::testing::ExitedWithCode(7), "Ask: Replace it");
}
