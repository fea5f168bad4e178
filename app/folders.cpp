// Finds the program folder and the application folder, and creates the latter.
#include "app/folders.h"

#include <cstdio>
#include <cstring>

#include "app/appstate.h"
#include "platform/kernel/fileapi.h"
#include "platform/kernel/kernel.h"

int GetAppPath() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    // A path that filled the whole buffer was cut: its folder would be wrong.
    if (n == 0 || n >= (DWORD)MAX_PATH) return 0;
    // The folder keeps its trailing separator; a program in the root gives "/".
    const char* name = strrchr(path, '/');
    if (!name) return 0;
    snprintf(g_app.ModuleDir, MAX_PATH, "%.*s", (int)(name - path + 1), path);
    return 1;
}

int GetAppFolder() {
    char path[MAX_PATH];
    if (SHGetFolderPathA(g_app.mainWnd, CSIDL_APPDATA, nullptr, 0, path) != S_OK) return 0;
    char folder[MAX_PATH];
    const int n = snprintf(folder, MAX_PATH, "%s/Halvorne/Quillet/", path);
    if (n < 0 || n >= MAX_PATH) return 0;
    memcpy(g_app.AppDataPath, path, MAX_PATH);
    memcpy(g_app.AppFolder, folder, MAX_PATH);
    return 1;
}

int CreateDir() {
    // The data folder itself always exists on Windows; here a fresh account may lack it, so
    // every folder on the way is made. AppFolder ends with a separator: the last step makes it.
    char path[MAX_PATH];
    snprintf(path, MAX_PATH, "%s", g_app.AppFolder);
    for (char* p = path; *p; p++) {
        if (*p != '/' || p == path) continue;
        *p = 0;
        CreateDirectoryA(path, nullptr);
        *p = '/';
    }
    // Existing folders are fine; what matters is that the application folder is there now. It
    // holds the log with the password: one made with wider rights earlier is made private.
    return SetDirPrivate(g_app.AppFolder);
}

int MakeAppFilePath(const char* name, char* path) {
    const int n = snprintf(path, MAX_PATH, "%s%s", g_app.AppFolder, name);
    return n > 0 && n < MAX_PATH;
}

int PrepAppFilePath(const char* name, char* path) {
    if (!MakeAppFilePath(name, path)) return 0;
    return GetFileAttributesA(g_app.AppFolder) == FILE_ATTRIBUTE_DIRECTORY || CreateDir();
}
