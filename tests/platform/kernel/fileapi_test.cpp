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

// A replaced file keeps its permission bits, less any the writer's mode does not grant; a new one
// gets the mode less the umask.
TEST(WriteWholeFile, ReplacedFileKeepsItsMode) {
    const struct {
        const char* name;
        mode_t before;  // 0: no file yet
        DWORD mode;
        mode_t after;
    } rows[] = {
        {"private picture saved again", 0600, 0666, 0600},
        {"shared picture saved again", 0640, 0666, 0640},
        {"private file written over a shared one", 0644, 0600, 0600},
        {"new private file", 0, 0600, 0600},
    };
    TempDir dir;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = dir.File("pic.bmp");
        unlink(path.c_str());
        if (row.before) {
            ASSERT_TRUE(WriteFileBytes(path, {'o'}));
            ASSERT_EQ(chmod(path.c_str(), row.before), 0);
        }
        ASSERT_TRUE(WriteWholeFile(path.c_str(), "new", 3, row.mode));
        struct stat st;
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, row.after);
        EXPECT_EQ(ReadFileText(path), "new");
    }
}

// A symbolic link stays a link and its target gets the bytes, a dangling one too; a FIFO is no
// file to replace and is refused at once.
TEST(WriteWholeFile, WritesThroughLinksAndRefusesOtherThanFiles) {
    TempDir dir;
    const std::string target = dir.File("real.jpg"), link = dir.File("link.jpg");
    ASSERT_TRUE(WriteFileBytes(target, {'o'}));
    ASSERT_EQ(symlink("real.jpg", link.c_str()), 0);
    ASSERT_TRUE(WriteWholeFile(link.c_str(), "new", 3, 0666));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFileText(target), "new");

    const std::string dangling = dir.File("dangling.jpg");
    ASSERT_EQ(symlink(dir.File("made.jpg").c_str(), dangling.c_str()), 0);
    ASSERT_TRUE(WriteWholeFile(dangling.c_str(), "made", 4, 0666));
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_EQ(ReadFileText(dir.File("made.jpg")), "made");
    EXPECT_EQ(CountFiles(dir.path), 4);

    const std::string fifo = dir.File("fifo.jpg");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(WriteWholeFile(fifo.c_str(), "x", 1, 0666));
    EXPECT_EQ(CountFiles(dir.path), 5);
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
