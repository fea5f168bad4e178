// The upload body: the answer for each kind of body, the fields it splits into, the week a
// schedule may fall in, and the names and addresses it accepts.
#include "server/upload_check.h"

#include <gtest/gtest.h>

#include <functional>

#include "upload_body.h"

namespace {

struct BodyCase {
    const char* name;
    std::function<std::string()> body;
    const char* code;  // "" when accepted
};

// A good body with one field changed.
std::function<std::string()> With(std::function<void(BodyFields&)> edit) {
    return [edit] {
        BodyFields f;
        edit(f);
        return MakeBody(f);
    };
}

// A good body with the n-th (0-based) delimiter line "D\n" taken out.
std::function<std::string()> WithoutDelim(int n) {
    return [n] {
        std::string b = MakeBody(BodyFields());
        size_t at = 0;
        for (int i = 0; i <= n; i++) at = b.find(kD + "\n", i ? at + 1 : 0);
        return b.erase(at, kD.size() + 1);
    };
}

TEST(ParseUpload, AnswersEachBody) {
    const BodyCase cases[] = {
        {"good, at once", With([](BodyFields&) {}), ""},
        {"good, next full hour", With([](BodyFields& f) { f.schedule = "ON(2025/06/10-11)"; }), ""},
        {"good, last hour of the week",
         With([](BodyFields& f) { f.schedule = "ON(2025/06/17-10)"; }), ""},
        {"good, five recipients",
         With([](BodyFields& f) { f.recipients = "a@x.jp,b@x.jp,c@x.jp,d@x.jp,e@x.jp"; }), ""},
        {"good, empty picture", With([](BodyFields& f) { f.picture.clear(); }), ""},
        {"good, message with CR LF", With([](BodyFields& f) { f.message = "a\r\nb\r\n\r\nc"; }),
         ""},
        {"empty user", With([](BodyFields& f) { f.user.clear(); }), "NG07"},
        {"empty password", With([](BodyFields& f) { f.pass.clear(); }), "NG07"},
        {"empty album", With([](BodyFields& f) { f.album.clear(); }), "NG07"},
        {"six recipients",
         With([](BodyFields& f) { f.recipients = "a@x.jp,b@x.jp,c@x.jp,d@x.jp,e@x.jp,f@x.jp"; }),
         "NG02"},
        {"no recipient", With([](BodyFields& f) { f.recipients.clear(); }), "NG02"},
        {"address without @", With([](BodyFields& f) { f.recipients = "a@x.jp,bx.jp"; }), "NG02"},
        {"schedule 8 days ahead", With([](BodyFields& f) { f.schedule = "ON(2025/06/18-10)"; }),
         "NG03"},
        {"schedule one hour past the week",
         With([](BodyFields& f) { f.schedule = "ON(2025/06/17-11)"; }), "NG03"},
        {"schedule in the hour under way",
         With([](BodyFields& f) { f.schedule = "ON(2025/06/10-10)"; }), "NG03"},
        {"schedule in the past", With([](BodyFields& f) { f.schedule = "ON(2025/06/09-12)"; }),
         "NG03"},
        {"schedule malformed", With([](BodyFields& f) { f.schedule = "ON(2025/6/10-11)"; }),
         "NG03"},
        {"subject of 31 bytes", With([](BodyFields& f) { f.subject = std::string(31, 's'); }),
         "NG04"},
        {"message of 3001 bytes", With([](BodyFields& f) { f.message = std::string(3001, 'm'); }),
         "NG04"},
        {"wrong identifier", With([](BodyFields& f) { f.ident = "Velquaris1.00"; }), "NG01"},
        {"album with a slash", With([](BodyFields& f) { f.album = "../etc"; }), "NG01"},
        {"first delimiter missing", WithoutDelim(0), "NG01"},
        {"second delimiter missing", WithoutDelim(1), "NG01"},
        {"third delimiter missing", WithoutDelim(2), "NG01"},
        {"delimiter after the message missing", WithoutDelim(3), "NG01"},
        {"end mark missing", [] { return MakeBody(BodyFields()).substr(0, 200); }, "NG01"},
        {"empty body", [] { return std::string(); }, "NG01"},
        {"end mark alone", [] { return kT + kD; }, "NG01"},
    };
    for (const BodyCase& c : cases) {
        SCOPED_TRACE(c.name);
        Upload up;
        std::string code;
        const int ok = ParseUpload(c.body(), TestNow(), &up, &code);
        EXPECT_EQ(ok, c.code[0] == 0);
        if (!ok) {
            EXPECT_EQ(code, c.code);
        }
    }
}

TEST(ParseUpload, SplitsFields) {
    struct Case {
        const char* name;
        std::function<void(BodyFields&)> edit;
        time_t sendAt;
        std::vector<std::string> recipients;
    };
    const std::vector<std::string> one = {"a@example.jp"};
    const Case cases[] = {
        {"plain", [](BodyFields&) {}, 0, one},
        {"message over several lines, ending in CR LF",
         [](BodyFields& f) { f.message = "one\r\ntwo\r\n" + kD + "x\r\n"; }, 0, one},
        {"picture holding D, LF and T",
         [](BodyFields& f) { f.picture = "\xFF\xD8\n" + kD + "\n" + kT + "\n" + kD + "\xFF\xD9"; },
         0, one},
        {"empty picture, message and subject",
         [](BodyFields& f) { f.picture = f.message = f.subject = ""; }, 0, one},
        {"scheduled, spaces around addresses",
         [](BodyFields& f) {
             f.schedule = "ON(2025/06/12-00)";
             f.recipients = "a@x.jp, b@x.jp , c@x.jp";
         },
         LocalTime(2025, 6, 12, 0),
         {"a@x.jp", "b@x.jp", "c@x.jp"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BodyFields f;
        c.edit(f);
        Upload up;
        std::string code;
        ASSERT_EQ(ParseUpload(MakeBody(f), TestNow(), &up, &code), 1) << code;
        EXPECT_EQ(up.user, f.user);
        EXPECT_EQ(up.album, f.album);
        EXPECT_EQ(up.subject, f.subject);
        EXPECT_EQ(up.message, f.message);
        EXPECT_EQ(up.picture, f.picture);
        EXPECT_EQ(up.sendAt, c.sendAt);
        EXPECT_EQ(up.recipients, c.recipients);
    }
}

TEST(ParseSchedule, AcceptsFromTheNextHourToAWeekAhead) {
    struct Case {
        const char* line;
        int ok;
        time_t sendAt;
    };
    const Case cases[] = {
        {"OFF()", 1, 0},
        {"ON(2025/06/10-11)", 1, LocalTime(2025, 6, 10, 11)},
        {"ON(2025/06/13-23)", 1, LocalTime(2025, 6, 13, 23)},
        {"ON(2025/06/17-10)", 1, LocalTime(2025, 6, 17, 10)},
        {"ON(2025/06/17-11)", 0, 0},
        {"ON(2025/06/10-10)", 0, 0},
        {"ON(2024/06/11-10)", 0, 0},
        {"ON(2025/06/11-24)", 0, 0},
        {"ON(2025/06/31-10)", 0, 0},
        {"ON(2025/05/42-10)", 0, 0},  // 11 June once rolled over
        {"ON(2024/18/11-10)", 0, 0},
        {"ON(2025/13/01-10)", 0, 0},
        {"ON(2025/06/11-1a)", 0, 0},
        {"ON(2025/06/11 10)", 0, 0},
        {"ON(2025/06/11-10", 0, 0},
        {"ON()", 0, 0},
        {"OFF", 0, 0},
        {"", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        time_t t = -1;
        EXPECT_EQ(ParseSchedule(c.line, TestNow(), &t), c.ok);
        if (c.ok) {
            EXPECT_EQ(t, c.sendAt);
        }
    }
}

TEST(IsSafeName, RefusesWhatCouldLeaveTheFolder) {
    const struct {
        const char* s;
        int safe;
    } cases[] = {
        {"album1", 1}, {"my.album_2-x@y", 1}, {"..", 0},  {".hidden", 0},
        {"a/b", 0},    {"%2e%2e", 0},         {"a b", 0}, {"", 0},
        {"a\\b", 0},   {"\x93\xfa", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.s);
        EXPECT_EQ(IsSafeName(c.s), c.safe);
    }
    EXPECT_EQ(IsSafeName(std::string(64, 'a')), 1);
    EXPECT_EQ(IsSafeName(std::string(65, 'a')), 0);
}

TEST(IsMailAddress, OneAtWithTextOnBothSides) {
    const struct {
        const char* s;
        int ok;
    } cases[] = {
        {"a@x.jp", 1}, {"first.last+tag@mail.example.jp", 1},
        {"@x.jp", 0},  {"a@", 0},
        {"a@b@c", 0},  {"a b@x.jp", 0},
        {"", 0},       {"a@x.jp\r", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.s);
        EXPECT_EQ(IsMailAddress(c.s), c.ok);
    }
}

}  // namespace
