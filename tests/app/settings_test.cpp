// The settings store: defaults, the photo tab's slots, the account block, the sibling's version.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/appstate.h"
#include "app/reginfo.h"
#include "support/testutil.h"

using namespace std::string_literals;

namespace {

// A value of the settings key as stored: type and bytes; type REG_NONE when absent.
struct RegVal {
    DWORD type = REG_NONE;
    std::string bytes;
};

RegVal ReadVal(const char* name) {
    RegVal v;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRegKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return v;
    char buf[1024];
    DWORD size = sizeof buf, type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, (BYTE*)buf, &size) == ERROR_SUCCESS) {
        v.type = type;
        v.bytes.assign(buf, size);
    }
    RegCloseKey(key);
    return v;
}

// A stored text with its terminator.
std::string Sz(const std::string& text) {
    return text + std::string(1, '\0');
}

void WriteVal(const char* name, const std::string& text) {
    ASSERT_EQ(SetRegValue(name, text.c_str()), 1);
}

TEST(InitRegInfo, FirstStartWritesTheDefaults) {
    AppEnv env;
    EXPECT_EQ(InitRegInfo(), 1);
    const struct {
        const char* name;
        std::string bytes;
    } want[] = {
        {"VER", Sz("Quillet 2.00")}, {"USERID", Sz("")},         {"PASSWORD", Sz("")},
        {"ALBUMID", Sz("")},         {"SERVER", Sz(kDefServer)}, {"HOMEPAGE", Sz(kDefHomePage)},
    };
    for (const auto& w : want) {
        SCOPED_TRACE(w.name);
        const RegVal v = ReadVal(w.name);
        EXPECT_EQ(v.type, REG_SZ);
        EXPECT_EQ(v.bytes, w.bytes);
    }
    EXPECT_EQ(ReadVal("READPIC0000").type, REG_NONE);
    EXPECT_STREQ(g_app.ServerHost, kDefServer);
    EXPECT_STREQ(g_app.HomePage, kDefHomePage);
    for (int i = 0; i < kSlotCount; i++) EXPECT_STREQ(g_app.TabSlots[0][i], "");
}

TEST(InitRegInfo, KeepsWhatIsStoredAndRewritesTheVersion) {
    AppEnv env;
    WriteVal("VER", "Quillet 1.00");
    WriteVal("SERVER", "");
    WriteVal("PASSWORD", "secret");
    WriteVal("READPIC0003", "/photos/b.jpg");
    EXPECT_EQ(InitRegInfo(), 1);
    EXPECT_EQ(ReadVal("VER").bytes, Sz("Quillet 2.00"));
    EXPECT_EQ(ReadVal("SERVER").bytes, Sz(""));
    EXPECT_STREQ(g_app.ServerHost, "");
    EXPECT_EQ(ReadVal("PASSWORD").bytes, Sz("secret"));
    EXPECT_STREQ(g_app.TabSlots[0][3], "/photos/b.jpg");
    EXPECT_STREQ(g_app.TabSlots[0][2], "");
}

// The settings file of the user, as AppEnv places it.
std::string StoreFile() {
    return std::string(getenv("XDG_CONFIG_HOME")) + "/Halvorne/HKEY_CURRENT_USER.reg";
}

TEST(InitRegInfo, FirstStartWritesAReadableFile) {
    AppEnv env;
    EXPECT_EQ(InitRegInfo(), 1);
    const std::string text = ReadFileText(StoreFile());
    EXPECT_EQ(text.substr(text.find('\n') + 1),
              "\n[HKEY_CURRENT_USER\\Software\\Halvorne\\Quillet]\n"
              "\"VER\"=\"Quillet 2.00\"\n"
              "\"USERID\"=\"\"\n"
              "\"PASSWORD\"=\"\"\n"
              "\"ALBUMID\"=\"\"\n"
              "\"SERVER\"=\"localhost:8080\"\n"
              "\"HOMEPAGE\"=\"localhost:8080/quillet\"\n");
}

// A person changes SERVER in the file with a text editor: the program takes the new host.
TEST(ReadServerInfo, HandEditedServerLine) {
    AppEnv env;
    InitRegInfo();
    std::string text = ReadFileText(StoreFile());
    const std::string line = "\"SERVER\"=\"localhost:8080\"";
    ASSERT_NE(text.find(line), text.npos);
    text.replace(text.find(line), line.size(), "\"SERVER\"=\"photos.example.jp:8081\"");
    ASSERT_TRUE(WriteFileBytes(StoreFile(), {text.begin(), text.end()}));
    EXPECT_EQ(ReadServerInfo(), 1);
    EXPECT_STREQ(g_app.ServerHost, "photos.example.jp:8081");
    EXPECT_EQ(ReadVal("SERVER").bytes, Sz("photos.example.jp:8081"));
}

// A settings file holding the program's key with one line a person wrote.
bool PutSettingsLine(const char* line) {
    const std::string text = "[HKEY_CURRENT_USER\\Software\\Halvorne\\Quillet]\n"s + line + "\n";
    std::filesystem::create_directories(std::filesystem::path(StoreFile()).parent_path());
    return WriteFileBytes(StoreFile(), {text.begin(), text.end()});
}

// A SERVER line that a person wrote by hand: read with blanks around "=" and at the end; when it
// still cannot be read, the default serves in memory only and the line is left to be mended.
TEST(InitRegInfo, HandWrittenServerLine) {
    const struct {
        const char* name;
        const char* line;
        const char* host;
        const char* stored;  // the line in the file afterwards
        bool told;           // the line is told of on standard error
    } rows[] = {
        {"blank at the end", "\"SERVER\"=\"myhost:8080\" ", "myhost:8080",
         "\"SERVER\"=\"myhost:8080\"", false},
        {"blanks around =", "\"SERVER\" = \"myhost:8080\"", "myhost:8080",
         "\"SERVER\"=\"myhost:8080\"", false},
        {"not closed", "\"SERVER\"=\"myhost:8080", kDefServer, "\"SERVER\"=\"myhost:8080", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AppEnv env;
        ASSERT_TRUE(PutSettingsLine(row.line));
        testing::internal::CaptureStderr();
        EXPECT_EQ(InitRegInfo(), 1);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_STREQ(g_app.ServerHost, row.host);
        // The store tells the line by its number (and again at each write that moves it).
        const std::string line2 = StoreFile() + ":2: cannot read this line; it is kept as it is\n";
        const std::string mine =
            "settings: the line of \"SERVER\" cannot be read; localhost:8080 is used until it is "
            "mended\n";
        if (row.told) {
            EXPECT_EQ(err.substr(0, line2.size()), line2);
            EXPECT_EQ(err.substr(err.size() - std::min(err.size(), mine.size())), mine);
        } else {
            EXPECT_EQ(err, "");
        }
        const std::string stored = ReadFileText(StoreFile());
        EXPECT_NE(stored.find("\n"s + row.stored + "\n"), stored.npos) << stored;
        EXPECT_EQ(stored.find("\"SERVER\"=\"localhost"), stored.npos) << stored;
    }
}

// An account line that a person's editor saved in Shift-JIS is read; one that cannot be read is
// not written over with the empty default at start.
TEST(InitRegInfo, HandWrittenAccountLine) {
    const struct {
        const char* name;
        const char* line;
        const char* stored;  // the line in the file afterwards
        const char* value;   // as read afterwards; null: cannot be read
    } rows[] = {
        {"Shift-JIS", "\"PASSWORD\"=\"\x83\x70\x83\x58\"", "\"PASSWORD\"=\"パス\"",
         "\x83\x70\x83\x58"},
        {"not closed", "\"PASSWORD\"=\"pass", "\"PASSWORD\"=\"pass", nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AppEnv env;
        ASSERT_TRUE(PutSettingsLine(row.line));
        testing::internal::CaptureStderr();
        EXPECT_EQ(InitRegInfo(), 1);
        testing::internal::GetCapturedStderr();
        const RegVal v = ReadVal("PASSWORD");
        EXPECT_EQ(v.type, row.value ? REG_SZ : REG_NONE);
        EXPECT_EQ(v.bytes, row.value ? Sz(row.value) : "");
        const std::string stored = ReadFileText(StoreFile());
        EXPECT_NE(stored.find("\n"s + row.stored + "\n"), stored.npos) << stored;
        EXPECT_EQ(stored.find("\"PASSWORD\"=\"\"\n"), stored.npos) << stored;
    }
}

// The defaults are used in memory even when they cannot be stored, so that the album pages have
// a host.
TEST(InitRegInfo, DefaultHostsUsedWhenTheyCannotBeStored) {
    const struct {
        const char* name;
        bool keyThere;  // else the settings folder cannot be made at all
    } rows[] = {
        {"the key is there, writes fail", true},
        {"no store at all", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AppEnv env;
        const std::string config = getenv("XDG_CONFIG_HOME");
        if (row.keyThere) {
            HKEY key;
            ASSERT_EQ(OpenRegKey(&key), 1);
            RegCloseKey(key);
            // Every write fails, as on a full disk.
            PlatSetRegWriteHook([] { return 0; });
        } else {
            ASSERT_TRUE(WriteFileBytes(config + "/plain", {'x'}));
            setenv("XDG_CONFIG_HOME", (config + "/plain").c_str(), 1);
        }
        EXPECT_EQ(InitRegInfo(), 1);
        EXPECT_STREQ(g_app.ServerHost, kDefServer);
        EXPECT_STREQ(g_app.HomePage, kDefHomePage);
        PlatSetRegWriteHook(nullptr);
        EXPECT_EQ(ReadVal("SERVER").type, REG_NONE);
    }
}

TEST(ReadServerInfo, ValueTooLongForItsBufferLeavesTheCopy) {
    AppEnv env;
    WriteVal("SERVER", std::string(MAX_PATH, 'h'));  // 261 bytes with the terminator
    WriteVal("HOMEPAGE", "example.org/home");
    strcpy(g_app.ServerHost, "before");
    ReadServerInfo();
    EXPECT_STREQ(g_app.ServerHost, "before");
    EXPECT_STREQ(g_app.HomePage, "example.org/home");
    // At start the long value is not replaced by the default either: it exists.
    InitRegInfo();
    EXPECT_EQ(ReadVal("SERVER").bytes.size(), size_t(MAX_PATH) + 1);
}

TEST(SaveRegInfo, WritesEveryPhotoSlot) {
    AppEnv env;
    strcpy(g_app.TabFolder[1], "/opt/quillet/message/");
    strcpy(g_app.TabFolder[2], "/opt/quillet/item/");
    InitRegInfo();
    strcpy(g_app.TabSlots[0][4], "/photos/c.png");
    EXPECT_EQ(SaveRegInfo(), 1);
    for (int i = 0; i < kSlotCount; i++) {
        char name[16];
        snprintf(name, sizeof name, "READPIC00%02d", i);
        SCOPED_TRACE(name);
        const RegVal v = ReadVal(name);
        EXPECT_EQ(v.type, REG_SZ);
        EXPECT_EQ(v.bytes, Sz(i == 4 ? "/photos/c.png" : ""));
    }
    // The folder tabs remember nothing.
    EXPECT_EQ(ReadVal("READPIC0100").type, REG_NONE);
}

TEST(GetUserInfo, JoinsTheAccountOrNamesTheFirstMissingValue) {
    struct Case {
        const char* name;
        const char *album, *password, *user;  // null: absent
        int ok;
        const char* want;  // the block, or the one message
    };
    const Case cases[] = {
        {"all there", "alb", "pw", "me@example.jp", 1, "me@example.jp\npw\nalb"},
        {"empty password", "alb", "", "me@example.jp", 1, "me@example.jp\n\nalb"},
        {"no album id", nullptr, nullptr, nullptr, 0, "アルバムID取得失敗"},
        {"no password", "alb", nullptr, "me@example.jp", 0, "パスワード取得失敗"},
        {"no user id", "alb", "pw", nullptr, 0, "ID取得失敗"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppEnv env;
        if (c.album) WriteVal("ALBUMID", c.album);
        if (c.password) WriteVal("PASSWORD", c.password);
        if (c.user) WriteVal("USERID", c.user);
        MsgRecorder rec;
        char before = 0;
        char* text = &before;  // a failure must not leave what was there
        EXPECT_EQ(GetUserInfo(&text), c.ok);
        if (c.ok) {
            ASSERT_NE(text, nullptr);
            EXPECT_STREQ(text, c.want);
            EXPECT_TRUE(rec.msgs.empty());
        } else {
            EXPECT_EQ(text, nullptr);
            ASSERT_EQ(rec.msgs.size(), 1u);
            EXPECT_EQ(rec.msgs[0].text, c.want);
            EXPECT_EQ(rec.msgs[0].caption, "GetUserInfo-Error");
        }
        free(text);
    }
}

TEST(GetSiblingVersion, LargestSubKeyNameReadAsDigits) {
    struct Case {
        const char* name;
        std::vector<const char*> subKeys;
        double want;
    };
    const Case cases[] = {
        {"two versions", {"2.10.999", "2.11.000"}, 211000},
        {"smaller one after", {"2.11.000", "1.99"}, 211000},
        {"14 characters fit", {"2.11.000-beta1"}, 2110001},
        {"15 characters do not", {"2.11.000", "2.11.000-beta12"}, 0},
        {"none", {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppEnv env;
        for (const char* sub : c.subKeys) {
            const std::string path = std::string(kSiblingKey) + sub;
            HKEY key;
            ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                      KEY_ALL_ACCESS, nullptr, &key, nullptr),
                      ERROR_SUCCESS);
            RegCloseKey(key);
        }
        EXPECT_EQ(GetSiblingVersion(), c.want);
    }
}

}  // namespace
