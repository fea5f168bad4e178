// Filling the stamp tabs: the folder lists and the refill of a tab's thumbnails.
#include <cstdio>
#include <cstring>

#include "app/appstate.h"
#include "browser/thumbs.h"
#include "platform/controls/commctrl.h"
#include "platform/kernel/kernel.h"
#include "platform/text/codepage.h"
#include "platform/user/msgbox.h"

namespace {

bool IsDotName(const char* name) {
    return strcmp(name, ".") == 0 || strcmp(name, "..") == 0;
}

// Fills a tab with a folder from the sub-folder chosen in its list: its first ten readable
// pictures in search order; folders and other files are skipped without a word.
void FillTabFromFolder(HWND owner, int tab, const char* sub) {
    ThumList* list = g_app.imgLists[tab];
    char pattern[2 * MAX_PATH];
    snprintf(pattern, sizeof pattern, "%s%s/*.*", g_app.TabFolder[tab], sub);
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA(pattern, &fd);
    if (find == INVALID_HANDLE_VALUE) return;
    int n = 0;
    do {
        if (IsDotName(fd.cFileName)) continue;
        char path[MAX_PATH];
        const int len =
            snprintf(path, sizeof path, "%s%s/%s", g_app.TabFolder[tab], sub, fd.cFileName);
        // A path cut short would name another file.
        if (len < 0 || len >= MAX_PATH) continue;
        if (!CreateImgList(owner, path, list, -1)) continue;
        memcpy(g_app.TabSlots[tab][n], path, size_t(len) + 1);
        n++;
    } while (n < kSlotCount && FindNextFileA(find, &fd));
    FindClose(find);
}

}  // namespace

int SetCmbList(int tab) {
    HWND cmb = g_app.cmbWnd[tab];
    char pattern[MAX_PATH + 8];
    snprintf(pattern, sizeof pattern, "%s*.*", g_app.TabFolder[tab]);
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA(pattern, &fd);
    if (find == INVALID_HANDLE_VALUE) {
        char text[sizeof pattern + 64];
        snprintf(text, sizeof text, "%s にフォルダが見つかりません", pattern);
        MessageBoxA(g_app.mainWnd, text, "SetCmbList-Error", MB_OK);
    } else {
        do {
            // A name that is not UTF-8 would come back from the list as another name.
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsDotName(fd.cFileName) ||
                !IsUtf8Text(fd.cFileName))
                continue;
            const LRESULT r = SendMessageA(cmb, CB_ADDSTRING, 0, LPARAM(fd.cFileName));
            if (r == CB_ERRSPACE || r == CB_ERR)
                MessageBoxA(g_app.mainWnd, r == CB_ERRSPACE ? "CB_ERRSPACE" : "CB_ERR",
                            "SetCmbList-Error", MB_OK);
        } while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    SendMessageA(cmb, CB_SETCURSEL, 0, 0);
    return 1;
}

int LoadThumImgList(HWND owner, int tab) {
    ThumList* list = g_app.imgLists[tab];
    if (g_app.refilling || !list) return 0;
    if (!g_app.TabFolder[tab][0]) {
        // The photo tab's paths stay: their thumbnails are put back by whoever owns them.
        ClearThumList(list);
        for (int i = 0; i < kSlotCount; i++) AddWhiteImg(owner, list);
        return 1;
    }
    HWND cmb = g_app.cmbWnd[tab];
    if (!cmb) return 0;
    char sub[MAX_PATH] = "";
    const LRESULT sel = SendMessageA(cmb, CB_GETCURSEL, 0, 0);
    if (sel != CB_ERR && SendMessageA(cmb, CB_GETLBTEXTLEN, WPARAM(sel), 0) < MAX_PATH)
        SendMessageA(cmb, CB_GETLBTEXT, WPARAM(sel), LPARAM(sub));
    g_app.refilling = true;
    ClearThumList(list);
    memset(g_app.TabSlots[tab], 0, sizeof g_app.TabSlots[tab]);
    // An empty list names no sub-folder: the tab stays empty.
    if (sub[0]) FillTabFromFolder(owner, tab, sub);
    for (HWND slot : g_app.thumWnd) InvalidateRect(slot, nullptr, TRUE);
    g_app.refilling = false;
    return 1;
}
