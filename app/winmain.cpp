// The program entry: display checks, the command line, one running instance, the splash, the
// main window and the message loop.
#include "app/winmain.h"

#include "app/appstate.h"
#include "app/mainwnd.h"
#include "app/startpic.h"
#include "platform/controls/commctrl.h"
#include "platform/gdi/display.h"
#include "platform/kernel/kernel.h"
#include "platform/user/msgbox.h"
#include "ui/splash.h"

namespace {

// 1 when the display can show the program; tells the user what is wrong.
int CheckDisplay() {
    HDC screen = GetDC(nullptr);
    const int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    if (bits < 16)
        MessageBoxA(nullptr, "２５６色以下では正しく表示されません\nフルカラーを推奨します",
                    "Quillet", MB_ICONINFORMATION);
    if (GetSystemMetrics(SM_CXSCREEN) < 800 || GetSystemMetrics(SM_CYSCREEN) < 600) {
        MessageBoxA(nullptr, "画面の解像度が８００×６００未満のため\n起動できません", "Quillet",
                    MB_ICONEXCLAMATION);
        return 0;
    }
    return 1;
}

// 1 when another instance runs: it is brought forward, and a handed-over picture is refused.
int FindRunningWnd() {
    HWND running = FindWindowA("Quillet", "Quillet");
    if (!running) return 0;
    if (g_app.HandOver)
        MessageBoxA(running, "Quilletが起動中では画像は受け取れません。", "Quillet", MB_OK);
    ShowWindow(running, SW_RESTORE);
    SetForegroundWindow(running);
    return 1;
}

}  // namespace

int QuilletMain(HINSTANCE inst, const char* argText, int show) {
    g_app.inst = inst;
    InitCommonControls();
    if (!CheckDisplay()) return 0;
    ReadCmdLine(GetCommandLineA(), argText);
    if (FindRunningWnd()) return 0;
    g_app.splashWnd = CreateDialogParamA(inst, MAKEINTRESOURCEA(142), nullptr, DlgSplashProc, 0);
    ShowWindow(g_app.splashWnd, SW_SHOW);
    UpdateWindow(g_app.splashWnd);
    if (!CreateMainWnd(inst, show)) {
        // Without a window nothing could ever end the loop.
        DestroyWindow(g_app.splashWnd);
        return 0;
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
