// Files dropped on windows from a file manager.
#pragma once

#include "platform/wintypes.h"

// Files dropped on a window: a window that asked for them with DragAcceptFiles(TRUE) (a child
// window too) is posted WM_DROPFILES with wp = the drop's handle, lp = 0, when local files are
// dropped on it; other dragged addresses are left out. The drag is taken as a copy, never while
// the window is disabled by a modal dialog. The program releases the handle with DragFinish.
typedef struct DropRec* HDROP;
constexpr UINT WM_DROPFILES = 0x0233;
void DragAcceptFiles(HWND wnd, BOOL accept);
// With index 0xFFFFFFFF: the number of files. With file null: the length in bytes of path
// `index` without the terminator. Else copies path `index` (file-system bytes), cut to size - 1
// bytes, with a terminator and returns the bytes copied without it. 0 for an index past the end
// or an unknown handle.
UINT DragQueryFileA(HDROP drop, UINT index, LPSTR file, UINT size);
// Releases the drop's handle; it is unknown afterwards.
void DragFinish(HDROP drop);

// Test seam: a drag of the addresses (encoded, such as "file:///tmp/a%20b.jpg") dropped at (x, y)
// in the client area of top-level window `top`, delivered as the window system delivers it to
// the window under the pointer: enter, move, then the drop when the move was taken. The source
// offers a copy or a move, or with moveOnly only a move. TRUE when the drop was taken.
BOOL PlatDropUrls(HWND top, int x, int y, const char* const* urls, int count, BOOL moveOnly);
