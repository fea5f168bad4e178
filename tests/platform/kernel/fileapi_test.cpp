// Writing a file whole or not at all.
#include "platform/kernel/fileapi.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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

}  // namespace
