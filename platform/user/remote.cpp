// One instance per user: this process answers for its top-level windows on a local socket for
// each window class, and asks the instance that answers for a class about its windows.
//
// The socket is "quillet-<user id>-<class name, percent-encoded>" in $XDG_RUNTIME_DIR, or in the
// temporary folder when that is not set. Each connection carries one request line and its
// answer line; names travel percent-encoded, "*" stands for any title:
//   FIND <class> <title>        -> YES | NO
//   RESTORE <class> <title>     -> OK | NO     (show normally and raise)
//   FOREGROUND <class> <title>  -> OK | NO     (raise and activate)
// The listener answers in the Qt event loop, which the program's message loop runs while it
// waits.
#include "platform/user/remote.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QList>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/user/records.h"

namespace {

constexpr int kAnswerMs = 2000;         // how long a request waits for its answer
constexpr int kMaxRequest = 4096;       // a longer request line ends the connection
constexpr const char* kAnyTitle = "*";  // percent-encoding never yields a bare "*"

struct Listener {
    std::string cls;
    std::string path;
    int fd;
    ino_t ino;  // the socket file this listener made: another instance's is never removed
    QSocketNotifier* notifier;
};

struct RemoteWnd {
    WndRec rec;  // no widget; the title is its text
    std::string cls;
    bool anyTitle;
};

std::vector<Listener*>& g_listeners = *new std::vector<Listener*>;
// Records are never freed, as local ones; one per class and title asked for.
std::vector<RemoteWnd*>& g_remotes = *new std::vector<RemoteWnd*>;

std::string GetSocketPath(const std::string& cls) {
    const char* runtime = getenv("XDG_RUNTIME_DIR");
    const std::string dir =
        runtime && *runtime ? std::string(runtime) : QDir::tempPath().toStdString();
    return dir + "/quillet-" + std::to_string(getuid()) + "-" +
           QByteArray::fromStdString(cls).toPercentEncoding().toStdString();
}

bool MakeAddr(const std::string& path, sockaddr_un* addr) {
    *addr = sockaddr_un{};
    addr->sun_family = AF_UNIX;
    if (path.size() >= sizeof addr->sun_path) return false;
    memcpy(addr->sun_path, path.c_str(), path.size() + 1);
    return true;
}

int NewSocket() {
    return socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

Listener* FindListener(const std::string& cls) {
    for (Listener* l : g_listeners)
        if (l->cls == cls) return l;
    return nullptr;
}

enum PeerState { PEER_NONE, PEER_STALE, PEER_LIVE };

// Connects to the socket at path. PEER_LIVE when an instance listens there (*fd is the
// connection, or -1 when its queue of connections is full: it does not keep up); PEER_STALE
// when the socket is left over from an instance that ended; PEER_NONE when there is none.
PeerState ConnectPeer(const std::string& path, int* fd) {
    *fd = -1;
    sockaddr_un addr;
    if (!MakeAddr(path, &addr)) return PEER_NONE;
    const int s = NewSocket();
    if (s < 0) return PEER_NONE;
    if (connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
        *fd = s;
        return PEER_LIVE;
    }
    const int err = errno;
    close(s);
    if (err == EAGAIN) return PEER_LIVE;
    return err == ECONNREFUSED ? PEER_STALE : PEER_NONE;
}

int GetRemainingMs(const QDeadlineTimer& deadline) {
    return int(std::max<qint64>(deadline.remainingTime(), 0));
}

// Writes all of text; false on failure or when the deadline passes.
bool SendAll(int fd, const std::string& text, const QDeadlineTimer& deadline) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return false;
        pollfd p{fd, POLLOUT, 0};
        if (poll(&p, 1, GetRemainingMs(deadline)) <= 0) return false;
    }
    return true;
}

// Reads one line without its newline: 1 with the line, 0 when the deadline passed first, -1
// when the peer closed the connection or it failed.
int ReadLine(int fd, std::string* line, const QDeadlineTimer& deadline) {
    line->clear();
    for (;;) {
        char buf[256];
        const ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n > 0) {
            line->append(buf, size_t(n));
            const size_t end = line->find('\n');
            if (end != std::string::npos) {
                line->resize(end);
                return 1;
            }
            if (line->size() > size_t(kMaxRequest)) return -1;
            continue;
        }
        if (n == 0) return -1;
        if (errno == EINTR) continue;
        if (errno != EAGAIN) return -1;
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, GetRemainingMs(deadline));
        if (ready == 0) return 0;
        if (ready < 0 && errno != EINTR) return -1;
    }
}

std::string MakeRequest(const char* verb, const std::string& cls, bool anyTitle,
                        const std::string& title) {
    const std::string encTitle =
        anyTitle ? kAnyTitle : QByteArray::fromStdString(title).toPercentEncoding().toStdString();
    return std::string(verb) + " " +
           QByteArray::fromStdString(cls).toPercentEncoding().toStdString() + " " + encTitle + "\n";
}

// Sends a request to the instance answering for class cls. 1 with its answer; 0 when no
// instance answers for the class; -1 when one is there but gave no answer in time.
int AskInstance(const std::string& cls, const std::string& request, std::string* answer) {
    const std::string path = GetSocketPath(cls);
    // Only a socket of this user is asked: in a shared folder another user's could pose as it.
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return 0;
    if (!S_ISSOCK(st.st_mode) || st.st_uid != getuid()) {
        fprintf(stderr, "%s is not this user's socket: not asked\n", path.c_str());
        return 0;
    }
    int fd;
    if (ConnectPeer(path, &fd) != PEER_LIVE) return 0;
    if (fd < 0) return -1;
    const QDeadlineTimer deadline(kAnswerMs);
    const int got = SendAll(fd, request, deadline) ? ReadLine(fd, answer, deadline) : -1;
    close(fd);
    return got == 1 ? 1 : -1;
}

// The answer to one request line from another instance.
const char* AnswerRequest(const QByteArray& line) {
    const QList<QByteArray> f = line.split(' ');
    if (f.size() != 3) return "ERR";
    const std::string cls = QByteArray::fromPercentEncoding(f[1]).toStdString();
    const std::string title = QByteArray::fromPercentEncoding(f[2]).toStdString();
    HWND wnd = FindLocalWnd(cls.c_str(), f[2] == kAnyTitle ? nullptr : title.c_str());
    if (f[0] == "FIND") return wnd ? "YES" : "NO";
    if (!wnd) return "NO";
    if (f[0] == "RESTORE") {
        ShowWindow(wnd, SW_RESTORE);
        return "OK";
    }
    if (f[0] == "FOREGROUND") {
        SetForegroundWindow(wnd);
        return "OK";
    }
    return "ERR";
}

// Reads a connection's request as it arrives and answers it; the connection ends then, or when
// the peer goes or sends too much.
void ServeConnection(int fd) {
    auto* notifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read);
    auto* request = new QByteArray;
    auto end = [fd, notifier, request] {
        notifier->setEnabled(false);
        notifier->deleteLater();
        close(fd);
        delete request;
    };
    QObject::connect(notifier, &QSocketNotifier::activated, [fd, request, end] {
        char buf[256];
        ssize_t n = 0;
        while (request->size() <= kMaxRequest && !request->contains('\n') &&
               (n = recv(fd, buf, sizeof buf, 0)) > 0)
            request->append(buf, n);
        const qsizetype eol = request->indexOf('\n');
        // The rest of the line is still to come.
        if (eol < 0 && request->size() <= kMaxRequest && n < 0 &&
            (errno == EAGAIN || errno == EINTR))
            return;
        if (eol >= 0 && eol <= kMaxRequest) {
            const std::string answer = std::string(AnswerRequest(request->left(eol))) + "\n";
            SendAll(fd, answer, QDeadlineTimer(kAnswerMs));
        }
        end();
    });
}

// Whether the process at the other end of a connection runs as this user.
bool IsOwnUser(int fd) {
    ucred cred{};
    socklen_t len = sizeof cred;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 && cred.uid == getuid();
}

void AcceptConnections(Listener* l) {
    int fd;
    while ((fd = accept4(l->fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0) {
        if (IsOwnUser(fd)) {
            ServeConnection(fd);
        } else {
            close(fd);
        }
    }
}

// Removes a listener's socket file unless another instance has put its own there since.
void RemoveSocketFile(const Listener* l) {
    struct stat st;
    if (stat(l->path.c_str(), &st) == 0 && st.st_ino == l->ino) unlink(l->path.c_str());
}

// An instance that ends without closing its windows leaves no socket behind.
void RemoveSocketFiles() {
    for (const Listener* l : g_listeners) RemoveSocketFile(l);
}

// Binds fd to the socket path; a stale socket left by an instance that ended is replaced. 1 on
// success, 0 when another instance listens there, -1 on failure.
int BindSocket(int fd, const std::string& path) {
    sockaddr_un addr;
    if (!MakeAddr(path, &addr)) {
        errno = ENAMETOOLONG;
        return -1;
    }
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return 1;
    if (errno != EADDRINUSE) return -1;
    int peer;
    const PeerState state = ConnectPeer(path, &peer);
    if (peer >= 0) close(peer);
    if (state == PEER_LIVE) return 0;
    if (state == PEER_STALE && unlink(path.c_str()) != 0) return -1;
    return bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 ? 1 : -1;
}

}  // namespace

void StartWndListener(const char* className) {
    if (!className || !*className || FindListener(className)) return;
    const std::string path = GetSocketPath(className);
    const int fd = NewSocket();
    const int bound = fd < 0 ? -1 : BindSocket(fd, path);
    struct stat st;
    if (bound == 1 && chmod(path.c_str(), 0600) == 0 && listen(fd, 8) == 0 &&
        stat(path.c_str(), &st) == 0) {
        static bool cleanupSet;
        if (!cleanupSet) cleanupSet = std::atexit(RemoveSocketFiles) == 0;
        auto* l = new Listener{className, path, fd, st.st_ino, nullptr};
        l->notifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read);
        QObject::connect(l->notifier, &QSocketNotifier::activated, [l] { AcceptConnections(l); });
        g_listeners.push_back(l);
        return;
    }
    if (bound != 0) fprintf(stderr, "cannot listen on %s: %s\n", path.c_str(), strerror(errno));
    if (bound == 1) unlink(path.c_str());
    if (fd >= 0) close(fd);
}

void StopWndListener(const char* className) {
    Listener* l = FindListener(className);
    if (!l) return;
    RemoveSocketFile(l);
    l->notifier->setEnabled(false);
    l->notifier->deleteLater();
    close(l->fd);
    std::erase(g_listeners, l);
    delete l;
}

HWND FindRemoteWnd(LPCSTR className, LPCSTR windowName) {
    // This process answers for the class itself: its own windows were looked at already.
    if (!className || !*className || FindListener(className)) return nullptr;
    const bool anyTitle = !windowName;
    const std::string title = windowName ? windowName : "";
    std::string answer;
    const int asked =
        AskInstance(className, MakeRequest("FIND", className, anyTitle, title), &answer);
    // One that is there but does not answer is taken to have the window: a second start must
    // not open a second instance beside a busy one.
    if (asked == 0 || (asked == 1 && answer != "YES")) return nullptr;
    for (RemoteWnd* r : g_remotes)
        if (r->cls == className && r->anyTitle == anyTitle && r->rec.text == title) return &r->rec;
    RemoteWnd* r = new RemoteWnd{WndRec{}, className, anyTitle};
    r->rec.text = title;
    g_remotes.push_back(r);
    return &r->rec;
}

bool IsRemoteWnd(HWND wnd) {
    for (RemoteWnd* r : g_remotes)
        if (&r->rec == wnd) return true;
    return false;
}

BOOL AskRemoteWnd(HWND wnd, RemoteAsk ask) {
    for (RemoteWnd* r : g_remotes) {
        if (&r->rec != wnd) continue;
        const char* verb = ask == REMOTE_RESTORE ? "RESTORE" : "FOREGROUND";
        std::string answer;
        return AskInstance(r->cls, MakeRequest(verb, r->cls, r->anyTitle, r->rec.text), &answer) ==
                   1 &&
               answer == "OK";
    }
    return FALSE;
}
