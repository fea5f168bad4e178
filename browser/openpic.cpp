// Opening pictures: placing picture paths into the current tab's slots and opening the
// selected one.
#include "browser/openpic.h"

#include <cstdio>
#include <cstring>

#include "app/appstate.h"
#include "browser/thumbs.h"
#include "image/slider.h"
#include "image/workbmp.h"
#include "image/workwnd.h"
#include "platform/comdlg/commdlg.h"
#include "platform/kernel/fileapi.h"

namespace {

constexpr DWORD kPicFileBuf = 2600;
constexpr int kDropMax = 10;  // drops and the command line give up to ten pictures

// Display text and patterns of each file type, the first preselected.
constexpr char kPicFilter[] =
    "すべて(*.bmp,*.jpg,*.jpeg*.gif,*.png)\0*.bmp;*.jpg;*.jpeg;*.gif;*.png\0"
    "ＢＭＰ(*.bmp)\0*.bmp;\0"
    "ＪＰＧ(*.jpg,*.jpeg)\0*.jpeg;*.jpg;\0"
    "ＧＩＦ(*.gif)\0*.gif;\0"
    "ＰＮＧ(*.png)\0*.png;\0";

// The dialog's several names in its folder: entry i is folder/name i, at most 11. A path that
// does not fit is left out: cut short, it would name another file. Returns how many it filled.
int JoinPicNames(const char* folder, const char* name, PicList list) {
    int n = 0;
    for (; *name && n < kPicListLen; name += strlen(name) + 1) {
        const int len = snprintf(list[n], MAX_PATH, "%s/%s", folder, name);
        if (len < 0 || len >= MAX_PATH)
            list[n][0] = 0;
        else
            n++;
    }
    return n;
}

}  // namespace

int OpenPicFiles(HWND owner, int tab) {
    PicList list = {};
    if (!GetPicFileNames(list)) return 0;
    AddPicFiles(owner, list);
    // The selected slot's photo may be gone when no new one took its place.
    if (!OpenSelectedPic(tab)) WhiteThumSlot(owner, g_app.SelSlot[tab]);
    RepaintWork(FALSE);
    return 1;
}

int GetPicFileNames(PicList list) {
    char buf[kPicFileBuf] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = g_app.loadBtnWnd;
    ofn.lpstrFilter = kPicFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buf;
    ofn.nMaxFile = kPicFileBuf;
    ofn.lpstrTitle = "画像ファイルを開く";
    ofn.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&ofn)) return 0;
    // One file: its full path. Several: the folder, then the names, each NUL-ended.
    const size_t len = strlen(buf);
    const char* names = buf + len + 1;
    int n = 0;
    if (*names)
        n = JoinPicNames(buf, names, list);
    else if (len < size_t(MAX_PATH))
        memcpy(list[n++], buf, len + 1);
    if (n == 0) return 0;
    // The first name moves to the end when it sorts after the second.
    if (n >= 2 && strcmp(list[0], list[1]) > 0) {
        char first[MAX_PATH];
        memcpy(first, list[0], MAX_PATH);
        memmove(list[0], list[1], size_t(n - 1) * MAX_PATH);
        memcpy(list[n - 1], first, MAX_PATH);
    }
    return 1;
}

int GetDropPath(HDROP drop, UINT index, char* path) {
    const UINT len = DragQueryFileA(drop, index, nullptr, 0);
    return len > 0 && len < UINT(MAX_PATH) && DragQueryFileA(drop, index, path, MAX_PATH) == len;
}

int DropPicFiles(HWND owner, HDROP drop) {
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    if (count == 0) return 0;
    PicList list = {};
    int n = 0;
    for (UINT i = 0; i < count && i < UINT(kDropMax); i++)
        if (GetDropPath(drop, i, list[n])) n++;
    return AddPicFiles(owner, list);
}

int SplitPicArgs(const char* text, PicList list) {
    const char* p = text;
    int n = 0;
    for (int token = 0; token < kDropMax; token++) {
        while (*p == ' ') p++;
        if (!*p) break;
        const char* end;
        const char* from = p;
        if (*p == '"') {
            from = ++p;
            end = strchr(p, '"');
            if (!end) end = p + strlen(p);
        } else {
            end = strchr(p, ' ');
            if (!end) end = p + strlen(p);
        }
        // A path too long for a slot is left out: cut short, it would name another file.
        const size_t len = size_t(end - from);
        if (len < size_t(MAX_PATH)) {
            memcpy(list[n], from, len);
            list[n++][len] = 0;
        }
        if (!*end) break;
        // The blank after the path; after a closing quote, the character that follows it.
        if (*end == '"' && !*++end) break;
        p = end + 1;
    }
    return n;
}

int ParsePicArgs(HWND owner, int, const char* text) {
    if (!text || !text[0]) return 0;
    PicList list = {};
    SplitPicArgs(text, list);
    return AddPicFiles(owner, list);
}

int AddPicFiles(HWND owner, PicList list) {
    const int tab = g_app.CurTab;
    int n = g_app.SelSlot[tab];
    for (int i = 0; i < kPicListLen && n < kSlotCount && list[i][0]; i++) {
        // A file that is not a readable picture leaves the slot to the next path.
        if (!CreateImgList(owner, list[i], g_app.imgLists[tab], n)) continue;
        memcpy(g_app.TabSlots[tab][n], list[i], MAX_PATH);
        InvalidateRect(g_app.thumWnd[n], nullptr, TRUE);
        n++;
    }
    return 1;
}

int OpenSelectedPic(int tab) {
    char* path = g_app.TabSlots[tab][g_app.SelSlot[tab]];
    if (!path[0]) return 1;
    if (!FileExists(path)) {
        path[0] = 0;
        return 0;
    }
    // The picture path follows the photo on screen: a file that cannot be read leaves both.
    if (!InitWorkBmp(path)) return 1;
    memcpy(WorkBmp.path, path, MAX_PATH);
    ResetSldWnd();
    return 1;
}

// The exact path, not a search: on this file system names differ by letter case, and "*" and
// "?" are plain characters of a name.
bool FileExists(const char* path) {
    return GetFileAttributesA(path) == FILE_ATTRIBUTE_ARCHIVE;
}
