// The registry: keys opened by handle over the per-user and per-machine stores.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>

#include "platform/registry/records.h"

struct RegKeyRec {
    HKEY root;
    KeyPath path;
};

// The keys opened and not closed yet; a handle is checked here before it is used.
static std::mutex g_handlesLock;
static std::set<HKEY> g_handles;

static int IsRoot(HKEY key) {
    return key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE;
}

// The root and key path of a handle; null when it is neither a root nor an open key.
static HKEY ResolveKey(HKEY key, KeyPath* path) {
    path->clear();
    if (IsRoot(key)) return key;
    std::lock_guard<std::mutex> lock(g_handlesLock);
    if (!g_handles.count(key)) return nullptr;
    *path = key->path;
    return key->root;
}

static LSTATUS NewHandle(HKEY root, const KeyPath& path, HKEY* result) {
    HKEY key = new RegKeyRec{root, path};
    std::lock_guard<std::mutex> lock(g_handlesLock);
    g_handles.insert(key);
    *result = key;
    return ERROR_SUCCESS;
}

// The root and full path of key `sub` under `key`, for the calls that open one.
static LSTATUS ResolveSubKey(HKEY key, LPCSTR sub, HKEY* result, HKEY* root, KeyPath* path) {
    *root = ResolveKey(key, path);
    if (!*root) return ERROR_INVALID_HANDLE;
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    AppendKeyNames(path, sub ? sub : "");
    return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyExA(HKEY key, LPCSTR sub, DWORD, LPSTR, DWORD, REGSAM, void*, HKEY* result,
                        DWORD* disposition) {
    KeyPath path;
    HKEY root;
    const LSTATUS resolved = ResolveSubKey(key, sub, result, &root, &path);
    if (resolved != ERROR_SUCCESS) return resolved;
    // An existing key is only opened: that needs no write, so it works in a read-only store.
    RegStore store = LoadStore(root);
    bool made = false;
    if (KeyExists(store, path)) {
        path = StoredSpelling(store, path);
    } else {
        LSTATUS status = ChangeStore(root, [&](RegStore* fresh) {
            path = StoredSpelling(*fresh, path);
            if (KeyExists(*fresh, path)) return 0;
            TakeSection(fresh, path);
            made = true;
            return 1;
        });
        if (status != ERROR_SUCCESS) return status;
    }
    if (disposition) *disposition = made ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return NewHandle(root, path, result);
}

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR sub, DWORD, REGSAM, HKEY* result) {
    KeyPath path;
    HKEY root;
    const LSTATUS resolved = ResolveSubKey(key, sub, result, &root, &path);
    if (resolved != ERROR_SUCCESS) return resolved;
    RegStore store = LoadStore(root);
    if (!KeyExists(store, path)) return ERROR_FILE_NOT_FOUND;
    return NewHandle(root, StoredSpelling(store, path), result);
}

LSTATUS RegQueryValueExA(HKEY key, LPCSTR name, DWORD*, DWORD* type, BYTE* data, DWORD* size) {
    KeyPath path;
    HKEY root = ResolveKey(key, &path);
    if (!root) return ERROR_INVALID_HANDLE;
    if (data && !size) return ERROR_INVALID_PARAMETER;
    RegStore store = LoadStore(root);
    RegSection* s = FindSection(&store, path);
    const RegValue* v = s ? FindValue(s, name ? name : "") : nullptr;
    if (!v)
        return s && IsUnreadValue(*s, name ? name : "") ? ERROR_INVALID_DATA : ERROR_FILE_NOT_FOUND;
    if (type) *type = v->type;
    const DWORD count = (DWORD)v->data.size();
    if (data && *size < count) {
        *size = count;
        return ERROR_MORE_DATA;
    }
    if (data) memcpy(data, v->data.data(), count);
    if (size) *size = count;
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueExA(HKEY key, LPCSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) {
    const REGSETVALUE value = {name, type, data, size};
    return RegSetValuesA(key, &value, 1);
}

LSTATUS RegSetValuesA(HKEY key, const REGSETVALUE* values, DWORD count) {
    KeyPath path;
    HKEY root = ResolveKey(key, &path);
    if (!root) return ERROR_INVALID_HANDLE;
    if (count && !values) return ERROR_INVALID_PARAMETER;
    for (DWORD i = 0; i < count; i++)
        if (!values[i].data && values[i].size) return ERROR_INVALID_PARAMETER;
    return ChangeStore(root, [&](RegStore* store) {
        RegSection* s = TakeSection(store, StoredSpelling(*store, path));
        for (DWORD i = 0; i < count; i++) {
            const REGSETVALUE& v = values[i];
            PutValue(s, v.name ? v.name : "", v.type,
                     std::string(v.data ? (const char*)v.data : "", v.size));
        }
        return 1;
    });
}

LSTATUS RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, DWORD* nameSize, DWORD*, LPSTR, DWORD*,
                      FILETIME* lastWrite) {
    KeyPath path;
    HKEY root = ResolveKey(key, &path);
    if (!root) return ERROR_INVALID_HANDLE;
    if (lastWrite) *lastWrite = {};
    if (!name || !nameSize) return ERROR_INVALID_PARAMETER;
    std::vector<std::string> names = SubKeyNames(LoadStore(root), path);
    if (index >= names.size()) return ERROR_NO_MORE_ITEMS;
    const std::string& found = names[index];
    if (found.size() >= *nameSize) return ERROR_MORE_DATA;
    memcpy(name, found.c_str(), found.size() + 1);
    *nameSize = (DWORD)found.size();
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key) {
    if (IsRoot(key)) return ERROR_SUCCESS;
    {
        std::lock_guard<std::mutex> lock(g_handlesLock);
        if (!g_handles.erase(key)) return ERROR_INVALID_HANDLE;
    }
    delete key;
    return ERROR_SUCCESS;
}
