// The registry: keys, values, sub-key enumeration, the store files and their sharing.
#include "platform/registry/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>

#include "support/testutil.h"

using namespace std::string_literals;

namespace {

const char* const kEnvVars[] = {"HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"};

// Both stores in a fresh temporary folder: the user's under <tmp>/home, the machine's under the
// first of two configuration folders. The environment is restored afterwards.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 3; i++) {
            const char* v = getenv(kEnvVars[i]);
            if (v) saved_[i] = v;
        }
        setenv("XDG_CONFIG_HOME", (tmp_.path + "/home").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (tmp_.path + "/etc:" + tmp_.path + "/etc2").c_str(), 1);
    }
    void TearDown() override {
        for (int i = 0; i < 3; i++) {
            if (saved_[i])
                setenv(kEnvVars[i], saved_[i]->c_str(), 1);
            else
                unsetenv(kEnvVars[i]);
        }
    }
    std::string UserFolder() const { return tmp_.path + "/home/Halvorne"; }
    std::string UserFile() const { return UserFolder() + "/HKEY_CURRENT_USER.reg"; }
    TempDir tmp_;
    std::optional<std::string> saved_[3];
};

HKEY CreateKey(HKEY root, const char* sub, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(root, sub, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &key, disposition),
              ERROR_SUCCESS)
        << sub;
    return key;
}

HKEY OpenKey(HKEY root, const char* sub) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(root, sub, 0, KEY_READ, &key), ERROR_SUCCESS) << sub;
    return key;
}

LSTATUS SetBytes(HKEY key, const char* name, DWORD type, const std::string& bytes) {
    return RegSetValueExA(key, name, 0, type, (const BYTE*)bytes.data(), (DWORD)bytes.size());
}

// The bytes of a value, asked for in two steps (size, then data); "(absent)" when it is not there.
std::string QueryBytes(HKEY key, const char* name, DWORD* type = nullptr) {
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, type, nullptr, &size) != ERROR_SUCCESS)
        return "(absent)";
    std::string bytes(size, '\0');
    DWORD got = size;
    EXPECT_EQ(RegQueryValueExA(key, name, nullptr, type, (BYTE*)bytes.data(), &got), ERROR_SUCCESS);
    EXPECT_EQ(got, size);
    return bytes;
}

// Every direct sub-key of key, joined by "|".
std::string ListSubKeys(HKEY key) {
    std::string names;
    for (DWORD i = 0;; i++) {
        char name[256];
        DWORD size = sizeof name;
        LSTATUS status = RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) return names;
        if (status != ERROR_SUCCESS) return names + "(error " + std::to_string(status) + ")";
        EXPECT_EQ(size, strlen(name));
        names += (i ? "|" : "") + std::string(name);
    }
}

int ModeOf(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

TEST_F(RegistryTest, CreateOpenAndAbsent) {
    HKEY key = HKEY_CURRENT_USER;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Halvorne\\Quillet", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_FALSE(FileExists(UserFile()));

    DWORD disposition = 0;
    HKEY app = CreateKey(HKEY_CURRENT_USER, "Software\\Halvorne\\Quillet", &disposition);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    HKEY again = CreateKey(HKEY_CURRENT_USER, "Software\\Halvorne\\Quillet", &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    HKEY child = CreateKey(app, "Child", &disposition);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);

    static const struct {
        const char* name;
        bool fromApp;  // relative to the open key instead of the user's root
        HKEY root;
        const char* sub;
        LSTATUS expected;
    } rows[] = {
        {"the key above was made too", false, HKEY_CURRENT_USER, "Software", ERROR_SUCCESS},
        {"and the one above that", false, HKEY_CURRENT_USER, "Software\\Halvorne", ERROR_SUCCESS},
        {"made under an open key", false, HKEY_CURRENT_USER, "Software\\Halvorne\\Quillet\\Child",
         ERROR_SUCCESS},
        {"the root itself", false, HKEY_CURRENT_USER, "", ERROR_SUCCESS},
        {"an open key itself", true, nullptr, nullptr, ERROR_SUCCESS},
        {"relative to an open key", true, nullptr, "child", ERROR_SUCCESS},
        {"never made", false, HKEY_CURRENT_USER, "Software\\Halvorne\\Quillet\\Other",
         ERROR_FILE_NOT_FOUND},
        {"start of a name only", false, HKEY_CURRENT_USER, "Software\\Halv", ERROR_FILE_NOT_FOUND},
        {"the other store", false, HKEY_LOCAL_MACHINE, "Software", ERROR_FILE_NOT_FOUND},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        HKEY opened = nullptr;
        EXPECT_EQ(RegOpenKeyExA(row.fromApp ? app : row.root, row.sub, 0, KEY_READ, &opened),
                  row.expected);
        EXPECT_EQ(opened != nullptr, row.expected == ERROR_SUCCESS);
        if (opened) {
            EXPECT_EQ(RegCloseKey(opened), ERROR_SUCCESS);
        }
    }
    for (HKEY k : {child, again, app}) EXPECT_EQ(RegCloseKey(k), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(RegistryTest, BadHandles) {
    HKEY closed = CreateKey(HKEY_CURRENT_USER, "Software");
    ASSERT_EQ(RegCloseKey(closed), ERROR_SUCCESS);

    static const struct {
        const char* name;
        LSTATUS (*call)(HKEY);
    } calls[] = {
        {"create",
         [](HKEY k) {
             HKEY r;
             return RegCreateKeyExA(k, "New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &r, nullptr);
         }},
        {"open",
         [](HKEY k) {
             HKEY r;
             return RegOpenKeyExA(k, "", 0, KEY_READ, &r);
         }},
        {"query",
         [](HKEY k) {
             DWORD size = 0;
             return RegQueryValueExA(k, "v", nullptr, nullptr, nullptr, &size);
         }},
        {"set", [](HKEY k) { return RegSetValueExA(k, "v", 0, REG_SZ, (const BYTE*)"", 1); }},
        {"enumerate",
         [](HKEY k) {
             char name[16];
             DWORD size = sizeof name;
             return RegEnumKeyExA(k, 0, name, &size, nullptr, nullptr, nullptr, nullptr);
         }},
        {"close", RegCloseKey},
    };
    for (HKEY bad :
         {closed, (HKEY) nullptr, (HKEY)(uintptr_t)0x1234, (HKEY)(uintptr_t)0x80000003}) {
        for (const auto& call : calls) {
            SCOPED_TRACE(call.name);
            EXPECT_EQ(call.call(bad), ERROR_INVALID_HANDLE);
        }
    }
    HKEY none = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "New", 0, KEY_READ, &none), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, ValuesRoundTripExactly) {
    static const struct {
        const char* name;
        DWORD type;
        std::string bytes;
    } rows[] = {
        {"Text", REG_SZ, "Quillet\0"s},  // written with strlen + 1: the terminator is kept
        {"Binary", REG_BINARY, "\0\x01\xff\x7f\x80\0"s},
        {"Count", REG_DWORD, "\x2a\0\0\0"s},
        {"Empty", REG_BINARY, ""},
        {"\x83\x81\x81\x5b\x83\x8b", REG_SZ, "\x83\x81\x81\x5b\x83\x8b\0"s},  // Shift-JIS
        {"odd=name%[x]#\t\\", REG_NONE, "#"},
        {"", REG_SZ, "default\0"s},
        {"Biggest type", 0xFFFFFFFF, "x"},
    };
    HKEY key = CreateKey(HKEY_CURRENT_USER, "Software\\Halvorne\\Quillet");
    for (const auto& row : rows)
        ASSERT_EQ(SetBytes(key, row.name, row.type, row.bytes), ERROR_SUCCESS);
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    key = OpenKey(HKEY_CURRENT_USER, "SOFTWARE\\halvorne\\quillet");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DWORD type = 12345;
        EXPECT_EQ(QueryBytes(key, row.name, &type), row.bytes);
        EXPECT_EQ(type, row.type);
    }
    EXPECT_EQ(QueryBytes(key, nullptr), "default\0"s);  // no name: the default value
    RegCloseKey(key);
}

TEST_F(RegistryTest, QueryBufferSizes) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, "Software\\Halvorne\\Quillet");
    ASSERT_EQ(SetBytes(key, "Name", REG_SZ, "Hanako\0"s), ERROR_SUCCESS);
    ASSERT_EQ(SetBytes(key, "Empty", REG_BINARY, ""), ERROR_SUCCESS);

    static const struct {
        const char* name;
        const char* value;
        bool withData;
        DWORD size;
        LSTATUS expected;
        DWORD sizeOut;
        std::string bytes;  // written on success
    } rows[] = {
        {"size only", "Name", false, 0, ERROR_SUCCESS, 7, ""},
        {"one byte short", "Name", true, 6, ERROR_MORE_DATA, 7, ""},
        {"no room", "Name", true, 0, ERROR_MORE_DATA, 7, ""},
        {"exact", "Name", true, 7, ERROR_SUCCESS, 7, "Hanako\0"s},
        {"room to spare", "Name", true, 20, ERROR_SUCCESS, 7, "Hanako\0"s},
        {"name in another case", "NAME", true, 7, ERROR_SUCCESS, 7, "Hanako\0"s},
        {"empty value", "Empty", true, 4, ERROR_SUCCESS, 0, ""},
        {"empty value, size only", "Empty", false, 4, ERROR_SUCCESS, 0, ""},
        {"absent value", "Missing", true, 4, ERROR_FILE_NOT_FOUND, 4, ""},
        {"absent value, size only", "Missing", false, 4, ERROR_FILE_NOT_FOUND, 4, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::string buf(32, '\xaa');
        DWORD size = row.size, type = 999;
        EXPECT_EQ(RegQueryValueExA(key, row.value, nullptr, &type,
                                   row.withData ? (BYTE*)buf.data() : nullptr, &size),
                  row.expected);
        EXPECT_EQ(size, row.sizeOut);
        EXPECT_EQ(type, row.expected == ERROR_FILE_NOT_FOUND ? 999u
                        : row.value[0] == 'E'                ? REG_BINARY
                                                             : REG_SZ);
        EXPECT_EQ(buf, row.bytes + std::string(32 - row.bytes.size(), '\xaa'));
    }
    BYTE byte;
    EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, &byte, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExA(key, "Empty", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, "Missing", nullptr, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegSetValueExA(key, "Name", 0, REG_SZ, nullptr, 4), ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST_F(RegistryTest, NamesIgnoreCaseKeepCase) {
    HKEY base = CreateKey(HKEY_CURRENT_USER, "Software\\Halvorne");
    DWORD disposition = 0;
    HKEY made = CreateKey(HKEY_CURRENT_USER, "SOFTWARE\\halvorne\\Quillet\\", &disposition);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    HKEY same = CreateKey(HKEY_CURRENT_USER, "\\software\\\\HALVORNE\\quillet", &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);

    ASSERT_EQ(SetBytes(made, "FontName", REG_SZ, "A\0"s), ERROR_SUCCESS);
    ASSERT_EQ(SetBytes(same, "FONTNAME", REG_SZ, "B\0"s), ERROR_SUCCESS);
    EXPECT_EQ(QueryBytes(made, "fontname"), "B\0"s);

    EXPECT_EQ(ListSubKeys(HKEY_CURRENT_USER), "Software");
    EXPECT_EQ(ListSubKeys(base), "Quillet");
    const std::string text = ReadFileText(UserFile());
    EXPECT_NE(text.find("\n[HKEY_CURRENT_USER\\Software\\Halvorne\\Quillet]\n\"FontName\"=\"B\"\n"),
              text.npos)
        << text;
    for (HKEY k : {base, made, same}) RegCloseKey(k);
}

TEST_F(RegistryTest, EnumerationOrderAndEnd) {
    HKEY base = CreateKey(HKEY_CURRENT_USER, "Base");
    for (const char* sub :
         {"zeta", "Alpha", "_under", "beta\\Deep\\Deeper", "BETA", "\x83\x81", "a1"})
        RegCloseKey(CreateKey(base, sub));
    // Upper-cased byte order: '1' < 'L', and '_' after the letters.
    EXPECT_EQ(ListSubKeys(base), "a1|Alpha|beta|zeta|_under|\x83\x81");
    HKEY beta = OpenKey(base, "Beta");
    EXPECT_EQ(ListSubKeys(beta), "Deep");
    HKEY leaf = OpenKey(beta, "deep\\deeper");
    EXPECT_EQ(ListSubKeys(leaf), "");

    char name[64];
    DWORD size = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(base, 1000, name, &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    for (HKEY k : {leaf, beta, base}) RegCloseKey(k);
}

TEST_F(RegistryTest, EnumerationNameBuffer) {
    static const struct {
        const char* name;
        DWORD size;
        LSTATUS expected;
        DWORD sizeOut;
    } rows[] = {
        {"ABCDEFGHIJKLMNO", 15, ERROR_MORE_DATA, 15},  // 15 characters need 16
        {"ABCDEFGHIJKLMN", 15, ERROR_SUCCESS, 14},
        {"ABCDEFGHIJKLMNO", 16, ERROR_SUCCESS, 15},
        {"A", 0, ERROR_MORE_DATA, 0},
    };
    int n = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name + (" into " + std::to_string(row.size)));
        const std::string parent = "Row" + std::to_string(n++);
        RegCloseKey(CreateKey(HKEY_CURRENT_USER, (parent + "\\" + row.name).c_str()));
        HKEY key = OpenKey(HKEY_CURRENT_USER, parent.c_str());
        std::string buf(32, 'x');
        DWORD size = row.size;
        FILETIME written = {0xFFFFFFFF, 0xFFFFFFFF};
        EXPECT_EQ(RegEnumKeyExA(key, 0, buf.data(), &size, nullptr, nullptr, nullptr, &written),
                  row.expected);
        EXPECT_EQ(size, row.sizeOut);
        EXPECT_EQ(written.dwLowDateTime | written.dwHighDateTime, 0u);
        const std::string want = row.expected == ERROR_SUCCESS ? row.name + "\0"s : "";
        EXPECT_EQ(buf, want + std::string(32 - want.size(), 'x'));
        RegCloseKey(key);
    }
}

TEST_F(RegistryTest, FileFormAndModes) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, "Software\\Hal[1]");
    ASSERT_EQ(SetBytes(key, "a=b%", REG_SZ, "x\0"s), ERROR_SUCCESS);
    ASSERT_EQ(SetBytes(key, "\x83\x41", REG_BINARY, "\0\xff"s), ERROR_SUCCESS);
    ASSERT_EQ(SetBytes(HKEY_CURRENT_USER, "Top", REG_DWORD, "\x01\0\0\0"s), ERROR_SUCCESS);
    RegCloseKey(CreateKey(HKEY_CURRENT_USER, "Empty"));
    RegCloseKey(key);
    EXPECT_EQ(ReadFileText(UserFile()),
              "; Halvorne registry, HKEY_CURRENT_USER. Texts are \"UTF-8\" with \\\\, \\\" and "
              "\\xhh for bytes without a text form, their terminator implied.\n"
              "\n[HKEY_CURRENT_USER\\Software\\Hal[1]]\n"
              "\"a=b%\"=\"x\"\n"
              "\"ア\"=hex:00,ff\n"
              "\n[HKEY_CURRENT_USER]\n"
              "\"Top\"=dword:00000001\n"
              "\n[HKEY_CURRENT_USER\\Empty]\n");

    EXPECT_EQ(ModeOf(tmp_.path + "/home"), 0700);
    EXPECT_EQ(ModeOf(UserFolder()), 0700);
    EXPECT_EQ(ModeOf(UserFile()), 0600);
    // No temporary file left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(UserFolder()),
                            std::filesystem::directory_iterator()),
              1);
}

// Each value as its line in the file: written so by the store, and read back from a file that a
// person wrote.
TEST_F(RegistryTest, ValueLinesReadableBothWays) {
    static const struct {
        const char* what;
        const char* name;
        DWORD type;
        std::string bytes;
        const char* line;
    } rows[] = {
        {"ASCII text", "Ascii", REG_SZ, "Quillet 2.00\0"s, R"("Ascii"="Quillet 2.00")"},
        {"Japanese text", "Jp", REG_SZ, "\x8e\xca\x90\x5e\0"s, R"("Jp"="写真")"},
        {"second byte is a backslash", "Trail5c", REG_SZ, "\x83\x5c\x95\x5c\0"s,
         R"("Trail5c"="ソ表")"},
        {"half-width kana", "Kana", REG_SZ, "\xb1\0"s, R"("Kana"="ｱ")"},
        {"bytes that are no CP932", "NotSjis", REG_SZ, "a\x80\xff\x83 b\x83\0"s,
         R"("NotSjis"="a\x80\xff\x83 b\x83")"},
        {"a character with two codes", "TwoCodes", REG_SZ, "\x87\x90\x81\xe0\0"s,
         R"("TwoCodes"="\x87\x90≒")"},
        {"quotes and backslashes", "Quotes", REG_SZ, "say \"hi\" c:\\x\\\0"s,
         R"("Quotes"="say \"hi\" c:\\x\\")"},
        {"control characters", "Controls", REG_SZ, "a\tb\r\n\x7f\0"s,
         R"("Controls"="a\x09b\x0d\x0a\x7f")"},
        {"a NUL inside", "Nul", REG_SZ, "a\0b\0"s, R"("Nul"="a\x00b")"},
        {"empty text", "Empty", REG_SZ, "\0"s, R"("Empty"="")"},
        {"text without terminator", "NoEnd", REG_SZ, "abc", R"("NoEnd"=hex(1):61,62,63)"},
        {"text of no bytes", "NoBytes", REG_SZ, "", R"("NoBytes"=hex(1):)"},
        {"number", "Count", REG_DWORD, "\x2a\0\0\x80"s, R"("Count"=dword:8000002a)"},
        {"number of three bytes", "Short", REG_DWORD, "\x01\x02\x03", R"("Short"=hex(4):01,02,03)"},
        {"binary", "Bin", REG_BINARY, "\0\x01\xff"s, R"("Bin"=hex:00,01,ff)"},
        {"empty binary", "NoBin", REG_BINARY, "", R"("NoBin"=hex:)"},
        {"other type", "Other", 0xFFFFFFFF, "x", R"("Other"=hex(ffffffff):78)"},
        {"name with escapes", "\x96\xbc\"\\\x01", REG_SZ, "x\0"s, R"("名\"\\\x01"="x")"},
        {"unnamed value", "", REG_SZ, "default\0"s, R"(@="default")"},
    };
    HKEY key = CreateKey(HKEY_CURRENT_USER, "Software\\T");
    for (const auto& row : rows)
        ASSERT_EQ(SetBytes(key, row.name, row.type, row.bytes), ERROR_SUCCESS) << row.what;
    const std::string written = ReadFileText(UserFile());
    std::string byHand = "[HKEY_CURRENT_USER\\Software\\T]\n";
    for (const auto& row : rows) byHand += row.line + "\n"s;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_NE(written.find("\n"s + row.line + "\n"), written.npos) << written;
    }
    ASSERT_TRUE(WriteFileBytes(UserFile(), {byHand.begin(), byHand.end()}));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        DWORD type = 12345;
        EXPECT_EQ(QueryBytes(key, row.name, &type), row.bytes);
        EXPECT_EQ(type, row.type);
    }
    RegCloseKey(key);
}

// Lines as a person writes them with a text editor: blanks around "=" and at the end of a line,
// a byte-order mark before the first. A value whose line still cannot be read is unread, not
// absent, and its line is told of and kept.
TEST_F(RegistryTest, HandWrittenLines) {
    static const struct {
        const char* what;
        const char* line;
        const char* name;
        LSTATUS status;
        DWORD type;
        std::string bytes;
    } rows[] = {
        {"blank at the end", "\"Server\"=\"myhost:8080\" ", "Server", ERROR_SUCCESS, REG_SZ,
         "myhost:8080\0"s},
        {"tab and CR at the end", "\"Tab\"=\"t\"\t\r", "Tab", ERROR_SUCCESS, REG_SZ, "t\0"s},
        {"blanks around =", "\"Around\" = \"a\"", "Around", ERROR_SUCCESS, REG_SZ, "a\0"s},
        {"tabs around =", "\"Tabs\"\t=\t\"b\"", "Tabs", ERROR_SUCCESS, REG_SZ, "b\0"s},
        {"blanks in the text are its own", "\"Inside\"=\" x \"", "Inside", ERROR_SUCCESS, REG_SZ,
         " x \0"s},
        {"number", "\"Count\" = dword:0000002a  ", "Count", ERROR_SUCCESS, REG_DWORD,
         "\x2a\0\0\0"s},
        {"binary", "\"Bin\" =hex:00,ff ", "Bin", ERROR_SUCCESS, REG_BINARY, "\0\xff"s},
        {"unnamed value", "@ = \"d\"", "", ERROR_SUCCESS, REG_SZ, "d\0"s},
        {"not closed", "\"Open\"=\"myhost:8080", "Open", ERROR_INVALID_DATA, 0, ""},
        {"text after the quotes", "\"After\"=\"x\" y", "After", ERROR_INVALID_DATA, 0, ""},
        {"no = after the name", "\"NoEq\" \"x\"", "NoEq", ERROR_FILE_NOT_FOUND, 0, ""},
        // Saved by an editor in Shift-JIS: the bytes are CP932 already.
        {"Shift-JIS text", "\"Pass\"=\"\x83\x70\x83\x58\"", "Pass", ERROR_SUCCESS, REG_SZ,
         "\x83\x70\x83\x58\0"s},
        {"second byte is a backslash", "\"So\"=\"\x83\x5c\\\\\x83\x5c\"", "So", ERROR_SUCCESS,
         REG_SZ, "\x83\x5c\\\x83\x5c\0"s},
        {"half-width kana", "\"Kana\" = \"\xb1\" ", "Kana", ERROR_SUCCESS, REG_SZ, "\xb1\0"s},
        {"Shift-JIS name", "\"\x96\xbc\"=\"x\"", "\x96\xbc", ERROR_SUCCESS, REG_SZ, "x\0"s},
        {"neither UTF-8 nor CP932", "\"Bad\"=\"\x83\x70\xff\"", "Bad", ERROR_INVALID_DATA, 0, ""},
    };
    std::string text = "\xef\xbb\xbf[HKEY_CURRENT_USER\\Software\\T]\n";
    for (const auto& row : rows) text += row.line + "\n"s;
    ASSERT_EQ(mkdir((tmp_.path + "/home").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(UserFolder().c_str(), 0700), 0);
    ASSERT_TRUE(WriteFileBytes(UserFile(), {text.begin(), text.end()}));

    testing::internal::CaptureStderr();
    HKEY key = OpenKey(HKEY_CURRENT_USER, "Software\\T");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::string buf(32, '\xaa');
        DWORD size = (DWORD)buf.size(), type = 0;
        EXPECT_EQ(RegQueryValueExA(key, row.name, nullptr, &type, (BYTE*)buf.data(), &size),
                  row.status);
        if (row.status != ERROR_SUCCESS) continue;
        EXPECT_EQ(type, row.type);
        EXPECT_EQ(buf.substr(0, size), row.bytes);
    }
    std::string told;
    for (int line : {10, 11, 12, 17})
        told += UserFile() + ":" + std::to_string(line) +
                ": cannot read this line; it is kept as it is\n";
    for (int line : {13, 14, 15, 16})
        told += UserFile() + ":" + std::to_string(line) +
                ": the text on this line is not UTF-8; it is read as Shift-JIS\n";
    EXPECT_EQ(testing::internal::GetCapturedStderr(), told);

    // Writing the unread value adds its own line; the one that cannot be read stays.
    testing::internal::CaptureStderr();
    ASSERT_EQ(SetBytes(key, "Open", REG_SZ, "o\0"s), ERROR_SUCCESS);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(QueryBytes(key, "Open"), "o\0"s);
    const std::string rewritten = ReadFileText(UserFile());
    EXPECT_NE(rewritten.find("\n\"Open\"=\"o\"\n"), rewritten.npos) << rewritten;
    EXPECT_NE(rewritten.find("\n\"Open\"=\"myhost:8080\n"), rewritten.npos) << rewritten;
    // What was read as Shift-JIS is written back as UTF-8.
    EXPECT_NE(rewritten.find("\n\"Pass\"=\"パス\"\n\"So\"=\"ソ\\\\ソ\"\n"), rewritten.npos)
        << rewritten;
    RegCloseKey(key);
}

// A file in the older form (name=type:hexbytes under [Key\Path]) is read, and written in the new
// form at the next change.
TEST_F(RegistryTest, OldFormReadAndRewritten) {
    const std::string old =
        "# Halvorne registry, HKEY_CURRENT_USER: [key\\path] sections of name=type:hexbytes "
        "values; names escape bytes as %xx\n"
        "[Software\\Hal%5b1%5d]\n"
        "SERVER=1:6c6f63616c686f737400\n"
        "%83A=3:00ff\n"
        "=1:00\n"
        "[]\n"
        "Top=4:01000000\n";
    ASSERT_EQ(mkdir((tmp_.path + "/home").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(UserFolder().c_str(), 0700), 0);
    ASSERT_TRUE(WriteFileBytes(UserFile(), {old.begin(), old.end()}));
    HKEY key = OpenKey(HKEY_CURRENT_USER, "Software\\Hal[1]");
    EXPECT_EQ(QueryBytes(key, "SERVER"), "localhost\0"s);
    EXPECT_EQ(QueryBytes(key, "\x83\x41"), "\0\xff"s);
    EXPECT_EQ(QueryBytes(key, ""), "\0"s);
    EXPECT_EQ(QueryBytes(HKEY_CURRENT_USER, "Top"), "\x01\0\0\0"s);

    ASSERT_EQ(SetBytes(key, "New", REG_SZ, "n\0"s), ERROR_SUCCESS);
    const std::string text = ReadFileText(UserFile());
    EXPECT_EQ(text.substr(text.find('\n') + 1),
              "\n[HKEY_CURRENT_USER\\Software\\Hal[1]]\n"
              "\"SERVER\"=\"localhost\"\n"
              "\"ア\"=hex:00,ff\n"
              "@=\"\"\n"
              "\"New\"=\"n\"\n"
              "\n[HKEY_CURRENT_USER]\n"
              "\"Top\"=dword:00000001\n");
    RegCloseKey(key);
}

// A section line that cannot be read takes the lines after it, up to the next section line, out
// of every key. Written back, those lines stay under it, and the lines of the key that merely
// cannot be read stay outside it, so that the store reads the same after the write.
TEST_F(RegistryTest, RewriteKeepsLinesUnderTheirSectionLine) {
    const std::string text =
        "[HKEY_CURRENT_USER\\S]\n"
        "[HKEY_LOCAL_MACHINE\\S]\n"
        "\"a\"=dword:1\n"
        "[HKEY_CURRENT_USER\\S]\n"
        "\"b\"=dword:zz\n";
    ASSERT_EQ(mkdir((tmp_.path + "/home").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(UserFolder().c_str(), 0700), 0);
    ASSERT_TRUE(WriteFileBytes(UserFile(), {text.begin(), text.end()}));
    static const struct {
        const char* name;
        LSTATUS status;
    } rows[] = {
        {"a", ERROR_FILE_NOT_FOUND},  // a line of another root's key
        {"b", ERROR_INVALID_DATA},    // a line of S that cannot be read
    };
    testing::internal::CaptureStderr();  // the lines that cannot be read are told of
    HKEY key = OpenKey(HKEY_CURRENT_USER, "S");
    for (int written = 0; written < 2; written++) {
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(row.name) + (written ? " after the write" : " before it"));
            DWORD size = 0;
            EXPECT_EQ(RegQueryValueExA(key, row.name, nullptr, nullptr, nullptr, &size),
                      row.status);
        }
        ASSERT_EQ(SetBytes(key, "c", REG_DWORD, "\x01\0\0\0"s), ERROR_SUCCESS);
    }
    testing::internal::GetCapturedStderr();
    const std::string rewritten = ReadFileText(UserFile());
    EXPECT_EQ(rewritten.substr(rewritten.find('\n') + 1),
              "\n[HKEY_CURRENT_USER\\S]\n"
              "\"c\"=dword:00000001\n"
              "\"b\"=dword:zz\n"
              "[HKEY_LOCAL_MACHINE\\S]\n"
              "\"a\"=dword:1\n");
    RegCloseKey(key);
}

// A line that cannot be read is written back byte for byte, with the carriage returns it ended
// in: without them "1\r" would read as the number 1 after the write.
TEST_F(RegistryTest, KeptLinesKeepTheirLineEnds) {
    const std::string kept = "\"a\"=dword:1\r\r\n\"b\"=dword:zz\r\n";
    const std::string text = "[HKEY_CURRENT_USER\\S]\r\n" + kept;
    ASSERT_EQ(mkdir((tmp_.path + "/home").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(UserFolder().c_str(), 0700), 0);
    ASSERT_TRUE(WriteFileBytes(UserFile(), {text.begin(), text.end()}));
    testing::internal::CaptureStderr();  // the lines that cannot be read are told of
    HKEY key = OpenKey(HKEY_CURRENT_USER, "S");
    ASSERT_EQ(SetBytes(key, "c", REG_DWORD, "\x01\0\0\0"s), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "a", nullptr, nullptr, nullptr, &size), ERROR_INVALID_DATA);
    testing::internal::GetCapturedStderr();
    const std::string rewritten = ReadFileText(UserFile());
    EXPECT_EQ(rewritten.substr(rewritten.find('\n') + 1),
              "\n[HKEY_CURRENT_USER\\S]\n\"c\"=dword:00000001\n" + kept);
    RegCloseKey(key);
}

TEST_F(RegistryTest, StoreFollowsEnvironment) {
    const std::string& t = tmp_.path;
    // Empty: unset.
    const struct {
        const char* name;
        std::string home, configHome, configDirs;
        HKEY root;
        std::string file;
    } rows[] = {
        {"user store in XDG_CONFIG_HOME", "", t + "/a", "", HKEY_CURRENT_USER,
         "/a/Halvorne/HKEY_CURRENT_USER.reg"},
        {"user store in ~/.config", t + "/h", "", "", HKEY_CURRENT_USER,
         "/h/.config/Halvorne/HKEY_CURRENT_USER.reg"},
        {"relative XDG_CONFIG_HOME ignored", t + "/h2", "rel", "", HKEY_CURRENT_USER,
         "/h2/.config/Halvorne/HKEY_CURRENT_USER.reg"},
        {"machine store in the first folder", "", "", t + "/m1:" + t + "/m2", HKEY_LOCAL_MACHINE,
         "/m1/Halvorne/HKEY_LOCAL_MACHINE.reg"},
        {"relative and empty entries passed over", "", "", "rel::" + t + "/m3:" + t + "/m4",
         HKEY_LOCAL_MACHINE, "/m3/Halvorne/HKEY_LOCAL_MACHINE.reg"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string* values[] = {&row.home, &row.configHome, &row.configDirs};
        for (int i = 0; i < 3; i++) {
            if (values[i]->empty())
                unsetenv(kEnvVars[i]);
            else
                setenv(kEnvVars[i], values[i]->c_str(), 1);
        }
        EXPECT_EQ(SetBytes(row.root, "Where", REG_SZ, row.name), ERROR_SUCCESS);
        EXPECT_TRUE(FileExists(t + row.file));
        EXPECT_EQ(QueryBytes(row.root, "Where"), row.name);
    }
    // Read at every call: the first store is still there, the others do not see it.
    setenv("XDG_CONFIG_HOME", (t + "/a").c_str(), 1);
    EXPECT_EQ(QueryBytes(HKEY_CURRENT_USER, "Where"), rows[0].name);
    setenv("XDG_CONFIG_HOME", (t + "/b").c_str(), 1);
    EXPECT_EQ(QueryBytes(HKEY_CURRENT_USER, "Where"), "(absent)");
}

TEST_F(RegistryTest, UnwritableStore) {
    ASSERT_TRUE(WriteFileBytes(tmp_.path + "/plain", {'x'}));
    ASSERT_EQ(mkdir((tmp_.path + "/ro").c_str(), 0500), 0);
    const struct {
        const char* name;
        const char* var;
        std::string value;
        HKEY root;
        bool modeBound;  // root ignores the folder's mode
    } rows[] = {
        {"folder under a plain file", "XDG_CONFIG_HOME", tmp_.path + "/plain/config",
         HKEY_CURRENT_USER, false},
        {"read-only machine folder", "XDG_CONFIG_DIRS", tmp_.path + "/ro", HKEY_LOCAL_MACHINE,
         true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.modeBound && geteuid() == 0) continue;
        setenv(row.var, row.value.c_str(), 1);
        HKEY key = HKEY_CURRENT_USER;
        EXPECT_EQ(RegCreateKeyExA(row.root, "Software\\Halvorne", 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_ACCESS_DENIED);
        EXPECT_EQ(key, nullptr);
        EXPECT_EQ(SetBytes(row.root, "v", REG_SZ, "x"), ERROR_ACCESS_DENIED);
        EXPECT_EQ(RegOpenKeyExA(row.root, "Software", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(ListSubKeys(row.root), "");
    }
}

// A write that fails midway, as on a full disk (a file size limit binds root too), and a store
// that is there but cannot be read: the old file stays as it was, with no temporary file.
TEST_F(RegistryTest, WriteFailureKeepsOldFile) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, "Software");
    ASSERT_EQ(SetBytes(key, "Kept", REG_SZ, "old\0"s), ERROR_SUCCESS);
    const std::string before = ReadFileText(UserFile());
    {
        FileSizeLimit limit(16);
        const LSTATUS set = SetBytes(key, "Kept", REG_SZ, "new\0"s);
        HKEY made = HKEY_CURRENT_USER;
        const LSTATUS create = RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\New", 0, nullptr, 0,
                                               KEY_ALL_ACCESS, nullptr, &made, nullptr);
        DWORD disposition = 0;
        RegCloseKey(CreateKey(HKEY_CURRENT_USER, "SOFTWARE", &disposition));  // needs no write
        EXPECT_EQ(set, ERROR_ACCESS_DENIED);
        EXPECT_EQ(create, ERROR_ACCESS_DENIED);
        EXPECT_EQ(made, nullptr);
        EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(UserFolder()),
                            std::filesystem::directory_iterator()),
              1);

    // A store that is there but cannot be read (a folder in its place) is never written over.
    const std::string aside = UserFolder() + "/aside";
    ASSERT_EQ(rename(UserFile().c_str(), aside.c_str()), 0);
    ASSERT_EQ(mkdir(UserFile().c_str(), 0700), 0);
    EXPECT_EQ(SetBytes(key, "Kept", REG_SZ, "new\0"s), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(std::filesystem::is_directory(UserFile()));
    ASSERT_EQ(rmdir(UserFile().c_str()), 0);
    ASSERT_EQ(rename(aside.c_str(), UserFile().c_str()), 0);

    EXPECT_EQ(ReadFileText(UserFile()), before);
    EXPECT_EQ(QueryBytes(key, "Kept"), "old\0"s);
    RegCloseKey(key);
}

// A settings file that is a symbolic link (kept with the user's other configuration files) stays
// a link, and the file it names gets the values.
TEST_F(RegistryTest, LinkedFileStaysALink) {
    const std::string real = tmp_.path + "/dotfiles.reg";
    ASSERT_TRUE(WriteFileBytes(real, {}));
    ASSERT_EQ(chmod(real.c_str(), 0600), 0);
    RegCloseKey(CreateKey(HKEY_CURRENT_USER, "Software"));  // makes the folder and the file
    ASSERT_EQ(unlink(UserFile().c_str()), 0);
    ASSERT_EQ(symlink(real.c_str(), UserFile().c_str()), 0);
    HKEY key = CreateKey(HKEY_CURRENT_USER, "Software");
    ASSERT_EQ(SetBytes(key, "SERVER", REG_SZ, "host:8080\0"s), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_TRUE(std::filesystem::is_symlink(UserFile()));
    EXPECT_NE(ReadFileText(real).find("\"SERVER\"=\"host:8080\""), std::string::npos);
    EXPECT_EQ(ModeOf(real), 0600);
}

int g_changes;
int CountChange() {
    g_changes++;
    return 1;
}
int RefuseChange() {
    g_changes++;
    return 0;
}

// Several values in one change of the store: all of them, or none when the write fails.
TEST_F(RegistryTest, SeveralValuesInOneWrite) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, "Software\\Halvorne\\Quillet");
    ASSERT_EQ(SetBytes(key, "ALBUMID", REG_SZ, "old\0"s), ERROR_SUCCESS);
    const REGSETVALUE values[] = {
        {"ALBUMID", REG_SZ, (const BYTE*)"new", 4},
        {"PASSWORD", REG_SZ, (const BYTE*)"pw", 3},
        {"Count", REG_DWORD, (const BYTE*)"\x2a\0\0\0", 4},
    };
    static const struct {
        const char* name;
        int (*hook)();
        LSTATUS status;
        const char *album, *pass;
    } rows[] = {
        {"write fails", RefuseChange, ERROR_ACCESS_DENIED, "old\0", "(absent)"},
        {"write goes through", CountChange, ERROR_SUCCESS, "new\0", "pw\0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        g_changes = 0;
        PlatSetRegWriteHook(row.hook);
        const LSTATUS status = RegSetValuesA(key, values, DWORD(std::size(values)));
        PlatSetRegWriteHook(nullptr);
        EXPECT_EQ(status, row.status);
        EXPECT_EQ(g_changes, 1);
        EXPECT_EQ(QueryBytes(key, "ALBUMID"), std::string(row.album, strlen(row.album) + 1));
        EXPECT_EQ(QueryBytes(key, "PASSWORD"),
                  row.status ? row.pass : std::string(row.pass, strlen(row.pass) + 1));
    }
    EXPECT_EQ(QueryBytes(key, "Count"), "\x2a\0\0\0"s);
    const REGSETVALUE broken = {"x", REG_SZ, nullptr, 1};
    EXPECT_EQ(RegSetValuesA(key, &broken, 1), ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST_F(RegistryTest, HandlesSeeEachOthersWrites) {
    HKEY one = CreateKey(HKEY_CURRENT_USER, "Software\\Halvorne\\Quillet");
    HKEY two = OpenKey(HKEY_CURRENT_USER, "software\\halvorne\\quillet");
    ASSERT_EQ(SetBytes(one, "Server", REG_SZ, "a\0"s), ERROR_SUCCESS);
    EXPECT_EQ(QueryBytes(two, "Server"), "a\0"s);
    ASSERT_EQ(SetBytes(two, "Server", REG_SZ, "bb\0"s), ERROR_SUCCESS);
    EXPECT_EQ(QueryBytes(one, "Server"), "bb\0"s);

    // Another program replaces the file: seen at the next call, and kept by the next write.
    const std::string other = "[Software\\Halvorne\\Quillet]\nServer=1:6300\n";
    ASSERT_TRUE(WriteFileBytes(UserFile(), {other.begin(), other.end()}));
    EXPECT_EQ(QueryBytes(one, "Server"), "c\0"s);
    ASSERT_EQ(SetBytes(one, "Port", REG_DWORD, "\x19\0\0\0"s), ERROR_SUCCESS);
    EXPECT_EQ(QueryBytes(two, "Server"), "c\0"s);
    EXPECT_EQ(QueryBytes(two, "Port"), "\x19\0\0\0"s);
    RegCloseKey(one);
    RegCloseKey(two);
}

// Two processes write at the same time; the lock and the fresh read keep every write.
TEST_F(RegistryTest, ConcurrentWritersLoseNothing) {
    const int kWrites = 40;
    pid_t children[2];
    for (int c = 0; c < 2; c++) {
        children[c] = fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            int failed = 0;
            for (int i = 0; i < kWrites; i++) {
                const std::string name = "p" + std::to_string(c) + "_" + std::to_string(i);
                failed += SetBytes(HKEY_CURRENT_USER, name.c_str(), REG_SZ, name) != 0;
            }
            _exit(failed);
        }
    }
    for (pid_t child : children) {
        int status = -1;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int c = 0; c < 2; c++) {
        for (int i = 0; i < kWrites; i++) {
            const std::string name = "p" + std::to_string(c) + "_" + std::to_string(i);
            EXPECT_EQ(QueryBytes(HKEY_CURRENT_USER, name.c_str()), name);
        }
    }
}

// Lines that cannot be read are told of on standard error with their numbers, and written back
// as they were, in their sections, at the next change.
TEST_F(RegistryTest, UnreadableLinesKeptAndTold) {
    const std::string text =
        "garbage\n"
        "early=1:41\n"  // before any key
        "[HKEY_CURRENT_USER\\Good]\n"
        "ok=1:4142\n"
        "Upper=3:4A4b\r\n"
        "odd=3:414\n"
        "badhex=3:zz\n"
        "notype=:41\n"
        "negative=-1:41\n"
        "bigtype=4294967296:41\n"
        "maxtype=4294967295:\n"
        "nocolon=341\n"
        "bad%zz=1:41\n"
        "cut%4=1:41\n"
        "esc%3dname=3:00ff\n"
        "\0junk\xff=\n"
        "\"open\"=\"no end\n"
        "\"badesc\"=\"\\q\"\n"
        "\"emoji\"=\"\xf0\x9f\x98\x80\"\n"
        "\"after\"=\"x\" tail\n"
        "\"num\"=dword:123456789\n"
        "\"hexcomma\"=hex:00,\n"
        "\"type\"=hex(zz):00\n"
        "\"dw\"=dword:2a\n"
        "\"hx\"=hex:0A,fF\n"
        "\"typed\"=hex(2):41,00\n"
        "[HKEY_LOCAL_MACHINE\\Good]\n"
        "lost=1:41\n"
        "[Broken\n"
        "\"lost\"=\"x\"\n"
        "[%zz]\n"
        "lost=1:41\n"
        "[nul%00key]\n"
        "lost=1:41\n"
        "[good\\\\]\n"  // the same key as [Good]
        "late=4:01000000\n"
        "OK=1:43\n"  // the later one wins, under the first spelling
        "   \n"
        "; a comment\n"
        "[HKEY_CURRENT_USER]\n"
        "last=1:41"s;  // no final line end
    ASSERT_EQ(mkdir((tmp_.path + "/home").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(UserFolder().c_str(), 0700), 0);
    ASSERT_TRUE(WriteFileBytes(UserFile(), {text.begin(), text.end()}));

    testing::internal::CaptureStderr();
    HKEY good = OpenKey(HKEY_CURRENT_USER, "Good");
    EXPECT_EQ(QueryBytes(good, "ok"), "C");  // the file again: told of once
    std::string told;
    for (int line : {1,  2,  6,  7,  8,  9,  10, 12, 13, 14, 16, 17, 18,
                     19, 20, 21, 22, 23, 27, 28, 29, 30, 31, 32, 33, 34})
        told += UserFile() + ":" + std::to_string(line) +
                ": cannot read this line; it is kept as it is\n";
    EXPECT_EQ(testing::internal::GetCapturedStderr(), told);

    static const struct {
        const char* name;
        DWORD type;
        std::string bytes;
    } rows[] = {
        {"ok", REG_SZ, "C"},
        {"upper", REG_BINARY, "JK"},
        {"maxtype", 0xFFFFFFFF, ""},
        {"esc=name", REG_BINARY, "\0\xff"s},
        {"dw", REG_DWORD, "\x2a\0\0\0"s},
        {"hx", REG_BINARY, "\x0a\xff"},
        {"typed", 2, "A\0"s},
        {"late", REG_DWORD, "\x01\0\0\0"s},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DWORD type = 12345;
        EXPECT_EQ(QueryBytes(good, row.name, &type), row.bytes);
        EXPECT_EQ(type, row.type);
    }
    for (const char* absent : {"odd", "badhex", "open", "emoji", "after", "num", "lost"})
        EXPECT_EQ(QueryBytes(good, absent), "(absent)") << absent;
    EXPECT_EQ(QueryBytes(HKEY_CURRENT_USER, "early"), "(absent)");
    EXPECT_EQ(QueryBytes(HKEY_CURRENT_USER, "last"), "A");
    EXPECT_EQ(ListSubKeys(HKEY_CURRENT_USER), "Good");

    testing::internal::CaptureStderr();
    ASSERT_EQ(SetBytes(good, "new", REG_SZ, "n\0"s), ERROR_SUCCESS);
    testing::internal::GetCapturedStderr();
    const std::string rewritten = ReadFileText(UserFile());
    EXPECT_EQ(rewritten.substr(rewritten.find('\n') + 1),
              "garbage\n"
              "early=1:41\n"
              "\n[HKEY_CURRENT_USER\\Good]\n"
              "\"ok\"=hex(1):43\n"
              "\"Upper\"=hex:4a,4b\n"
              "\"maxtype\"=hex(ffffffff):\n"
              "\"esc=name\"=hex:00,ff\n"
              "\"dw\"=dword:0000002a\n"
              "\"hx\"=hex:0a,ff\n"
              "\"typed\"=hex(2):41,00\n"
              "\"late\"=dword:00000001\n"
              "\"new\"=\"n\"\n"
              "odd=3:414\nbadhex=3:zz\nnotype=:41\nnegative=-1:41\nbigtype=4294967296:41\n"
              "nocolon=341\nbad%zz=1:41\ncut%4=1:41\n\0junk\xff=\n\"open\"=\"no end\n"
              "\"badesc\"=\"\\q\"\n\"emoji\"=\"\xf0\x9f\x98\x80\"\n\"after\"=\"x\" tail\n"
              "\"num\"=dword:123456789\n\"hexcomma\"=hex:00,\n\"type\"=hex(zz):00\n"
              "[HKEY_LOCAL_MACHINE\\Good]\nlost=1:41\n[Broken\n\"lost\"=\"x\"\n[%zz]\nlost=1:41\n"
              "[nul%00key]\nlost=1:41\n"
              "\n[HKEY_CURRENT_USER]\n"
              "\"last\"=hex(1):41\n"s)
        << rewritten;
    RegCloseKey(good);
}

}  // namespace
