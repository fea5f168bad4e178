// The program folder and the application folder.
#include "app/folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "app/appstate.h"
#include "platform/kernel/fileapi.h"
#include "platform/kernel/kernel.h"
#include "support/testutil.h"

namespace {

TEST(GetAppPath, FolderKeepsItsTrailingSeparator) {
    struct Case {
        const char* program;
        int ok;
        const char* dir;
    };
    const std::string long259 = "/" + std::string(250, 'd') + "/quillet";  // 259 bytes
    const std::string long260 = "/" + std::string(251, 'd') + "/quillet";  // cut at 259
    const Case cases[] = {
        {"/opt/tools/quillet", 1, "/opt/tools/"},
        {"/quillet", 1, "/"},
        {long259.c_str(), 1, nullptr},
        {long260.c_str(), 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        memset(g_app.ModuleDir, 0, MAX_PATH);
        PlatSetModulePath(c.program);
        EXPECT_EQ(GetAppPath(), c.ok);
        if (!c.ok) continue;
        if (c.dir) {
            EXPECT_STREQ(g_app.ModuleDir, c.dir);
        } else {
            EXPECT_EQ(strlen(g_app.ModuleDir), strlen(c.program) - 7);
        }
    }
    PlatSetModulePath(nullptr);
}

TEST(GetAppFolder, DataFolderAndApplicationFolder) {
    struct Case {
        const char* xdg;
        const char* home;
        int ok;
        const char* data;
    };
    const Case cases[] = {
        {"/tmp/d", "/home/u", 1, "/tmp/d"},
        {"/tmp/d/", "/home/u", 1, "/tmp/d"},
        {nullptr, "/home/u", 1, "/home/u/.local/share"},
        {"relative", "/home/u", 1, "/home/u/.local/share"},
        {nullptr, nullptr, 0, nullptr},
    };
    const char* home = getenv("HOME");
    const std::string savedHome = home ? home : "";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data ? c.data : "none");
        c.xdg ? setenv("XDG_DATA_HOME", c.xdg, 1) : unsetenv("XDG_DATA_HOME");
        c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
        EXPECT_EQ(GetAppFolder(), c.ok);
        if (!c.ok) continue;
        EXPECT_STREQ(g_app.AppDataPath, c.data);
        EXPECT_EQ(std::string(g_app.AppFolder), std::string(c.data) + "/Halvorne/Quillet/");
    }
    setenv("HOME", savedHome.c_str(), 1);
    unsetenv("XDG_DATA_HOME");
}

TEST(CreateDir, PrivateFoldersAndRepeatable) {
    TempDir dir;
    const std::string data = dir.path + "/fresh/share";  // not there yet on a new account
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    ASSERT_EQ(GetAppFolder(), 1);
    EXPECT_EQ(CreateDir(), 1);
    struct stat st;
    ASSERT_EQ(stat(g_app.AppFolder, &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_TRUE(WriteFileBytes(std::string(g_app.AppFolder) + "temp.bmp", {1, 2, 3}));
    EXPECT_EQ(CreateDir(), 1);  // both folders exist: nothing changes
    EXPECT_TRUE(FileExists(std::string(g_app.AppFolder) + "temp.bmp"));
    char path[MAX_PATH];
    ASSERT_EQ(MakeAppFilePath("log.log", path), 1);
    EXPECT_EQ(std::string(path), data + "/Halvorne/Quillet/log.log");
    // A data folder that is a file: the application folder cannot be made, and CreateDir says so.
    ASSERT_TRUE(WriteFileBytes(dir.File("plain"), {1}));
    setenv("XDG_DATA_HOME", dir.File("plain").c_str(), 1);
    ASSERT_EQ(GetAppFolder(), 1);
    EXPECT_EQ(CreateDir(), 0);
    unsetenv("XDG_DATA_HOME");
}

// The application folder holds the log with the password: one of the user's own that was made
// with wider rights is made private, someone else's is left as it is.
// Another user's folder is pretended through the user seam: changing its owner would need root.
TEST(CreateDir, TightensTheUsersOwnFolder) {
    const struct {
        const char* name;
        long user;  // the user the program counts as running as
        unsigned mode;
    } rows[] = {
        {"the user's own", -1, 0700u},
        {"someone else's", long(geteuid()) + 1, 0755u},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        setenv("XDG_DATA_HOME", dir.path.c_str(), 1);
        ASSERT_EQ(GetAppFolder(), 1);
        ASSERT_EQ(CreateDir(), 1);
        ASSERT_EQ(chmod(g_app.AppFolder, 0755), 0);
        PlatSetUserId(row.user);
        EXPECT_EQ(CreateDir(), 1);
        PlatSetUserId(-1);
        struct stat st;
        ASSERT_EQ(stat(g_app.AppFolder, &st), 0);
        EXPECT_EQ(st.st_mode & 07777, row.mode);
    }
    unsetenv("XDG_DATA_HOME");
}

}  // namespace
