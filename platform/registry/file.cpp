// The registry's store files: one per root, read afresh at every call and replaced whole under a
// lock at every change, so that two running programs always see each other's settings.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>

#include "platform/kernel/fileapi.h"
#include "platform/registry/records.h"

static const char* RootName(HKEY root) {
    return root == HKEY_CURRENT_USER ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

// The folder of a root's store, from the environment as it is now: $XDG_CONFIG_HOME (by default
// ~/.config) for the user, the first entry of $XDG_CONFIG_DIRS (by default /etc/xdg) for the
// machine. Relative entries are invalid and are passed over. Fails when there is no home.
static int StoreFolder(HKEY root, std::string* folder) {
    if (root == HKEY_CURRENT_USER) {
        const char* xdg = getenv("XDG_CONFIG_HOME");
        const char* home = getenv("HOME");
        if (xdg && xdg[0] == '/')
            *folder = xdg;
        else if (home && home[0] == '/')
            *folder = std::string(home) + "/.config";
        else
            return 0;
    } else {
        const char* dirs = getenv("XDG_CONFIG_DIRS");
        std::string_view rest = dirs ? dirs : "";
        folder->clear();
        while (folder->empty() && !rest.empty()) {
            size_t colon = std::min(rest.find(':'), rest.size());
            if (rest[0] == '/') *folder = rest.substr(0, colon);
            rest.remove_prefix(std::min(colon + 1, rest.size()));
        }
        if (folder->empty()) *folder = "/etc/xdg";
    }
    *folder += "/Halvorne";
    return 1;
}

// Says on standard error which lines of the store file at path were skipped, which are kept and
// written back as they are, and which were read as Shift-JIS, which the next write turns into
// UTF-8. A file is told of once per content, not at every call.
static void ReportLines(const std::string& path, std::string_view text,
                        const std::vector<size_t>& skipped, const std::vector<size_t>& sjis) {
    if (skipped.empty() && sjis.empty()) return;
    static std::mutex lock;
    static size_t told;
    const size_t seen = std::hash<std::string_view>{}(text) ^ std::hash<std::string>{}(path);
    std::lock_guard<std::mutex> guard(lock);
    if (seen == told) return;
    told = seen;
    for (size_t number : skipped)
        fprintf(stderr, "%s:%zu: cannot read this line; it is kept as it is\n", path.c_str(),
                number);
    for (size_t number : sjis)
        fprintf(stderr, "%s:%zu: the text on this line is not UTF-8; it is read as Shift-JIS\n",
                path.c_str(), number);
}

// Reads and parses the store file of root in folder, opened through dir (AT_FDCWD: by its whole
// path); an absent file is an empty store. Fails when the file is there but cannot be read.
static int ReadStoreFile(int dir, const std::string& folder, HKEY root, RegStore* store) {
    *store = {};
    const std::string name = std::string(RootName(root)) + ".reg", path = folder + "/" + name;
    int fd = openat(dir, dir == AT_FDCWD ? path.c_str() : name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
    std::string text;
    char buf[16384];
    ssize_t n;
    while ((n = read(fd, buf, sizeof buf)) != 0) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        text.append(buf, (size_t)n);
    }
    close(fd);
    if (n < 0) return 0;
    std::vector<size_t> skipped, sjis;
    *store = ParseStore(text, RootName(root), &skipped, &sjis);
    ReportLines(path, text, skipped, sjis);
    return 1;
}

// The store of a root as it is on disk now. Writes are atomic, so reading needs no lock. A store
// that cannot be read is empty: the program then goes on with its defaults.
RegStore LoadStore(HKEY root) {
    RegStore store;
    std::string folder;
    if (StoreFolder(root, &folder)) ReadStoreFile(AT_FDCWD, folder, root, &store);
    return store;
}

// Makes the folders of path that are missing, readable by the user only. What fails shows when
// the folder is opened.
static void MakeFolders(const std::string& path) {
    for (size_t i = 1; i <= path.size(); i++)
        if (i == path.size() || path[i] == '/') mkdir(path.substr(0, i).c_str(), 0700);
}

// The test seam's hook, asked before anything of the store is opened.
static int (*g_writeHook)();

void PlatSetRegWriteHook(int (*hook)()) {
    g_writeHook = hook;
}

// The open folder of a store, closed (and with it its lock released) however a change ends, also
// by an exception such as a failed allocation.
struct StoreDir {
    int fd;
    ~StoreDir() {
        if (fd >= 0) close(fd);
    }
};

// Changes a root's store: takes the exclusive lock on its folder, reads the file afresh, lets
// change alter it and, when change answers 1, replaces the file whole by a flushed temporary one.
// ERROR_ACCESS_DENIED, the old file left as it was, when the folder or the file cannot be made,
// read or written.
LSTATUS ChangeStore(HKEY root, const std::function<int(RegStore*)>& change) {
    if (g_writeHook && !g_writeHook()) return ERROR_ACCESS_DENIED;
    std::string path;
    if (!StoreFolder(root, &path)) return ERROR_ACCESS_DENIED;
    MakeFolders(path);
    const StoreDir held = {open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    const int dir = held.fd;
    if (dir < 0) return ERROR_ACCESS_DENIED;
    int locked;
    while ((locked = flock(dir, LOCK_EX)) != 0 && errno == EINTR) {
    }
    const std::string name = std::string(RootName(root)) + ".reg";
    LSTATUS status = ERROR_ACCESS_DENIED;
    RegStore store;
    if (locked == 0 && ReadStoreFile(dir, path, root, &store)) {
        if (!change(&store)) {
            status = ERROR_SUCCESS;
        } else {
            // The program's one file writer, under the lock: a settings file that is a link (to
            // a folder of the user's configuration files) stays a link, and the file the user's.
            const std::string text = FormatStore(store, RootName(root));
            if (WriteWholeFile((path + "/" + name).c_str(), text.data(), text.size(), 0600))
                status = ERROR_SUCCESS;
        }
    }
    return status;
}
