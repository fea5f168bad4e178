// The picture browser's thumbnails: the tabs' stores, their refill from a folder list, the
// thumbnail maker and the ten slot windows.
#pragma once

#include "browser/thumlist.h"
#include "platform/user/window.h"

// Creates the three tabs' stores, in tab order: with transparent colours and room for 10 for a
// tab with a folder, without and with room for 11 for the photo tab. 0 at the first failure.
int InitThumImgList();
// Fills the tab's folder list with the sub-folders of its folder, in search order, and selects
// the first. Returns 1; a folder that cannot be searched is reported.
int SetCmbList(int tab);
// Refills the tab's thumbnails: the photo tab with ten white pictures (its slots keep their
// paths), a tab with a folder from the sub-folder chosen in its list. 0 when it did nothing (a
// refill is running, or the tab has no store or no list).
int LoadThumImgList(HWND owner, int tab);
// Appends a white picture, or puts one in place of picture `index`. Return 1; failures are
// reported in message boxes owned by `owner`.
int AddWhiteImg(HWND owner, ThumList* list);
int SetWhiteImg(HWND owner, ThumList* list, int index);
// The place of a w x h picture's thumbnail in the 70 x 54 slot: shrunk to fit with its aspect
// kept, never enlarged, centred.
RECT FitThumRect(int w, int h);
// Reads the picture at `path` and makes its thumbnail: index -1 appends it with the top-left
// pixel's colour as its transparent colour, index 0..9 puts it in place of that picture. 0 when
// the picture cannot be read; else 1 (a thumbnail that cannot be made is reported).
int CreateImgList(HWND owner, const char* path, ThumList* list, int index);
// Turns slot k of the current tab white after its photo was found gone.
void WhiteThumSlot(HWND owner, int k);
// The procedure of the ten slot windows "THUM201".."THUM210".
LRESULT ThumSlotProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
