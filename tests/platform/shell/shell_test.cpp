// Opening web addresses and files: what would be opened, seen through the open hook.
#include "platform/shell/shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QString>
#include <QUrl>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace {

std::vector<std::string> g_opened;

void RecordOpen(const char* url) {
    g_opened.push_back(url);
}

struct ShellTest : ::testing::Test {
    TempDir dir;
    void SetUp() override {
        g_opened.clear();
        PlatSetShellOpenHook(RecordOpen);
    }
    void TearDown() override { PlatSetShellOpenHook(nullptr); }
};

}  // namespace

TEST_F(ShellTest, OpensWebAddressesAndFiles) {
    ASSERT_TRUE(WriteFileBytes(dir.File("help page.html"), {'x'}));
    ASSERT_EQ(mkdir(dir.File("sub").c_str(), 0700), 0);
    ASSERT_TRUE(WriteFileBytes(dir.File("sub/a.txt"), {'x'}));
    const std::string sub = dir.File("sub") + "/";
    const std::string page = dir.File("help page.html");
    const struct {
        const char* name;
        const char* op;
        std::string file;
        const char* dir;
        intptr_t result;     // 0: success, a value above 32
        std::string opened;  // the address, or the path of the file; empty: nothing opens
    } rows[] = {
        {"web address", "open", "https://example.com/help?x=1", nullptr, 0,
         "https://example.com/help?x=1"},
        {"no verb means open; the folder is not used", nullptr, "HTTP://example.com/", "/nowhere",
         0, "http://example.com/"},
        {"file in a folder", "open", "help page.html", dir.path.c_str(), 0, page},
        {"absolute file: the folder is not used", "open", page, "/nowhere", 0, page},
        {"folder with a trailing slash", "open", "a.txt", sub.c_str(), 0, dir.File("sub/a.txt")},
        {"file in a subfolder", "open", "sub/a.txt", dir.path.c_str(), 0, dir.File("sub/a.txt")},
        {"missing file", "open", "none.html", dir.path.c_str(), SE_ERR_FNF, ""},
        {"no file name", "open", "", dir.path.c_str(), SE_ERR_FNF, ""},
        {"another verb", "print", "help page.html", dir.path.c_str(), SE_ERR_NOASSOC, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        g_opened.clear();
        const intptr_t result = reinterpret_cast<intptr_t>(
            ShellExecuteA(nullptr, row.op, row.file.c_str(), nullptr, row.dir, 1));
        if (row.result == 0) {
            EXPECT_GT(result, 32);
        } else {
            EXPECT_EQ(result, row.result);
        }
        if (row.opened.empty()) {
            EXPECT_TRUE(g_opened.empty());
            continue;
        }
        ASSERT_EQ(g_opened.size(), 1u);
        const QUrl url(QString::fromStdString(g_opened[0]));
        if (url.isLocalFile()) {
            EXPECT_EQ(g_opened[0].rfind("file:///", 0), 0u) << g_opened[0];
            EXPECT_EQ(url.toLocalFile().toStdString(), row.opened);
        } else {
            EXPECT_EQ(g_opened[0], row.opened);
        }
    }
}
