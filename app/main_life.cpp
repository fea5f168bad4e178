// The main window's creation and shutdown sequences.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/appstate.h"
#include "app/folders.h"
#include "app/mainwnd.h"
#include "app/reginfo.h"
#include "app/startpic.h"
#include "browser/thumbs.h"
#include "image/stamp.h"
#include "image/workbmp.h"
#include "platform/controls/commctrl.h"
#include "platform/user/msgbox.h"
#include "send/account.h"
#include "ui/bmpbtn.h"
#include "ui/bmprgn.h"
#include "ui/mainchild.h"

namespace {

// A start-up failure that leaves the program unusable: told, then the loop ends at its start.
void MainCreateFail(const char* text) {
    MessageBoxA(g_app.mainWnd, text, "Error-MakeMainChild", MB_OK);
    PostQuitMessage(0);
}

// A skin bitmap and its shape.
void LoadSkin(HWND wnd, int num, int w, int h, HBITMAP* skin, HRGN* rgn) {
    *skin = LoadBitmapA(g_app.inst, MAKEINTRESOURCEA(num));
    *rgn = *skin ? GetBmpRgn(wnd, *skin, w, h, 0, 0) : nullptr;
}

// The folder lists' font: 13 pixels in the character set of the main window's font.
void SetListFont(HWND wnd) {
    HDC dc = GetDC(wnd);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    ReleaseDC(wnd, dc);
    g_app.listFont = CreateFontA(13, 0, 0, 0, FW_NORMAL, 0, 0, 0, tm.tmCharSet, OUT_STRING_PRECIS,
                                 0, 0, 0, nullptr);
    for (HWND cmb : g_app.cmbWnd) {
        if (!cmb) continue;
        SendMessageA(cmb, WM_SETFONT, WPARAM(g_app.listFont), TRUE);
        SendMessageA(cmb, CB_SETITEMHEIGHT, WPARAM(-1), 14);
        SendMessageA(cmb, CB_SETITEMHEIGHT, 0, 13);
    }
}

// With no account stored yet, the first-run dialog asks for it. 0 when the user cancelled it:
// the window is gone and the program ends.
int CheckFirstRun(HWND wnd) {
    char* user = nullptr;
    const bool none = !GetRegValue("USERID", &user) || !user || !*user;
    free(user);
    if (!none) return 1;
    if (!RunFstDlg(wnd)) {
        // The shape was to be given to the window at the end of its creation: it is still ours.
        DeleteObject(g_app.mainRgn);
        g_app.mainRgn = nullptr;
        DestroyWindow(wnd);
        return 0;
    }
    // The message and illustration tabs are filled again after the set-up.
    for (int t = 1; t < kTabCount; t++) LoadThumImgList(wnd, t);
    return 1;
}

}  // namespace

void MainCreate(HWND wnd) {
    // Nothing of the window shows while it is built.
    SetWindowRgn(wnd, CreateRectRgn(0, 0, 0, 0), FALSE);
    g_app.mainWnd = wnd;
    g_app.CurTab = 0;
    g_app.tabPageRect = RECT{194, 138, 386, 551};
    g_app.TabSlots[0][0][0] = 0;

    // The frame and caption measure 0 here: the shape covers the client area as it is.
    LoadSkin(wnd, 118, kMainW, kMainH, &g_app.mainSkin, &g_app.mainRgn);
    LoadSkin(wnd, 138, 268, 639, &g_app.preSkin, &g_app.preRgn);
    LoadSkin(wnd, 146, 236, 124, &g_app.stmpSkin, &g_app.stmpRgn);
    for (int t = 0; t < kTabCount; t++)
        g_app.tabPages[t] = LoadBitmapA(g_app.inst, MAKEINTRESOURCEA(119 + t));

    if (!GetAppPath()) MainCreateFail("アプリケーションパス取得失敗");
    if (!GetAppFolder()) MainCreateFail("アプリケーションフォルダ取得失敗");
    snprintf(g_app.TabFolder[0], MAX_PATH, "%s", "");
    snprintf(g_app.TabFolder[1], MAX_PATH, "%s", "message");
    snprintf(g_app.TabFolder[2], MAX_PATH, "%s", "item");
    if (!MakeMainChild(wnd)) MainCreateFail("メインウインドウコントロール作成失敗");
    SetListFont(wnd);

    g_app.hiliteBrush = CreateSolidBrush(RGB(255, 0, 0));
    g_app.nullPen = CreatePen(PS_NULL, 0, 0);
    g_app.SelSlot[0] = 0;
    InitThumImgList();
    for (int t = 0; t < kTabCount; t++) LoadThumImgList(wnd, t);
    // The work image starts empty, and so does the stamp list.
    ClearWorkBmp();
    if (!InitStmpList())
        MessageBoxA(wnd, "メモリの再割り当てに失敗しました", "AddStmp-Error", MB_OK);
    LoadThumImgList(wnd, 0);
    InitRegInfo();

    DestroyWindow(g_app.splashWnd);
    g_app.splashWnd = nullptr;
    if (!CheckFirstRun(wnd)) return;
    // The folder is made at every start, not only after the first run: the working files and the
    // address book need it, also when someone has removed it since.
    CreateDir();
    OpenStartPic();
    SetWindowRgn(wnd, g_app.mainRgn, TRUE);
}

void MainDestroy() {
    ClearWorkBmp();
    FreeStmpList();
    DeleteObject(g_app.hiliteBrush);
    DeleteObject(g_app.nullPen);
    DeleteObject(g_app.mainSkin);
    for (HBITMAP& page : g_app.tabPages) {
        DeleteObject(page);
        page = nullptr;
    }
    FreeBtnStrips();
    DeleteObject(g_app.listFont);
    g_app.listFont = nullptr;
    DeleteObject(g_app.preSkin);
    DeleteObject(g_app.preRgn);
    DeleteObject(g_app.stmpSkin);
    DeleteObject(g_app.stmpRgn);
    g_app.hiliteBrush = nullptr;
    g_app.nullPen = nullptr;
    g_app.mainSkin = nullptr;
    g_app.preSkin = g_app.stmpSkin = nullptr;
    g_app.preRgn = g_app.stmpRgn = nullptr;
    SaveRegInfo();
    for (ThumList*& list : g_app.imgLists) {
        FreeThumList(list);
        list = nullptr;
    }
    PostQuitMessage(0);
}
