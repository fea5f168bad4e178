// Passwords kept only as Argon2id hashes (libsodium), and the rules an account's values follow
// so that the program can send them.
#pragma once

#include <ctime>
#include <string>

// Prepares libsodium; call once before anything here. Returns 0 when it cannot start.
int InitPassHash();

// The Argon2id hash string of `pass`, with its salt and costs. Returns 0 when memory runs out.
int HashPass(const std::string& pass, std::string* hash);

// Whether `pass` matches `hash`.
int CheckPass(const std::string& hash, const std::string& pass);

// CheckPass for the uploads of `album`, which repeat the same password: a match is remembered
// for kPassMemorySec (as a keyed hash of hash and password, never the password), so the next
// upload costs no Argon2id; a wrong password or a changed hash always takes the full check.
inline constexpr int kPassMemorySec = 600;
int CheckUploadPass(const std::string& album, const std::string& hash, const std::string& pass,
                    time_t now);

// From now on HashPass uses the least work libsodium allows: tests that hash hundreds of times.
// A hash records its costs, so CheckPass is unaffected.
void UseCheapPassHash();

// The program's own rules: an album ID is 1 to 10 letters and digits; a password 6 to 20
// letters, digits, '_' and '-'.
int IsAlbumIdText(const std::string& s);
int IsPasswordText(const std::string& s);
