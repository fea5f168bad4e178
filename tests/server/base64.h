// Reading base64 parts of mails in tests.
#pragma once

#include <string>

// Base64 to bytes, skipping line ends; sets *ok to 0 on any other byte outside the alphabet.
inline std::string DecodeB64(const std::string& s, int* ok) {
    static const std::string kAlpha =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned v = 0;
    int bits = 0;
    *ok = 1;
    for (char c : s) {
        if (c == '\r' || c == '\n' || c == '=') continue;
        const size_t d = kAlpha.find(c);
        if (d == std::string::npos) *ok = 0;
        v = v << 6 | (unsigned)(d & 63);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += (char)(v >> bits & 0xff);
        }
    }
    return out;
}
