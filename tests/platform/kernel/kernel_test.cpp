// The kernel services: file search order and wildcards, the program file, code libraries, clock.
#include "platform/kernel/kernel.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed after each test.
class KernelFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "kernel_test_XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override {
        PlatSetModulePath(nullptr);
        fs::remove_all(dir_);
    }
    void MakeFile(const std::string& name, const std::string& bytes = "") {
        std::ofstream(dir_ + "/" + name, std::ios::binary) << bytes;
    }
    std::string dir_;
};

// Runs a whole search and joins the names found with "|"; "(none)" when the search fails.
static std::string ListFind(const std::string& pattern) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return "(none)";
    std::string names = data.cFileName;
    while (FindNextFileA(find, &data)) names += std::string("|") + data.cFileName;
    EXPECT_FALSE(FindNextFileA(find, &data));
    EXPECT_TRUE(FindClose(find));
    return names;
}

using FindFileTest = KernelFolder;

TEST_F(FindFileTest, OrderAndWildcards) {
    for (const char* name : {"zebra", "apple", "_x", "Banana", "B.txt", "a.TXT", "a", "photo.BMP",
                             "x.bmp", "y.bmpx", "\xE5\x86\x99.txt" /* 写.txt */})
        MakeFile(name);
    fs::create_directory(dir_ + "/Sub");
    // A pipe is neither a folder nor a plain file: opening it would block.
    ASSERT_EQ(mkfifo((dir_ + "/pipe.bmp").c_str(), 0600), 0);

    static const struct {
        const char* name;
        const char* form;
        const char* expected;
    } rows[] = {
        {"every name, upper-cased byte order, dots first", "*.*",
         ".|..|a|a.TXT|apple|B.txt|Banana|photo.BMP|Sub|x.bmp|y.bmpx|zebra|_x|\xE5\x86\x99.txt"},
        {"star alone", "*",
         ".|..|a|a.TXT|apple|B.txt|Banana|photo.BMP|Sub|x.bmp|y.bmpx|zebra|_x|\xE5\x86\x99.txt"},
        {"extension in any case", "*.bmp", "photo.BMP|x.bmp"},
        {"upper-case extension", "*.TXT", "a.TXT|B.txt|\xE5\x86\x99.txt"},
        {"question mark takes one whole character", "?.txt", "a.TXT|B.txt|\xE5\x86\x99.txt"},
        {"question mark inside", "b?n*", "Banana"},
        {"trailing dot-star also matches no dot", "a.*", "a|a.TXT"},
        {"prefix", "A*", "a|a.TXT|apple"},
        {"exact name of a folder", "sub", "Sub"},
        {"no match", "*.gif", "(none)"},
        {"empty form", "", "(none)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ListFind(dir_ + "/" + row.form), row.expected);
    }
}

TEST_F(FindFileTest, BackslashSeparatorAndMissingFolder) {
    MakeFile("one.bmp");
    EXPECT_EQ(ListFind(dir_ + "\\*.bmp"), "one.bmp");
    EXPECT_EQ(ListFind(dir_ + "/missing/*.*"), "(none)");
}

TEST_F(FindFileTest, AttributesAndSize) {
    MakeFile("five", "12345");
    fs::create_directory(dir_ + "/folder");
    static const struct {
        const char* name;
        DWORD attrs;
        DWORD size;
    } rows[] = {
        {"five", FILE_ATTRIBUTE_ARCHIVE, 5},
        {"folder", FILE_ATTRIBUTE_DIRECTORY, 0},
        {"..", FILE_ATTRIBUTE_DIRECTORY, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((dir_ + "/" + row.name).c_str(), &data);
        ASSERT_NE(find, INVALID_HANDLE_VALUE);
        EXPECT_STREQ(data.cFileName, row.name);
        EXPECT_EQ(data.dwFileAttributes, row.attrs);
        EXPECT_EQ(data.nFileSizeHigh, 0u);
        EXPECT_EQ(data.nFileSizeLow, row.size);
        FindClose(find);
    }
}

TEST(ModuleFileTest, TruncatesLikeTheOriginal) {
    PlatSetModulePath("/opt/quillet/quillet");  // 20 bytes
    static const struct {
        const char* name;
        DWORD size;
        DWORD ret;
        const char* text;
    } rows[] = {
        {"no room at all", 0, 0, "#"},
        {"room for the terminator only", 1, 1, ""},
        {"cut short", 5, 5, "/opt"},
        {"one byte short", 20, 20, "/opt/quillet/quille"},
        {"exact fit", 21, 20, "/opt/quillet/quillet"},
        {"roomy", MAX_PATH, 20, "/opt/quillet/quillet"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        char buf[MAX_PATH] = "#";
        EXPECT_EQ(GetModuleFileNameA(nullptr, buf, row.size), row.ret);
        EXPECT_STREQ(buf, row.text);
    }
    char buf[MAX_PATH] = "#";
    EXPECT_EQ(GetModuleFileNameA((HANDLE)buf, buf, MAX_PATH), 0u) << "only NULL is known";
    PlatSetModulePath(nullptr);
}

TEST(ModuleFileTest, RealPathNamesThisProgram) {
    char buf[4096];
    DWORD len = GetModuleFileNameA(nullptr, buf, sizeof buf);
    ASSERT_GT(len, 0u);
    EXPECT_EQ(len, strlen(buf));
    EXPECT_EQ(buf[0], '/');
    struct stat mine, self;
    ASSERT_EQ(stat(buf, &mine), 0);
    ASSERT_EQ(stat("/proc/self/exe", &self), 0);
    EXPECT_EQ(mine.st_ino, self.st_ino);
    EXPECT_EQ(mine.st_dev, self.st_dev);
}

using LoadLibraryTest = KernelFolder;

TEST_F(LoadLibraryTest, MissingLibrary) {
    PlatSetModulePath((dir_ + "/quillet").c_str());
    EXPECT_EQ(LoadLibraryA("NoSuchLib.dll"), nullptr);
    EXPECT_EQ(LoadLibraryA(""), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "malloc"), nullptr);
    EXPECT_FALSE(FreeLibrary(nullptr));
}

// The C library's math library is found by the loader's own search, unless the program folder
// holds a file of that name: that one is taken, and a broken one fails the load.
TEST_F(LoadLibraryTest, ProgramFolderComesBeforeLoaderSearch) {
    PlatSetModulePath((dir_ + "/quillet").c_str());
    HMODULE lib = LoadLibraryA("libm.so.6");
    ASSERT_NE(lib, nullptr);
    EXPECT_NE(GetProcAddress(lib, "cos"), nullptr);
    EXPECT_TRUE(FreeLibrary(lib));

    MakeFile("libm.so.6", "not a library");
    EXPECT_EQ(LoadLibraryA("libm.so.6"), nullptr);
}

TEST(CodecLibraryTest, DllNameFoundInProgramFolder) {
    if (!fs::exists(QUILLET_OUT_DIR "/libHlvJpg.so")) GTEST_SKIP() << "codec library not built";
    for (const char* name : {"HlvJpg.dll", "HlvJpg.DLL"}) {
        SCOPED_TRACE(name);
        PlatSetModulePath(QUILLET_OUT_DIR "/quillet");
        HMODULE lib = LoadLibraryA(name);
        ASSERT_NE(lib, nullptr);
        EXPECT_NE(GetProcAddress(lib, "GetJpegFile"), nullptr);
        EXPECT_EQ(GetProcAddress(lib, "NoSuchEntry"), nullptr);
        EXPECT_TRUE(FreeLibrary(lib));

        PlatSetModulePath("/nonexistent/quillet");
        EXPECT_EQ(LoadLibraryA(name), nullptr) << "found outside the program folder";
    }
    PlatSetModulePath(nullptr);
}

static int g_hookCalls;
static DWORD FakeTicks() {
    g_hookCalls++;
    return 0xFFFFFFF0u;
}
static void FakeLocalTime(SYSTEMTIME* time) {
    g_hookCalls++;
    *time = {2024, 2, 4, 29, 23, 59, 58, 999};
}

TEST(ClockTest, HooksReplaceAndRestore) {
    g_hookCalls = 0;
    PlatSetTickCountHook(FakeTicks);
    EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
    PlatSetLocalTimeHook(FakeLocalTime);
    SYSTEMTIME time = {};
    GetLocalTime(&time);
    EXPECT_EQ(time.wYear, 2024);
    EXPECT_EQ(time.wDay, 29);
    EXPECT_EQ(time.wMilliseconds, 999);
    EXPECT_EQ(g_hookCalls, 2);

    PlatSetTickCountHook(nullptr);
    PlatSetLocalTimeHook(nullptr);
    GetTickCount();
    GetLocalTime(&time);
    EXPECT_EQ(g_hookCalls, 2);
}

// Day of the week of a Gregorian date, 0 = Sunday.
static int GetWeekDay(int y, int m, int d) {
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    y -= m < 3;
    return (y + y / 4 - y / 100 + y / 400 + offsets[m - 1] + d) % 7;
}

TEST(ClockTest, LocalTimeFieldsAgree) {
    SYSTEMTIME time;
    GetLocalTime(&time);
    EXPECT_GE(time.wYear, 2024);
    ASSERT_GE(time.wMonth, 1);
    ASSERT_LE(time.wMonth, 12);
    EXPECT_GE(time.wDay, 1);
    EXPECT_LE(time.wDay, 31);
    EXPECT_EQ(time.wDayOfWeek, GetWeekDay(time.wYear, time.wMonth, time.wDay));
    EXPECT_LE(time.wHour, 23);
    EXPECT_LE(time.wMinute, 59);
    EXPECT_LE(time.wSecond, 59);
    EXPECT_LE(time.wMilliseconds, 999);
}
