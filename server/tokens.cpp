// On libsodium, whose generator and hash are made for secrets.
#include "server/tokens.h"

#include <sodium.h>

#include <vector>

static std::string Hex(const unsigned char* p, size_t n) {
    std::string s(n * 2 + 1, '\0');
    sodium_bin2hex(s.data(), s.size(), p, n);
    s.resize(n * 2);
    return s;
}

std::string RandomHex(int bytes) {
    std::vector<unsigned char> buf(static_cast<size_t>(bytes));
    randombytes_buf(buf.data(), buf.size());
    return Hex(buf.data(), buf.size());
}

std::string HashToken(const std::string& token) {
    unsigned char h[32];
    crypto_generichash(h, sizeof h, (const unsigned char*)token.data(), token.size(), nullptr, 0);
    return Hex(h, sizeof h);
}

int SameSecret(const std::string& a, const std::string& b) {
    return a.size() == b.size() && sodium_memcmp(a.data(), b.data(), a.size()) == 0;
}
