// A tab's thumbnail store.
#include "browser/thumlist.h"

#include <algorithm>
#include <new>

ThumList* CreateThumList(bool masked, int cap) {
    ThumList* list = new (std::nothrow) ThumList{};
    if (!list) return nullptr;
    list->masked = masked;
    list->cap = std::min(cap, kThumMax);
    return list;
}

void FreeThumList(ThumList* list) {
    if (!list) return;
    ClearThumList(list);
    delete list;
}

void ClearThumList(ThumList* list) {
    if (!list) return;
    for (int i = 0; i < list->count; i++) DeleteObject(list->pics[i]);
    list->count = 0;
}

int AddThumImg(ThumList* list, HBITMAP bmp, COLORREF key) {
    if (!list || list->count >= list->cap) return 0;
    list->pics[list->count] = bmp;
    list->keys[list->count] = list->masked ? key : CLR_INVALID;
    list->count++;
    return 1;
}

int SetThumImg(ThumList* list, int index, HBITMAP bmp) {
    if (!list || index < 0 || index >= list->count) return 0;
    DeleteObject(list->pics[index]);
    list->pics[index] = bmp;
    list->keys[index] = CLR_INVALID;
    return 1;
}

int DrawThumImg(const ThumList* list, int index, HDC dc, int x, int y) {
    if (!list || index < 0 || index >= list->count) return 0;
    HDC mem = CreateCompatibleDC(dc);
    if (!mem) return 0;
    HGDIOBJ old = SelectObject(mem, list->pics[index]);
    const COLORREF key = list->keys[index];
    const BOOL ok = key == CLR_INVALID
                        ? BitBlt(dc, x, y, kThumW, kThumH, mem, 0, 0, SRCCOPY)
                        : TransparentBlt(dc, x, y, kThumW, kThumH, mem, 0, 0, kThumW, kThumH, key);
    SelectObject(mem, old);
    DeleteDC(mem);
    return ok;
}
