// The registry: a per-user and a per-machine store of keys and typed values. Names, status codes
// and semantics are those the program was written against; only what the program calls is here.
#pragma once

#include "platform/wintypes.h"

// A key: a predefined root or one opened by RegCreateKeyExA / RegOpenKeyExA. Each root is one
// file, read afresh at every call and replaced whole at every change, so running programs see
// each other's writes: the user's in $XDG_CONFIG_HOME/Halvorne, the machine's in
// <first entry of $XDG_CONFIG_DIRS>/Halvorne. A handle that is neither a root nor open gives
// ERROR_INVALID_HANDLE.
typedef struct RegKeyRec* HKEY;
typedef LONG LSTATUS;
typedef DWORD REGSAM;

#define HKEY_CURRENT_USER ((HKEY)(uintptr_t)0x80000001)
#define HKEY_LOCAL_MACHINE ((HKEY)(uintptr_t)0x80000002)

// Status codes.
constexpr LSTATUS ERROR_SUCCESS = 0;
constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;
constexpr LSTATUS ERROR_ACCESS_DENIED = 5;
constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
constexpr LSTATUS ERROR_INVALID_DATA = 13;
constexpr LSTATUS ERROR_OUTOFMEMORY = 14;
// ERROR_INVALID_PARAMETER (87) is in wintypes.h.
constexpr LSTATUS ERROR_MORE_DATA = 234;
constexpr LSTATUS ERROR_NO_MORE_ITEMS = 259;

// Value types.
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

// Access rights and options (the store does not restrict access by them).
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;
constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

// Opens key `sub` under `root`, creating it and the keys above it when absent. Key names are
// separated by "\"; empty names (a trailing "\") are ignored; names compare without regard to
// ASCII case. *disposition (may be null) tells whether the key was made. ERROR_ACCESS_DENIED when
// the store cannot be written.
LSTATUS RegCreateKeyExA(HKEY root, LPCSTR sub, DWORD reserved, LPSTR cls, DWORD options, REGSAM sam,
                        void* security, HKEY* result, DWORD* disposition);
// Opens an existing key; ERROR_FILE_NOT_FOUND when there is none.
LSTATUS RegOpenKeyExA(HKEY root, LPCSTR sub, DWORD options, REGSAM sam, HKEY* result);
// Reads value `name` of `key`: its type (type may be null) and its bytes. With data null only
// *size is set to the byte count. When *size is too small: ERROR_MORE_DATA and *size the count
// needed. ERROR_FILE_NOT_FOUND when the value is absent (an empty value is there, with 0 bytes);
// ERROR_INVALID_DATA when its only line in the store file cannot be read (the line is kept as it
// is; writing the value adds a line of its own); ERROR_INVALID_PARAMETER for data without size.
LSTATUS RegQueryValueExA(HKEY key, LPCSTR name, DWORD* reserved, DWORD* type, BYTE* data,
                         DWORD* size);
// Writes value `name` with its type and exactly `size` bytes (a text's terminator is counted by
// the caller). The store on disk is replaced whole, so a failed write leaves the old one.
LSTATUS RegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD size);
// One value for RegSetValuesA, as the arguments of RegSetValueExA.
struct REGSETVALUE {
    LPCSTR name;
    DWORD type;
    const BYTE* data;
    DWORD size;
};
// Writes `count` values of `key` as RegSetValueExA does, in one write of the store: all of them
// or, when it fails, none.
LSTATUS RegSetValuesA(HKEY key, const REGSETVALUE* values, DWORD count);
// The name of direct sub-key `index` of `key`, in order of their upper-cased names. *nameSize is
// the buffer size in characters, terminator included; on success it becomes the name's length.
// ERROR_MORE_DATA (*nameSize unchanged) when the name does not fit, ERROR_NO_MORE_ITEMS past the
// last sub-key. Sub-keys have no class; *lastWrite, when given, is zeroed.
LSTATUS RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, DWORD* nameSize, DWORD* reserved,
                      LPSTR cls, DWORD* clsSize, FILETIME* lastWrite);
// Closing a root does nothing.
LSTATUS RegCloseKey(HKEY key);

// Test seam: hook is asked before every change of a store (values set, a key made); when it
// answers 0, the change fails with ERROR_ACCESS_DENIED, as on a full disk, and the store stays as
// it was. nullptr restores the real behaviour.
void PlatSetRegWriteHook(int (*hook)());
