// Folders and files of the program's own, and the user's special folders.
#pragma once

#include "platform/wintypes.h"

// Creates one folder, readable by the user only (the application folder holds the password).
// Fails when it exists already, as on Windows.
BOOL CreateDirectoryA(const char* path, void* security);
BOOL DeleteFileA(const char* path);

constexpr int CSIDL_APPDATA = 26;
constexpr long S_OK = 0;
constexpr long E_FAIL = 0x80004005L;

// The user's application-data folder ($XDG_DATA_HOME, by default ~/.local/share), without a
// trailing separator, into a MAX_PATH buffer. Fails when it cannot be told or does not fit.
long SHGetFolderPathA(HWND owner, int csidl, HANDLE token, DWORD flags, char* path);
