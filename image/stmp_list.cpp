// The stamp list: adding stamps from picture files, deleting the top one, clearing them all.
#include <cstdlib>

#include "app/appstate.h"
#include "image/readpic.h"
#include "image/stamp.h"
#include "image/workbmp.h"
#include "platform/user/msgbox.h"

StmpList g_stmp;

namespace {

constexpr const char* kCaption = "AddStmp-Error";
constexpr const char* kMsgRealloc = "メモリの再割り当てに失敗しました";

// Resizes the storage to n records (at least one); 0 leaves it as it was.
int ResizeStmpList(int n) {
    void* p = realloc(g_stmp.items, sizeof(StmpInfo) * size_t(n > 0 ? n : 1));
    if (!p) return 0;
    g_stmp.items = static_cast<StmpInfo*>(p);
    return 1;
}

void FreeStmpPics() {
    for (int i = 0; i < g_stmp.count; i++) DeleteObject(g_stmp.items[i].bmp);
    g_stmp.count = 0;
}

}  // namespace

int InitStmpList() {
    FreeStmpList();
    g_stmp.items = static_cast<StmpInfo*>(malloc(sizeof(StmpInfo)));
    return g_stmp.items != nullptr;
}

void FreeStmpList() {
    FreeStmpPics();
    free(g_stmp.items);
    g_stmp.items = nullptr;
}

int AddStmp(const char* path) {
    if (!path || !*path) return 0;
    if (!ResizeStmpList(g_stmp.count + 1)) {
        MessageBoxA(g_app.mainWnd, kMsgRealloc, kCaption, MB_OK);
        return 0;
    }
    HDC dc = GetDC(g_app.workWnd);
    if (!dc) {
        MessageBoxA(g_app.mainWnd, "デバイスコンテキストが取得できませんでした", kCaption, MB_OK);
        return 0;
    }
    SIZE size;
    HBITMAP bmp = ReadPicFile(g_app.workWnd, path, &size);
    ReleaseDC(g_app.workWnd, dc);
    if (!bmp) return 0;
    // Centred on the canvas centre, with halves truncated.
    g_stmp.items[g_stmp.count++] = StmpInfo{
        bmp, kCanvasCx - size.cx / 2, kCanvasCy - size.cy / 2, size.cx, size.cy, 0, false, false};
    return 1;
}

int AddStmpFromList(int tab) {
    return AddStmp(g_app.TabSlots[tab][g_app.SelSlot[tab]]);
}

int ClearStmp() {
    FreeStmpList();
    g_stmp.items = static_cast<StmpInfo*>(malloc(sizeof(StmpInfo)));
    if (g_stmp.items) return 1;
    MessageBoxA(g_app.mainWnd, kMsgRealloc, kCaption, MB_OK);
    return 0;
}

// The record goes even when the storage cannot shrink: its picture is released already, and a
// released picture must never be drawn.
int DelStmp() {
    if (g_stmp.count == 0) return 0;
    DeleteObject(g_stmp.items[--g_stmp.count].bmp);
    if (g_stmp.count == 0 || ResizeStmpList(g_stmp.count)) return 1;
    MessageBoxA(g_app.mainWnd, kMsgRealloc, kCaption, MB_OK);
    return 0;
}
