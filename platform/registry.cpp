// The registry on one text file per root, read afresh at every call and replaced whole under a
// lock at every change, so that two running programs always see each other's settings.
//
// The file: a comment line, then per key a line "[Key\Path]" followed by its values, one a line
// as "name=type:hexbytes" (type in decimal, the exact bytes in lowercase hex). Names write the
// bytes that would break a line as %xx. The values of the root itself sit under "[]".
#include "platform/registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// Key names from the root down, spelt as the store spells them.
typedef std::vector<std::string> KeyPath;

struct RegKeyRec {
    HKEY root;
    KeyPath path;
};

struct RegValue {
    std::string name;
    DWORD type;
    std::string data;
};

struct RegSection {
    KeyPath path;
    std::vector<RegValue> values;
};

// The sections in file order.
typedef std::vector<RegSection> RegStore;

// The keys opened and not closed yet; a handle is checked here before it is used.
static std::mutex g_handlesLock;
static std::set<HKEY> g_handles;

static const char kHexDigits[] = "0123456789abcdef";

static int IsRoot(HKEY key) {
    return key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE;
}

static unsigned char UpperByte(unsigned char c) {
    return c >= 'a' && c <= 'z' ? c - 32 : c;
}

static bool IsSameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); i++)
        if (UpperByte(a[i]) != UpperByte(b[i])) return false;
    return true;
}

static bool IsNameBefore(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return UpperByte((unsigned char)x) < UpperByte((unsigned char)y);
    });
}

// Whether both paths have at least n names and their first n names are the same.
static bool IsSamePrefix(const KeyPath& a, const KeyPath& b, size_t n) {
    if (a.size() < n || b.size() < n) return false;
    for (size_t i = 0; i < n; i++)
        if (!IsSameName(a[i], b[i])) return false;
    return true;
}

// Appends the "\"-separated names of sub to path, leaving out empty ones.
static void AppendKeyNames(KeyPath* path, std::string_view sub) {
    while (!sub.empty()) {
        size_t sep = std::min(sub.find('\\'), sub.size());
        if (sep > 0) path->emplace_back(sub.substr(0, sep));
        sub.remove_prefix(std::min(sep + 1, sub.size()));
    }
}

static int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

static void AppendHexByte(std::string* out, unsigned char c) {
    *out += kHexDigits[c >> 4];
    *out += kHexDigits[c & 15];
}

// Bytes that would end or confuse a line: controls, non-ASCII, the escape itself, the separators
// and the comment mark.
static bool NeedsEscape(unsigned char c) {
    return c < 0x20 || c >= 0x7f || strchr("%=[]#", c);
}

static std::string EscapeName(std::string_view name) {
    std::string out;
    for (unsigned char c : name) {
        if (NeedsEscape(c)) {
            out += '%';
            AppendHexByte(&out, c);
        } else {
            out += (char)c;
        }
    }
    return out;
}

// Undoes EscapeName; fails on a "%" not followed by two hex digits, and on a NUL, which no
// caller could name.
static int UnescapeName(std::string_view text, std::string* name) {
    name->clear();
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] != '%') {
            *name += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return 0;
        int hi = HexValue(text[i + 1]), lo = HexValue(text[i + 2]);
        if (hi < 0 || lo < 0) return 0;
        *name += (char)(hi * 16 + lo);
        i += 2;
    }
    return name->find('\0') == name->npos;
}

static RegSection* FindSection(RegStore* store, const KeyPath& path) {
    for (RegSection& s : *store)
        if (s.path.size() == path.size() && IsSamePrefix(s.path, path, path.size())) return &s;
    return nullptr;
}

// The section of key path, added at the end when there is none.
static RegSection* TakeSection(RegStore* store, const KeyPath& path) {
    RegSection* s = FindSection(store, path);
    if (s) return s;
    store->push_back({path, {}});
    return &store->back();
}

static RegValue* FindValue(RegSection* s, std::string_view name) {
    for (RegValue& v : s->values)
        if (IsSameName(v.name, name)) return &v;
    return nullptr;
}

// Sets a value; one that exists keeps the spelling of its name.
static void PutValue(RegSection* s, std::string_view name, DWORD type, std::string data) {
    RegValue* v = FindValue(s, name);
    if (v) {
        v->type = type;
        v->data = std::move(data);
    } else {
        s->values.push_back({std::string(name), type, std::move(data)});
    }
}

// A key exists when its own section or one below it does; a root always exists.
static bool KeyExists(const RegStore& store, const KeyPath& path) {
    if (path.empty()) return true;
    for (const RegSection& s : store)
        if (IsSamePrefix(s.path, path, path.size())) return true;
    return false;
}

// path with each name spelt as the store already spells that key, if it has it.
static KeyPath StoredSpelling(const RegStore& store, KeyPath path) {
    for (size_t i = 0; i < path.size(); i++) {
        for (const RegSection& s : store) {
            if (IsSamePrefix(s.path, path, i + 1)) {
                path[i] = s.path[i];
                break;
            }
        }
    }
    return path;
}

// The direct sub-keys of path, also those only implied by deeper sections, each once, in order
// of their upper-cased names.
static std::vector<std::string> SubKeyNames(const RegStore& store, const KeyPath& path) {
    std::vector<std::string> names;
    for (const RegSection& s : store) {
        if (s.path.size() <= path.size() || !IsSamePrefix(s.path, path, path.size())) continue;
        const std::string& name = s.path[path.size()];
        if (std::none_of(names.begin(), names.end(),
                         [&](const std::string& n) { return IsSameName(n, name); }))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), IsNameBefore);
    return names;
}

// Reads a "name=type:hexbytes" line; fails on anything else.
static int ParseValueLine(std::string_view line, RegValue* v) {
    size_t eq = line.find('=');
    if (eq == line.npos) return 0;
    size_t colon = line.find(':', eq + 1);
    if (colon == line.npos || !UnescapeName(line.substr(0, eq), &v->name)) return 0;
    const char* typeEnd = line.data() + colon;
    auto [end, err] = std::from_chars(line.data() + eq + 1, typeEnd, v->type, 10);
    if (err != std::errc() || end != typeEnd || colon == eq + 1) return 0;
    std::string_view hex = line.substr(colon + 1);
    if (hex.size() % 2) return 0;
    v->data.resize(hex.size() / 2);
    for (size_t i = 0; i < v->data.size(); i++) {
        int hi = HexValue(hex[2 * i]), lo = HexValue(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) return 0;
        v->data[i] = (char)(hi * 16 + lo);
    }
    return 1;
}

// Reads the text of a store file. Lines that are neither a section nor a value are skipped, and
// so are values before the first section or after a broken section line. A key or value that
// appears twice is one; the later value wins.
static RegStore ParseStore(std::string_view text) {
    RegStore store;
    RegSection* section = nullptr;
    while (!text.empty()) {
        size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line[0] == '#') continue;
        std::string name;
        if (line[0] == '[') {
            section = nullptr;
            if (line.size() < 2 || line.back() != ']') continue;
            if (!UnescapeName(line.substr(1, line.size() - 2), &name)) continue;
            KeyPath path;
            AppendKeyNames(&path, name);
            section = TakeSection(&store, path);
            continue;
        }
        RegValue v;
        if (section && ParseValueLine(line, &v))
            PutValue(section, v.name, v.type, std::move(v.data));
    }
    return store;
}

static std::string FormatStore(const RegStore& store, const char* rootName) {
    std::string out = std::string("# Halvorne registry, ") + rootName +
                      ": [key\\path] sections of name=type:hexbytes values; names escape bytes "
                      "as %xx\n";
    for (const RegSection& s : store) {
        out += '[';
        for (size_t i = 0; i < s.path.size(); i++) {
            if (i > 0) out += '\\';
            out += EscapeName(s.path[i]);
        }
        out += "]\n";
        for (const RegValue& v : s.values) {
            out += EscapeName(v.name) + '=' + std::to_string(v.type) + ':';
            for (unsigned char c : v.data) AppendHexByte(&out, c);
            out += '\n';
        }
    }
    return out;
}

static const char* RootName(HKEY root) {
    return root == HKEY_CURRENT_USER ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

// The folder of a root's store, from the environment as it is now: $XDG_CONFIG_HOME (by default
// ~/.config) for the user, the first entry of $XDG_CONFIG_DIRS (by default /etc/xdg) for the
// machine. Relative entries are invalid and are passed over. Fails when there is no home.
static int StoreFolder(HKEY root, std::string* folder) {
    if (root == HKEY_CURRENT_USER) {
        const char* xdg = getenv("XDG_CONFIG_HOME");
        const char* home = getenv("HOME");
        if (xdg && xdg[0] == '/')
            *folder = xdg;
        else if (home && home[0] == '/')
            *folder = std::string(home) + "/.config";
        else
            return 0;
    } else {
        const char* dirs = getenv("XDG_CONFIG_DIRS");
        std::string_view rest = dirs ? dirs : "";
        folder->clear();
        while (folder->empty() && !rest.empty()) {
            size_t colon = std::min(rest.find(':'), rest.size());
            if (rest[0] == '/') *folder = rest.substr(0, colon);
            rest.remove_prefix(std::min(colon + 1, rest.size()));
        }
        if (folder->empty()) *folder = "/etc/xdg";
    }
    *folder += "/Halvorne";
    return 1;
}

// Reads and parses file name in folder dir (or a whole path with AT_FDCWD); an absent file is an
// empty store. Fails when the file is there but cannot be read.
static int ReadStoreFile(int dir, const char* name, RegStore* store) {
    store->clear();
    int fd = openat(dir, name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
    std::string text;
    char buf[16384];
    ssize_t n;
    while ((n = read(fd, buf, sizeof buf)) != 0) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        text.append(buf, (size_t)n);
    }
    close(fd);
    if (n < 0) return 0;
    *store = ParseStore(text);
    return 1;
}

// The store of a root as it is on disk now. Writes are atomic, so reading needs no lock. A store
// that cannot be read is empty: the program then goes on with its defaults.
static RegStore LoadStore(HKEY root) {
    RegStore store;
    std::string path;
    if (StoreFolder(root, &path))
        ReadStoreFile(AT_FDCWD, (path + "/" + RootName(root) + ".reg").c_str(), &store);
    return store;
}

// Makes the folders of path that are missing, readable by the user only. What fails shows when
// the folder is opened.
static void MakeFolders(const std::string& path) {
    for (size_t i = 1; i <= path.size(); i++)
        if (i == path.size() || path[i] == '/') mkdir(path.substr(0, i).c_str(), 0700);
}

// Writes text to a new file tmp in folder dir, readable by the user only, and flushes it to
// disk; a leftover of a write that died midway is replaced.
static int WriteNewFile(int dir, const char* tmp, const std::string& text) {
    unlinkat(dir, tmp, 0);
    int fd = openat(dir, tmp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return 0;
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += (size_t)n;
    }
    int ok = done == text.size() && fsync(fd) == 0;
    if (close(fd) != 0) ok = 0;
    if (!ok) unlinkat(dir, tmp, 0);
    return ok;
}

// Changes a root's store: takes the exclusive lock on its folder, reads the file afresh, lets
// change alter it and, when change answers 1, replaces the file whole by a flushed temporary one.
// ERROR_ACCESS_DENIED, the old file left as it was, when the folder or the file cannot be made,
// read or written.
static LSTATUS ChangeStore(HKEY root, const std::function<int(RegStore*)>& change) {
    std::string path;
    if (!StoreFolder(root, &path)) return ERROR_ACCESS_DENIED;
    MakeFolders(path);
    int dir = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return ERROR_ACCESS_DENIED;
    int locked;
    while ((locked = flock(dir, LOCK_EX)) != 0 && errno == EINTR) {
    }
    const std::string name = std::string(RootName(root)) + ".reg", tmp = name + ".new";
    LSTATUS status = ERROR_ACCESS_DENIED;
    RegStore store;
    if (locked == 0 && ReadStoreFile(dir, name.c_str(), &store)) {
        if (!change(&store)) {
            status = ERROR_SUCCESS;
        } else if (WriteNewFile(dir, tmp.c_str(), FormatStore(store, RootName(root)))) {
            if (renameat(dir, tmp.c_str(), dir, name.c_str()) == 0) {
                fsync(dir);
                status = ERROR_SUCCESS;
            } else {
                unlinkat(dir, tmp.c_str(), 0);
            }
        }
    }
    close(dir);  // and with it the lock
    return status;
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

LSTATUS RegCreateKeyExA(HKEY key, LPCSTR sub, DWORD, LPSTR, DWORD, REGSAM, void*, HKEY* result,
                        DWORD* disposition) {
    KeyPath path;
    HKEY root = ResolveKey(key, &path);
    if (!root) return ERROR_INVALID_HANDLE;
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    AppendKeyNames(&path, sub ? sub : "");
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
    HKEY root = ResolveKey(key, &path);
    if (!root) return ERROR_INVALID_HANDLE;
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    AppendKeyNames(&path, sub ? sub : "");
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
    if (!v) return ERROR_FILE_NOT_FOUND;
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
    KeyPath path;
    HKEY root = ResolveKey(key, &path);
    if (!root) return ERROR_INVALID_HANDLE;
    if (!data && size) return ERROR_INVALID_PARAMETER;
    std::string bytes(data ? (const char*)data : "", size);
    return ChangeStore(root, [&](RegStore* store) {
        PutValue(TakeSection(store, StoredSpelling(*store, path)), name ? name : "", type, bytes);
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
