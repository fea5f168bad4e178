// Random tokens for sessions, forms and reset links, and the hashes under which the store keeps
// them (a stolen database then opens no session and resets no password).
#pragma once

#include <string>

// `bytes` random bytes from the system's generator as lower-case hex.
std::string RandomHex(int bytes);

// A token's hash as hex (BLAKE2b, 32 bytes).
std::string HashToken(const std::string& token);

// Whether two texts are equal, in a time that does not depend on where they differ.
int SameSecret(const std::string& a, const std::string& b);
