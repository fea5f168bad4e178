// File search on opendir/readdir, with the wildcards and the entry order of the original system.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/kernel/kernel.h"
#include "platform/kernel/namecmp.h"

struct FindEntry {
    std::string name;
    DWORD attrs;
    uint64_t size;
};

// A search in progress: every matching entry, read and sorted when the search starts.
struct FindRec {
    std::vector<FindEntry> entries;
    size_t next;
};

static unsigned char UpperByte(unsigned char c) {
    return c >= 'a' && c <= 'z' ? c - 32 : c;
}

static int IsDotName(const std::string& name) {
    return name == "." || name == "..";
}

int CompareNameUpper(const std::string& a, const std::string& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; i++) {
        unsigned char ca = UpperByte((unsigned char)a[i]);
        unsigned char cb = UpperByte((unsigned char)b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// "." and ".." always come first.
static bool IsEntryBefore(const FindEntry& a, const FindEntry& b) {
    if (IsDotName(a.name) != IsDotName(b.name)) return IsDotName(a.name);
    return CompareNameUpper(a.name, b.name) < 0;
}

// Steps over one character: a UTF-8 lead byte and its continuation bytes.
static const char* SkipChar(const char* s) {
    s++;
    while (((unsigned char)*s & 0xC0) == 0x80) s++;
    return s;
}

// Matches name against the pattern pat: * is any run of characters, ? one character, anything else
// one byte regardless of ASCII case. Only the last * is ever retried, so the work stays bounded by
// the lengths of name and pat multiplied.
static int IsNameMatch(const char* pat, const char* name) {
    const char* afterStar = nullptr;  // pat just after the last *
    const char* starEnd = nullptr;    // where the name part taken by that * ends
    while (*name) {
        if (*pat == '*') {
            afterStar = ++pat;
            starEnd = name;
        } else if (*pat == '?') {
            pat++;
            name = SkipChar(name);
        } else if (*pat && UpperByte((unsigned char)*pat) == UpperByte((unsigned char)*name)) {
            pat++;
            name++;
        } else if (afterStar) {
            // Let the last * take one more character and try again from there.
            starEnd = SkipChar(starEnd);
            pat = afterStar;
            name = starEnd;
        } else {
            return 0;
        }
    }
    while (*pat == '*') pat++;
    return !*pat;
}

// A pattern ending in ".*" also matches the names without that dot ("*.*" matches every name,
// "a.*" matches "a"), as on the original system.
static int IsPatMatch(const std::string& pat, const char* name) {
    if (IsNameMatch(pat.c_str(), name)) return 1;
    size_t len = pat.size();
    return len >= 2 && pat.compare(len - 2, 2, ".*") == 0 &&
           IsNameMatch(pat.substr(0, len - 2).c_str(), name);
}

// Reads the entries of folder that match pat into *entries, unsorted. Only folders and plain
// files are reported (links followed): a pipe or device found by a search would block or harm
// the caller that opens it. Returns 0 when the folder cannot be read.
static int ReadFindEntries(const std::string& folder, const std::string& pat,
                           std::vector<FindEntry>* entries) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return 0;
    while (dirent* ent = readdir(dir)) {
        if (strlen(ent->d_name) > MAX_PATH - 1 || !IsPatMatch(pat, ent->d_name)) continue;
        struct stat st;
        if (fstatat(dirfd(dir), ent->d_name, &st, 0) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            entries->push_back({ent->d_name, FILE_ATTRIBUTE_DIRECTORY, 0});
        } else if (S_ISREG(st.st_mode)) {
            entries->push_back({ent->d_name, FILE_ATTRIBUTE_ARCHIVE, (uint64_t)st.st_size});
        }
    }
    closedir(dir);
    return 1;
}

static void FillFindData(const FindEntry& entry, WIN32_FIND_DATAA* data) {
    data->dwFileAttributes = entry.attrs;
    data->nFileSizeHigh = (DWORD)(entry.size >> 32);
    data->nFileSizeLow = (DWORD)entry.size;
    memcpy(data->cFileName, entry.name.c_str(), entry.name.size() + 1);
}

HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data) {
    if (!pattern || !data) return INVALID_HANDLE_VALUE;
    std::string path = pattern;
    std::replace(path.begin(), path.end(), '\\', '/');
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    std::string pat = path.substr(slash + 1);  // npos + 1 = 0: the whole pattern
    std::vector<FindEntry> entries;
    if (pat.empty() || !ReadFindEntries(folder, pat, &entries) || entries.empty())
        return INVALID_HANDLE_VALUE;
    std::sort(entries.begin(), entries.end(), IsEntryBefore);
    FillFindData(entries[0], data);
    return new FindRec{std::move(entries), 1};
}

BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) {
    if (!find || find == INVALID_HANDLE_VALUE || !data) return FALSE;
    FindRec* rec = (FindRec*)find;
    if (rec->next >= rec->entries.size()) return FALSE;
    FillFindData(rec->entries[rec->next++], data);
    return TRUE;
}

BOOL FindClose(HANDLE find) {
    if (!find || find == INVALID_HANDLE_VALUE) return FALSE;
    delete (FindRec*)find;
    return TRUE;
}
