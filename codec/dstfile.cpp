// Writing a destination file whole or not at all: a temporary file beside it, then a rename.
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "codec.h"

// *mode gets the permission bits for the result, or (mode_t)-1 to keep what open() makes of
// 0666 and the umask. An existing target keeps its bits; a new file in a private folder stays
// private. 0 when path names something other than a file or its folder is missing.
static int GetDstMode(const char* path, mode_t* mode) {
    struct stat st;
    if (stat(path, &st) == 0) {
        if (!S_ISREG(st.st_mode)) return 0;
        *mode = st.st_mode & 0777;
        return 1;
    }
    if (errno != ENOENT) return 0;
    std::string dir(path);
    size_t slash = dir.rfind('/');
    dir = slash == std::string::npos ? "." : slash == 0 ? "/" : dir.substr(0, slash);
    if (stat(dir.c_str(), &st) != 0) return 0;
    *mode = (st.st_mode & 077) == 0 ? 0600 : (mode_t)-1;
    return 1;
}

// Creates "<path>.xxxxxx" exclusively with mode 0666 less the umask; *tmpPath gets its name.
static int OpenTmpFile(const char* path, std::string* tmpPath) {
    for (int attempt = 0; attempt < 16; attempt++) {
        uint32_t r = 0;
        if (getrandom(&r, sizeof r, 0) != sizeof r) return -1;
        char suffix[16];
        snprintf(suffix, sizeof suffix, ".%08x", (unsigned)r);
        *tmpPath = std::string(path) + suffix;
        int fd = open(tmpPath->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

static int WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return 0;
        data += n;
        size -= (size_t)n;
    }
    return 1;
}

int WriteDstFile(const char* path, const uint8_t* data, size_t size) {
    mode_t mode;
    if (!path || !*path || !GetDstMode(path, &mode)) return 0;
    std::string tmpPath;
    int fd = OpenTmpFile(path, &tmpPath);
    if (fd < 0) return 0;
    int ok = (mode == (mode_t)-1 || fchmod(fd, mode) == 0) && WriteAll(fd, data, size);
    ok = close(fd) == 0 && ok;
    ok = ok && rename(tmpPath.c_str(), path) == 0;
    if (!ok) unlink(tmpPath.c_str());
    return ok;
}
