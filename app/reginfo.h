// The settings store: the program's registry key, its values and the helpers that read and
// write them. Texts are the stored bytes (Shift-JIS for the account values).
#pragma once

#include <span>

#include "platform/registry/registry.h"

constexpr const char* kRegKey = "Software\\Halvorne\\Quillet\\";
constexpr const char* kSiblingKey = "SOFTWARE\\Halvorne\\Sorvanth\\";
constexpr const char* kRegVersion = "Quillet 2.00";
// A newcomer's program talks to the loopback upload server of tools/.
constexpr const char* kDefServer = "localhost:8080";
constexpr const char* kDefHomePage = "localhost:8080/quillet";

// Opens the settings key with full access, creating it when absent. 0, *key null, when it
// cannot.
int OpenRegKey(HKEY* key);
// Reads text value `name` into a MAX_PATH buffer. The buffer changes only when the value is
// there, terminated and fits; returns the registry's status (ERROR_MORE_DATA when it does not fit).
LSTATUS ReadRegPath(HKEY key, const char* name, char* buf);

// Reads text value `name` of the open key into a new heap buffer of its size + 1 bytes (always
// terminated), which the caller frees. 0 leaves *text untouched when the value is absent, and
// sets it null after a failed allocation (with a message) or a failed read.
int GetRegInfo(HKEY key, const char* name, char** text);
// GetRegInfo on the settings key; 0 without a message when the key cannot be opened.
int GetRegValue(const char* name, char** text);
// Writes `text` as a text value, its terminator counted. 1 when the registry took it.
int SetRegInfo(HKEY key, const char* name, const char* text);
// SetRegInfo on the settings key; 0 when the key cannot be opened.
int SetRegValue(const char* name, const char* text);
// A text value to store: its name and its text.
struct RegText {
    const char* name;
    const char* text;
};
// Writes text values to the settings key in one write of the store, so that they are stored
// together or not at all. 1 when the store took them; 0 when the key cannot be opened or the
// write fails.
int SetRegTexts(std::span<const RegText> vals);
// Reads "SERVER" and "HOMEPAGE" over the in-memory copies, without defaults. A value that is
// absent, cannot be read or does not fit leaves its copy as it was.
int ReadServerInfo();
// The account block of an upload: user id, password and album id joined by line feeds, in a new
// heap buffer the caller frees. 0 (with a message when a value is missing) sets *text null.
int GetUserInfo(char** text);

// The start-up load: "VER", the account values and host names with their defaults, the photo
// tab's remembered pictures; centres the main window. A host name that is absent gets its default
// in memory even when it cannot be stored; one whose line in the file cannot be read gets it in
// memory only, and standard error says so. A value whose line cannot be read is never written
// over with a default. Returns 1.
int InitRegInfo();
// The shutdown save: the photo tab's slots and the main window's placement. Returns 1.
int SaveRegInfo();

// The sibling program's version from its sub-key names (2.11.000 gives 211000); 0 when it
// cannot be told.
double GetSiblingVersion();
