// Accepted uploads on disk: the folder and its info.txt in UTF-8, no password anywhere, the
// limit of five waiting scheduled mails per album, and CP932 text turned into UTF-8.
#include "server/upload_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/testutil.h"
#include "server/sjis_text.h"
#include "upload_body.h"

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// The files under `dir` whose bytes hold `needle`.
std::vector<std::string> FilesHolding(const std::string& dir, const std::string& needle) {
    std::vector<std::string> found;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir))
        if (e.is_regular_file() && ReadAll(e.path()).find(needle) != std::string::npos)
            found.push_back(e.path());
    return found;
}

TEST(AcceptUpload, StoresPictureAndUtf8Info) {
    TempDir dir;
    BodyFields f;
    f.user = "\x93\xfa\x96\x7b@example.jp";                  // 日本
    f.subject = "\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd";  // こんにちは
    f.message = "\x88\xea\r\n\x93\xf1\r\n\x82\xff";          // 一, 二, a broken character
    f.schedule = "ON(2025/06/11-09)";
    f.recipients = "a@x.jp,b@x.jp";
    f.picture = "\xFF\xD8\n" + kD + "\n\xFF\xD9";
    ASSERT_EQ(AcceptUpload(dir.path, MakeBody(f), TestNow()), "OK");

    const std::string folder = dir.path + "/uploads/album1/20250610-102000-1";
    EXPECT_EQ(ReadAll(folder + "/picture.jpg"), f.picture);
    EXPECT_EQ(ReadAll(folder + "/info.txt"),
              "user: 日本@example.jp\n"
              "album: album1\n"
              "uploaded: 2025/06/10 10:20:00\n"
              "schedule: 2025/06/11 09:00\n"
              "send-at: " +
                  std::to_string(LocalTime(2025, 6, 11, 9)) +
                  "\n"
                  "recipients: a@x.jp, b@x.jp\n"
                  "subject: こんにちは\n"
                  "message:\n"
                  "一\n二\n\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(FilesHolding(dir.path, f.pass), std::vector<std::string>());

    // A second upload in the same second gets a folder of its own; both read back newest first.
    ASSERT_EQ(AcceptUpload(dir.path, MakeBody(BodyFields()), TestNow()), "OK");
    const std::vector<StoredUpload> ups = ListUploads(dir.path, "album1");
    ASSERT_EQ(ups.size(), 2u);
    EXPECT_EQ(ups[0].id, "20250610-102000-2");
    EXPECT_EQ(ups[1].subject, "こんにちは");
    EXPECT_EQ(ups[1].message, "一\n二\n\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(ups[1].sendAt, LocalTime(2025, 6, 11, 9));
    EXPECT_EQ(ListAlbums(dir.path), std::vector<std::string>{"album1"});
}

TEST(AcceptUpload, RefusedUploadLeavesNothing) {
    TempDir dir;
    BodyFields f;
    f.recipients = "";
    EXPECT_EQ(AcceptUpload(dir.path, MakeBody(f), TestNow()), "NG02");
    EXPECT_FALSE(std::filesystem::exists(dir.path + "/uploads"));
}

TEST(AcceptUpload, SixthWaitingScheduledMailRefused) {
    TempDir dir;
    BodyFields sched;
    for (int h = 11; h <= 15; h++) {
        sched.schedule = "ON(2025/06/10-" + std::to_string(h) + ")";
        ASSERT_EQ(AcceptUpload(dir.path, MakeBody(sched), TestNow()), "OK") << h;
    }
    BodyFields now, other = sched;
    other.album = "album2";
    const struct {
        const char* name;
        BodyFields f;
        time_t at;
        const char* answer;
    } rows[] = {
        {"sixth scheduled mail", sched, TestNow(), "NG10"},
        {"a mail sent at once still goes", now, TestNow(), "OK"},
        {"another album has its own five", other, TestNow(), "OK"},
        {"once the first hour has come, four wait", sched, LocalTime(2025, 6, 10, 11, 0), "OK"},
        {"and the new one makes five again", sched, LocalTime(2025, 6, 10, 11, 0), "NG10"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(AcceptUpload(dir.path, MakeBody(r.f), r.at), r.answer);
    }
}

TEST(SjisToUtf8Lossy, ConvertsAndMarksBrokenBytes) {
    const struct {
        const char* name;
        std::string sjis, utf8;
    } cases[] = {
        {"ASCII", "abc 123", "abc 123"},
        {"kanji and kana", "\x93\xfa\x96\x7b\x82\xa0\x83\x41", "日本あア"},
        {"half-width kana", "\xb1\xb2", "ｱｲ"},
        {"CP932 extension (circled 1)", "\x87\x40", "①"},
        {"invalid byte between",
         "a\xff"
         "b",
         "a\xEF\xBF\xBD"
         "b"},
        {"lead byte cut off at the end", "a\x82", "a\xEF\xBF\xBD"},
        {"NUL kept", std::string("a\0b", 3), std::string("a\0b", 3)},
        {"empty", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SjisToUtf8Lossy(c.sjis), c.utf8);
    }
}

}  // namespace
