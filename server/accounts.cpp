// crypto_pwhash_str at libsodium's interactive costs: about a tenth of a second and 64 MiB per
// check on one core, which a login or an upload can afford and a guesser cannot.
#include "server/accounts.h"

#include <sodium.h>

#include <atomic>
#include <cctype>
#include <map>
#include <mutex>

#include "server/tokens.h"

static std::atomic<int> g_cheap{0};

int InitPassHash() {
    return sodium_init() >= 0;
}

int HashPass(const std::string& pass, std::string* hash) {
    char out[crypto_pwhash_STRBYTES];
    const unsigned long long ops =
        g_cheap ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE;
    const size_t mem = g_cheap ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE;
    if (crypto_pwhash_str(out, pass.data(), pass.size(), ops, mem) != 0) return 0;
    *hash = out;
    return 1;
}

int CheckPass(const std::string& hash, const std::string& pass) {
    return crypto_pwhash_str_verify(hash.c_str(), pass.data(), pass.size()) == 0;
}

// The proof that `pass` matched `hash`: BLAKE2b under a key made at start, so that it says
// nothing outside this process.
static std::string MatchProof(const std::string& hash, const std::string& pass) {
    static unsigned char key[crypto_generichash_KEYBYTES];
    static std::once_flag keyMade;
    std::call_once(keyMade, [] { randombytes_buf(key, sizeof key); });
    const std::string both = hash + '\0' + pass;
    std::string proof(crypto_generichash_BYTES, '\0');
    crypto_generichash((unsigned char*)proof.data(), proof.size(),
                       (const unsigned char*)both.data(), both.size(), key, sizeof key);
    return proof;
}

int CheckUploadPass(const std::string& album, const std::string& hash, const std::string& pass,
                    time_t now) {
    struct Match {
        std::string proof;
        time_t until;
    };
    static std::mutex lock;
    static std::map<std::string, Match> matches;
    const std::string proof = MatchProof(hash, pass);
    {
        std::lock_guard<std::mutex> hold(lock);
        auto it = matches.find(album);
        if (it != matches.end() && now < it->second.until &&
            now + kPassMemorySec >= it->second.until && SameSecret(it->second.proof, proof))
            return 1;
    }
    if (!CheckPass(hash, pass)) return 0;
    std::lock_guard<std::mutex> hold(lock);
    if (matches.size() >= 100000) matches.clear();
    matches[album] = Match{proof, now + kPassMemorySec};
    return 1;
}

void UseCheapPassHash() {
    g_cheap = 1;
}

// Every byte passes `ok` and the length is within [lo, hi].
static int AllOf(const std::string& s, size_t lo, size_t hi, int (*ok)(int)) {
    if (s.size() < lo || s.size() > hi) return 0;
    for (unsigned char c : s)
        if (c > 127 || !ok(c)) return 0;
    return 1;
}

static int IsPassChar(int c) {
    return isalnum(c) || c == '_' || c == '-';
}

int IsAlbumIdText(const std::string& s) {
    return AllOf(s, 1, 10, isalnum);
}

int IsPasswordText(const std::string& s) {
    return AllOf(s, 6, 20, IsPassChar);
}
