#include "smtp_peer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

extern char** environ;

static const char kPython[] = "/usr/bin/python3";
// Python and aiosmtpd start in well under a second; the margin is for a loaded machine.
static const int kStartMs = 30000;

// Starts `args` (args[0] a path) with stdout and, when `quiet`, stderr on /dev/null; the pid,
// or -1.
static pid_t SpawnProc(const std::vector<std::string>& args, int quiet) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back((char*)a.c_str());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t acts;
    posix_spawn_file_actions_init(&acts);
    posix_spawn_file_actions_addopen(&acts, 1, "/dev/null", O_WRONLY, 0);
    if (quiet) posix_spawn_file_actions_addopen(&acts, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &acts, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&acts);
    return pid;
}

int CanRunSmtpPeer() {
    static const int can = [] {
        const pid_t pid = SpawnProc({kPython, "-c", "import aiosmtpd"}, 1);
        int status = 0;
        return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
               WEXITSTATUS(status) == 0;
    }();
    return can;
}

// Waits until file `name` is in folder `dir` (the peer renames it there once it listens), the
// process behind `pidFd` ends, or kStartMs pass. Returns 1 when the file is there.
static int AwaitFile(const std::string& dir, const std::string& name, int pidFd, std::string* why) {
    const int ino = inotify_init1(IN_CLOEXEC);
    inotify_add_watch(ino, dir.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartMs);
    int found = 0;
    // The file is looked for after the watch is set, so a rename in between is not missed.
    while (!(found = FileExists(dir + "/" + name))) {
        const long left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd fds[2] = {{ino, POLLIN, 0}, {pidFd, POLLIN, 0}};
        if (left <= 0 || poll(fds, 2, (int)left) < 0) {
            *why = "the SMTP peer wrote no port file in time";
            break;
        }
        if (fds[1].revents) {
            *why = "the SMTP peer ended before it listened (its error is above)";
            break;
        }
        char events[4096];
        if (fds[0].revents && read(ino, events, sizeof events) < 0) break;
    }
    close(ino);
    return found;
}

SmtpPeer::SmtpPeer(const std::vector<std::string>& args) {
    out = dir.File("out");
    mkdir(out.c_str(), 0700);
    std::vector<std::string> cmd = {kPython,       QUILLET_SOURCE_DIR "/tests/server/smtp_peer.py",
                                    "--port-file", dir.File("port"),
                                    "--out",       out};
    cmd.insert(cmd.end(), args.begin(), args.end());
    pid = SpawnProc(cmd, 0);
    if (pid < 0) {
        why = "cannot start " + std::string(kPython);
        return;
    }
    // A descriptor that becomes readable when the peer ends (glibc's wrapper lacks C linkage).
    const int pidFd = (int)syscall(SYS_pidfd_open, pid, 0);
    if (AwaitFile(dir.path, "port", pidFd, &why))
        port = atoi(ReadFileText(dir.File("port")).c_str());
    close(pidFd);
}

SmtpPeer::~SmtpPeer() {
    if (pid < 0) return;
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

// Appends code point `cp` to `out` as UTF-8.
static void AppendUtf8(unsigned cp, std::string* out) {
    if (cp < 0x80) {
        *out += (char)cp;
    } else if (cp < 0x800) {
        *out += (char)(0xc0 | cp >> 6);
        *out += (char)(0x80 | (cp & 0x3f));
    } else if (cp < 0x10000) {
        *out += (char)(0xe0 | cp >> 12);
        *out += (char)(0x80 | ((cp >> 6) & 0x3f));
        *out += (char)(0x80 | (cp & 0x3f));
    } else {
        *out += (char)(0xf0 | cp >> 18);
        *out += (char)(0x80 | ((cp >> 12) & 0x3f));
        *out += (char)(0x80 | ((cp >> 6) & 0x3f));
        *out += (char)(0x80 | (cp & 0x3f));
    }
}

// The four hex digits at s[*at] as a number, *at moved past them; -1 when they are not that.
static long ReadHex4(const std::string& s, size_t* at) {
    if (*at + 4 > s.size()) return -1;
    const std::string hex = s.substr(*at, 4);
    char* end = nullptr;
    const long v = strtol(hex.c_str(), &end, 16);
    if (*end || hex.find_first_of("+- ") != std::string::npos) return -1;
    *at += 4;
    return v;
}

// Moves *at past the spaces at s[*at].
static void SkipJsonSpace(const std::string& s, size_t* at) {
    while (*at < s.size() && (s[*at] == ' ' || s[*at] == '\n')) ++*at;
}

// Moves *at past `c` and the spaces after it; 0 when s[*at] is not `c`.
static int EatJson(const std::string& s, size_t* at, char c) {
    if (*at >= s.size() || s[*at] != c) return 0;
    ++*at;
    SkipJsonSpace(s, at);
    return 1;
}

// The JSON string starting at s[*at] (its quote) into *out, *at moved past it.
static int ReadJsonStr(const std::string& s, size_t* at, std::string* out) {
    if (*at >= s.size() || s[*at] != '"') return 0;
    out->clear();
    size_t i = *at + 1;
    while (i < s.size() && s[i] != '"') {
        if (s[i] != '\\') {
            *out += s[i++];
            continue;
        }
        const char e = i + 1 < s.size() ? s[i + 1] : 0;
        i += 2;
        const char* plain = e ? strchr("\"\\/bfnrt", e) : nullptr;
        if (plain) {
            *out += "\"\\/\b\f\n\r\t"[plain - "\"\\/bfnrt"];
            continue;
        }
        long cp = e == 'u' ? ReadHex4(s, &i) : -1;
        // A character beyond the first plane comes as a pair of surrogates.
        if (cp >= 0xd800 && cp < 0xdc00 && s.compare(i, 2, "\\u") == 0) {
            i += 2;
            const long lo = ReadHex4(s, &i);
            cp = lo >= 0xdc00 && lo < 0xe000 ? 0x10000 + ((cp - 0xd800) << 10) + (lo - 0xdc00) : -1;
        }
        if (cp < 0) return 0;
        AppendUtf8((unsigned)cp, out);
    }
    if (i >= s.size()) return 0;
    *at = i + 1;
    SkipJsonSpace(s, at);
    return 1;
}

// A list of strings at s[*at] into *val, its items joined by ",".
static int ReadJsonList(const std::string& s, size_t* at, std::string* val) {
    val->clear();
    if (!EatJson(s, at, '[')) return 0;
    if (EatJson(s, at, ']')) return 1;
    for (std::string item;; *val += ",") {
        if (!ReadJsonStr(s, at, &item)) return 0;
        *val += item;
        if (EatJson(s, at, ']')) return 1;
        if (!EatJson(s, at, ',')) return 0;
    }
}

std::map<std::string, std::string> ReadPeerJson(const SmtpPeer& peer, int n) {
    const std::string s = ReadFileText(peer.out + "/" + std::to_string(n) + ".json");
    std::map<std::string, std::string> fields;
    size_t at = 0;
    if (!EatJson(s, &at, '{')) return {};
    for (;;) {
        std::string key, val;
        if (!ReadJsonStr(s, &at, &key) || !EatJson(s, &at, ':')) return {};
        if (s.compare(at, 4, "null") == 0)
            at += 4;
        else if (s.compare(at, 1, "[") == 0 ? ReadJsonList(s, &at, &val)
                                            : ReadJsonStr(s, &at, &val))
            fields[key] = val;
        else
            return {};
        if (EatJson(s, &at, '}')) return fields;
        if (!EatJson(s, &at, ',')) return {};
    }
}
