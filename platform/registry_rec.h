// The registry's stores in memory and on disk. Only the registry's own files see this.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

// Key names from the root down, spelt as the store spells them.
typedef std::vector<std::string> KeyPath;

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

// Names compare without regard to ASCII case.
bool IsSameName(std::string_view a, std::string_view b);
// Appends the "\"-separated names of sub to path, leaving out empty ones.
void AppendKeyNames(KeyPath* path, std::string_view sub);
RegSection* FindSection(RegStore* store, const KeyPath& path);
// The section of key path, added at the end when there is none.
RegSection* TakeSection(RegStore* store, const KeyPath& path);
RegValue* FindValue(RegSection* s, std::string_view name);
// Sets a value; one that exists keeps the spelling of its name.
void PutValue(RegSection* s, std::string_view name, DWORD type, std::string data);
// A key exists when its own section or one below it does; a root always exists.
bool KeyExists(const RegStore& store, const KeyPath& path);
// path with each name spelt as the store already spells that key, if it has it.
KeyPath StoredSpelling(const RegStore& store, KeyPath path);
// The direct sub-keys of path, also those only implied by deeper sections, each once, in order
// of their upper-cased names.
std::vector<std::string> SubKeyNames(const RegStore& store, const KeyPath& path);

// The text form of a store: a comment line, then per key a line "[Key\Path]" followed by its
// values, one a line as "name=type:hexbytes" (type in decimal, the exact bytes in lowercase hex).
// Names write the bytes that would break a line as %xx. The values of the root itself sit under
// "[]". Reading skips what it cannot read.
RegStore ParseStore(std::string_view text);
std::string FormatStore(const RegStore& store, const char* rootName);

// The store of a root as it is on disk now; empty when it cannot be read.
RegStore LoadStore(HKEY root);
// Changes a root's store: takes the exclusive lock on its folder, reads the file afresh, lets
// change alter it and, when change answers 1, replaces the file whole by a flushed temporary one.
// ERROR_ACCESS_DENIED, the old file left as it was, when the folder or the file cannot be made,
// read or written.
LSTATUS ChangeStore(HKEY root, const std::function<int(RegStore*)>& change);
