// Kernel services: the program file and its command line, code libraries, the clock and file
// search.
#pragma once

#include "platform/wintypes.h"

// A loaded code library. The record behind it belongs to the dynamic loader.
typedef struct ModuleRec* HMODULE;
// An entry point of a code library; cast it to its real type before calling it.
typedef void (*FARPROC)();

// Writes the full path of the program file (links resolved) into buf and returns its length.
// module must be NULL. When buf is too small, the path is cut to size - 1 bytes plus the
// terminator and size is returned. Returns 0 on failure (buf untouched).
DWORD GetModuleFileNameA(HANDLE module, char* buf, DWORD size);

// The whole command line: the program's arguments joined by single blanks, each one that holds
// a blank (or is empty) in double quotes, as handed to PlatInitApp. Empty before that.
LPSTR GetCommandLineA();
// The argument text of a command line: what follows the program name (a double-quoted token up
// to its closing quote, or a token up to the first blank) and the blanks after it.
LPCSTR GetCmdArgText(LPCSTR line);

// Loads a code library. "Name.dll" (any case of the suffix) stands for "libName.so", looked for
// in the program folder first, then by the dynamic loader's own search. Returns NULL on failure.
HMODULE LoadLibraryA(const char* name);
// Returns the named entry point of a loaded library, or NULL.
FARPROC GetProcAddress(HMODULE module, const char* name);
// Unloads a library loaded by LoadLibraryA. Returns TRUE on success.
BOOL FreeLibrary(HMODULE module);

// Milliseconds since an arbitrary start; wraps after 49.7 days.
DWORD GetTickCount();
// The current local date and time; wDayOfWeek 0 is Sunday.
void GetLocalTime(SYSTEMTIME* time);

constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;  // FILE_ATTRIBUTE_DIRECTORY for folders, FILE_ATTRIBUTE_ARCHIVE else
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    char cFileName[MAX_PATH];  // the bare name, no folder
};

// Starts a search of one folder. pattern is "folder/names" ("\" is accepted as separator too);
// names may hold the wildcards * and ?, matched without regard to ASCII case, and "*.*" matches
// every name. Entries come sorted by their upper-cased names, "." and ".." first when they
// match. Fills data with the first entry, or returns INVALID_HANDLE_VALUE when nothing matches.
HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data);
// Fills data with the next entry. Returns FALSE when there is none left.
BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data);
// Ends a search started by FindFirstFileA.
BOOL FindClose(HANDLE find);

// Test seams. nullptr restores the real behaviour.
// Makes GetModuleFileNameA answer path, so that the program seems to live elsewhere.
void PlatSetModulePath(const char* path);
// Makes GetCommandLineA answer line.
void PlatSetCommandLine(const char* line);
void PlatSetTickCountHook(DWORD (*hook)());
void PlatSetLocalTimeHook(void (*hook)(SYSTEMTIME*));
