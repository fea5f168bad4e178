// The registry's stores in memory and on disk. Only the registry's own files see this.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/registry.h"

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
    // Lines of the file that could not be read, written back as they were after the values.
    std::vector<std::string> kept;
    // Each section line of the file that could not be read, with the lines after it up to the
    // next section line: written back after kept, so that those lines still belong to no key.
    std::vector<std::string> lost;
    // The names of the values that have a line among kept: unread, which is not absent.
    std::vector<std::string> unread;
};

struct RegStore {
    // Lines that could not be read before the first section, written back there.
    std::vector<std::string> lead;
    // The sections in file order.
    std::vector<RegSection> sections;
};

// Names compare without regard to ASCII case.
bool IsSameName(std::string_view a, std::string_view b);
// Appends the "\"-separated names of sub to path, leaving out empty ones.
void AppendKeyNames(KeyPath* path, std::string_view sub);
RegSection* FindSection(RegStore* store, const KeyPath& path);
// The section of key path, added at the end when there is none.
RegSection* TakeSection(RegStore* store, const KeyPath& path);
RegValue* FindValue(RegSection* s, std::string_view name);
// Whether value name of s has a line that could not be read.
bool IsUnreadValue(const RegSection& s, std::string_view name);
// Sets a value; one that exists keeps the spelling of its name.
void PutValue(RegSection* s, std::string_view name, DWORD type, std::string data);
// A key exists when its own section or one below it does; a root always exists.
bool KeyExists(const RegStore& store, const KeyPath& path);
// path with each name spelt as the store already spells that key, if it has it.
KeyPath StoredSpelling(const RegStore& store, KeyPath path);
// The direct sub-keys of path, also those only implied by deeper sections, each once, in order
// of their upper-cased names.
std::vector<std::string> SubKeyNames(const RegStore& store, const KeyPath& path);

// The text form of a store, in the layout of registry export files: per key a line
// "[ROOT\Key\Path]" followed by its values, one a line as "name"=value. See FormatStore.
// Reading also takes the older form ("[Key\Path]" and name=type:hexbytes lines). A line that
// cannot be read is kept in its section, and its number (from 1) added to *skipped; when it
// names a value of its section, that value is added to the section's unread ones. The number of a
// value line read as Shift-JIS (see ReadQuoted) is added to *sjis.
RegStore ParseStore(std::string_view text, const char* rootName, std::vector<size_t>* skipped,
                    std::vector<size_t>* sjis);
std::string FormatStore(const RegStore& store, const char* rootName);

// The store of a root as it is on disk now; empty when it cannot be read.
RegStore LoadStore(HKEY root);
// Changes a root's store: takes the exclusive lock on its folder, reads the file afresh, lets
// change alter it and, when change answers 1, replaces the file whole by a flushed temporary one.
// ERROR_ACCESS_DENIED, the old file left as it was, when the folder or the file cannot be made,
// read or written.
LSTATUS ChangeStore(HKEY root, const std::function<int(RegStore*)>& change);

// Names and text values as a person reads them in a store file (text.cpp): their CP932
// bytes as UTF-8 text, escapes for the bytes that have no text form.
int HexValue(char c);
void AppendHexByte(std::string* out, unsigned char c);
// bytes between quote marks: "\\" and "\"" for the backslash and the quote mark, "\xhh" for
// the other bytes that have no printable text form.
std::string QuoteText(std::string_view bytes);
// Reads a quoted text at the start of line into *bytes; returns the length of the quoted text
// with its quote marks, 0 when it is not closed, has a broken escape or a character that CP932
// lacks. A text that is not UTF-8 is taken as the CP932 bytes of an editor that saved the file
// in Shift-JIS.
size_t ReadQuoted(std::string_view line, std::string* bytes);
// A key name as written in a section line: "%hh" for "%" and the bytes with no text form.
std::string EscapeKeyName(std::string_view name);
// Undoes EscapeKeyName, also for the names of the older form; fails on a broken escape and on a
// NUL, which no caller could name.
int ReadKeyName(std::string_view text, std::string* name);
