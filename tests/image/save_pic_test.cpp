// Saving the canvas: the save dialog, the names it takes and refuses, the BMP as written, the
// JPEG through the codec library and the picture to send.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>

#include "app/appstate.h"
#include "app/folders.h"
#include "image/canvas.h"
#include "image/savepic.h"
#include "image/stamp.h"
#include "image/workbmp.h"
#include "platform/comdlg/commdlg.h"
#include "platform/kernel/fileapi.h"
#include "platform/kernel/kernel.h"
#include "platform/user/modal.h"
#include "support/testutil.h"

namespace {

uint32_t Le32(const std::vector<unsigned char>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

std::string AppFile(const char* name) {
    return std::string(g_app.AppFolder) + name;
}

const char* const kMsgOther = "ビットマップ、ＪＰＥＧ以外では\n保存できません";
const char* const kMsgLong = "ファイル名が長すぎて保存できませんでした\n";

struct SaveTest : testing::Test {
    AppEnv env;
    MsgRecorder rec;
    std::string typed;  // what the user types in the save dialog; empty: cancels
    std::string title, defExt, filter;
    UINT flags = 0;
    void SetUp() override {
        ASSERT_EQ(InitStmpList(), 1);
        rec.others = [this](const ModalEvent* ev) {
            if (ev->kind != MODAL_SAVEFILE) return 1;
            title = ev->caption ? ev->caption : "";
            defExt = ev->defExt ? ev->defExt : "";
            filter.clear();
            for (const char* f = ev->filter; *f; f += strlen(f) + 1) filter += std::string(f) + '|';
            flags = ev->type;
            if (typed.empty()) return IDCANCEL;
            ev->files->push_back(typed);
            return IDOK;
        };
    }
    void TearDown() override { FreeStmpList(); }
};

// The stamp on a white canvas: nothing loaded.
TEST_F(SaveTest, TypedNameGetsTheBmpExtensionAndTheCanvasIsWrittenAs32Bits) {
    ASSERT_EQ(AddStmp(PutDotBmp(env.data.path, "dot.bmp", 3, 3, 0x008080, 0xFF0000, 1, 1).c_str()),
              1);
    typed = env.data.File("photo");
    EXPECT_EQ(SaveWorkPic(), 1);
    EXPECT_TRUE(rec.msgs.empty());
    EXPECT_EQ(title, "画像ファイルを保存");
    EXPECT_EQ(defExt, "bmp");
    EXPECT_EQ(filter, "ＢＭＰ(*.bmp)|*.bmp|ＪＰＧ(*.jpg,*.jpeg)|*.jpg;*.jpeg|");
    EXPECT_TRUE(flags & OFN_OVERWRITEPROMPT);

    const std::vector<unsigned char> b = ReadFileBytes(env.data.File("photo.bmp"));
    ASSERT_EQ(b.size(), 62454u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Le32(b, 2), 62454u);           // bfSize
    EXPECT_EQ(Le32(b, 6), 0u);               // reserved
    EXPECT_EQ(Le32(b, 10), 54u);             // bfOffBits
    EXPECT_EQ(Le32(b, 14), 40u);             // biSize
    EXPECT_EQ(Le32(b, 18), 120u);            // biWidth
    EXPECT_EQ(Le32(b, 22), 130u);            // biHeight: bottom-up
    EXPECT_EQ(Le32(b, 26), 1u | 32u << 16);  // planes, bit count
    EXPECT_EQ(Le32(b, 30), 0u);              // no compression
    // Rows of 480 bytes from the bottom: the canvas is white with the red dot at (60, 65).
    auto px = [&](int x, int y) {
        const size_t at = 54 + size_t(129 - y) * 480 + size_t(x) * 4;
        return uint32_t(b[at] | b[at + 1] << 8 | b[at + 2] << 16);
    };
    EXPECT_EQ(px(60, 65), 0xFF0000u);
    EXPECT_EQ(px(59, 65), 0xFFFFFFu);  // the stamp's key colour is left out
    EXPECT_EQ(px(0, 0), 0xFFFFFFu);
    EXPECT_EQ(px(119, 129), 0xFFFFFFu);

    // The saved file opens as a picture of the canvas's size.
    ASSERT_EQ(InitWorkBmp(env.data.File("photo.bmp").c_str()), 1);
    EXPECT_EQ(WorkBmp.srcW, 120);
    EXPECT_EQ(WorkBmp.srcH, 130);
}

TEST_F(SaveTest, CancelWritesNothing) {
    EXPECT_EQ(SaveWorkPic(), 1);
    EXPECT_EQ(title, "画像ファイルを保存");  // the dialog was reached, and cancelled
    EXPECT_TRUE(rec.msgs.empty());
    EXPECT_FALSE(FileExists(AppFile(kTempBmpName)));
}

TEST_F(SaveTest, JpegGoesThroughTempBmpAndTheCodecLibrary) {
    ASSERT_EQ(InitWorkBmp(PutDotBmp(env.data.path, "p.bmp", 240, 260, 0x3366CC, 0x3366CC).c_str()),
              1);
    for (const char* name : {"photo.jpeg", "photo.jpg"}) {
        SCOPED_TRACE(name);
        DeleteFileA(AppFile(kTempBmpName).c_str());
        typed = env.data.File(name);
        rec.msgs.clear();
        EXPECT_EQ(SaveWorkPic(), 1);
        EXPECT_TRUE(rec.msgs.empty());
        EXPECT_EQ(ReadFileBytes(AppFile(kTempBmpName)).size(), 62454u);
        const std::vector<unsigned char> jpg = ReadFileBytes(typed);
        ASSERT_GT(jpg.size(), 2u);
        EXPECT_EQ(jpg[0], 0xFF);
        EXPECT_EQ(jpg[1], 0xD8);
        ASSERT_EQ(InitWorkBmp(typed.c_str()), 1);
        EXPECT_EQ(WorkBmp.srcW, 120);
    }
}

TEST_F(SaveTest, NamesOtherThanBmpAndJpegAreRefusedWithTheirMessage) {
    const std::string dir = env.data.path + "/";
    const std::string long258 = dir + std::string(258 - dir.size() - 4, 'n') + ".png";
    const struct {
        std::string path;
        const char* msg;
    } cases[] = {
        {dir + "photo.png", kMsgOther},
        {dir + "photo.BMP", kMsgOther},
        {dir + "photo.JPG", kMsgOther},
        {dir + "photo.", kMsgOther},
        {dir + "photo", kMsgLong},
        {dir + "dotted.dir/photo", kMsgLong},
        {long258, kMsgLong},
        {long258.substr(0, long258.size() - 5) + ".png", kMsgOther},  // 257 bytes
    };
    HBITMAP canvas = MakeCanvasPic();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        rec.msgs.clear();
        EXPECT_EQ(SaveCanvasFile(c.path.c_str(), canvas), 0);
        ASSERT_EQ(rec.msgs.size(), 1u);
        EXPECT_EQ(rec.msgs[0].text, c.msg);
        EXPECT_EQ(rec.msgs[0].templ, 199);
        EXPECT_FALSE(FileExists(c.path));
    }
    DeleteObject(canvas);
}

// The dialog's 260-byte buffer holds a path of 259 bytes, which is saved; a longer one is told, not
// taken for a cancel.
TEST_F(SaveTest, PathThatFitsTheBufferIsSavedALongerOneIsTold) {
    // A folder deep enough that the name brings the path to the length wanted.
    const std::string dir = env.data.path + "/" + std::string(200 - env.data.path.size(), 'd');
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    const struct {
        size_t length;
        int result;
        const char* msg;  // none: saved
    } rows[] = {{258, 1, nullptr}, {259, 1, nullptr}, {260, 0, kMsgLong}, {300, 0, kMsgLong}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.length);
        typed = dir + "/" + std::string(row.length - dir.size() - 5, 'p') + ".bmp";
        rec.msgs.clear();
        EXPECT_EQ(SaveWorkPic(), row.result);
        EXPECT_EQ(FileExists(typed), !row.msg);
        if (row.msg) {
            ASSERT_EQ(rec.msgs.size(), 1u);
            EXPECT_EQ(rec.msgs[0].text, row.msg);
        } else {
            EXPECT_TRUE(rec.msgs.empty());
        }
    }
}

// Failures a user would otherwise take for a save are told, and the old file stays.
TEST_F(SaveTest, FailedWritesAreToldAndLeaveTheOldFile) {
    HBITMAP canvas = MakeCanvasPic();
    EXPECT_EQ(SaveCanvasFile(env.data.File("missing/photo.bmp").c_str(), canvas), 0);
    ASSERT_TRUE(WriteFileBytes(env.data.File("old.jpg"), {'o', 'l', 'd'}));
    PlatSetModulePath((env.data.path + "/nowhere/quillet").c_str());
    EXPECT_EQ(SaveCanvasFile(env.data.File("old.jpg").c_str(), canvas), 0);
    EXPECT_EQ(ReadFileBytes(env.data.File("old.jpg")).size(), 3u);
    EXPECT_EQ(ReadFileBytes(AppFile(kTempBmpName)).size(), 62454u);  // written all the same
    ASSERT_EQ(rec.msgs.size(), 2u);
    EXPECT_EQ(rec.msgs[0].text, "画像を保存できませんでした");
    EXPECT_EQ(rec.msgs[1].text, "ＪＰＥＧ変換ライブラリが読み込めないため\n保存できませんでした");
    DeleteObject(canvas);
}

// An old temp.JPG never survives a preparation that failed: it would be sent instead.
TEST_F(SaveTest, PictureToSendReplacesOrRemovesTheOldOne) {
    const std::string jpg = AppFile(kTempJpgName);
    ASSERT_TRUE(WriteFileBytes(jpg, {'o', 'l', 'd'}));
    EXPECT_EQ(SaveSendJpeg(jpg.c_str()), 1);
    const std::vector<unsigned char> b = ReadFileBytes(jpg);
    ASSERT_GT(b.size(), 3u);
    EXPECT_EQ(b[0], 0xFF);

    PlatSetModulePath((env.data.path + "/nowhere/quillet").c_str());
    EXPECT_EQ(SaveSendJpeg(jpg.c_str()), 0);
    EXPECT_FALSE(FileExists(jpg));
    EXPECT_TRUE(rec.msgs.empty());
}

}  // namespace
