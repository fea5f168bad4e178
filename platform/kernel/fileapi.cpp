// Folders and files on the Linux file system.
#include "platform/kernel/fileapi.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

BOOL CreateDirectoryA(const char* path, void*) {
    return path && mkdir(path, 0700) == 0;
}

BOOL DeleteFileA(const char* path) {
    return path && unlink(path) == 0;
}

std::string GetFolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

namespace {

long g_userId = -1;  // PlatSetUserId; -1: the real user

// The file a write to `path` replaces: path itself, or the target of the symbolic link path is,
// followed through every link (a dangling link names the file it would point at). Empty when the
// links go round or path is unusable.
std::string FindWriteTarget(const char* path) {
    std::string at = path;
    for (int hops = 0; hops < 40; hops++) {
        struct stat st;
        if (lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return at;
        char link[PATH_MAX];
        const ssize_t n = readlink(at.c_str(), link, sizeof link - 1);
        if (n <= 0) return {};
        link[n] = 0;
        const size_t slash = at.rfind('/');
        at = link[0] == '/' || slash == std::string::npos ? std::string(link)
                                                          : at.substr(0, slash + 1) + link;
    }
    return {};
}

// Creates "<path>.xxxxxxxx" exclusively with the bits mode less the umask; tmp gets its name.
// -1 when none can be made.
int OpenTmpBeside(const std::string& path, mode_t mode, std::string* tmp) {
    for (int attempt = 0; attempt < 16; attempt++) {
        uint32_t r = 0;
        if (getrandom(&r, sizeof r, 0) != sizeof r) return -1;
        char suffix[16];
        snprintf(suffix, sizeof suffix, ".%08x", unsigned(r));
        *tmp = path + suffix;
        const int fd = open(tmp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

int WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return 0;
        data += n;
        size -= size_t(n);
    }
    return 1;
}

// Makes the rename of a file in path's folder last through a power cut.
void SyncFolderOf(const std::string& path) {
    const int fd = open(GetFolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

BOOL WriteWholeFile(const char* path, const void* data, size_t size, DWORD mode) {
    if (!path || !*path) return FALSE;
    const std::string target = FindWriteTarget(path);
    if (target.empty()) return FALSE;
    // An existing file keeps its bits, less any that mode does not grant.
    struct stat st;
    mode_t bits = mode_t(mode & 0777);
    const int exists = stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) return FALSE;
    if (exists) bits &= st.st_mode & 0777;
    std::string tmp;
    const int fd = OpenTmpBeside(target, bits, &tmp);
    if (fd < 0) return FALSE;
    int ok = (!exists || fchmod(fd, bits) == 0) &&
             WriteAll(fd, static_cast<const char*>(data), size) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(tmp.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(tmp.c_str());
        return FALSE;
    }
    SyncFolderOf(target);
    return TRUE;
}

FILE* OpenPlainFile(const char* path, int64_t* size) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer before fstat can refuse it.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    FILE* f = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? fdopen(fd, "rb") : nullptr;
    if (!f) {
        close(fd);
        errno = EINVAL;
        return nullptr;
    }
    if (size) *size = st.st_size;
    return f;
}

BOOL SetDirPrivate(const char* path) {
    struct stat st;
    if (!path || stat(path, &st) != 0 || !S_ISDIR(st.st_mode)) return FALSE;
    const uid_t user = g_userId >= 0 ? uid_t(g_userId) : geteuid();
    if (st.st_uid == user && (st.st_mode & 07777) != 0700) chmod(path, 0700);
    return TRUE;
}

void PlatSetUserId(long uid) {
    g_userId = uid;
}

DWORD GetFileAttributesA(const char* path) {
    struct stat st;
    if (!path || stat(path, &st) != 0) return INVALID_FILE_ATTRIBUTES;
    if (S_ISDIR(st.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
    return S_ISREG(st.st_mode) ? FILE_ATTRIBUTE_ARCHIVE : INVALID_FILE_ATTRIBUTES;
}

long SHGetFolderPathA(HWND, int csidl, HANDLE, DWORD, char* path) {
    if (csidl != CSIDL_APPDATA || !path) return E_FAIL;
    const char* xdg = getenv("XDG_DATA_HOME");
    const char* home = getenv("HOME");
    int n;
    // A relative XDG_DATA_HOME is invalid and is ignored, as the XDG rules say.
    if (xdg && xdg[0] == '/')
        n = snprintf(path, MAX_PATH, "%s", xdg);
    else if (home && home[0] == '/')
        n = snprintf(path, MAX_PATH, "%s/.local/share", home);
    else
        return E_FAIL;
    if (n < 0 || n >= MAX_PATH) return E_FAIL;
    while (n > 1 && path[n - 1] == '/') path[--n] = 0;
    return S_OK;
}
