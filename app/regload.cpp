// The start-up load and the shutdown save of the settings key.
#include <cstdio>
#include <initializer_list>

#include "app/appstate.h"
#include "app/reginfo.h"
#include "browser/thumbs.h"
#include "platform/gdi/display.h"

namespace {

// Calls fn with the tab, the slot, the value name ("READPIC" + tab + slot, two digits each) and
// the path of every slot of the tabs without a folder: only those remember their pictures here.
template <typename Fn>
void ForEachSlotValue(Fn fn) {
    for (int t = 0; t < kTabCount; t++) {
        if (g_app.TabFolder[t][0]) continue;
        for (int i = 0; i < kSlotCount; i++) {
            char name[16];
            snprintf(name, sizeof name, "%s%02d%02d", "READPIC", t, i);
            fn(t, i, name, g_app.TabSlots[t][i]);
        }
    }
}

// Writes the default only when the value is absent: an existing empty value stays empty. The
// default is used even when it cannot be written, or when there is no key (null): the album
// pages need a host. A value whose line a person wrote but the store cannot read gets the default
// in memory only, so that the line stays the one the store reads once it is mended.
void ReadHostInfo(HKEY key, const char* name, const char* def, char* buf) {
    const LSTATUS st = key ? ReadRegPath(key, name, buf) : ERROR_FILE_NOT_FOUND;
    if (st == ERROR_INVALID_DATA)
        fprintf(stderr,
                "settings: the line of \"%s\" cannot be read; %s is used until it is mended\n",
                name, def);
    else if (st != ERROR_FILE_NOT_FOUND)
        return;
    else if (key)
        SetRegInfo(key, name, def);
    snprintf(buf, MAX_PATH, "%s", def);
}

// Centres the main window on the screen, without repainting it.
void CenterMainWnd() {
    RECT r;
    if (!GetWindowRect(g_app.mainWnd, &r)) return;
    const int w = r.right - r.left, h = r.bottom - r.top;
    MoveWindow(g_app.mainWnd, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, FALSE);
}

}  // namespace

int InitRegInfo() {
    HKEY key = nullptr;
    if (OpenRegKey(&key)) {
        SetRegInfo(key, "VER", kRegVersion);
        // Only an absent value gets its empty default; one that cannot be read stays as it is.
        for (const char* name : {"USERID", "PASSWORD", "ALBUMID"}) {
            DWORD size;
            if (RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size) ==
                ERROR_FILE_NOT_FOUND)
                SetRegInfo(key, name, "");
        }
        // A remembered photo gets its thumbnail back in its slot.
        ForEachSlotValue([key](int tab, int slot, const char* name, char* path) {
            ReadRegPath(key, name, path);
            if (path[0]) CreateImgList(g_app.mainWnd, path, g_app.imgLists[tab], slot);
        });
    }
    ReadHostInfo(key, "SERVER", kDefServer, g_app.ServerHost);
    ReadHostInfo(key, "HOMEPAGE", kDefHomePage, g_app.HomePage);
    if (key) RegCloseKey(key);
    CenterMainWnd();
    return 1;
}

int SaveRegInfo() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRegKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return 1;
    // Empty slots are written too, so that all ten values exist after the first exit.
    ForEachSlotValue(
        [key](int, int, const char* name, char* path) { SetRegInfo(key, name, path); });
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (GetWindowPlacement(g_app.mainWnd, &wp))
        RegSetValueExA(key, "WINPM", 0, REG_BINARY, (const BYTE*)&wp, sizeof wp);
    RegCloseKey(key);
    return 1;
}
