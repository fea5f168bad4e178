// The mail text is built here rather than with libcurl's MIME builder: that one renders its bytes
// only while a transfer reads them, so a Maildir copy would need a second builder. One builder
// serves both hand-overs, and the bytes can be checked before anything is sent.
#include "server/mail_msg.h"

#include <locale.h>

// Parts are base64, whose alphabet has no '_' and only ends in '=', so "=_" never occurs in them.
static const char kBoundary[] = "=_QuilletMailPart";
// A base64 line of a body part, as MIME allows at most.
static const size_t kB64LineLen = 76;
// UTF-8 bytes in one encoded word of the subject: 42 bytes are 56 base64 characters, a 68
// character word; "Subject: " before it keeps even the first line within 78 characters.
static const size_t kWordBytes = 42;
static const size_t kHdrLineLen = 78;
static const std::string kSubjLead = "Subject: ";

// `bytes` in base64, a CR LF after every `lineLen` characters and after the last; lineLen 0: one
// run without line ends.
static std::string EncodeB64(const std::string& bytes, size_t lineLen) {
    static const char kAlpha[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    size_t col = 0;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
        unsigned v = (unsigned char)bytes[i] << 16;
        if (n > 1) v |= (unsigned char)bytes[i + 1] << 8;
        if (n > 2) v |= (unsigned char)bytes[i + 2];
        const char quad[4] = {kAlpha[v >> 18], kAlpha[(v >> 12) & 63],
                              n > 1 ? kAlpha[(v >> 6) & 63] : '=', n > 2 ? kAlpha[v & 63] : '='};
        for (char c : quad) {
            if (lineLen && col == lineLen) {
                out += "\r\n";
                col = 0;
            }
            out += c;
            col++;
        }
    }
    if (lineLen && col) out += "\r\n";
    return out;
}

// A header value without control characters: a CR or LF from a user must not start a header of
// its own.
static std::string CleanHdrVal(const std::string& s) {
    std::string out;
    for (unsigned char c : s)
        if (c >= 0x20 && c != 0x7f) out += (char)c;
    return out;
}

// Text with every line end (LF, CR LF or a lone CR) as CR LF.
static std::string MakeCrlfLines(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\r' || text[i] == '\n')
            out += "\r\n";
        else
            out += text[i];
    }
    return out;
}

// Whether a subject can go as it is: printable ASCII that a reader will not take for an
// encoded word, and short enough for one header line.
static int IsPlainSubj(const std::string& subj) {
    for (unsigned char c : subj)
        if (c < 0x20 || c > 0x7e) return 0;
    return subj.find("=?") == std::string::npos && kSubjLead.size() + subj.size() <= kHdrLineLen;
}

// The Subject header line(s): plain, or UTF-8 encoded words one to a line. A word never ends
// inside a character, since readers decode each word on its own.
static std::string MakeSubjHdr(const std::string& subject) {
    const std::string subj = CleanHdrVal(subject);
    if (IsPlainSubj(subj)) return kSubjLead + subj + "\r\n";
    std::string hdr = "Subject:";
    for (size_t at = 0; at < subj.size();) {
        size_t end = at + kWordBytes < subj.size() ? at + kWordBytes : subj.size();
        // Back up over continuation bytes (10xxxxxx) to the start of the character; a run
        // longer than a word is not UTF-8 and is cut where it is.
        size_t cut = end;
        while (cut > at && cut < subj.size() && ((unsigned char)subj[cut] & 0xc0) == 0x80) cut--;
        if (cut > at) end = cut;
        hdr += (at ? "\r\n " : " ") + std::string("=?UTF-8?B?") +
               EncodeB64(subj.substr(at, end - at), 0) + "?=";
        at = end;
    }
    return hdr + "\r\n";
}

// `t` as an RFC 5322 date in local time with its numeric zone. The day and month names are
// the C locale's whatever the process locale is.
static std::string MakeDateText(time_t t) {
    static const locale_t cLoc = newlocale(LC_ALL_MASK, "C", (locale_t)0);
    struct tm tm;
    localtime_r(&t, &tm);
    char buf[64];
    strftime_l(buf, sizeof buf, "%a, %d %b %Y %H:%M:%S %z", &tm, cLoc);
    return buf;
}

std::string BuildMailText(const MailMsg& m) {
    const std::string sep = std::string("--") + kBoundary + "\r\n";
    std::string s = "From: " + CleanHdrVal(m.from) + "\r\n";
    s += "To: " + CleanHdrVal(m.to) + "\r\n";
    if (!m.replyTo.empty()) s += "Reply-To: " + CleanHdrVal(m.replyTo) + "\r\n";
    s += "Date: " + MakeDateText(m.date) + "\r\n";
    s += "Message-ID: " + CleanHdrVal(m.messageId) + "\r\n";
    s += MakeSubjHdr(m.subject);
    s += "MIME-Version: 1.0\r\n";
    s += std::string("Content-Type: multipart/mixed; boundary=\"") + kBoundary + "\"\r\n\r\n";
    s += sep + "Content-Type: text/plain; charset=UTF-8\r\n";
    s += "Content-Transfer-Encoding: base64\r\n\r\n";
    s += EncodeB64(MakeCrlfLines(m.text), kB64LineLen);
    if (!m.jpeg.empty()) {
        s += sep + "Content-Type: image/jpeg\r\n";
        s += "Content-Transfer-Encoding: base64\r\n";
        s += "Content-Disposition: attachment; filename=\"picture.jpg\"\r\n\r\n";
        s += EncodeB64(m.jpeg, kB64LineLen);
    }
    return s + "--" + kBoundary + "--\r\n";
}
