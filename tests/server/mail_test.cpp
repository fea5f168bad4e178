// The mail of an upload: the text BuildMailText makes, what an independent parser (the SMTP peer)
// reads from it after the relay hand-over, the Maildir delivery and the relay's credentials.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <regex>

#include "server/mail_msg.h"
#include "server/mail_send.h"
#include "base64.h"
#include "smtp_peer.h"

namespace {

namespace fs = std::filesystem;

// Lines of the picture fixture's bytes that a careless text conversion would change.
std::string MakeTestJpeg() {
    std::string b = "\xFF\xD8\xFF\xE0";
    b += std::string("\x00\r\n.\r\n\r\x00\n", 9);
    for (int i = 0; i < 256; i++) b += (char)i;
    return b + "\xFF\xD9";
}

MailMsg MakeTestMsg() {
    MailMsg m;
    m.from = "quillet@example.jp";
    m.replyTo = "user@example.jp";
    m.to = "friend@example.jp";
    m.date = 1749603600;  // 2025-06-11 01:00:00 UTC
    m.messageId = "<20250611.7.1@quillet.example.jp>";
    m.subject = "夏の写真";
    m.text = "海へ行きました。\n写真を送ります。\n";
    m.jpeg = MakeTestJpeg();
    return m;
}

// The TZ variable set to `tz` while it lives.
struct ScopedTz {
    std::string old;
    bool had;
    explicit ScopedTz(const char* tz) : had(getenv("TZ") != nullptr) {
        if (had) old = getenv("TZ");
        setenv("TZ", tz, 1);
        tzset();
    }
    ~ScopedTz() {
        if (had)
            setenv("TZ", old.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
};

// Whether `s` is whole UTF-8 characters.
int IsWholeUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = s[i];
        const size_t n = c < 0x80 ? 1 : c >> 5 == 6 ? 2 : c >> 4 == 14 ? 3 : c >> 3 == 30 ? 4 : 0;
        if (!n || i + n > s.size()) return 0;
        for (size_t k = 1; k < n; k++)
            if (((unsigned char)s[i + k] & 0xc0) != 0x80) return 0;
        i += n;
    }
    return 1;
}

std::string HdrBlock(const std::string& mail) {
    return mail.substr(0, mail.find("\r\n\r\n") + 2);
}

// The lines of the header block, without their CR LF.
std::vector<std::string> HdrLines(const std::string& mail) {
    std::vector<std::string> lines;
    const std::string hdrs = HdrBlock(mail);
    for (size_t at = 0, end; (end = hdrs.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(hdrs.substr(at, end - at));
    return lines;
}

// The Subject header: its first line and the continuation lines after it.
std::vector<std::string> SubjLines(const std::string& mail) {
    std::vector<std::string> subj;
    for (const std::string& line : HdrLines(mail)) {
        if (line.rfind("Subject:", 0) == 0 || (!subj.empty() && line[0] == ' '))
            subj.push_back(line);
        else if (!subj.empty())
            break;
    }
    return subj;
}

struct MailPart {
    std::string hdrs, body;
};

// The parts of a built mail, split at the boundary its Content-Type names.
std::vector<MailPart> SplitParts(const std::string& mail) {
    const size_t b = mail.find("boundary=\"") + 10;
    const std::string delim = "\r\n--" + mail.substr(b, mail.find('"', b) - b);
    std::vector<MailPart> parts;
    for (size_t at = mail.find(delim); at != std::string::npos;) {
        const size_t start = at + delim.size();
        if (mail.compare(start, 2, "--") == 0) break;
        const size_t next = mail.find(delim, start);
        const std::string part = mail.substr(start + 2, next - start - 2);
        const size_t blank = part.find("\r\n\r\n");
        parts.push_back({part.substr(0, blank + 2), part.substr(blank + 4)});
        at = next;
    }
    return parts;
}

struct SubjCase {
    const char* name;
    std::string subject;
    std::string shown;  // what a reader decodes
    int plain;          // 1: the subject goes as it is
};

// The Subject header `c` gives: one plain line, or lines of one encoded word each, every word a
// whole number of characters, within the line and word lengths, decoding to what is shown.
void CheckSubjHdr(const SubjCase& c) {
    MailMsg m = MakeTestMsg();
    m.subject = c.subject;
    const std::vector<std::string> lines = SubjLines(BuildMailText(m));
    ASSERT_FALSE(lines.empty());
    if (c.plain) {
        EXPECT_EQ(lines, std::vector<std::string>{"Subject: " + c.shown});
        return;
    }
    const std::regex word("=\\?UTF-8\\?B\\?([A-Za-z0-9+/=]*)\\?=");
    std::string shown;
    for (size_t i = 0; i < lines.size(); i++) {
        SCOPED_TRACE(lines[i]);
        EXPECT_LE(lines[i].size(), 78u);
        const std::string lead = i ? " " : "Subject: ";
        ASSERT_EQ(lines[i].rfind(lead, 0), 0u);
        const std::string w = lines[i].substr(lead.size());
        std::smatch sm;
        ASSERT_TRUE(std::regex_match(w, sm, word));
        EXPECT_LE(w.size(), 75u);
        int ok = 0;
        const std::string bytes = DecodeB64(sm[1].str(), &ok);
        EXPECT_TRUE(ok);
        EXPECT_TRUE(IsWholeUtf8(bytes)) << "a character is split between words";
        shown += bytes;
    }
    EXPECT_EQ(shown, c.shown);
}

TEST(MailSubject, FoldsIntoShortEncodedWords) {
    std::string kanji20;
    for (int i = 0; i < 10; i++) kanji20 += "写真";
    const SubjCase cases[] = {
        {"empty", "", "", 1},
        {"ASCII", "Photos from the beach", "Photos from the beach", 1},
        {"Japanese, one word", "夏の写真", "夏の写真", 0},
        {"Japanese, several words", "夏休みに家族で海へ行きました。楽しかったので写真を送ります。",
         "夏休みに家族で海へ行きました。楽しかったので写真を送ります。", 0},
        {"a word's end falls inside a character", "a" + kanji20, "a" + kanji20, 0},
        {"CR LF in ASCII", "Hello\r\nBcc: evil@example.jp", "HelloBcc: evil@example.jp", 1},
        {"CR LF in Japanese", "夏の\r\n写真", "夏の写真", 0},
        {"looks like an encoded word", "=?UTF-8?B?5aSP?=", "=?UTF-8?B?5aSP?=", 0},
        {"ASCII too long for one line", std::string(75, 'x'), std::string(75, 'x'), 0},
    };
    for (const SubjCase& c : cases) {
        SCOPED_TRACE(c.name);
        CheckSubjHdr(c);
    }
}

TEST(MailText, DateInLocalZone) {
    const struct {
        const char* tz;
        const char* date;
    } cases[] = {
        {"JST-9", "Date: Wed, 11 Jun 2025 10:00:00 +0900"},
        {"UTC0", "Date: Wed, 11 Jun 2025 01:00:00 +0000"},
        {"EST5", "Date: Tue, 10 Jun 2025 20:00:00 -0500"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tz);
        ScopedTz tz(c.tz);
        const std::vector<std::string> lines = HdrLines(BuildMailText(MakeTestMsg()));
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.date), lines.end());
    }
}

TEST(MailText, HeadersAndParts) {
    ScopedTz tz("JST-9");
    const std::string mail = BuildMailText(MakeTestMsg());
    for (size_t i = 0; i < mail.size(); i++) {
        ASSERT_FALSE(mail[i] == '\n' && (i == 0 || mail[i - 1] != '\r')) << "bare LF at " << i;
        ASSERT_FALSE(mail[i] == '\r' && mail.compare(i, 2, "\r\n")) << "bare CR at " << i;
    }
    const std::regex hdrs(
        "From: quillet@example.jp\r\n"
        "To: friend@example.jp\r\n"
        "Reply-To: user@example.jp\r\n"
        "Date: Wed, 11 Jun 2025 10:00:00 \\+0900\r\n"
        "Message-ID: <20250611.7.1@quillet.example.jp>\r\n"
        "Subject: =\\?UTF-8\\?B\\?[^\r]*\r\n"
        "MIME-Version: 1.0\r\n"
        "Content-Type: multipart/mixed; boundary=\"([^\"]+)\"\r\n");
    std::smatch sm;
    const std::string hdrBlock = HdrBlock(mail);
    ASSERT_TRUE(std::regex_match(hdrBlock, sm, hdrs)) << hdrBlock;
    EXPECT_NE(sm[1].str().find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                            "0123456789+/"),
              std::string::npos)
        << "the boundary could occur in a base64 part";

    const std::vector<MailPart> parts = SplitParts(mail);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].hdrs,
              "Content-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n");
    EXPECT_EQ(parts[1].hdrs,
              "Content-Type: image/jpeg\r\nContent-Transfer-Encoding: base64\r\n"
              "Content-Disposition: attachment; filename=\"picture.jpg\"\r\n");
    const std::string jpeg = MakeTestJpeg();
    const std::string want[] = {"海へ行きました。\r\n写真を送ります。\r\n", jpeg};
    for (size_t i = 0; i < parts.size(); i++) {
        SCOPED_TRACE(i);
        int ok = 0;
        EXPECT_EQ(DecodeB64(parts[i].body, &ok), want[i]);
        EXPECT_TRUE(ok);
        const std::string body = parts[i].body + "\r\n";
        for (size_t at = 0, end; (end = body.find("\r\n", at)) != std::string::npos; at = end + 2)
            EXPECT_TRUE(end - at == 76 || body.find("\r\n", end + 2) == std::string::npos)
                << "a base64 line other than the last is not 76 characters";
    }
}

TEST(MailText, PictureOnlyWithJpeg) {
    for (const std::string& jpeg : {MakeTestJpeg(), std::string()}) {
        SCOPED_TRACE(jpeg.size());
        MailMsg m = MakeTestMsg();
        m.jpeg = jpeg;
        const std::vector<MailPart> parts = SplitParts(BuildMailText(m));
        ASSERT_EQ(parts.size(), jpeg.empty() ? 1u : 2u);
        EXPECT_EQ(parts[0].hdrs.rfind("Content-Type: text/plain", 0), 0u);
    }
}

// A user's value with a line end in it must not become a header of its own.
TEST(MailText, UserValuesAddNoHeader) {
    const std::string evil = "a@example.jp\r\nBcc: evil@example.jp\nX-Evil: 1\r";
    const struct {
        const char* name;
        std::string MailMsg::*field;
    } cases[] = {
        {"From", &MailMsg::from},        {"To", &MailMsg::to},
        {"Reply-To", &MailMsg::replyTo}, {"Message-ID", &MailMsg::messageId},
        {"Subject", &MailMsg::subject},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MailMsg m = MakeTestMsg();
        m.*c.field = evil;
        const std::string mail = BuildMailText(m);
        for (const std::string& line : HdrLines(mail)) {
            EXPECT_NE(line.rfind("Bcc:", 0), 0u) << line;
            EXPECT_NE(line.rfind("X-Evil:", 0), 0u) << line;
        }
        EXPECT_EQ(SplitParts(mail).size(), 2u);
    }
}

using SmtpSend = SmtpPeerTest;

MailRelay RelayAt(const std::string& url) {
    MailRelay relay;
    relay.url = url;
    return relay;
}

TEST_F(SmtpSend, PeerReadsWhatWasBuilt) {
    SmtpPeer peer;
    ASSERT_NE(peer.port, 0) << peer.why;
    const MailMsg m = MakeTestMsg();
    const std::string text = BuildMailText(m);
    std::string error;
    ASSERT_EQ(SendSmtpMail(RelayAt(peer.Url()), m.from, m.to, text, &error), 1) << error;

    // Nothing but the transport's own framing was added or taken away.
    EXPECT_EQ(ReadFileText(peer.out + "/1.eml"), text);
    const std::map<std::string, std::string> want = {
        {"mail_from", m.from},
        {"rcpt_tos", m.to},
        {"auth_login", ""},
        {"subject", m.subject},
        {"text", "海へ行きました。\r\n写真を送ります。\r\n"},
        {"message_id", m.messageId},
        {"reply_to", m.replyTo},
        {"to", m.to},
        {"defects", ""},
    };
    EXPECT_EQ(ReadPeerJson(peer, 1), want);
    EXPECT_EQ(ReadFileText(peer.out + "/1.jpg"), m.jpeg);
}

TEST_F(SmtpSend, RefusedThenAccepted) {
    SmtpPeer peer({"--refuse", "1"});
    ASSERT_NE(peer.port, 0) << peer.why;
    const MailMsg m = MakeTestMsg();
    const std::string text = BuildMailText(m);
    std::string error;
    EXPECT_EQ(SendSmtpMail(RelayAt(peer.Url()), m.from, m.to, text, &error), 0);
    EXPECT_NE(error.find("451 4.3.0 try again later"), std::string::npos) << error;
    EXPECT_FALSE(FileExists(peer.out + "/1.eml"));

    error.clear();
    EXPECT_EQ(SendSmtpMail(RelayAt(peer.Url()), m.from, m.to, text, &error), 1) << error;
    EXPECT_EQ(ReadFileText(peer.out + "/1.eml"), text);
    EXPECT_EQ(ReadFileText(peer.out + "/refused.log"),
              m.from + " -> " + m.to + ": 451 4.3.0 try again later\n");
}

TEST_F(SmtpSend, LogsInWithCredentials) {
    SmtpPeer peer({"--auth", "quillet:s3cret pass"});
    ASSERT_NE(peer.port, 0) << peer.why;
    const MailMsg m = MakeTestMsg();
    const std::string text = BuildMailText(m);
    const struct {
        const char* name;
        MailRelay relay;
        const char* error;  // "" when sent
    } cases[] = {
        {"no credentials", RelayAt(peer.Url()), "530 5.7.0 Authentication required"},
        {"wrong password", {peer.Url(), "quillet", "s3cret", 60}, "535 5.7.8"},
        {"right credentials", {peer.Url(), "quillet", "s3cret pass", 60}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_EQ(SendSmtpMail(c.relay, m.from, m.to, text, &error), !*c.error) << error;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
    EXPECT_EQ(ReadPeerJson(peer, 1)["auth_login"], "quillet");
    EXPECT_FALSE(FileExists(peer.out + "/2.eml"));
}

// A loopback port with nothing listening: bound, so that no one else takes it meanwhile.
struct ClosedPort {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    int port = 0;
    ClosedPort() {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (bind(fd, (sockaddr*)&a, sizeof a) == 0 && getsockname(fd, (sockaddr*)&a, &len) == 0)
            port = ntohs(a.sin_port);
    }
    ~ClosedPort() { close(fd); }
};

TEST(SmtpUnsent, ClosedPort) {
    ClosedPort closed;
    ASSERT_NE(closed.port, 0);
    const MailRelay relay = RelayAt("smtp://127.0.0.1:" + std::to_string(closed.port));
    std::string error;
    EXPECT_EQ(SendSmtpMail(relay, "quillet@example.jp", "friend@example.jp", "x\r\n", &error), 0);
    EXPECT_NE(error.find("connect"), std::string::npos) << error;
}

// Refused before any connection: the relay given is a closed port, whose error would differ.
TEST(SmtpUnsent, BadArguments) {
    ClosedPort closed;
    const std::string url = "smtp://127.0.0.1:" + std::to_string(closed.port);
    const struct {
        const char* name;
        std::string url, from, to;
        const char* error;
    } cases[] = {
        {"no relay", "", "quillet@example.jp", "friend@example.jp", "no SMTP relay"},
        {"CR LF in the sender", url, "quillet@example.jp>\r\nRCPT TO:<evil@example.jp",
         "friend@example.jp", "line end"},
        {"LF in the recipient", url, "quillet@example.jp", "friend@example.jp\nDATA", "line end"},
        {"no recipient", url, "quillet@example.jp", "", "empty"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_EQ(SendSmtpMail(RelayAt(c.url), c.from, c.to, "x\r\n", &error), 0);
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

TEST(SmtpAuthFile, ReadsUserAndPassword) {
    const struct {
        const char* name;
        const char* content;  // nullptr: no file
        int ok;
        const char* user;
        const char* pass;
    } cases[] = {
        {"two lines", "quillet\ns3cret pass\n", 1, "quillet", "s3cret pass"},
        {"CR LF lines", "quillet\r\ns3cret\r\n", 1, "quillet", "s3cret"},
        {"no final line end", "quillet\ns3cret", 1, "quillet", "s3cret"},
        {"missing file", nullptr, 0, "old", "old"},
        {"one line", "quillet\n", 0, "old", "old"},
        {"empty password line", "quillet\n\n", 0, "old", "old"},
        {"a third line", "quillet\ns3cret\nmore\n", 0, "old", "old"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.File("smtp-auth");
        if (c.content) {
            ASSERT_TRUE(WriteFileBytes(path, {c.content, c.content + strlen(c.content)}));
        }
        MailRelay relay{"smtp://relay.example.jp", "old", "old", 60};
        std::string error;
        EXPECT_EQ(ReadSmtpAuthFile(path, &relay, &error), c.ok);
        EXPECT_EQ(relay.user, c.user);
        EXPECT_EQ(relay.pass, c.pass);
        EXPECT_EQ(error.empty(), c.ok == 1) << error;
    }
}

// The names of the files in folder `dir`.
std::vector<std::string> ListNames(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(dir, ec))
        names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

unsigned ModeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(MaildirSave, DeliversIntoNew) {
    TempDir dir;
    const std::string maildir = dir.File("Maildir");
    const std::string text = BuildMailText(MakeTestMsg());
    std::string error;
    ASSERT_EQ(SaveMaildirMail(maildir, text, &error), 1) << error;
    ASSERT_EQ(SaveMaildirMail(maildir, text, &error), 1) << error;

    for (const char* sub : {"", "/tmp", "/new", "/cur"}) EXPECT_EQ(ModeOf(maildir + sub), 0700u);
    EXPECT_TRUE(ListNames(maildir + "/tmp").empty());
    EXPECT_TRUE(ListNames(maildir + "/cur").empty());
    const std::vector<std::string> names = ListNames(maildir + "/new");
    ASSERT_EQ(names.size(), 2u);
    const std::regex form("[0-9]+\\." + std::to_string(getpid()) + "_[0-9]+\\.[^/:]+");
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(std::regex_match(name, form));
        EXPECT_EQ(ModeOf(maildir + "/new/" + name), 0600u);
        EXPECT_EQ(ReadFileText(maildir + "/new/" + name), text);
    }
}

TEST(MaildirSave, FailsLeavingNothing) {
    const std::string text = BuildMailText(MakeTestMsg());
    const struct {
        const char* name;
        const char* file;  // made as a plain file before the delivery
        unsigned long maxFileBytes;
    } cases[] = {
        {"the Maildir's folder is a file", "", 0},
        {"tmp is a file", "/tmp", 0},
        {"the disk fills up", nullptr, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string maildir = dir.File("Maildir");
        if (c.file) {
            if (*c.file) fs::create_directory(maildir);
            ASSERT_TRUE(WriteFileBytes(maildir + c.file, {'x'}));
        }
        std::optional<FileSizeLimit> limit;
        if (c.maxFileBytes) limit.emplace(c.maxFileBytes);
        std::string error;
        EXPECT_EQ(SaveMaildirMail(maildir, text, &error), 0);
        limit.reset();
        EXPECT_NE(error.find(maildir), std::string::npos) << error;
        EXPECT_TRUE(ListNames(maildir + "/new").empty());
        if (!c.file) {
            EXPECT_TRUE(ListNames(maildir + "/tmp").empty());
        }
    }
}

using MaildirSmtp = SmtpPeerTest;

// The Maildir copy is the very message the relay received.
TEST_F(MaildirSmtp, SameBytesAsRelayed) {
    SmtpPeer peer;
    ASSERT_NE(peer.port, 0) << peer.why;
    TempDir dir;
    const MailMsg m = MakeTestMsg();
    const std::string text = BuildMailText(m);
    std::string error;
    ASSERT_EQ(SendSmtpMail(RelayAt(peer.Url()), m.from, m.to, text, &error), 1) << error;
    ASSERT_EQ(SaveMaildirMail(dir.File("Maildir"), text, &error), 1) << error;
    const std::vector<std::string> names = ListNames(dir.File("Maildir/new"));
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(ReadFileText(dir.File("Maildir/new/" + names[0])), ReadFileText(peer.out + "/1.eml"));
}

}  // namespace
