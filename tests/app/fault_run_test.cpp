// The program's files when the disk fills up or the application folder goes while the program
// runs: a failed write leaves the file as it was and is told; a removed folder is made again.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "address/address.h"
#include "app/appstate.h"
#include "app/folders.h"
#include "image/canvas.h"
#include "image/savepic.h"
#include "image/stamp.h"
#include "image/workbmp.h"
#include "send/send_env.h"
#include "send/upload.h"
#include "support/httpserver.h"
#include "support/testutil.h"

namespace {

constexpr size_t kTempBmpBytes = 62454;  // the 120 x 130 canvas as a 32-bit BMP
constexpr const char* kMsgSave = "画像を保存できませんでした";

std::string AppFile(const char* name) {
    return std::string(g_app.AppFolder) + name;
}

int SaveCanvasAs(const std::string& path) {
    HBITMAP canvas = MakeCanvasPic();
    const int ok = SaveCanvasFile(path.c_str(), canvas);
    DeleteObject(canvas);
    return ok;
}

// The send button's picture, then the upload the send dialog makes of it.
int SendCanvas() {
    SaveSendJpeg(AppFile(kTempJpgName).c_str());
    return PostData(nullptr);
}

std::string Told(const MsgRecorder& rec) {
    std::string told;
    for (const auto& m : rec.msgs) told += m.caption + ": " + m.text + "\n";
    return told;
}

// A photo of noise fills the canvas, so that its JPEG is larger than temp.bmp; the upload server
// accepts everything.
struct FaultRun : testing::Test {
    AppEnv env;
    HttpServer server;
    void SetUp() override {
        PutUploadEnv(server.HostPort());
        server.SetReply({"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nOK"});
        g_uploadReq = UploadRequest{"a@example.jp", "s", "m", "OFF()", ""};
        ASSERT_EQ(InitStmpList(), 1);
        BmpForm noise;
        noise.w = kCanvasW;
        noise.h = kCanvasH;
        for (uint32_t i = 0; i < uint32_t(noise.w * noise.h); i++) {
            uint32_t x = i * 2654435761u;
            x = (x ^ x >> 15) * 2246822519u;
            noise.px.push_back((x ^ x >> 13) & 0xFFFFFF);
        }
        ASSERT_TRUE(WriteFileBytes(env.data.File("noise.bmp"), MakeBmpFile(noise)));
        ASSERT_EQ(InitWorkBmp(env.data.File("noise.bmp").c_str()), 1);
    }
    void TearDown() override { FreeStmpList(); }
};

// A full disk while a file is replaced: the file keeps its bytes and the user is told; the upload
// goes on without its copy.
TEST_F(FaultRun, FullDiskKeepsTheFileAndIsTold) {
    const std::string photoJpg = env.data.File("photo.jpg");
    ASSERT_EQ(SaveCanvasAs(photoJpg), 1);
    const size_t jpgBytes = ReadFileBytes(photoJpg).size();
    ASSERT_GT(jpgBytes, kTempBmpBytes + 1000) << "the JPEG must not fit where temp.bmp does";
    const struct {
        const char* name;
        std::string file;   // holds "old" before
        unsigned long fit;  // the largest file that can be written
        std::function<int()> act;
        int result;
        const char* told;
    } rows[] = {
        {"saved as BMP", env.data.File("photo.bmp"), 1000,
         [&] { return SaveCanvasAs(env.data.File("photo.bmp")); }, 0, kMsgSave},
        {"saved as JPEG, temp.bmp does not fit", photoJpg, 1000,
         [&] { return SaveCanvasAs(photoJpg); }, 0, kMsgSave},
        {"saved as JPEG, the JPEG does not fit", photoJpg, kTempBmpBytes + 500,
         [&] { return SaveCanvasAs(photoJpg); }, 0, kMsgSave},
        {"upload log", AppFile(kLogName), 100, [] { return PostData(nullptr); }, 1,
         "ファイルが開けません"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(WriteFileBytes(row.file, {'o', 'l', 'd'}));
        MsgRecorder rec;
        int result;
        {
            FileSizeLimit limit(row.fit);
            result = row.act();
        }
        EXPECT_EQ(result, row.result);
        EXPECT_EQ(ReadFileText(row.file).substr(0, 40), "old");  // whole, and a short report
        ASSERT_EQ(rec.msgs.size(), 1u) << Told(rec);
        EXPECT_EQ(rec.msgs[0].text, row.told);
    }
    EXPECT_EQ(server.Requests().size(), 1u);
}

// The application folder removed while the program runs is made again, private, by the next
// write into it. When it cannot be made (a file has taken its name) each write fails as on a
// full disk and is told as such; a photo that cannot be converted stays silent, as always.
TEST_F(FaultRun, RemovedAppFolderIsMadeAgain) {
    const std::string jpg = env.data.File("photo.jpg");
    ASSERT_TRUE(SaveJpegWithCodec(env.data.File("noise.bmp"), jpg, 90));
    const std::string folder = g_app.AppFolder, blocker = folder.substr(0, folder.size() - 1);
    const struct {
        const char* name;
        std::function<int()> act;
        const char* file;  // the working file the act leaves in the folder
        const char* told;  // when the folder cannot be made; null: nothing
    } rows[] = {
        {"send button and upload", SendCanvas, kLogName,
         "PostData-Error: ファイルが開けませんでした\n"},
        {"saved as JPEG", [&] { return SaveCanvasAs(env.data.File("saved.jpg")); }, kTempBmpName,
         ": 画像を保存できませんでした\n"},
        {"JPEG photo opened", [&] { return InitWorkBmp(jpg.c_str()); }, kTempBmpName, nullptr},
        {"address book saved", WriteAddress, kAdrName, ": アドレス帳を保存できませんでした\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(folder);
        MsgRecorder rec;
        EXPECT_EQ(row.act(), 1);
        EXPECT_EQ(Told(rec), "");
        EXPECT_TRUE(FileExists(folder + row.file));
        struct stat st {};
        EXPECT_EQ(stat(folder.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0700u);

        std::filesystem::remove_all(folder);
        ASSERT_TRUE(WriteFileBytes(blocker, {}));
        rec.msgs.clear();
        EXPECT_EQ(row.act(), 0);
        EXPECT_EQ(Told(rec), row.told ? row.told : "");
        ASSERT_EQ(unlink(blocker.c_str()), 0);
    }
}

}  // namespace
