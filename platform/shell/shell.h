// Opening documents and web addresses with the programs the user chose for them.
#pragma once

#include "platform/wintypes.h"

// Failures of ShellExecuteA; success is any value above 32.
constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_NOASSOC = 31;

// With op "open" (or null): a web address (http://, https://) opens in the user's browser; a
// file name names the file dir/file (file alone when it is absolute or dir is null or empty),
// which opens with the program chosen for its type. params, show and wnd are not used. Returns
// a value above 32 on success, SE_ERR_FNF when the file does not exist, SE_ERR_NOASSOC when
// nothing could open it.
HINSTANCE ShellExecuteA(HWND wnd, LPCSTR op, LPCSTR file, LPCSTR params, LPCSTR dir, int show);

// Test seam: hook receives the URL that would be opened (a file as its file:// URL) and nothing
// opens; the open succeeds. nullptr restores the real opening.
void PlatSetShellOpenHook(void (*hook)(const char* url));
