// The registry's stores in memory: keys, values, their names, and the text form of a store.
#include <algorithm>
#include <charconv>
#include <cstring>

#include "platform/registry_rec.h"

static const char kHexDigits[] = "0123456789abcdef";

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

RegSection* FindSection(RegStore* store, const KeyPath& path) {
    for (RegSection& s : *store)
        if (s.path.size() == path.size() && IsSamePrefix(s.path, path, path.size())) return &s;
    return nullptr;
}

// The section of key path, added at the end when there is none.
RegSection* TakeSection(RegStore* store, const KeyPath& path) {
    RegSection* s = FindSection(store, path);
    if (s) return s;
    store->push_back({path, {}});
    return &store->back();
}

RegValue* FindValue(RegSection* s, std::string_view name) {
    for (RegValue& v : s->values)
        if (IsSameName(v.name, name)) return &v;
    return nullptr;
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
    for (const RegSection& s : store)
        if (IsSamePrefix(s.path, path, path.size())) return true;
    return false;
}

// path with each name spelt as the store already spells that key, if it has it.
KeyPath StoredSpelling(const RegStore& store, KeyPath path) {
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
std::vector<std::string> SubKeyNames(const RegStore& store, const KeyPath& path) {
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
RegStore ParseStore(std::string_view text) {
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

std::string FormatStore(const RegStore& store, const char* rootName) {
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
