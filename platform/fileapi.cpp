// Folders and files on the Linux file system.
#include "platform/fileapi.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

BOOL CreateDirectoryA(const char* path, void*) {
    return path && mkdir(path, 0700) == 0;
}

BOOL DeleteFileA(const char* path) {
    return path && unlink(path) == 0;
}

long SHGetFolderPathA(HWND, int csidl, HANDLE, DWORD, char* path) {
    if (csidl != CSIDL_APPDATA || !path) return E_FAIL;
    const char* xdg = getenv("XDG_DATA_HOME");
    const char* home = getenv("HOME");
    int n;
    // A relative XDG_DATA_HOME is invalid and is ignored, as the XDG rules say.
    if (xdg && xdg[0] == '/')
        n = snprintf(path, MAX_PATH, "%s", xdg);
    else if (home && home[0] == '/')
        n = snprintf(path, MAX_PATH, "%s/.local/share", home);
    else
        return E_FAIL;
    if (n < 0 || n >= MAX_PATH) return E_FAIL;
    while (n > 1 && path[n - 1] == '/') path[--n] = 0;
    return S_OK;
}
