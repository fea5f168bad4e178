// An upload from the program to quillet-server, the way a newcomer sends on one machine: the
// host comes from the settings file as a person edited it, and the server stores the upload.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/appstate.h"
#include "app/folders.h"
#include "app/reginfo.h"
#include "send/upload.h"
#include "server/live_server.h"
#include "support/testutil.h"

namespace {

TEST(PostToServer, HandEditedHostReceivesAndStoresTheUpload) {
    for (const char* v : {"http_proxy", "all_proxy", "ALL_PROXY"}) unsetenv(v);
    AppEnv env;
    ServerRun server;
    ASSERT_NE(server.port, 0);
    ASSERT_EQ(InitRegInfo(), 1);
    ASSERT_EQ(SetRegValue("USERID", kTestUser), 1);
    ASSERT_EQ(SetRegValue("PASSWORD", kTestPass), 1);
    ASSERT_EQ(SetRegValue("ALBUMID", kTestAlbum), 1);

    // The person points SERVER at the server's port with a text editor.
    const std::string store =
        std::string(getenv("XDG_CONFIG_HOME")) + "/Halvorne/HKEY_CURRENT_USER.reg";
    std::string text = ReadFileText(store);
    const std::string line = "\"SERVER\"=\"localhost:8080\"";
    ASSERT_NE(text.find(line), text.npos);
    text.replace(text.find(line), line.size(),
                 "\"SERVER\"=\"127.0.0.1:" + std::to_string(server.port) + "\"");
    ASSERT_TRUE(WriteFileBytes(store, {text.begin(), text.end()}));
    ASSERT_EQ(ReadServerInfo(), 1);

    const std::vector<unsigned char> jpg = {0xFF, 0xD8, 0xFF, 0xE0, 0, '\n', 'x', 0xFF, 0xD9};
    ASSERT_TRUE(WriteFileBytes(std::string(g_app.AppFolder) + kTempJpgName, jpg));
    g_uploadReq = UploadRequest{"a@example.jp,b@example.jp", "Hi", "Hello", "OFF()", ""};
    MsgRecorder rec;
    EXPECT_EQ(PostData(nullptr), 1);
    EXPECT_TRUE(rec.msgs.empty());

    // One upload for the album, holding the picture as sent and a mail per recipient.
    const auto stored = StoredUploads(server, kTestAlbum);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(StoredPicture(server, stored[0].id), std::string(jpg.begin(), jpg.end()));
    ASSERT_EQ(stored[0].mails.size(), 2u);
    EXPECT_EQ(stored[0].mails[0].recipient, "a@example.jp");
}

}  // namespace
