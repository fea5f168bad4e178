// The main window's commands, one per bitmap button.
#include <cstdio>
#include <cstdlib>

#include "app/appstate.h"
#include "app/folders.h"
#include "app/mainwnd.h"
#include "app/reginfo.h"
#include "browser/openpic.h"
#include "image/preview.h"
#include "image/savepic.h"
#include "image/slider.h"
#include "image/stamp.h"
#include "image/workbmp.h"
#include "image/workwnd.h"
#include "platform/shell/shell.h"
#include "send/account.h"
#include "send/senddlg.h"
#include "ui/appmsg.h"
#include "ui/msgdlg.h"

namespace {

// Clears the photo and the stamps; also when only stamps are there.
void ClearPic(HWND wnd) {
    if (!WorkBmp.loaded && g_stmp.count == 0) return;
    if (ShowMsgDlg(wnd, "　　編集画像をクリアします\n    よろしいですか？", MSG_QUESTION) != 1)
        return;
    ClearWorkBmp();
    ClearStmp();
    RepaintWork(TRUE);
    ResetSldWnd();
}

void ReloadPic() {
    ReloadWorkBmp();
    RepaintWork(FALSE);
    ResetSldWnd();
}

// A web address from a format with one or two texts.
void OpenWebPage(const char* format, const char* a, const char* b) {
    char url[3 * MAX_PATH];
    snprintf(url, sizeof url, format, a, b);
    OpenShellPage(url, nullptr);
}

void OpenAlbum() {
    char* album = nullptr;
    GetRegValue("ALBUMID", &album);
    ReadServerInfo();
    OpenWebPage("http://%s/users/%s/", g_app.ServerHost, album ? album : "");
    free(album);
}

void OpenAlbumLogin() {
    ReadServerInfo();
    OpenWebPage("http://%s/quillet/login.html", g_app.ServerHost, "");
    ReleaseCapture();
}

// Shows the tab (also when it is shown already: its folder list is shown again).
void ShowTab(int tab) {
    if (g_app.CurTab != tab) {
        g_app.CurTab = tab;
        ShowWindow(g_app.loadBtnWnd, tab == 0 ? SW_SHOW : SW_HIDE);
        InvalidateRect(g_app.mainWnd, &g_app.tabPageRect, tab != 0);
    }
    for (int t = 0; t < kTabCount; t++)
        if (g_app.cmbWnd[t]) ShowWindow(g_app.cmbWnd[t], t == tab ? SW_SHOW : SW_HIDE);
}

// The picture to send is written first; the send dialog comes with the upload.
void SendPic() {
    char path[MAX_PATH];
    if (snprintf(path, sizeof path, "%s%s", g_app.AppFolder, kTempJpgName) >= MAX_PATH) return;
    SaveSendJpeg(path);
    ReadServerInfo();
    RunSendDlg(g_app.mainWnd);
}

}  // namespace

void OpenShellPage(const char* file, const char* dir) {
    ShellExecuteA(g_app.mainWnd, "open", file, nullptr, dir, 0);
}

void OpenHelpPage() {
    OpenShellPage("Manual.html", g_app.ModuleDir);
}

void MainCommand(HWND wnd, int id) {
    switch (id) {
        case 101: DestroyWindow(wnd); break;
        case 102: ClearPic(wnd); break;
        case 103: ReloadPic(); break;
        case 104:
            ZoomInWorkBmp();
            RepaintWork(FALSE);
            break;
        case 105:
            ZoomOutWorkBmp();
            RepaintWork(FALSE);
            break;
        case 109: OpenWebPage("http://%s/", g_app.HomePage, ""); break;
        case 110: OpenAlbum(); break;
        case 111: OpenAlbumLogin(); break;
        case 112:
        case 113:
        case 114: ShowTab(id - 112); break;
        case 115: OpenPicFiles(wnd, g_app.CurTab); break;
        case 116: OpenHelpPage(); break;
        case 117: ShowPreview(wnd); break;
        case 118:
            if (!WorkBmp.loaded) break;
            RotWorkBmp();
            RepaintWork(FALSE);
            break;
        case 131:
            if (!WorkBmp.loaded) break;
            MirWorkBmp();
            RepaintWork(FALSE);
            break;
        case 106: SaveWorkPic(); break;
        case 107: SendPic(); break;
        case 108:
            ReadServerInfo();
            RunUserDlg(g_app.mainWnd);
            break;
        default: break;
    }
}
