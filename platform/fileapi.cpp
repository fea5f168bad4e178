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

DWORD GetFileAttributesA(const char* path) {
    struct stat st;
    if (!path || stat(path, &st) != 0) return INVALID_FILE_ATTRIBUTES;
    if (S_ISDIR(st.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
    return S_ISREG(st.st_mode) ? FILE_ATTRIBUTE_ARCHIVE : INVALID_FILE_ATTRIBUTES;
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
