// Opening pictures: the open dialog, the drop and command-line splitters, placing paths into
// the current tab's slots and opening the selected slot's picture.
#pragma once

#include "platform/user/drop.h"
#include "platform/user/window.h"

constexpr int kPicListLen = 11;  // the open dialog gives up to 11 pictures, other ways 10

// A list of picture paths; the first empty one ends it.
typedef char PicList[kPicListLen][MAX_PATH];

// The load command: the pictures chosen in the open dialog go into the tab's slots from its
// selected slot on, and the selected slot's picture is opened. 0 when the dialog was cancelled.
int OpenPicFiles(HWND owner, int tab);
// Runs the open dialog and fills list with up to 11 chosen paths. 0 on cancel or failure, or
// when no chosen path fits a slot.
int GetPicFileNames(PicList list);
// Copies the path of dropped file `index` into a MAX_PATH buffer. 0 when there is no such file
// or its path does not fit whole: cut short, it would name another file.
int GetDropPath(HDROP drop, UINT index, char* path);
// Places the files dropped on a slot window from the selected slot on. 0 when none was dropped.
int DropPicFiles(HWND owner, HDROP drop);
// Splits the command line's argument text into up to ten paths in list (double-quoted ones may
// hold blanks; a path longer than 259 bytes is left out). Returns how many it kept.
int SplitPicArgs(const char* text, PicList list);
// Places the paths of the command line's argument text (SplitPicArgs) with AddPicFiles. 0 for an
// empty text.
int ParsePicArgs(HWND owner, int tab, const char* text);
// Places the paths into the current tab's slots from its selected slot on, each with its
// thumbnail; paths that are not readable pictures are skipped. Returns 1.
int AddPicFiles(HWND owner, PicList list);
// Opens the picture of the tab's selected slot for editing. 0 when its file is gone: the slot's
// path is then emptied. An empty slot opens nothing and leaves the work image as it is.
int OpenSelectedPic(int tab);
// True when the path names a plain file.
bool FileExists(const char* path);
