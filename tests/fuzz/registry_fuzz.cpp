// libFuzzer target for the registry's store reader and writer: the input becomes the user's store
// file, every key found is listed and opened and a few values are read. Then one value is written
// twice: the store written from what was read must show the same keys and values, and must read
// back to the same file. Last the input's first bytes are stored as a text value, which must read
// back exactly. Lines that cannot be read are told of on standard error; -close_fd_mask=2 keeps
// the runs quiet.
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "fuzz_dir.h"
#include "platform/registry/registry.h"

static std::string MakeStoreFolder() {
    const std::string dir = MakeFuzzDir("registry_fuzz");
    if (dir.empty()) return "";
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    const std::string folder = dir + "/Halvorne";
    return mkdir(folder.c_str(), 0700) == 0 ? folder + "/HKEY_CURRENT_USER.reg" : "";
}

static std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Lists the sub-keys of key and visits each, at most *budget keys in all, and appends to *seen
// what each answer was: the status, type, size and bytes of each value read and each sub-key's
// name.
static void Walk(HKEY key, int* budget, std::string* seen) {
    BYTE data[64];
    for (const char* name : {"", "a", "A"}) {
        DWORD size = sizeof data, type = REG_NONE;
        const LSTATUS status = RegQueryValueExA(key, name, nullptr, &type, data, &size);
        *seen += std::to_string(status) + ' ' + std::to_string(type) + ' ' + std::to_string(size);
        if (status == ERROR_SUCCESS) seen->append((const char*)data, size);
        *seen += '\n';
    }
    char name[256];
    for (DWORD i = 0; *budget > 0; i++) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY sub;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, &sub) != ERROR_SUCCESS) abort();
        *seen += std::string("[") + name + "]\n";
        --*budget;
        Walk(sub, budget, seen);
        RegCloseKey(sub);
    }
}

static std::string WalkStore() {
    int budget = 64;
    std::string seen;
    Walk(HKEY_CURRENT_USER, &budget, &seen);
    return seen;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string file = MakeStoreFolder();
    if (file.empty()) return 0;
    FILE* f = fopen(file.c_str(), "wb");
    if (!f) return 0;
    const size_t written = fwrite(data, 1, size, f);
    if (fclose(f) != 0 || written != size) return 0;

    const std::string before = WalkStore();
    const BYTE one = 1;
    if (RegSetValueExA(HKEY_CURRENT_USER, "fuzz", 0, REG_BINARY, &one, 1) != ERROR_SUCCESS) abort();
    if (WalkStore() != before) abort();
    const std::string first = ReadWhole(file);
    if (RegSetValueExA(HKEY_CURRENT_USER, "fuzz", 0, REG_BINARY, &one, 1) != ERROR_SUCCESS) abort();
    if (ReadWhole(file) != first) abort();

    const DWORD textSize = (DWORD)std::min<size_t>(size, 64);
    if (RegSetValueExA(HKEY_CURRENT_USER, "text", 0, REG_SZ, data, textSize) != ERROR_SUCCESS)
        abort();
    BYTE back[64];
    DWORD backSize = sizeof back, type = REG_NONE;
    if (RegQueryValueExA(HKEY_CURRENT_USER, "text", nullptr, &type, back, &backSize) !=
            ERROR_SUCCESS ||
        type != REG_SZ || backSize != textSize || memcmp(back, data, textSize) != 0)
        abort();
    return 0;
}
