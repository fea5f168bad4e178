// The registry's stores in memory: keys, values and their names.
#include <algorithm>

#include "platform/registry/records.h"

static unsigned char UpperByte(unsigned char c) {
    return c >= 'a' && c <= 'z' ? c - 32 : c;
}

bool IsSameName(std::string_view a, std::string_view b) {
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
void AppendKeyNames(KeyPath* path, std::string_view sub) {
    while (!sub.empty()) {
        size_t sep = std::min(sub.find('\\'), sub.size());
        if (sep > 0) path->emplace_back(sub.substr(0, sep));
        sub.remove_prefix(std::min(sep + 1, sub.size()));
    }
}

RegSection* FindSection(RegStore* store, const KeyPath& path) {
    for (RegSection& s : store->sections)
        if (s.path.size() == path.size() && IsSamePrefix(s.path, path, path.size())) return &s;
    return nullptr;
}

// The section of key path, added at the end when there is none.
RegSection* TakeSection(RegStore* store, const KeyPath& path) {
    RegSection* s = FindSection(store, path);
    if (s) return s;
    store->sections.push_back({path, {}, {}, {}, {}});
    return &store->sections.back();
}

RegValue* FindValue(RegSection* s, std::string_view name) {
    for (RegValue& v : s->values)
        if (IsSameName(v.name, name)) return &v;
    return nullptr;
}

// Whether value name of s has a line that could not be read.
bool IsUnreadValue(const RegSection& s, std::string_view name) {
    return std::any_of(s.unread.begin(), s.unread.end(),
                       [&](const std::string& n) { return IsSameName(n, name); });
}

// Sets a value; one that exists keeps the spelling of its name.
void PutValue(RegSection* s, std::string_view name, DWORD type, std::string data) {
    RegValue* v = FindValue(s, name);
    if (v) {
        v->type = type;
        v->data = std::move(data);
    } else {
        s->values.push_back({std::string(name), type, std::move(data)});
    }
}

// A key exists when its own section or one below it does; a root always exists.
bool KeyExists(const RegStore& store, const KeyPath& path) {
    if (path.empty()) return true;
    for (const RegSection& s : store.sections)
        if (IsSamePrefix(s.path, path, path.size())) return true;
    return false;
}

// path with each name spelt as the store already spells that key, if it has it.
KeyPath StoredSpelling(const RegStore& store, KeyPath path) {
    for (size_t i = 0; i < path.size(); i++) {
        for (const RegSection& s : store.sections) {
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
std::vector<std::string> SubKeyNames(const RegStore& store, const KeyPath& path) {
    std::vector<std::string> names;
    for (const RegSection& s : store.sections) {
        if (s.path.size() <= path.size() || !IsSamePrefix(s.path, path, path.size())) continue;
        const std::string& name = s.path[path.size()];
        if (std::none_of(names.begin(), names.end(),
                         [&](const std::string& n) { return IsSameName(n, name); }))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), IsNameBefore);
    return names;
}
