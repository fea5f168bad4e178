// One counter per album and per address in a map under a mutex. The map is pruned of counters
// that no longer matter when it grows, so that guessing with many names fills no memory.
#include "server/login_throttle.h"

#include <map>
#include <mutex>

struct FailCount {
    int fails = 0;
    time_t since = 0;        // the first failure of the current window
    time_t lockedUntil = 0;  // refused before this
};

static constexpr size_t kPruneAbove = 10000;

static std::mutex g_lock;
static std::map<std::string, FailCount> g_counts;

static std::string MakeAlbumKey(const std::string& album) {
    return "album " + album;
}

static std::string MakePeerKey(const std::string& peer) {
    return "peer " + peer;
}

// Whether the failures counted in `c` are over: its window has passed (or the clock went back)
// and it locks nothing.
static int IsStale(const FailCount& c, time_t now) {
    return now >= c.lockedUntil && (now - c.since >= kLoginFailSec || now < c.since);
}

// The seconds `key` stays locked at `now`, 0 when it is not.
static int GetLockLeft(const std::string& key, time_t now) {
    auto it = g_counts.find(key);
    return it == g_counts.end() || now >= it->second.lockedUntil
               ? 0
               : int(it->second.lockedUntil - now);
}

static void CountFail(const std::string& key, time_t now) {
    FailCount& c = g_counts[key];
    if (IsStale(c, now)) c = FailCount{0, now, 0};
    if (++c.fails >= kMaxLoginFails) c.lockedUntil = now + kLoginLockSec;
}

int MayTryLogin(const std::string& album, const std::string& peer, time_t now, int* waitSec) {
    std::lock_guard<std::mutex> hold(g_lock);
    const int a = album.empty() ? 0 : GetLockLeft(MakeAlbumKey(album), now);
    const int p = GetLockLeft(MakePeerKey(peer), now);
    *waitSec = a > p ? a : p;
    return *waitSec == 0;
}

void CountLoginFail(const std::string& album, const std::string& peer, time_t now) {
    std::lock_guard<std::mutex> hold(g_lock);
    if (g_counts.size() > kPruneAbove)
        std::erase_if(g_counts, [now](const auto& kv) { return IsStale(kv.second, now); });
    if (!album.empty()) CountFail(MakeAlbumKey(album), now);
    CountFail(MakePeerKey(peer), now);
}

void ForgetLoginFails(const std::string& album) {
    std::lock_guard<std::mutex> hold(g_lock);
    g_counts.erase(MakeAlbumKey(album));
}
