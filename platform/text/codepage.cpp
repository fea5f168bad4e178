// UTF-8 <-> CP932 on the C library's iconv. A descriptor is opened per call: iconv keeps
// conversion state in it, so a shared one would not be safe from two threads.
#include "platform/text/codepage.h"

#include <iconv.h>

#include <cstring>

// Converts the bytes of src from one encoding to another into *out. Returns 0 on malformed or
// unrepresentable input, leaving *out untouched.
static int ConvText(const char* to, const char* from, const char* src, std::string* out) {
    if (!src) return 0;
    iconv_t cd = iconv_open(to, from);
    if (cd == (iconv_t)-1) return 0;
    size_t inLeft = strlen(src);
    // One CP932 byte becomes at most three UTF-8 bytes, and never the other way round.
    std::string buf(inLeft * 3 + 1, '\0');
    char* in = (char*)src;
    char* outPos = buf.data();
    size_t outLeft = buf.size();
    size_t rc = iconv(cd, &in, &inLeft, &outPos, &outLeft);
    iconv_close(cd);
    if (rc == (size_t)-1) return 0;
    buf.resize(buf.size() - outLeft);
    *out = std::move(buf);
    return 1;
}

int Utf8ToSjis(const char* utf8, std::string* sjis) {
    return ConvText("CP932", "UTF-8", utf8, sjis);
}

int SjisToUtf8(const char* sjis, std::string* utf8) {
    return ConvText("UTF-8", "CP932", sjis, utf8);
}

int IsUtf8Text(const char* text) {
    std::string same;
    return ConvText("UTF-8", "UTF-8", text, &same);
}

int SjisLen(const char* utf8) {
    std::string sjis;
    return Utf8ToSjis(utf8, &sjis) ? (int)sjis.size() : -1;
}

int IsSjisLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

int CopyUtf8Text(const char* text, char* buf, int size) {
    if (!buf || size <= 0) return 0;
    size_t n = text ? strlen(text) : 0;
    if (n > size_t(size - 1)) {
        n = size_t(size - 1);
        while (n > 0 && ((unsigned char)text[n] & 0xC0) == 0x80) n--;
    }
    if (n) memcpy(buf, text, n);
    buf[n] = 0;
    return (int)n;
}

int IsDBCSLeadByte(unsigned char c) {
    return IsSjisLead(c);
}

int IsCharAlphaNumericA(char c) {
    const unsigned char u = (unsigned char)c;
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}
