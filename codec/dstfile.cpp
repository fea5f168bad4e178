// Writing a destination file whole or not at all, through the platform's one file writer.
#include <sys/stat.h>

#include "codec.h"
#include "platform/kernel/fileapi.h"

int WriteDstFile(const char* path, const uint8_t* data, size_t size) {
    if (!path || !*path) return 0;
    // An existing file keeps its bits; a new file in a private folder stays private; elsewhere
    // it gets 0666 less the umask.
    struct stat st;
    if (stat(path, &st) == 0) return WriteWholeFile(path, data, size, 0666);
    const bool privateDir = stat(GetFolderOf(path).c_str(), &st) == 0 && (st.st_mode & 077) == 0;
    return WriteWholeFile(path, data, size, privateDir ? 0600 : 0666);
}
