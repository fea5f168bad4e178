// The window system: creation and destruction order, the posted queue and its loop, painting,
// the mouse with hit test and capture, window moves, activation and modal dialogs.
#include "platform/user/window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <string>
#include <vector>

#include "platform/gdi/display.h"
#include "platform/user/modal.h"
#include "platform/user/records.h"
#include "res/dlgtempl.h"
#include "support/testutil.h"

namespace {

struct Heard {
    HWND wnd;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};

std::vector<Heard> g_heard;
LRESULT g_hitAnswer = HTCLIENT;
LRESULT g_createAnswer = 0;
bool g_destroyInHandler;

int g_hookCalls;
int CountHook(const ModalEvent*) {
    ++g_hookCalls;
    return 0;
}

// Ends the dialog while it is initialised.
INT_PTR EndInInitProc(HWND dlg, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_INITDIALOG) EndDialog(dlg, 3);
    return msg == WM_INITDIALOG;
}

INT_PTR EndAtOnceProc(HWND dlg, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_INITDIALOG) PostMessageA(dlg, WM_USER + 9, 0, 0);
    if (msg == WM_USER + 9) EndDialog(dlg, 1);
    return msg == WM_USER + 9;
}

// Records every message and answers the hit test with g_hitAnswer.
LRESULT RecProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    g_heard.push_back({wnd, msg, wp, lp});
    if (msg == WM_CREATE) return g_createAnswer;
    if (msg == WM_USER + 3 && g_destroyInHandler) {
        DestroyWindow(wnd);
        DialogBoxParamA(nullptr, MAKEINTRESOURCEA(199), GetParent(wnd), EndAtOnceProc, 0);
        return 0;
    }
    if (msg == WM_NCHITTEST) return g_hitAnswer;
    return DefWindowProcA(wnd, msg, wp, lp);
}

std::vector<UINT> HeardBy(HWND wnd, std::initializer_list<UINT> kinds) {
    std::vector<UINT> out;
    for (const Heard& h : g_heard)
        if (h.wnd == wnd)
            for (UINT k : kinds)
                if (h.msg == k) out.push_back(h.msg);
    return out;
}

struct WndTest : ::testing::Test {
    void SetUp() override {
        g_heard.clear();
        g_hitAnswer = HTCLIENT;
        g_createAnswer = 0;
        WNDCLASSEXA cls{};
        if (!GetClassInfoExA(nullptr, "TestRec", &cls)) {
            cls.cbSize = sizeof cls;
            cls.style = CS_DBLCLKS;
            cls.lpfnWndProc = RecProc;
            cls.hbrBackground = CreateSolidBrush(RGB(10, 20, 30));
            cls.lpszClassName = "TestRec";
            ASSERT_TRUE(RegisterClassExA(&cls));
        }
    }
    void TearDown() override {
        ReleaseCapture();
        for (HWND w : made) DestroyWindow(w);
        PumpMsgs();
    }
    HWND Make(HWND parent, int x, int y, int w, int h, int id = 0) {
        const DWORD style = (parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE;
        HWND wnd = CreateWindowExA(0, "TestRec", "rec", style, x, y, w, h, parent,
                                   reinterpret_cast<HMENU>(intptr_t(id)), nullptr, nullptr);
        if (!parent) made.push_back(wnd);
        return wnd;
    }
    std::vector<HWND> made;
};

TEST_F(WndTest, CreationIsHeardBeforeTheCallReturns) {
    HWND top = Make(nullptr, 100, 100, 200, 150);
    ASSERT_NE(top, nullptr);
    ASSERT_FALSE(g_heard.empty());
    EXPECT_EQ(g_heard[0].msg, WM_CREATE);
    HWND kid = Make(top, 10, 10, 50, 20, 7);
    EXPECT_EQ(GetDlgItem(top, 7), kid);
    EXPECT_EQ(GetParent(kid), top);
    g_createAnswer = -1;
    EXPECT_EQ(Make(top, 0, 0, 5, 5, 8), nullptr);
    EXPECT_EQ(GetDlgItem(top, 8), nullptr);
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
}

// The parent hears WM_DESTROY before its children, WM_NCDESTROY after them; what was posted to
// them is dropped.
TEST_F(WndTest, DestroyOrderAndDroppedMessages) {
    HWND top = Make(nullptr, 0, 0, 100, 100);
    HWND kid = Make(top, 0, 0, 10, 10, 1);
    PostMessageA(kid, WM_USER + 5, 0, 0);
    g_heard.clear();
    made.clear();
    EXPECT_TRUE(DestroyWindow(top));
    std::vector<std::pair<HWND, UINT>> order;
    for (const Heard& h : g_heard) order.push_back({h.wnd, h.msg});
    const std::vector<std::pair<HWND, UINT>> want = {
        {top, WM_DESTROY}, {kid, WM_DESTROY}, {kid, WM_NCDESTROY}, {top, WM_NCDESTROY}};
    EXPECT_EQ(order, want);
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(kid));
    g_heard.clear();
    PumpMsgs();
    EXPECT_TRUE(g_heard.empty());
    EXPECT_FALSE(PostMessageA(kid, WM_USER, 0, 0));
}

// A quit posted before the loop runs ends it at once; WM_QUIT comes when nothing else is posted,
// so what was posted after it is still delivered first.
TEST_F(WndTest, QuitComesWhenNothingElseIsPosted) {
    HWND top = Make(nullptr, 0, 0, 10, 10);
    MSG msg;
    PostQuitMessage(3);
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.wParam, 3u);
    PostMessageA(top, WM_USER + 1, 11, 0);
    PostQuitMessage(4);
    PostMessageA(top, WM_USER + 2, 22, 0);
    std::vector<UINT> got;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        got.push_back(msg.message);
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(got, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
    EXPECT_EQ(msg.wParam, 4u);
    EXPECT_EQ(HeardBy(top, {WM_USER + 1, WM_USER + 2}).size(), 2u);
}

// Erasing fills the class background; a surface from GetDC draws outside WM_PAINT and shows.
TEST_F(WndTest, PaintEraseAndDrawingOutsidePaint) {
    HWND top = Make(nullptr, 0, 0, 20, 10);
    PumpMsgs();
    g_heard.clear();
    InvalidateRect(top, nullptr, TRUE);
    UpdateWindow(top);
    EXPECT_EQ(HeardBy(top, {WM_PAINT, WM_ERASEBKGND}),
              (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
    HDC dc = GetDC(top);
    ASSERT_NE(dc, nullptr);
    SetPixel(dc, 3, 4, RGB(255, 0, 0));
    ReleaseDC(top, dc);
    HBITMAP pic = PlatGrabWindow(top);
    const std::vector<uint32_t> px = PicPixels(pic, 20, 10);
    DeleteObject(pic);
    EXPECT_EQ(px[0], 0x0a141eu);
    EXPECT_EQ(px[4 * 20 + 3], 0xff0000u);
    g_heard.clear();
    InvalidateRect(top, nullptr, FALSE);
    UpdateWindow(top);
    EXPECT_EQ(HeardBy(top, {WM_PAINT, WM_ERASEBKGND}), std::vector<UINT>{WM_PAINT});
}

// A window without WS_CLIPCHILDREN paints over its children: invalidating it invalidates the
// children under the rectangle, with its erase flag. WS_CLIPCHILDREN keeps them out.
TEST_F(WndTest, InvalidationReachesTheChildrenBelowUnlessClipped) {
    for (const DWORD clip : {DWORD(0), WS_CLIPCHILDREN}) {
        SCOPED_TRACE(clip ? "clipped" : "not clipped");
        HWND top = CreateWindowExA(0, "TestRec", "", WS_POPUP | WS_VISIBLE | clip, 0, 0, 200, 100,
                                   nullptr, nullptr, nullptr, nullptr);
        made.push_back(top);
        HWND under = Make(top, 50, 40, 40, 20);
        HWND beside = Make(top, 150, 10, 20, 20);
        PumpMsgs();
        g_heard.clear();
        const RECT r{60, 30, 100, 50};
        InvalidateRect(top, &r, TRUE);
        UpdateWindow(under);
        UpdateWindow(beside);
        const std::vector<UINT> painted{WM_PAINT, WM_ERASEBKGND};
        EXPECT_EQ(HeardBy(under, {WM_PAINT, WM_ERASEBKGND}), clip ? std::vector<UINT>{} : painted);
        EXPECT_TRUE(HeardBy(beside, {WM_PAINT}).empty());
    }
}

int g_paints;
// Asks for another paint from inside its first one, after EndPaint.
LRESULT RepaintProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_PAINT) return DefWindowProcA(wnd, msg, wp, lp);
    PAINTSTRUCT ps;
    BeginPaint(wnd, &ps);
    EndPaint(wnd, &ps);
    if (++g_paints == 1) InvalidateRect(wnd, nullptr, FALSE);
    return 0;
}

TEST_F(WndTest, InvalidationDuringPaintIsKept) {
    UseTestClass("TestRepaint", RepaintProc);
    HWND wnd = CreateWindowExA(0, "TestRepaint", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
    made.push_back(wnd);
    g_paints = 0;
    InvalidateRect(wnd, nullptr, FALSE);
    UpdateWindow(wnd);
    UpdateWindow(wnd);
    UpdateWindow(wnd);
    EXPECT_EQ(g_paints, 2);
}

// Without capture the window under the pointer is asked its hit test, then for its cursor, then
// hears the mouse message; under capture the capturing window hears every move, also outside it,
// with negative client coordinates.
TEST_F(WndTest, MouseWithHitTestAndCapture) {
    HWND top = Make(nullptr, 200, 200, 200, 100);
    HWND kid = Make(top, 50, 20, 40, 30, 1);
    g_heard.clear();
    PlatMouseEvent(top, WM_MOUSEMOVE, 60, 30);
    EXPECT_EQ(HeardBy(kid, {WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE}),
              (std::vector<UINT>{WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE}));
    ASSERT_FALSE(g_heard.empty());
    EXPECT_EQ(GET_X_LPARAM(g_heard.back().lp), 10);
    EXPECT_EQ(GET_Y_LPARAM(g_heard.back().lp), 10);
    SetCapture(kid);
    g_heard.clear();
    PlatMouseEvent(top, WM_MOUSEMOVE, 5, 8);  // over the parent, left of and above the child
    PlatMouseEvent(top, WM_LBUTTONDOWN, 5, 8);
    PlatMouseEvent(top, WM_LBUTTONUP, 5, 8);
    EXPECT_TRUE(HeardBy(top, {WM_NCHITTEST, WM_MOUSEMOVE, WM_LBUTTONDOWN}).empty());
    EXPECT_EQ(HeardBy(kid, {WM_NCHITTEST, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}),
              (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}));
    ASSERT_FALSE(g_heard.empty());
    EXPECT_EQ(GET_X_LPARAM(g_heard.back().lp), -45);
    EXPECT_EQ(GET_Y_LPARAM(g_heard.back().lp), -12);
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
}

// A window answering its hit test with HTCAPTION, or sending itself WM_NCLBUTTONDOWN with
// HTCAPTION, follows the pointer while the button is held.
TEST_F(WndTest, CaptionPressMovesTheWindow) {
    HWND top = Make(nullptr, 100, 100, 200, 100);
    g_hitAnswer = HTCAPTION;
    PlatMouseEvent(top, WM_LBUTTONDOWN, 50, 50);
    EXPECT_EQ(HeardBy(top, {WM_LBUTTONDOWN, WM_NCLBUTTONDOWN}),
              std::vector<UINT>{WM_NCLBUTTONDOWN});
    PlatMouseEvent(top, WM_MOUSEMOVE, 80, 70);
    PlatMouseEvent(top, WM_LBUTTONUP, 50, 50);  // the pointer still holds the same spot
    RECT r;
    GetWindowRect(top, &r);
    EXPECT_EQ(r.left, 130);
    EXPECT_EQ(r.top, 120);
    // Released: the next move does not carry it along.
    PlatMouseEvent(top, WM_MOUSEMOVE, 10, 10);
    GetWindowRect(top, &r);
    EXPECT_EQ(r.left, 130);
}

// The second press of a double click is a double click only for classes that ask for them.
TEST_F(WndTest, DoubleClicksForClassesThatAskForThem) {
    HWND asks = Make(nullptr, 0, 0, 50, 50);
    UseTestClass("TestRecPlain", RecProc);
    HWND plain = CreateWindowExA(0, "TestRecPlain", "", WS_POPUP | WS_VISIBLE, 100, 0, 50, 50,
                                 nullptr, nullptr, nullptr, nullptr);
    made.push_back(plain);
    g_heard.clear();
    PlatMouseEvent(asks, WM_LBUTTONDBLCLK, 5, 5);
    PlatMouseEvent(plain, WM_LBUTTONDBLCLK, 5, 5);
    EXPECT_EQ(HeardBy(asks, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
              std::vector<UINT>{WM_LBUTTONDBLCLK});
    EXPECT_EQ(HeardBy(plain, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
              std::vector<UINT>{WM_LBUTTONDOWN});
}

INT_PTR g_ownerOff;
HWND g_modalOwner;
INT_PTR NoInitProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}
INT_PTR ModalProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        PostMessageA(dlg, WM_USER + 9, WPARAM(lp), 0);
        return TRUE;
    }
    if (msg == WM_USER + 9) {
        g_modalOwner = GetParent(dlg);
        g_ownerOff = !IsWindowEnabled(g_modalOwner);
        EndDialog(dlg, INT_PTR(wp));
        return TRUE;
    }
    return FALSE;
}

// The dialog runs its own loop until EndDialog; its owner takes no input meanwhile.
TEST_F(WndTest, ModalDialogRunsItsLoopWithTheOwnerDisabled) {
    HWND owner = Make(nullptr, 0, 0, 50, 50);
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(199), owner, ModalProc, 42), 42);
    EXPECT_TRUE(g_ownerOff);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(1), owner, ModalProc, 0), -1);
    // Ended while it was initialised, it never shows and no one is asked to answer it.
    g_hookCalls = 0;
    SetModalHook(CountHook);
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(199), owner, EndInInitProc, 0), 3);
    SetModalHook(nullptr);
    EXPECT_EQ(g_hookCalls, 0);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

// A window that loses activation hears WM_ACTIVATE with WA_INACTIVE.
TEST_F(WndTest, LosingActivationIsHeard) {
    HWND a = Make(nullptr, 0, 0, 50, 50);
    HWND b = Make(nullptr, 100, 0, 50, 50);
    BringWindowToTop(a);
    PumpMsgs();
    g_heard.clear();
    BringWindowToTop(b);
    PumpMsgs();
    bool inactive = false;
    for (const Heard& h : g_heard)
        if (h.wnd == a && h.msg == WM_ACTIVATE && LOWORD(h.wp) == WA_INACTIVE) inactive = true;
    EXPECT_TRUE(inactive);
}

// A dialog ended by a window-system event (a key, a timer) ends its loop at once, not at the
// next posted message; the second timer only rescues a stuck loop, and its answer would show.
TEST_F(WndTest, ModalLoopEndsOnAWindowSystemEvent) {
    HWND owner = Make(nullptr, 0, 0, 50, 50);
    static HWND dlg;
    QTimer::singleShot(0, [] {
        dlg = FindWindowA(nullptr, "");
        EndDialog(dlg, 7);
    });
    QTimer::singleShot(3000, [] {
        if (!IsWindow(dlg)) return;
        EndDialog(dlg, 99);
        PostMessageA(dlg, WM_USER + 9, 0, 0);
    });
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(199), owner, NoInitProc, 0), 7);
    // The window manager's close asks the dialog, which only its buttons close.
    HWND modeless = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(199), owner, NoInitProc, 0);
    SendMessageA(modeless, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(modeless));
    DestroyWindow(modeless);
}

// A window gone inside its own handler, during a nested loop: nothing it left behind is used,
// its capture ends, and later windows never answer to its handle.
TEST_F(WndTest, DestroyedWindowLeavesNothingBehind) {
    HWND top = Make(nullptr, 0, 0, 100, 100);
    HWND kid = Make(top, 0, 0, 20, 20, 1);
    SetCapture(kid);
    g_destroyInHandler = true;
    SendMessageA(kid, WM_USER + 3, 0, 0);  // destroys itself, then runs a modal loop
    g_destroyInHandler = false;
    EXPECT_FALSE(IsWindow(kid));
    EXPECT_EQ(GetCapture(), nullptr);
    PumpMsgs();
    HWND next = Make(top, 0, 0, 20, 20, 2);
    EXPECT_NE(next, kid);
    EXPECT_FALSE(IsWindow(kid));
    EXPECT_FALSE(DestroyWindow(kid));
}

// A dialog owned by a child window is owned by the child's top-level window, which takes no
// input while the dialog runs.
TEST_F(WndTest, ChildNamedAsOwnerMeansItsTopLevelWindow) {
    HWND top = Make(nullptr, 0, 0, 100, 100);
    HWND kid = Make(top, 0, 0, 20, 20, 1);
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(199), kid, ModalProc, 5), 5);
    EXPECT_TRUE(g_ownerOff);
    EXPECT_EQ(g_modalOwner, top);
}

// A press on a static text goes to the window beneath it.
TEST_F(WndTest, StaticTextLetsThePointerThrough) {
    HWND top = Make(nullptr, 0, 0, 100, 100);
    HWND label = CreateWindowExA(0, "STATIC", "text", WS_CHILD | WS_VISIBLE, 10, 10, 80, 20, top,
                                 reinterpret_cast<HMENU>(intptr_t(6)), nullptr, nullptr);
    ASSERT_NE(label, nullptr);
    g_heard.clear();
    PlatMouseEvent(top, WM_LBUTTONDOWN, 20, 15);
    PlatMouseEvent(top, WM_LBUTTONUP, 20, 15);
    EXPECT_EQ(HeardBy(top, {WM_LBUTTONDOWN, WM_LBUTTONUP}),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    ASSERT_FALSE(g_heard.empty());
    EXPECT_EQ(GET_X_LPARAM(g_heard.back().lp), 20);
}

}  // namespace

namespace {

// A window made topmost stays above the others until told otherwise; SetWindowPos moves and
// sizes as its flags say; the work area follows the screen.
TEST_F(WndTest, PlacementOnTopAndWorkArea) {
    HWND a = CreateWindowExA(WS_EX_TOPMOST, "TestRec", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                             nullptr, nullptr);
    made.push_back(a);
    EXPECT_TRUE(a->widget->windowFlags() & Qt::WindowStaysOnTopHint);
    SetWindowPos(a, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_FALSE(a->widget->windowFlags() & Qt::WindowStaysOnTopHint);
    SetWindowPos(a, HWND_TOPMOST, 30, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    EXPECT_TRUE(a->widget->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(IsWindowVisible(a));
    RECT r;
    GetWindowRect(a, &r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right - r.left, 50);
    SetWindowPos(a, nullptr, 0, 0, 70, 20, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(a, &r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.right - r.left, 70);
    EXPECT_EQ(r.bottom - r.top, 20);
    PlatSetScreen(800, 600, 32);
    RECT area{};
    EXPECT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    PlatSetScreen(0, 0, 0);
    EXPECT_EQ(area.right, 800);
    EXPECT_EQ(area.bottom, 600);
}

TEST_F(WndTest, ActivationThroughTheSeam) {
    HWND a = Make(nullptr, 0, 0, 50, 50);
    g_heard.clear();
    PlatActivate(a, FALSE);
    PlatActivate(a, TRUE);
    std::vector<WPARAM> states;
    for (const Heard& h : g_heard)
        if (h.wnd == a && h.msg == WM_ACTIVATE) states.push_back(LOWORD(h.wp));
    EXPECT_EQ(states, (std::vector<WPARAM>{WA_INACTIVE, WA_ACTIVE}));
}

// A template naming a class the window system does not know makes no dialog.
TEST_F(WndTest, UnknownControlClassFailsTheDialog) {
    static const DlgItemTempl items[] = {{5, "NoSuchControl", "", 0, 0, 10, 10, 0}};
    static const DlgTempl templ = {903, 9, 50, 50, WS_POPUP, items, 1};
    PlatAddDlgTempl(&templ);
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(903), nullptr, ModalProc, 1), -1);
    PlatAddDlgTempl(nullptr);
}

// Runs in a fresh process of its own, where no other test has made an application yet. A
// program that runs without one gets neither windows nor dialogs, and none is made for them.
TEST(NoAppDeathTest, WindowsAndDialogsFailWithoutAnApplication) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            PlatInitNoApp();
            const bool noWnd = !CreateWindowExA(0, "STATIC", "s", WS_POPUP, 0, 0, 10, 10, nullptr,
                                                nullptr, nullptr, nullptr);
            const bool noDlg =
                DialogBoxParamA(nullptr, MAKEINTRESOURCEA(199), nullptr, ModalProc, 42) == -1;
            const bool noApp = !QCoreApplication::instance();
            fprintf(stderr, "window %d dialog %d application %d\n", !noWnd, !noDlg, !noApp);
            exit(noWnd && noDlg && noApp ? 7 : 1);
        },
        ::testing::ExitedWithCode(7), "window 0 dialog 0 application 0");
}

}  // namespace
