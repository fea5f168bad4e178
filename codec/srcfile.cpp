// Reading a source file whole.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "codec.h"

// No picture this library handles comes near 2 GiB; a larger file is not one of them.
constexpr off_t kMaxSrcBytes = 0x7FFFFFFF;

int ReadSrcFile(const char* path, std::vector<uint8_t>* data) {
    if (!path) return 0;
    // Without O_NONBLOCK, opening a FIFO waits for a writer before fstat can refuse it.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return 0;
    struct stat st;
    // Only regular files: a FIFO or a device would block or never end.
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxSrcBytes) {
        close(fd);
        return 0;
    }
    data->resize((size_t)st.st_size);
    size_t got = 0;
    while (got < data->size()) {
        ssize_t n = read(fd, data->data() + got, data->size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            close(fd);
            return 0;
        }
        if (n == 0) break;  // the file shrank since fstat
        got += (size_t)n;
    }
    close(fd);
    data->resize(got);
    return 1;
}
