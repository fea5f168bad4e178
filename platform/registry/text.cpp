// Names and text values as a person reads them in a store file: their CP932 bytes as UTF-8 text,
// with escapes for the bytes that have no text form.
#include <cstring>

#include "platform/registry/records.h"
#include "platform/text/codepage.h"

static const char kHexDigits[] = "0123456789abcdef";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void AppendHexByte(std::string* out, unsigned char c) {
    *out += kHexDigits[c >> 4];
    *out += kHexDigits[c & 15];
}

// The length of the CP932 character at the start of bytes: 2 for a lead byte and a byte that
// can follow it, else 1.
static size_t CharLen(std::string_view bytes) {
    if (bytes.size() < 2 || !IsSjisLead((unsigned char)bytes[0])) return 1;
    const unsigned char trail = (unsigned char)bytes[1];
    return (trail >= 0x40 && trail <= 0x7e) || (trail >= 0x80 && trail <= 0xfc) ? 2 : 1;
}

// Whether CP932 character ch has a printable text form, which goes into *utf8. Some characters
// have two codes of which only one comes back from UTF-8: those count as having none, so that
// every byte reads back as it was.
static int CharText(std::string_view ch, std::string* utf8) {
    const unsigned char c = (unsigned char)ch[0];
    if (ch.size() == 1 && c >= 0x20 && c < 0x7f) {
        utf8->assign(1, (char)c);
        return 1;
    }
    if (ch.size() == 1 && (c < 0xa1 || c > 0xdf)) return 0;
    const std::string one(ch);
    std::string back;
    return SjisToUtf8(one.c_str(), utf8) && Utf8ToSjis(utf8->c_str(), &back) && back == one;
}

// Appends bytes as text: each printable character as its UTF-8 text unless it is one of the
// ASCII specials; each byte of a special or of a character without a text form through escape.
static void AppendText(std::string* out, std::string_view bytes, const char* specials,
                       void (*escape)(std::string*, unsigned char)) {
    std::string utf8;
    while (!bytes.empty()) {
        const size_t n = CharLen(bytes);
        if (CharText(bytes.substr(0, n), &utf8) && !(n == 1 && strchr(specials, bytes[0]))) {
            *out += utf8;
        } else {
            for (size_t i = 0; i < n; i++) escape(out, (unsigned char)bytes[i]);
        }
        bytes.remove_prefix(n);
    }
}

static void EscapeQuoted(std::string* out, unsigned char c) {
    *out += '\\';
    if (c == '\\' || c == '"') {
        *out += (char)c;
        return;
    }
    *out += 'x';
    AppendHexByte(out, c);
}

static void EscapePercent(std::string* out, unsigned char c) {
    *out += '%';
    AppendHexByte(out, c);
}

std::string QuoteText(std::string_view bytes) {
    std::string out = "\"";
    AppendText(&out, bytes, "\\\"", EscapeQuoted);
    return out + '"';
}

std::string EscapeKeyName(std::string_view name) {
    std::string out;
    AppendText(&out, name, "%", EscapePercent);
    return out;
}

// The length of the escape (mark "\" or "%") at the start of text, its byte in *byte; 0 when it
// is broken.
static size_t ReadEscape(std::string_view text, char mark, unsigned char* byte) {
    size_t at = 1;
    if (mark == '\\') {
        if (text.size() < 2) return 0;
        if (text[1] == '\\' || text[1] == '"') {
            *byte = (unsigned char)text[1];
            return 2;
        }
        if (text[1] != 'x') return 0;
        at = 2;
    }
    if (text.size() < at + 2) return 0;
    const int hi = HexValue(text[at]), lo = HexValue(text[at + 1]);
    if (hi < 0 || lo < 0) return 0;
    *byte = (unsigned char)(hi * 16 + lo);
    return at + 2;
}

static bool IsUtf8(std::string_view text) {
    return IsUtf8Text(std::string(text).c_str());
}

// Appends a run of text without escapes: UTF-8 as its CP932 bytes or, from a file an editor saved
// in Shift-JIS (sjis), the CP932 bytes as they are. Fails on a NUL and on what CP932 cannot
// represent.
static int AppendRun(std::string_view run, bool sjis, std::string* bytes) {
    if (run.empty()) return 1;
    if (run.find('\0') != run.npos) return 0;
    const std::string text(run);
    std::string other;
    if (sjis ? !SjisToUtf8(text.c_str(), &other) : !Utf8ToSjis(text.c_str(), &other)) return 0;
    *bytes += sjis ? text : other;
    return 1;
}

// Undoes AppendText with escapes that start with mark. In Shift-JIS text the second byte of a
// double-byte character may be the mark's byte and is none.
static int ReadText(std::string_view text, char mark, bool sjis, std::string* bytes) {
    bytes->clear();
    size_t from = 0;
    for (size_t i = 0; i < text.size();) {
        if (sjis && IsSjisLead((unsigned char)text[i]) && i + 1 < text.size()) {
            i += 2;
            continue;
        }
        if (text[i] != mark) {
            i++;
            continue;
        }
        unsigned char byte;
        const size_t n = ReadEscape(text.substr(i), mark, &byte);
        if (n == 0 || !AppendRun(text.substr(from, i - from), sjis, bytes)) return 0;
        *bytes += (char)byte;
        i += n;
        from = i;
    }
    return AppendRun(text.substr(from), sjis, bytes);
}

// The length of the quoted text at the start of line with its quote marks, 0 when it is not
// closed; see ReadText for sjis.
static size_t QuotedLen(std::string_view line, bool sjis) {
    for (size_t i = 1; i < line.size(); i++) {
        if (line[i] == '\\' || (sjis && IsSjisLead((unsigned char)line[i])))
            i++;
        else if (line[i] == '"')
            return i + 1;
    }
    return 0;
}

size_t ReadQuoted(std::string_view line, std::string* bytes) {
    if (line.empty() || line[0] != '"') return 0;
    size_t n = QuotedLen(line, false);
    // A text that is not UTF-8 comes from an editor that saved the file in Shift-JIS: its bytes
    // are CP932 already.
    const bool sjis = (n == 0 || !IsUtf8(line.substr(1, n - 2))) && !IsUtf8(line);
    if (sjis) n = QuotedLen(line, true);
    return n && ReadText(line.substr(1, n - 2), '\\', sjis, bytes) ? n : 0;
}

int ReadKeyName(std::string_view text, std::string* name) {
    return ReadText(text, '%', false, name) && name->find('\0') == name->npos;
}
