// Reading by extension, and JPEG, GIF and PNG through the codec library and temp.bmp.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/appstate.h"
#include "app/folders.h"
#include "image/readpic.h"
#include "image/workbmp.h"
#include "platform/kernel/kernel.h"
#include "support/testutil.h"

namespace {

BmpForm Checker(int w, int h) {
    BmpForm s;
    s.w = w;
    s.h = h;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) s.px.push_back(((x / 4 + y / 4) % 2) ? 0xE04020 : 0x2040E0);
    return s;
}

std::string TempBmpPath() {
    return std::string(g_app.AppFolder) + "temp.bmp";
}

TEST(ReadPicFile, DispatchesByCaseSensitiveExtension) {
    AppEnv env;
    const std::string bmp = env.data.File("src.bmp");
    ASSERT_TRUE(WriteFileBytes(bmp, MakeBmpFile(Checker(16, 8))));
    const std::string jpg = env.data.File("src.jpg");
    ASSERT_TRUE(SaveJpegWithCodec(bmp, jpg, 90));
    const auto bmpBytes = MakeBmpFile(Checker(16, 8));
    std::vector<unsigned char> jpgBytes;
    {
        FILE* f = fopen(jpg.c_str(), "rb");
        ASSERT_TRUE(f);
        int c;
        while ((c = fgetc(f)) != EOF) jpgBytes.push_back((unsigned char)c);
        fclose(f);
    }
    struct Case {
        const char* name;
        bool isJpeg;
        bool accepted;
    };
    const Case cases[] = {
        {"photo.bmp", false, true},      {"photo.BMP", false, true},
        {"photo.Bmp", false, false},     {"photo.JPG", true, true},
        {"photo.jpg", true, true},       {"photo.jpeg", true, true},
        {"photo.JPEG", true, true},      {"photo.Jpg", true, false},
        {"photo", false, false},         {"dir.jpg/photo", true, false},
        {"photo.png.txt", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = env.data.File(c.name);
        if (std::string(c.name).find('/') != std::string::npos)
            mkdir((env.data.path + "/dir.jpg").c_str(), 0700);
        ASSERT_TRUE(WriteFileBytes(path, c.isJpeg ? jpgBytes : bmpBytes));
        MsgRecorder rec;
        SIZE size{};
        HBITMAP b = ReadPicFile(nullptr, path.c_str(), &size);
        EXPECT_EQ(b != nullptr, c.accepted);
        if (b) {
            EXPECT_EQ(size.cx, 16);
            EXPECT_EQ(size.cy, 8);
        }
        EXPECT_TRUE(rec.msgs.empty());
        DeleteObject(b);
    }
}

// A failed conversion never opens what an earlier conversion left in temp.bmp.
TEST(ReadJpegFile, StaleConversionFileIsNeverRead) {
    AppEnv env;
    ASSERT_TRUE(WriteFileBytes(TempBmpPath(), MakeBmpFile(Checker(8, 8))));
    ASSERT_TRUE(WriteFileBytes(env.data.File("broken.gif"), {'G', 'I', 'F', '8', '9', 'a', 1}));
    MsgRecorder rec;
    SIZE size{};
    EXPECT_EQ(ReadPicFile(nullptr, env.data.File("broken.gif").c_str(), &size), nullptr);
    EXPECT_FALSE(FileExists(TempBmpPath()));
    EXPECT_TRUE(rec.msgs.empty());

    // Without the codec library the conversion cannot happen at all.
    ASSERT_TRUE(WriteFileBytes(TempBmpPath(), MakeBmpFile(Checker(8, 8))));
    PlatSetModulePath((env.data.path + "/nowhere/quillet").c_str());
    EXPECT_EQ(ReadPicFile(nullptr, env.data.File("broken.gif").c_str(), &size), nullptr);
    EXPECT_TRUE(rec.msgs.empty());
}

// A FIFO named like a picture is refused at once: opening it must not wait for a writer.
TEST(ReadPicFile, FifoIsRefusedWithoutWaiting) {
    AppEnv env;
    for (const char* name : {"pipe.bmp", "pipe.jpg"}) {
        SCOPED_TRACE(name);
        const std::string path = env.data.File(name);
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        SIZE size{};
        EXPECT_EQ(ReadPicFile(nullptr, path.c_str(), &size), nullptr);
    }
}

TEST(InitWorkBmp, UnreadablePictureKeepsThePreviousOne) {
    AppEnv env;
    ASSERT_TRUE(WriteFileBytes(env.data.File("a.bmp"), MakeBmpFile(Checker(240, 260))));
    ASSERT_EQ(InitWorkBmp(env.data.File("a.bmp").c_str()), 1);
    snprintf(WorkBmp.path, MAX_PATH, "%s", env.data.File("a.bmp").c_str());
    const HBITMAP before = WorkBmp.srcBmp;
    ASSERT_TRUE(WriteFileBytes(env.data.File("b.gif"), {'G', 'I', 'F'}));
    MsgRecorder rec;
    EXPECT_EQ(InitWorkBmp(env.data.File("b.gif").c_str()), 0);
    EXPECT_EQ(WorkBmp.srcBmp, before);
    EXPECT_EQ(WorkBmp.srcW, 240);
    EXPECT_TRUE(WorkBmp.loaded);
    EXPECT_TRUE(rec.msgs.empty());
}

}  // namespace
