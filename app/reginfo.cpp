// Reading and writing single values of the settings key.
#include "app/reginfo.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/appstate.h"
#include "platform/user/msgbox.h"

int OpenRegKey(HKEY* key) {
    *key = nullptr;
    DWORD disposition;
    return RegCreateKeyExA(HKEY_CURRENT_USER, kRegKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, key, &disposition) == ERROR_SUCCESS;
}

LSTATUS ReadRegPath(HKEY key, const char* name, char* buf) {
    char tmp[MAX_PATH];
    DWORD size = MAX_PATH;
    DWORD type = REG_NONE;
    const LSTATUS st = RegQueryValueExA(key, name, nullptr, &type, (BYTE*)tmp, &size);
    if (st != ERROR_SUCCESS) return st;
    // A text stored without its terminator fits only when there is room to add one.
    if (size == 0 || tmp[size - 1] != 0) {
        if (size == MAX_PATH) return ERROR_MORE_DATA;
        tmp[size] = 0;
    }
    memcpy(buf, tmp, strlen(tmp) + 1);
    return ERROR_SUCCESS;
}

int GetRegInfo(HKEY key, const char* name, char** text) {
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return 0;
    char* buf = (char*)calloc(size_t(size) + 1, 1);
    if (!buf) {
        MessageBoxA(g_app.mainWnd, "メモリが確保できませんでした", "GetRegInfo-Error", MB_OK);
        *text = nullptr;
        return 0;
    }
    // The value may have grown since its size was asked: then this read fails.
    if (RegQueryValueExA(key, name, nullptr, nullptr, (BYTE*)buf, &size) != ERROR_SUCCESS) {
        free(buf);
        *text = nullptr;
        return 0;
    }
    *text = buf;
    return 1;
}

int GetRegValue(const char* name, char** text) {
    HKEY key;
    if (!OpenRegKey(&key)) return 0;
    const int ok = GetRegInfo(key, name, text);
    RegCloseKey(key);
    return ok;
}

int SetRegInfo(HKEY key, const char* name, const char* text) {
    return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text, DWORD(strlen(text) + 1)) ==
           ERROR_SUCCESS;
}

int SetRegValue(const char* name, const char* text) {
    const RegText val = {name, text};
    return SetRegTexts({&val, 1});
}

int SetRegTexts(std::span<const RegText> vals) {
    std::vector<REGSETVALUE> items;
    for (const RegText& v : vals)
        items.push_back({v.name, REG_SZ, (const BYTE*)v.text, DWORD(strlen(v.text) + 1)});
    HKEY key;
    if (!OpenRegKey(&key)) return 0;
    int ok;
    try {
        ok = RegSetValuesA(key, items.data(), DWORD(items.size())) == ERROR_SUCCESS;
    } catch (...) {
        RegCloseKey(key);  // the key is not lost with a store change that ran out of memory
        throw;
    }
    RegCloseKey(key);
    return ok;
}

int ReadServerInfo() {
    HKEY key;
    if (!OpenRegKey(&key)) return 0;
    const LSTATUS server = ReadRegPath(key, "SERVER", g_app.ServerHost);
    const LSTATUS home = ReadRegPath(key, "HOMEPAGE", g_app.HomePage);
    const int ok = server == ERROR_SUCCESS && home == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}
