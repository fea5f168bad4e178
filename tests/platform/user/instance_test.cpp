// What the program entry needs at start-up: the command line and its argument text, finding the
// window of a running instance (in this process and in another one, by starting this test
// program as that other instance), and window placement.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "platform/kernel/kernel.h"
#include "platform/user/window.h"
#include "support/testutil.h"

namespace {

constexpr const char* kProbe = "QuilletProbe";
constexpr const char* kChildVar = "QUILLET_PROBE_CHILD";
constexpr int kChildMs = 20000;  // the longest a child may take; it ends far sooner

HWND g_activeWnd;  // the probe window WM_ACTIVATE last called active

// Keeps g_activeWnd and wakes the message loop to look at it.
LRESULT ProbeProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ACTIVATE) {
        if (LOWORD(wp) == WA_ACTIVE) {
            g_activeWnd = wnd;
        } else if (g_activeWnd == wnd) {
            g_activeWnd = nullptr;
        }
        PostMessageA(nullptr, WM_USER, 0, 0);
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

// Registers the probe class once; the window system and its application exist from then on.
void RegisterProbeClass() {
    WNDCLASSEXA cls{};
    if (GetClassInfoExA(nullptr, kProbe, &cls)) return;
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = ProbeProc;
    cls.lpszClassName = kProbe;
    ASSERT_TRUE(RegisterClassExA(&cls));
}

HWND MakeProbe(const char* title, HWND parent = nullptr, DWORD style = 0) {
    return CreateWindowExA(0, kProbe, title, style, 10, 20, 120, 80, parent, nullptr, nullptr,
                           nullptr);
}

long CountEntries(const std::string& dir) {
    const std::filesystem::directory_iterator entries(dir);
    return std::distance(begin(entries), end(entries));
}

// Runs this test program as another instance: only helper test `test` runs there.
void StartChild(QProcess& child, const char* test) {
    char exe[4096];
    ASSERT_GT(GetModuleFileNameA(nullptr, exe, sizeof exe), 0u);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kChildVar, "1");
    child.setProcessEnvironment(env);
    child.setProgram(exe);
    child.setArguments({QString("--gtest_filter=") + test});
    child.start();
    ASSERT_TRUE(child.waitForStarted(kChildMs));
}

// The rest of the child's first output line that starts with prefix; "(none)" when it ends or
// takes too long without one.
std::string WaitForLine(QProcess& child, const std::string& prefix) {
    const QDeadlineTimer deadline(kChildMs);
    for (;;) {
        while (child.canReadLine()) {
            const std::string line = child.readLine().trimmed().toStdString();
            if (line.rfind(prefix + " ", 0) == 0) return line.substr(prefix.size() + 1);
        }
        if (deadline.hasExpired() || !child.waitForReadyRead(int(deadline.remainingTime())))
            return "(none)";
    }
}

// Lets the window system answer other instances until the child ends.
void ServeUntilFinished(QProcess& child) {
    if (child.state() == QProcess::NotRunning) return;
    QEventLoop loop;
    QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(kChildMs, &loop, &QEventLoop::quit);
    loop.exec();
}

// Sends request straight to the socket at path and answers other instances until the reply
// comes: the reply line, or "(closed)" when the connection ends without one.
std::string AskSocket(const std::string& path, const std::string& request) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        send(fd, request.data(), request.size(), MSG_NOSIGNAL) != ssize_t(request.size())) {
        close(fd);
        return "(not sent)";
    }
    QEventLoop loop;
    QSocketNotifier reply(fd, QSocketNotifier::Read);
    QObject::connect(&reply, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    QTimer::singleShot(kChildMs, &loop, &QEventLoop::quit);
    loop.exec();
    char buf[64] = "";
    const ssize_t n = recv(fd, buf, sizeof buf - 1, MSG_DONTWAIT);
    close(fd);
    if (n <= 0) return "(closed)";
    return std::string(buf, strcspn(buf, "\n"));
}

// The probe window's show state and whether it is the active one.
std::string DescribePlacement(HWND wnd) {
    WINDOWPLACEMENT wp;
    if (!GetWindowPlacement(wnd, &wp)) return "(none)";
    return std::to_string(wp.showCmd) + " " + (g_activeWnd == wnd ? "active" : "inactive");
}

// Each test has its own socket folder, shared with the instances it starts.
struct InstanceTest : ::testing::Test {
    TempDir runtime;
    std::string oldRuntime;
    bool hadRuntime = false;
    void SetUp() override {
        const char* old = getenv("XDG_RUNTIME_DIR");
        hadRuntime = old != nullptr;
        if (old) oldRuntime = old;
        setenv("XDG_RUNTIME_DIR", runtime.path.c_str(), 1);
        RegisterProbeClass();
    }
    void TearDown() override {
        if (hadRuntime) {
            setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
    }
};

}  // namespace

TEST(CommandLine, JoinsTheArguments) {
    RegisterProbeClass();  // PlatInitApp then leaves the application made alone
    static const struct {
        const char* name;
        std::vector<const char*> args;
        const char* line;
    } rows[] = {
        {"plain", {"/usr/bin/quillet", "x.bmp", "y.jpg"}, "/usr/bin/quillet x.bmp y.jpg"},
        {"blanks quoted",
         {"/usr/bin/quillet", "/tmp/a b.jpg", "x.bmp"},
         "/usr/bin/quillet \"/tmp/a b.jpg\" x.bmp"},
        {"hand-over from the sibling program", {"/T /tmp/a b.jpg"}, "\"/T /tmp/a b.jpg\""},
        {"an empty argument stays one", {"quillet", "", "x"}, "quillet \"\" x"},
        {"program alone", {"/usr/bin/quillet"}, "/usr/bin/quillet"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> store(row.args.begin(), row.args.end());
        std::vector<char*> argv;
        for (std::string& a : store) argv.push_back(a.data());
        argv.push_back(nullptr);
        int argc = int(store.size());
        PlatInitApp(&argc, argv.data());
        EXPECT_STREQ(GetCommandLineA(), row.line);
    }
    PlatSetCommandLine("\"/T /x.jpg\"");
    EXPECT_STREQ(GetCommandLineA(), "\"/T /x.jpg\"");
    PlatSetCommandLine(nullptr);
    EXPECT_STREQ(GetCommandLineA(), "/usr/bin/quillet");
}

TEST(CommandLine, ArgumentTextFollowsTheProgramName) {
    static const struct {
        const char* name;
        const char* line;
        const char* args;
    } rows[] = {
        {"quoted program name", "\"/opt/my app/quillet\" a.jpg  b", "a.jpg  b"},
        {"unquoted program name", "/usr/bin/quillet \"/tmp/a b.jpg\"", "\"/tmp/a b.jpg\""},
        {"hand-over form", "\"/T /tmp/a b.jpg\"", ""},
        {"trailing blanks", "quillet \t  ", ""},
        {"blanks before the arguments", "quillet   x", "x"},
        {"program alone", "quillet", ""},
        {"unclosed quote", "\"quillet x", ""},
        {"empty line", "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const char* args = GetCmdArgText(row.line);
        EXPECT_STREQ(args, row.args);
        // A pointer into the line, as the original handed it over.
        EXPECT_EQ(args, row.line + strlen(row.line) - strlen(row.args));
    }
    EXPECT_STREQ(GetCmdArgText(nullptr), "");
}

// A top-level window of this process is found; a child or a destroyed window is not, and no
// other instance is asked about a class this process answers for.
TEST_F(InstanceTest, FindsTopLevelWindowsOfThisProcess) {
    EXPECT_EQ(CountEntries(runtime.path), 0);
    HWND main = MakeProbe("Main");
    HWND kid = MakeProbe("Kid", main, WS_CHILD);
    HWND gone = MakeProbe("Gone");
    HWND owned = MakeProbe("Owned", main);
    ASSERT_TRUE(main && kid && gone && owned);
    EXPECT_EQ(CountEntries(runtime.path), 1);  // one socket for the class
    DestroyWindow(gone);
    EXPECT_EQ(FindWindowA(kProbe, "Main"), main);
    EXPECT_EQ(FindWindowA(nullptr, "Main"), main);
    EXPECT_EQ(FindWindowA(kProbe, "Owned"), owned);
    EXPECT_EQ(FindWindowA(kProbe, "Kid"), nullptr);
    EXPECT_EQ(FindWindowA(kProbe, "Gone"), nullptr);
    EXPECT_EQ(FindWindowA("NoSuchClass", nullptr), nullptr);
    EXPECT_EQ(CountEntries(runtime.path), 1);
    // With the last window the socket goes.
    DestroyWindow(main);
    EXPECT_EQ(CountEntries(runtime.path), 0);
    EXPECT_EQ(FindWindowA(kProbe, "Main"), nullptr);
}

// The other instance: a probe window shown minimised behind another window of the program. It
// serves requests until standard input closes, and tells how the probe window ended up.
TEST(InstanceChild, Serve) {
    if (!getenv(kChildVar)) GTEST_SKIP() << "runs as another instance of the cross-process tests";
    RegisterProbeClass();
    HWND probe = MakeProbe(kProbe);
    HWND other = MakeProbe("Other");
    ASSERT_TRUE(probe && other);
    static bool timedOut;
    QTimer::singleShot(kChildMs, [] {
        timedOut = true;
        PostQuitMessage(1);
    });
    ShowWindow(probe, SW_SHOWMINIMIZED);
    ShowWindow(other, SW_SHOW);
    SetForegroundWindow(other);
    // Activating the probe window is left to the requests.
    MSG msg;
    while (g_activeWnd != other && GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
    printf("probe-ready %s\n", DescribePlacement(probe).c_str());
    fflush(stdout);
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&input] {
        char c;
        if (read(0, &c, 1) > 0) return;
        input.setEnabled(false);
        PostQuitMessage(0);
    });
    while (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
    PumpMsgs();
    printf("probe-done %s\n", DescribePlacement(probe).c_str());
    fflush(stdout);
    EXPECT_FALSE(timedOut);
}

// Another instance started now: whether it finds the probe window and gets it restored.
TEST(InstanceChild, Find) {
    if (!getenv(kChildVar)) GTEST_SKIP() << "runs as another instance of the cross-process tests";
    HWND found = FindWindowA(kProbe, kProbe);
    printf("probe-found %d %d\n", found != nullptr, found && ShowWindow(found, SW_RESTORE));
    fflush(stdout);
}

TEST_F(InstanceTest, RunningInstanceRestoresAndRaisesItsWindow) {
    QProcess child;
    StartChild(child, "InstanceChild.Serve");
    ASSERT_EQ(WaitForLine(child, "probe-ready"), "2 inactive");
    HWND found = FindWindowA(kProbe, kProbe);
    ASSERT_NE(found, nullptr);
    EXPECT_NE(FindWindowA(kProbe, nullptr), nullptr);
    EXPECT_EQ(FindWindowA(kProbe, kProbe), found);  // one handle for the same window
    EXPECT_EQ(FindWindowA(kProbe, "No such title"), nullptr);
    // Not a window of this process: only the requests below act on it.
    RECT r;
    EXPECT_FALSE(IsWindow(found));
    EXPECT_FALSE(IsWindowVisible(found));
    EXPECT_FALSE(GetWindowRect(found, &r));
    EXPECT_FALSE(PostMessageA(found, WM_USER, 0, 0));
    EXPECT_EQ(GetDC(found), nullptr);
    EXPECT_FALSE(DestroyWindow(found));
    EXPECT_FALSE(ShowWindow(found, SW_HIDE));
    EXPECT_TRUE(ShowWindow(found, SW_RESTORE));
    EXPECT_TRUE(SetForegroundWindow(found));
    child.closeWriteChannel();
    EXPECT_EQ(WaitForLine(child, "probe-done"), "1 active");
    ASSERT_TRUE(child.waitForFinished(kChildMs));
    EXPECT_EQ(child.exitCode(), 0);
}

// What the listener cannot use is refused, also a request without end, and it goes on answering.
TEST_F(InstanceTest, ListenerRefusesMalformedRequests) {
    HWND mine = MakeProbe(kProbe);
    ASSERT_NE(mine, nullptr);
    ASSERT_EQ(CountEntries(runtime.path), 1);
    const std::string sock = std::filesystem::directory_iterator(runtime.path)->path().string();
    static const struct {
        const char* name;
        std::string request;
        const char* reply;
    } rows[] = {
        {"not a request", "HELLO\n", "ERR"},
        {"unknown verb", "CLOSE QuilletProbe QuilletProbe\n", "ERR"},
        {"too many fields", "FIND QuilletProbe a b\n", "ERR"},
        {"line without end", std::string(10000, 'x'), "(closed)"},
        {"another title", "FIND QuilletProbe Other\n", "NO"},
        {"any title", "FIND QuilletProbe *\n", "YES"},
        {"blank title encoded", "FIND QuilletProbe%20 QuilletProbe\n", "NO"},
        {"still answering", "FIND QuilletProbe QuilletProbe\n", "YES"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(AskSocket(sock, row.request), row.reply);
    }
    DestroyWindow(mine);
}

// An instance that was killed leaves its socket behind: nothing is found there, and the next
// instance listens in its place.
TEST_F(InstanceTest, StaleSocketIsReplaced) {
    QProcess crashed;
    StartChild(crashed, "InstanceChild.Serve");
    ASSERT_NE(WaitForLine(crashed, "probe-ready"), "(none)");
    kill(pid_t(crashed.processId()), SIGKILL);
    ASSERT_TRUE(crashed.waitForFinished(kChildMs));
    ASSERT_EQ(CountEntries(runtime.path), 1);
    EXPECT_EQ(FindWindowA(kProbe, kProbe), nullptr);

    HWND mine = MakeProbe(kProbe);
    ASSERT_NE(mine, nullptr);
    QProcess finder;
    StartChild(finder, "InstanceChild.Find");
    ServeUntilFinished(finder);
    EXPECT_EQ(WaitForLine(finder, "probe-found"), "1 1");
    DestroyWindow(mine);
}

// An instance that takes the request but does not answer counts as running, so that a second
// start does not open beside it; what is asked of it fails.
TEST_F(InstanceTest, SilentInstanceCountsAsRunning) {
    QProcess child;
    StartChild(child, "InstanceChild.Serve");
    ASSERT_NE(WaitForLine(child, "probe-ready"), "(none)");
    kill(pid_t(child.processId()), SIGSTOP);
    HWND found = FindWindowA(kProbe, kProbe);
    EXPECT_NE(found, nullptr);
    EXPECT_FALSE(SetForegroundWindow(found));
    kill(pid_t(child.processId()), SIGKILL);
    EXPECT_TRUE(child.waitForFinished(kChildMs));
}

TEST_F(InstanceTest, PlacementTellsStateAndNormalRectangle) {
    HWND wnd = MakeProbe("Placed");
    ASSERT_NE(wnd, nullptr);
    ShowWindow(wnd, SW_SHOW);
    static const struct {
        const char* name;
        int cmd;
        UINT showCmd;
    } rows[] = {
        {"normal", SW_SHOW, SW_SHOWNORMAL},
        {"maximised", SW_SHOWMAXIMIZED, SW_SHOWMAXIMIZED},
        {"minimised", SW_SHOWMINIMIZED, SW_SHOWMINIMIZED},
        {"restored", SW_RESTORE, SW_SHOWNORMAL},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ShowWindow(wnd, row.cmd);
        PumpMsgs();
        WINDOWPLACEMENT wp;
        memset(&wp, 0xAB, sizeof wp);
        ASSERT_TRUE(GetWindowPlacement(wnd, &wp));
        EXPECT_EQ(wp.length, 44u);
        EXPECT_EQ(wp.flags, 0u);
        EXPECT_EQ(wp.showCmd, row.showCmd);
        EXPECT_EQ(wp.ptMinPosition.x, -1);
        EXPECT_EQ(wp.ptMinPosition.y, -1);
        EXPECT_EQ(wp.ptMaxPosition.x, -1);
        EXPECT_EQ(wp.ptMaxPosition.y, -1);
        const RECT& r = wp.rcNormalPosition;
        EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right, r.bottom}),
                  std::vector<LONG>({10, 20, 130, 100}));
    }
    DestroyWindow(wnd);
    WINDOWPLACEMENT wp;
    EXPECT_FALSE(GetWindowPlacement(wnd, &wp));
    EXPECT_FALSE(GetWindowPlacement(nullptr, &wp));
}
