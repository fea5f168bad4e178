// The shipped stamp collections beside the program: every picture opens with the program's
// reader, and each is small enough to sit on the 120 x 130 canvas.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "image/readpic.h"
#include "support/testutil.h"

namespace fs = std::filesystem;

namespace {

TEST(Content, EveryStampOpensWithThePictureReader) {
    AppEnv env;
    std::set<std::string> exts;
    for (const char* collection : {"message", "item"}) {
        SCOPED_TRACE(collection);
        const fs::path dir = fs::path(QUILLET_OUT_DIR) / collection;
        ASSERT_TRUE(fs::is_directory(dir));
        int folders = 0;
        for (const fs::directory_entry& sub : fs::directory_iterator(dir)) {
            if (!sub.is_directory()) continue;
            ++folders;
            int pictures = 0;
            for (const fs::directory_entry& f : fs::directory_iterator(sub.path())) {
                SCOPED_TRACE(f.path().string());
                MsgRecorder rec;
                SIZE size{};
                HBITMAP b = ReadPicFile(nullptr, f.path().c_str(), &size);
                ASSERT_NE(b, nullptr);
                DeleteObject(b);
                EXPECT_TRUE(rec.msgs.empty());
                EXPECT_GE(size.cx, 16);
                EXPECT_GE(size.cy, 16);
                EXPECT_LE(size.cx, 100);
                EXPECT_LE(size.cy, 64);
                exts.insert(f.path().extension().string());
                ++pictures;
            }
            EXPECT_GT(pictures, 0) << sub.path();
        }
        EXPECT_GE(folders, 4);
    }
    for (const char* ext : {".bmp", ".png", ".gif", ".jpg"}) EXPECT_EQ(exts.count(ext), 1u) << ext;
    EXPECT_TRUE(fs::is_regular_file(QUILLET_OUT_DIR "/Manual.html"));
}

}  // namespace
