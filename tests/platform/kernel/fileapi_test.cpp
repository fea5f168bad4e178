// Writing a file whole or not at all, and opening only plain files for reading.
#include "platform/kernel/fileapi.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "support/testutil.h"

namespace {

int CountFiles(const std::string& dir) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) n++;
    return n;
}

TEST(WriteWholeFile, ReplacesTheFileOrLeavesItAsItWas) {
    TempDir dir;
    const std::string path = dir.File("pic.bmp");
    ASSERT_TRUE(WriteFileBytes(path, {'o', 'l', 'd'}));
    const std::string big(5000, 'n');
    {
        FileSizeLimit limit(1000);
        EXPECT_FALSE(WriteWholeFile(path.c_str(), big.data(), big.size(), 0666));
    }
    EXPECT_EQ(ReadFileText(path), "old");
    EXPECT_EQ(CountFiles(dir.path), 1);  // no temporary file left behind

    ASSERT_TRUE(WriteWholeFile(path.c_str(), big.data(), big.size(), 0600));
    EXPECT_EQ(ReadFileText(path), big);
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(CountFiles(dir.path), 1);

    // A folder or a missing folder is no place for the file.
    EXPECT_FALSE(WriteWholeFile(dir.path.c_str(), "x", 1, 0666));
    EXPECT_FALSE(WriteWholeFile(dir.File("none/pic.bmp").c_str(), "x", 1, 0666));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path));
}

// Only a plain file opens; a FIFO is refused at once, and errno tells a missing file from one
// that is no plain file.
TEST(OpenPlainFile, OpensOnlyPlainFiles) {
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.File("plain"), {'a', 'b', 'c'}));
    ASSERT_EQ(symlink("plain", dir.File("link").c_str()), 0);
    ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
    ASSERT_EQ(mkdir(dir.File("folder").c_str(), 0700), 0);
    const struct {
        const char* name;
        int64_t size;  // -1: refused
        int err;
    } rows[] = {
        {"plain", 3, 0},        {"link", 3, 0},       {"fifo", -1, EINVAL},
        {"folder", -1, EINVAL}, {"none", -1, ENOENT},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        int64_t size = -1;
        errno = 0;
        FILE* f = OpenPlainFile(dir.File(row.name).c_str(), &size);
        EXPECT_EQ(f != nullptr, row.size >= 0);
        EXPECT_EQ(size, row.size);
        if (f) {
            char got[4] = {};
            EXPECT_EQ(fread(got, 1, sizeof got, f), 3u);
            EXPECT_STREQ(got, "abc");
            fclose(f);
        } else {
            EXPECT_EQ(errno, row.err);
        }
    }
}

}  // namespace
