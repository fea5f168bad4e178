// The one conversion pair between the program's UTF-8 texts and CP932 (Shift-JIS) data texts.
#pragma once

#include <string>

// Converts UTF-8 text to its CP932 bytes. Returns 0 when the text is malformed or holds a
// character CP932 cannot represent; *sjis is left untouched then.
int Utf8ToSjis(const char* utf8, std::string* sjis);
// Converts CP932 bytes to UTF-8. Returns 0 when the bytes are malformed; *utf8 is left untouched.
int SjisToUtf8(const char* sjis, std::string* utf8);
// 1 when the bytes are well-formed UTF-8, the only text the controls give back unchanged (a file
// name on disk may be any bytes).
int IsUtf8Text(const char* text);
// The number of bytes of the CP932 form of UTF-8 text (a double-byte character counts 2, CR LF
// counts 2), or -1 when the text cannot be converted.
int SjisLen(const char* utf8);
// 1 when c is the first byte of a CP932 double-byte character (0x81-0x9F, 0xE0-0xFC).
int IsSjisLead(unsigned char c);

// Copies UTF-8 text into buf of size bytes (terminator included), cut before a character that
// does not fit whole; returns the bytes copied without the terminator (0 for no buffer).
int CopyUtf8Text(const char* text, char* buf, int size);

// The character tests of the original on CP932 bytes. A double-byte lead byte is a lead byte
// (0x81-0x9F, 0xE0-0xFC); a letter or digit is one of the ASCII letters and digits only.
int IsDBCSLeadByte(unsigned char c);
int IsCharAlphaNumericA(char c);
