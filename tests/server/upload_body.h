// Upload bodies as the program builds them, from fields a test changes one at a time.
#pragma once

#include <ctime>
#include <string>

inline const std::string kD = "1415926535897932384626433832795028841";
inline const std::string kT = "0123456789012345678901234567890123456789012";

struct BodyFields {
    std::string ident = "Velquaris2.00";
    std::string opaque;
    std::string user = "me@example.jp";
    std::string pass = "pw-Zq81x";
    std::string album = "album1";
    std::string schedule = "OFF()";
    std::string recipients = "a@example.jp";
    std::string subject = "Hi";
    std::string message = "Hello";
    std::string picture = "\xFF\xD8\xFF\xE0pic\xFF\xD9";
};

// The body: thirteen LF-separated lines, the picture, then T and D with no final LF.
std::string MakeBody(const BodyFields& f);

// A local time as the schedule line reads it.
time_t LocalTime(int y, int mo, int d, int h, int mi = 0);

// The moment the tests upload at: 10:20 on 10 June 2025, local time (no clock change that week).
time_t TestNow();
