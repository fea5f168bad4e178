// The upload body byte for byte: lines 1 to 13 ended by LF, the picture, trailer and delimiter.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "send/upload.h"
#include "support/testutil.h"

namespace {

using namespace std::string_literals;

const std::string D = "1415926535897932384626433832795028841";
const std::string T = "0123456789012345678901234567890123456789012";

std::string Body(const UploadRequest& req, const std::string& jpg, const char* account) {
    TempDir dir;
    EXPECT_TRUE(WriteFileBytes(dir.File("temp.JPG"), {jpg.begin(), jpg.end()}));
    char* body = nullptr;
    size_t size = 0;
    EXPECT_EQ(MakeUploadBody(account, req, dir.File("temp.JPG").c_str(), &body, &size), 1);
    std::string out(body, size);
    free(body);
    return out;
}

TEST(UploadBody, LinesPictureTrailerAndDelimiter) {
    // "件名" and two message lines in CP932 bytes.
    const char subject[] = "\x8c\x8f\x96\xbc";
    const char message[] = "line one\r\nline two";
    std::string picture512;
    for (int i = 0; i < 512; i++) picture512 += char(i * 7);
    struct Case {
        const char* name;
        UploadRequest req;
        std::string jpg;
        std::string lines9to13;
    };
    const Case cases[] = {
        {"two addresses at 15 o'clock on 18 June 2002",
         {"a@example.jp,b@example.jp", subject, message, "ON(2002/06/18-15)", ""},
         "\xFF\xD8jpeg\n\0\xFF\xD9"s,  // a NUL and an LF inside
         "ON(2002/06/18-15)\na@example.jp,b@example.jp\n" + std::string(subject) +
             "\nline one\r\nline two\n" + D + "\n"},
        {"empty subject and message, at once",
         {"a@example.jp", "", "", "OFF()", ""},
         "\xFF\xD8",
         "OFF()\na@example.jp\n\n\n" + D + "\n"},
        {"empty picture",
         {"a@example.jp", "s", "m", "OFF()", ""},
         "",
         "OFF()\na@example.jp\ns\nm\n" + D + "\n"},
        {"a picture of exactly 512 bytes",
         {"a@example.jp", "s", "m", "OFF()", ""},
         picture512,
         "OFF()\na@example.jp\ns\nm\n" + D + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string& jpg = c.jpg;
        const std::string want = D + "\nVelquaris2.00\n\n" + D + "\nme@example.jp\npw\nalbum1\n" +
                                 D + "\n" + c.lines9to13 + jpg + T + D;
        EXPECT_EQ(Body(c.req, jpg, "me@example.jp\npw\nalbum1"), want);
    }
}

// A picture large enough to make the buffer grow many times arrives whole.
TEST(UploadBody, LargePictureArrivesWhole) {
    std::string jpg;
    for (int i = 0; i < 100000; i++) jpg += char(i * 31 + 5);
    const std::string body = Body({"a@b", "", "", "OFF()", "x"}, jpg, "u\np\na");
    ASSERT_GT(body.size(), jpg.size() + 80);
    EXPECT_EQ(body.substr(body.size() - 80 - jpg.size(), jpg.size()), jpg);
    EXPECT_EQ(body.substr(0, D.size() + 17), D + "\nVelquaris2.00\nx\n");
}

TEST(UploadBody, MissingPictureIsTold) {
    MsgRecorder rec;
    char* body = reinterpret_cast<char*>(1);
    size_t size = 0;
    EXPECT_EQ(MakeUploadBody("u\np\na", {"a@b", "", "", "OFF()", ""}, "/nonexistent/temp.JPG",
                             &body, &size),
              0);
    EXPECT_EQ(body, nullptr);
    ASSERT_EQ(rec.msgs.size(), 1u);
    EXPECT_EQ(rec.msgs[0].text, "ファイルが開けませんでした");
    EXPECT_EQ(rec.msgs[0].caption, "PostData-Error");
}

}  // namespace
