// The address book file and the book in memory: loading, saving, escaping, sorting, and a save
// that fails.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "address/address.h"
#include "app/appstate.h"
#include "app/folders.h"
#include "support/testutil.h"

namespace {

struct Entry {
    int id;
    std::string name, address;
    bool operator==(const Entry& o) const {
        return id == o.id && name == o.name && address == o.address;
    }
};

std::ostream& operator<<(std::ostream& os, const Entry& e) {
    return os << "{" << e.id << ", \"" << e.name << "\", \"" << e.address << "\"}";
}

std::string AdrFile() {
    return std::string(g_app.AppFolder) + kAdrName;
}

void PutAdrFile(const std::string& bytes) {
    ASSERT_TRUE(WriteFileBytes(AdrFile(), {bytes.begin(), bytes.end()}));
}

std::vector<Entry> BookEntries() {
    std::vector<Entry> v;
    for (int i = 0; i < g_adrBook.count; i++) {
        const AddressEntry* e = g_adrBook.items[i];
        v.push_back({e->id, e->name, e->address});
        EXPECT_EQ(e->selected, 0);
    }
    return v;
}

// Makes the book hold `entries` (ids as added) with the given ticks.
void SetBook(const std::vector<Entry>& entries, const std::vector<int>& ticks = {}) {
    FreeAddress();
    for (size_t i = 0; i < entries.size(); i++) {
        ASSERT_EQ(AddAddress(), 1);
        AddressEntry* e = g_adrBook.items[i];
        snprintf(e->name, sizeof e->name, "%s", entries[i].name.c_str());
        snprintf(e->address, sizeof e->address, "%s", entries[i].address.c_str());
        e->selected = i < ticks.size() ? ticks[i] : 0;
    }
}

constexpr size_t kFileCap = 4 * 1024 * 1024;

// The bytes followed by blanks, `size` bytes in all.
std::string PadTo(const std::string& bytes, size_t size) {
    return bytes + std::string(size - bytes.size(), ' ');
}

struct AdrStore : testing::Test {
    AppEnv env;
    void TearDown() override { FreeAddress(); }
};

TEST_F(AdrStore, LoadsWhatTheFileHolds) {
    const std::string n300(300, 'n');
    const struct {
        const char* name;
        std::string file;  // "<none>": no file at all
        std::vector<Entry> want;
    } rows[] = {
        {"no file", "<none>", {}},
        {"empty file", "", {}},
        {"terminator only", "-1,0", {}},
        {"two entries",
         "0,Cafe~, North,k1,1,Shop,,-1,0",
         {{0, "Cafe, North", "k1"}, {1, "Shop", ""}}},
        {"escapes", "0,x~,y~~z,~q~,,-1,0", {{0, "x,y~z", "q,"}}},
        {"300-byte name", "4," + n300 + ",a@b,-1,0", {{4, std::string(255, 'n'), "a@b"}}},
        {"only ten characters of a number", "0000000000005,a,b,-1,0", {{0, "a", "b"}}},
        {"blanks and sign", "  +7,a,b,-1,0", {{7, "a", "b"}}},
        {"no digits", "x,a,b,-1,0", {{0, "a", "b"}}},
        {"beyond 32 bits", "9999999999,a,b,-1,0", {{INT_MAX, "a", "b"}}},
        {"negative id ends it", "0,a,b,-5,c,d,2,e,f,-1,0", {{0, "a", "b"}}},
        {"cut off in an entry", "0,a,b,1,c", {{0, "a", "b"}}},
        {"cut off after a tilde", "0,a,b,1,c,d~", {{0, "a", "b"}}},
        {"no terminator", "0,a,b,", {{0, "a", "b"}}},
        {"exactly 4 MiB", PadTo("0,a,b,-1,0", kFileCap), {{0, "a", "b"}}},
        {"more than one load step",
         [] {
             std::string s;
             for (int i = 0; i < 25; i++) s += std::to_string(i) + ",n,a,";
             return s + "-1,0";
         }(),
         [] {
             std::vector<Entry> v;
             for (int i = 0; i < 25; i++) v.push_back({i, "n", "a"});
             return v;
         }()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        remove(AdrFile().c_str());
        if (row.file != "<none>") PutAdrFile(row.file);
        MsgRecorder rec;
        EXPECT_EQ(ReadAddress(), 1);
        EXPECT_EQ(BookEntries(), row.want);
        EXPECT_TRUE(rec.msgs.empty());
    }
}

// Whatever is at the path but cannot be taken as a book is refused at once and told, and the book
// is left empty.
TEST_F(AdrStore, RefusesWhatIsNoBook) {
    const struct {
        const char* name;
        std::function<bool(const std::string&)> make;  // puts it at the path
    } rows[] = {
        {"a FIFO, which nobody writes",
         [](const std::string& p) { return mkfifo(p.c_str(), 0600) == 0; }},
        {"one byte over 4 MiB",
         [](const std::string& p) {
             const std::string big = PadTo("-1,0", kFileCap + 1);
             return WriteFileBytes(p, {big.begin(), big.end()});
         }},
        {"a link to itself, which cannot be opened",
         [](const std::string& p) { return symlink(kAdrName, p.c_str()) == 0; }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        remove(AdrFile().c_str());
        ASSERT_TRUE(row.make(AdrFile()));
        SetBook({{0, "old", "o@x"}});
        MsgRecorder rec;
        EXPECT_EQ(ReadAddress(), 0);
        EXPECT_EQ(g_adrBook.count, 0);
        std::vector<std::string> told;
        for (const auto& m : rec.msgs) told.push_back(m.caption + ": " + m.text);
        EXPECT_EQ(told, (std::vector<std::string>{"ReadAddress-Error: ファイル読込みエラー"}));
    }
}

TEST_F(AdrStore, SavesExactlyTheseBytes) {
    const struct {
        const char* name;
        std::vector<Entry> book;
        std::string file;
    } rows[] = {
        {"two entries",
         {{0, "Cafe, North", "k1"}, {0, "Shop", ""}},
         "0,Cafe~, North,k1,1,Shop,,-1,0"},
        {"comma and tilde", {{0, "x,y~z", ""}}, "0,x~,y~~z,,-1,0"},
        {"empty entries vanish, ids keep their index",
         {{0, "", ""}, {0, "a", ""}, {0, "", ""}, {0, "", "b"}},
         "1,a,,3,,b,-1,0"},
        {"empty book", {}, "-1,0"},
        // ミ is 0x83 0x7E: its trail byte is a tilde.
        {"double-byte trail tilde",
         {{0, "\x83\x7E\x83\x7E", "a,\x83\x7E"}},
         "0,\x83~~\x83~~,a~,\x83~~,-1,0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SetBook(row.book);
        ASSERT_EQ(WriteAddress(), 1);
        EXPECT_EQ(ReadFileText(AdrFile()), row.file);
        for (int i = 0; i < g_adrBook.count; i++) EXPECT_EQ(g_adrBook.items[i]->id, i);
        // What was saved reads back, the empty entries gone.
        std::vector<Entry> kept;
        for (size_t i = 0; i < row.book.size(); i++)
            if (!row.book[i].name.empty() || !row.book[i].address.empty())
                kept.push_back({int(i), row.book[i].name, row.book[i].address});
        ASSERT_EQ(ReadAddress(), 1);
        EXPECT_EQ(BookEntries(), kept);
    }
    struct stat st;
    ASSERT_EQ(stat(AdrFile().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

// A full disk while saving leaves the previous file as it was, and the user is told: the book
// is released after a save, and its changes with it.
TEST_F(AdrStore, FailedSaveKeepsTheOldFile) {
    const std::string old = "0,Old,o@x,-1,0";
    PutAdrFile(old);
    SetBook({{0, std::string(255, 'n'), std::string(255, 'a')}, {0, "b", "c"}});
    MsgRecorder rec;
    {
        FileSizeLimit limit(100);
        EXPECT_EQ(WriteAddress(), 0);
    }
    EXPECT_EQ(ReadFileText(AdrFile()), old);
    ASSERT_EQ(rec.msgs.size(), 1u);
    EXPECT_EQ(rec.msgs[0].text, "アドレス帳を保存できませんでした");
    EXPECT_EQ(rec.msgs[0].templ, 199);
}

TEST_F(AdrStore, SortsByEachKey) {
    const std::vector<Entry> book = {
        {0, "b", "z@x"}, {0, "", "m@x"}, {0, "B", "a@x"}, {0, "a", "A@x"}};
    const std::vector<int> ticks = {1, 0, 1, 0};
    const struct {
        int key;
        std::vector<std::string> names;  // in the new order
    } rows[] = {
        {ADR_NAME_ASC, {"", "B", "a", "b"}},
        {ADR_NAME_DESC, {"b", "a", "B", ""}},
        {ADR_ADDR_ASC, {"a", "B", "", "b"}},
        {ADR_ADDR_DESC, {"b", "", "B", "a"}},
        {ADR_UNSEL_FIRST, {"", "a", "b", "B"}},
        {ADR_SEL_FIRST, {"b", "B", "", "a"}},
        {6, {"b", "", "B", "a"}},
        {-1, {"b", "", "B", "a"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        SetBook(book, ticks);
        EXPECT_EQ(SortAddress(row.key), 1);
        std::vector<std::string> names;
        for (int i = 0; i < g_adrBook.count; i++) {
            const AddressEntry* e = g_adrBook.items[i];
            names.push_back(e->name);
            // Each entry moves whole, tick and id with it.
            const size_t from = size_t(e->id);
            EXPECT_EQ(e->address, book[from].address);
            EXPECT_EQ(e->selected, ticks[from]);
        }
        EXPECT_EQ(names, row.names);
    }
    FreeAddress();
    EXPECT_EQ(SortAddress(ADR_NAME_ASC), 0);
}

// Deleting moves the later entries forward; an entry added after it may share an id until the
// next save.
TEST_F(AdrStore, DeleteThenAdd) {
    SetBook({{0, "a", "1"}, {0, "b", "2"}, {0, "c", "3"}});
    DeleteAddress(0);
    ASSERT_EQ(AddAddress(), 1);
    EXPECT_EQ(BookEntries(), (std::vector<Entry>{{1, "b", "2"}, {2, "c", "3"}, {2, "", ""}}));
    ASSERT_EQ(WriteAddress(), 1);
    EXPECT_EQ(ReadFileText(AdrFile()), "0,b,2,1,c,3,-1,0");
}

}  // namespace
