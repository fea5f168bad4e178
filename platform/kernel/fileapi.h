// Folders and files of the program's own, and the user's special folders.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/kernel/kernel.h"
#include "platform/wintypes.h"

// The folder a path names its file in: "." for a bare name, "/" for a file at the root.
std::string GetFolderOf(const std::string& path);

// Creates one folder, readable by the user only (the application folder holds the password).
// Fails when it exists already, as on Windows.
BOOL CreateDirectoryA(const char* path, void* security);
BOOL DeleteFileA(const char* path);
// Makes path a file holding exactly the size bytes at data, or leaves it as it was: the bytes go
// to a new file beside it, are flushed to the disk, and that file is renamed over path, and the
// rename is flushed too; a failed write leaves no new file behind. A symbolic link stays a link:
// its target is written. A new file gets the permission bits mode less the umask, an existing one
// keeps its bits less any that mode does not grant (a private file stays private). The one
// writer of every file the program, the codec library and the server replace. FALSE when path
// names something other than a file, its folder is missing or anything cannot be written.
BOOL WriteWholeFile(const char* path, const void* data, size_t size, DWORD mode);

// Opens path for reading when it names a plain file (or a link to one), and puts its size in
// *size unless size is null. None for anything else, errno telling why: the reason open gave
// (ENOENT when nothing is there), or EINVAL for a folder, a FIFO or a device. A FIFO is refused at
// once, without waiting for a writer. The caller closes the file.
FILE* OpenPlainFile(const char* path, int64_t* size);

// Makes an existing folder readable by its owner only (mode 0700) when it belongs to the user the
// program runs as; someone else's folder is not the program's to change and is left as it is.
// FALSE when path names no folder.
BOOL SetDirPrivate(const char* path);
// Test seam: the user the program counts as running as, for SetDirPrivate (-1: the real one).
void PlatSetUserId(long uid);

constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
// FILE_ATTRIBUTE_DIRECTORY for a folder, FILE_ATTRIBUTE_ARCHIVE for a plain file, and
// INVALID_FILE_ATTRIBUTES when the exact path names neither (names are matched byte for byte; a
// pipe or device counts as nothing, as in the file search).
DWORD GetFileAttributesA(const char* path);

constexpr int CSIDL_APPDATA = 26;
constexpr long S_OK = 0;
constexpr long E_FAIL = 0x80004005L;

// The user's application-data folder ($XDG_DATA_HOME, by default ~/.local/share), without a
// trailing separator, into a MAX_PATH buffer. Fails when it cannot be told or does not fit.
long SHGetFolderPathA(HWND owner, int csidl, HANDLE token, DWORD flags, char* path);
