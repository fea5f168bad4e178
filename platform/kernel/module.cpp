// The program file and code libraries on /proc/self/exe and the dynamic loader.
#include <dlfcn.h>
#include <strings.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/kernel/kernel.h"

static std::string g_modulePath;  // set by PlatSetModulePath; empty = the real program file

void PlatSetModulePath(const char* path) {
    g_modulePath = path ? path : "";
}

// Reads the program file's path into *path. The kernel's link already names the file with
// every link resolved. Returns 0 when it cannot be read.
static int ReadExePath(std::string* path) {
    char buf[4096];
    ssize_t len = readlink("/proc/self/exe", buf, sizeof buf);
    if (len <= 0 || len == (ssize_t)sizeof buf) return 0;
    path->assign(buf, (size_t)len);
    return 1;
}

DWORD GetModuleFileNameA(HANDLE module, char* buf, DWORD size) {
    if (module || !buf || size == 0) return 0;
    std::string path = g_modulePath;
    if (path.empty() && !ReadExePath(&path)) return 0;
    if (path.size() >= size) {
        memcpy(buf, path.data(), size - 1);
        buf[size - 1] = '\0';
        return size;
    }
    memcpy(buf, path.c_str(), path.size() + 1);
    return (DWORD)path.size();
}

// "Name.dll" (any case of the suffix) becomes "libName.so"; any other name stays as it is.
static std::string MapLibName(const char* name) {
    std::string lib = name;
    size_t base = lib.rfind('/') + 1;  // 0 when there is no folder part
    if (lib.size() - base > 4 && strcasecmp(lib.c_str() + lib.size() - 4, ".dll") == 0) {
        lib.resize(lib.size() - 4);
        lib.insert(base, "lib");
        lib += ".so";
    }
    return lib;
}

// The program folder is searched first, as on the original system. When the copy there exists
// but cannot be loaded, the load fails rather than quietly picking up another copy.
HMODULE LoadLibraryA(const char* name) {
    if (!name || !*name) return nullptr;
    std::string lib = MapLibName(name);
    char exe[4096];
    DWORD len = GetModuleFileNameA(nullptr, exe, sizeof exe);
    const char* slash = len > 0 && len < sizeof exe ? strrchr(exe, '/') : nullptr;
    if (slash && lib.find('/') == std::string::npos) {
        std::string local = std::string(exe, slash + 1 - exe) + lib;
        if (access(local.c_str(), F_OK) == 0) {
            void* handle = dlopen(local.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (!handle) fprintf(stderr, "LoadLibraryA: %s\n", dlerror());
            return (HMODULE)handle;
        }
    }
    return (HMODULE)dlopen(lib.c_str(), RTLD_NOW | RTLD_LOCAL);
}

FARPROC GetProcAddress(HMODULE module, const char* name) {
    // dlsym treats a null handle as "search everywhere", which LoadLibrary's NULL never means.
    if (!module || !name) return nullptr;
    return reinterpret_cast<FARPROC>(dlsym(module, name));
}

BOOL FreeLibrary(HMODULE module) {
    return module && dlclose(module) == 0 ? TRUE : FALSE;
}
