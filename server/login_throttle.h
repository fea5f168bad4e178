// Slows password guessing on the login page: after kMaxLoginFails failures within
// kLoginFailSec for one album, or from one address, logins there are refused for kLoginLockSec.
// Counted in memory: a restart forgets them, which costs a guesser more than it gains.
#pragma once

#include <ctime>
#include <string>

inline constexpr int kMaxLoginFails = 5;
inline constexpr int kLoginFailSec = 10 * 60;
inline constexpr int kLoginLockSec = 15 * 60;

// Whether a login to `album` from `peer` may be checked at `now`. Returns 0 while either is
// locked, with the seconds left in *waitSec. An empty album is not counted.
int MayTryLogin(const std::string& album, const std::string& peer, time_t now, int* waitSec);

// Counts a failed login to `album` from `peer`.
void CountLoginFail(const std::string& album, const std::string& peer, time_t now);

// Forgets the album's failures after its owner logged in; the address's stay.
void ForgetLoginFails(const std::string& album);
