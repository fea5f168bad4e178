// UTF-8 <-> CP932 conversion, byte counts and the lead-byte test.
#include "platform/text/codepage.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextConvTest, ConvertsBothWays) {
    static const struct {
        const char* name;
        const char* utf8;
        const char* sjis;
        const char* back;  // the UTF-8 form of sjis
    } rows[] = {
        {"kanji, half-width katakana, ASCII, CR LF", "写真 ｶﾀｶﾅ abc\r\n",
         "\x8E\xCA\x90\x5E \xB6\xC0\xB6\xC5 abc\r\n", "写真 ｶﾀｶﾅ abc\r\n"},
        {"line breaks inside", "あ\r\nい\n", "\x82\xA0\r\n\x82\xA2\n", "あ\r\nい\n"},
        {"backslash and tilde stay ASCII", "\\~", "\\~", "\\~"},
        {"empty", "", "", ""},
        // Linux input methods type U+301C; the original system's form of 0x8160 is U+FF5E.
        {"wave dash", "\xE3\x80\x9C", "\x81\x60", "\xEF\xBD\x9E"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::string sjis = "old", utf8 = "old";
        ASSERT_EQ(Utf8ToSjis(row.utf8, &sjis), 1);
        EXPECT_EQ(sjis, row.sjis);
        ASSERT_EQ(SjisToUtf8(sjis.c_str(), &utf8), 1);
        EXPECT_EQ(utf8, row.back);
    }
}

TEST(TextConvTest, RefusesAndKeepsOutput) {
    static const struct {
        const char* name;
        int (*conv)(const char*, std::string*);
        const char* text;
    } rows[] = {
        {"emoji has no CP932 form", Utf8ToSjis, "a\xF0\x9F\x98\x80z"},
        {"malformed UTF-8", Utf8ToSjis, "a\xFFz"},
        {"UTF-8 cut inside a character", Utf8ToSjis, "a\xE5\x86"},
        {"lead byte without trail byte", SjisToUtf8, "a\x82"},
        {"lead byte with a bad trail byte", SjisToUtf8, "\x82 z"},
        {"undefined single byte", SjisToUtf8, "\xA0"},
        {"no text", Utf8ToSjis, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::string out = "old";
        EXPECT_EQ(row.conv(row.text, &out), 0);
        EXPECT_EQ(out, "old");
    }
}

TEST(TextConvTest, CountsCp932Bytes) {
    static const struct {
        const char* utf8;
        int len;
    } rows[] = {
        {"あ", 2},
        {"\r\n", 2},
        {"ｶ", 1},
        {"abc", 3},
        {"写真ｶﾅ\r\n", 8},
        {"", 0},
        {"\xF0\x9F\x98\x80", -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.utf8);
        EXPECT_EQ(SjisLen(row.utf8), row.len);
    }
}

TEST(TextConvTest, LeadBytes) {
    static const struct {
        unsigned char c;
        int lead;
    } rows[] = {
        {'A', 0},  {0x80, 0}, {0x81, 1}, {0x9F, 1}, {0xA0, 0}, {0xB6, 0} /* half-width katakana */,
        {0xDF, 0}, {0xE0, 1}, {0xFC, 1}, {0xFD, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.c);
        EXPECT_EQ(IsSjisLead(row.c), row.lead);
        EXPECT_EQ(IsDBCSLeadByte(row.c), row.lead);
    }
}

// Letters and digits are the ASCII ones only: no symbol, no half-width katakana, no lead byte.
TEST(TextConvTest, AlphaNumericBytes) {
    static const struct {
        char c;
        int alnum;
    } rows[] = {{'a', 1}, {'z', 1}, {'A', 1}, {'Z', 1}, {'0', 1},        {'9', 1},
                {'_', 0}, {'-', 0}, {'@', 0}, {'[', 0}, {char(0xB1), 0}, {char(0x82), 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(int((unsigned char)row.c));
        EXPECT_EQ(IsCharAlphaNumericA(row.c), row.alnum);
    }
}
