// The start picture: from the command line or handed over by the sibling program.
#include "app/startpic.h"

#include <cstdio>
#include <cstring>

#include "app/appstate.h"
#include "app/reginfo.h"
#include "browser/openpic.h"
#include "image/workbmp.h"
#include "ui/msgdlg.h"

namespace {

// The sibling version that leaves the handed-over picture in the application-data folder.
constexpr double kSiblingDataVersion = 211000;
constexpr const char* kMsgLongPath = "受け取った画像のパスが長すぎるため開けません。";

// The handed-over picture is taken from the application-data folder under its own name.
int MoveToDataPath() {
    const char* slash = strrchr(g_app.StartPath, '/');
    const char* name = slash ? slash + 1 : g_app.StartPath;
    char path[MAX_PATH];
    const int n = snprintf(path, MAX_PATH, "%s/%s", g_app.AppDataPath, name);
    if (n < 0 || n >= MAX_PATH) return 0;
    memcpy(g_app.handOverBuf, path, size_t(n) + 1);
    g_app.StartPath = g_app.handOverBuf;
    return 1;
}

void OpenHandOver() {
    if (g_app.HandOverTooLong ||
        (GetSiblingVersion() == kSiblingDataVersion && !MoveToDataPath())) {
        ShowMsgDlg(g_app.mainWnd, kMsgLongPath, MSG_ERROR);
        return;
    }
    InitWorkBmp(g_app.StartPath);
    snprintf(WorkBmp.path, MAX_PATH, "%s", g_app.StartPath);
}

}  // namespace

void ReadCmdLine(const char* line, const char* argText) {
    memset(g_app.handOverBuf, 0, MAX_PATH);
    g_app.StartPath = nullptr;
    g_app.HandOver = false;
    g_app.HandOverTooLong = false;
    if (argText && argText[0]) {
        g_app.StartPath = argText;
        return;
    }
    if (!line || strncmp(line, "\"/T ", 4) != 0) return;
    g_app.HandOver = true;
    const char* rest = line + 4;
    const size_t n = strlen(rest);
    const size_t len = n ? n - 1 : 0;
    if (len >= (size_t)MAX_PATH) {
        g_app.HandOverTooLong = true;
        return;
    }
    memcpy(g_app.handOverBuf, rest, len);
    g_app.StartPath = g_app.handOverBuf;
}

void OpenStartPic() {
    if (g_app.HandOver) {
        OpenHandOver();
        return;
    }
    if (!g_app.StartPath) return;
    const int tab = g_app.CurTab;
    ParsePicArgs(g_app.mainWnd, tab, g_app.StartPath);
    InitWorkBmp(g_app.TabSlots[tab][0]);
    memcpy(WorkBmp.path, g_app.TabSlots[tab][0], MAX_PATH);
}
