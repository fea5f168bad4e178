// The skinned message box and the splash on the offscreen window system: answers, sizes,
// shapes, and what they look like when painted.
#include "ui/msgdlg.h"

#include <gtest/gtest.h>

#include <iterator>

#include "platform/gdi/display.h"
#include "platform/gdi/region.h"
#include "platform/user/modal.h"
#include "platform/user/msgbox.h"
#include "support/testutil.h"
#include "ui/splash.h"

namespace {

// What the hook saw of the open box, and the pointer actions it performs in the user's place.
struct BoxSeen {
    RECT rect;
    RECT textRect;  // the text control, in the box's client coordinates
    bool hasCancel;
    std::string text;
    bool cornerOut, middleIn, rightEdgeOut;
    PicData grab;
};

BoxSeen g_seen;
POINT g_clickAt;  // client position the user clicks, (-1, -1) for none

int SeeAndClick(const ModalEvent* e) {
    if (e->kind != MODAL_DIALOG) return 0;
    HWND dlg = e->wnd;
    GetWindowRect(dlg, &g_seen.rect);
    const int w = g_seen.rect.right - g_seen.rect.left, h = g_seen.rect.bottom - g_seen.rect.top;
    g_seen.hasCancel = GetDlgItem(dlg, 144) != nullptr;
    GetWindowRect(GetDlgItem(dlg, 1041), &g_seen.textRect);
    g_seen.textRect =
        RECT{g_seen.textRect.left - g_seen.rect.left, g_seen.textRect.top - g_seen.rect.top,
             g_seen.textRect.right - g_seen.rect.left, g_seen.textRect.bottom - g_seen.rect.top};
    char text[MAX_PATH] = "";
    GetWindowTextA(GetDlgItem(dlg, 1041), text, MAX_PATH);
    g_seen.text = text;
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(dlg, rgn);
    g_seen.cornerOut = !PtInRegion(rgn, 0, 0);
    g_seen.middleIn = PtInRegion(rgn, w / 2, h / 2);
    g_seen.rightEdgeOut = !PtInRegion(rgn, w, h / 2) && PtInRegion(rgn, w - 1, h / 2);
    DeleteObject(rgn);
    g_seen.grab = TakePicData(PlatGrabWindow(dlg));
    if (g_clickAt.x >= 0) {
        // The pointer comes in, presses and lets go where the user clicks.
        PlatMouseEvent(dlg, WM_MOUSEMOVE, g_clickAt.x - 3, g_clickAt.y);
        PlatMouseEvent(dlg, WM_MOUSEMOVE, g_clickAt.x, g_clickAt.y);
        PlatMouseEvent(dlg, WM_LBUTTONDOWN, g_clickAt.x, g_clickAt.y);
        PlatMouseEvent(dlg, WM_LBUTTONUP, g_clickAt.x, g_clickAt.y);
    }
    return 0;  // an answer only when no click ended the box
}

struct MsgDlgTest : ::testing::Test {
    AppEnv env;
    void SetUp() override { SetModalHook(SeeAndClick); }
    void TearDown() override {
        SetModalHook(nullptr);
        PumpMsgs();
    }
};

// Clicks at the documented places of the buttons: OK at (101, 117) on an error, (70, 81) on a
// notice, (123, 81) on a question whose Cancel is at (15, 81).
TEST_F(MsgDlgTest, AnswersComeFromTheButtonsOfEachKind) {
    struct Case {
        const char* what;
        int kind;
        POINT click;
        int result;
        bool hasCancel;
        int w, h;
    };
    const Case cases[] = {
        {"error, OK", MSG_ERROR, {101 + 44, 117 + 16}, 1, false, 290, 161},
        {"notice, OK", MSG_NOTICE, {70 + 44, 81 + 16}, 1, false, 227, 125},
        {"notice, where a question has Cancel", MSG_NOTICE, {15 + 10, 81 + 16}, 0, false, 227, 125},
        {"question, OK", MSG_QUESTION, {123 + 44, 81 + 16}, 1, true, 227, 125},
        {"question, Cancel", MSG_QUESTION, {15 + 51, 81 + 16}, 2, true, 227, 125},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_clickAt = c.click;
        EXPECT_EQ(ShowMsgDlg(nullptr, "画像が見つかりませんでした", c.kind), c.result);
        EXPECT_EQ(g_seen.hasCancel, c.hasCancel);
        EXPECT_EQ(g_seen.rect.right - g_seen.rect.left, c.w);
        EXPECT_EQ(g_seen.rect.bottom - g_seen.rect.top, c.h);
        // Centred on the screen, truncating.
        EXPECT_EQ(g_seen.rect.left, (GetSystemMetrics(SM_CXSCREEN) - c.w) / 2);
        EXPECT_EQ(g_seen.rect.top, (GetSystemMetrics(SM_CYSCREEN) - c.h) / 2);
        EXPECT_EQ(g_seen.text, "画像が見つかりませんでした");
        EXPECT_TRUE(g_seen.cornerOut && g_seen.middleIn && g_seen.rightEdgeOut);
    }
}

// Painted, the box is its skin with the text on it and its buttons in their normal look.
TEST_F(MsgDlgTest, PaintedBoxShowsSkinTextAndButtons) {
    g_clickAt = POINT{-1, -1};
    struct Btn {
        int x, y, w, h, strip;
    };
    struct Case {
        int kind, skin;
        RECT text;  // the text control
        Btn btns[2];
    };
    const Case cases[] = {
        {MSG_ERROR, 197, {77, 36, 271, 77}, {{101, 117, 88, 32, 163}, {}}},
        {MSG_NOTICE, 198, {27, 20, 199, 80}, {{70, 81, 88, 32, 163}, {}}},
        {MSG_QUESTION, 198, {27, 20, 199, 80}, {{123, 81, 88, 32, 163}, {15, 81, 102, 32, 127}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        ShowMsgDlg(nullptr, "送信完了", c.kind);
        // The error box keeps the template's text place, 194 x 41; the others move it.
        EXPECT_EQ(g_seen.textRect.left, c.text.left);
        EXPECT_EQ(g_seen.textRect.top, c.text.top);
        EXPECT_EQ(g_seen.textRect.right, c.text.right);
        EXPECT_EQ(g_seen.textRect.bottom, c.text.bottom);
        const PicData skin = LoadResPic(c.skin);
        const PicData& got = g_seen.grab;
        ASSERT_EQ(got.w, skin.w);
        ASSERT_EQ(got.h, skin.h);
        std::vector<uint32_t> want = skin.px;
        for (const Btn& b : c.btns) {
            if (!b.w) continue;
            const PicData strip = LoadResPic(b.strip);
            for (int y = 0; y < b.h; ++y)
                for (int x = 0; x < b.w; ++x)
                    want[size_t(b.y + y) * skin.w + b.x + x] = strip.At(x, y);
        }
        int textPx = 0, wrong = 0;
        for (int y = 0; y < skin.h; ++y)
            for (int x = 0; x < skin.w; ++x) {
                const bool inText =
                    x >= c.text.left && x < c.text.right && y >= c.text.top && y < c.text.bottom;
                const bool differs = got.At(x, y) != want[size_t(y) * skin.w + x];
                (inText ? textPx : wrong) += differs;
            }
        EXPECT_EQ(wrong, 0);
        EXPECT_GT(textPx, 20);  // the words are drawn straight on the skin
    }
}

// Text beyond the box's 260-byte buffer is cut at 259 bytes, never inside a character.
TEST_F(MsgDlgTest, LongTextIsCutWholeCharactersFirst) {
    g_clickAt = POINT{70 + 44, 81 + 16};
    std::string text;
    while (text.size() < 300) text += "あ";  // three bytes each
    EXPECT_EQ(ShowMsgDlg(nullptr, text.c_str(), MSG_NOTICE), 1);
    EXPECT_EQ(g_seen.text.size(), 258u);
    EXPECT_EQ(g_seen.text, text.substr(0, 258));
}

INT_PTR NoInitProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// Templates convert with 7/4 pixel across and the font height / 8 down, halves rounded up: the
// splash template gives its skin's 396 x 383; the message box template gives 291 x 161 and the
// box takes its skin's 290 x 161 when it opens.
TEST(DlgTempl, SizesFromDialogUnits) {
    struct Case {
        int templ, w, h;
    };
    const Case cases[] = {{142, 396, 383}, {199, 291, 161}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.templ);
        HWND dlg = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(c.templ), nullptr, NoInitProc, 0);
        ASSERT_NE(dlg, nullptr);
        RECT r;
        GetWindowRect(dlg, &r);
        EXPECT_EQ(r.right - r.left, c.w);
        EXPECT_EQ(r.bottom - r.top, c.h);
        DestroyWindow(dlg);
    }
    EXPECT_EQ(CreateDialogParamA(nullptr, MAKEINTRESOURCEA(1), nullptr, NoInitProc, 0), nullptr);
}

TEST(Splash, CentredInTheShapeOfItsSkin) {
    AppEnv env;
    HWND dlg = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(142), nullptr, DlgSplashProc, 0);
    ASSERT_NE(dlg, nullptr);
    ShowWindow(dlg, SW_SHOW);
    RECT r;
    GetWindowRect(dlg, &r);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 396) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 383) / 2);
    const PicData skin = LoadResPic(143);
    const PicData got = TakePicData(PlatGrabWindow(dlg));
    ASSERT_EQ(got.w, 396);
    ASSERT_EQ(got.h, 383);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(dlg, rgn), RGN_ERROR);
    // Inside the shape the window shows its skin; the key-coloured pixels are not the window's.
    int wrong = 0, keyIn = 0;
    for (int y = 0; y < 383; ++y)
        for (int x = 0; x < 396; ++x) {
            const bool in = PtInRegion(rgn, x, y);
            const bool key = skin.At(x, y) == skin.At(0, 0);
            keyIn += in == key;
            if (in) wrong += got.At(x, y) != skin.At(x, y);
        }
    EXPECT_EQ(keyIn, 0);
    EXPECT_EQ(wrong, 0);
    DeleteObject(rgn);
    DestroyWindow(dlg);
    PumpMsgs();
}

// A box that cannot be made (here its owner is gone) tells its text in the plain box, whose
// answer stands for the skinned box's.
TEST(MsgDlgFallback, PlainBoxTellsTheTextWhenTheBoxCannotBeMade) {
    struct Case {
        const char* what;
        int kind;
        int plainAnswer;
        UINT type;
        int result;
    };
    const Case cases[] = {
        {"error", MSG_ERROR, IDOK, MB_OK | MB_ICONERROR, 1},
        {"notice", MSG_NOTICE, IDOK, MB_OK | MB_ICONINFORMATION, 1},
        {"question, OK", MSG_QUESTION, IDOK, MB_OKCANCEL | MB_ICONQUESTION, 1},
        {"question, Cancel", MSG_QUESTION, IDCANCEL, MB_OKCANCEL | MB_ICONQUESTION, 2},
    };
    AppEnv env;
    BtnParent gone;
    DestroyWindow(gone.wnd);
    PumpMsgs();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MsgRecorder rec(c.plainAnswer);
        EXPECT_EQ(ShowMsgDlg(gone.wnd, "画像を保存できませんでした", c.kind), c.result);
        ASSERT_EQ(rec.msgs.size(), 1u);
        EXPECT_EQ(rec.msgs[0].templ, 0);
        EXPECT_EQ(rec.msgs[0].caption, "Quillet");
        EXPECT_EQ(rec.msgs[0].text, "画像を保存できませんでした");
        EXPECT_EQ(rec.msgs[0].type, c.type);
    }
}

// In a fresh process of its own: without windows at all the text reaches stderr.
TEST(MsgDlgDeathTest, WithoutAnApplicationTheTextGoesToStderr) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            PlatInitNoApp();
            exit(ShowMsgDlg(nullptr, "画像を保存できませんでした", MSG_ERROR) == 1 ? 7 : 1);
        },
        ::testing::ExitedWithCode(7), "Quillet: 画像を保存できませんでした");
}

}  // namespace
