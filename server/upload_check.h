// The body the program uploads, split into its fields and checked before anything is stored.
#pragma once

#include <ctime>
#include <string>
#include <vector>

// The answers to an upload the server refuses, as the program reads them.
inline constexpr char kNgMalformed[] = "NG01";   // a delimiter, the identifier or the end missing
inline constexpr char kNgRecipients[] = "NG02";  // no recipient, more than five, or a bad address
inline constexpr char kNgSchedule[] = "NG03";    // malformed, or not within the coming week
inline constexpr char kNgTooLong[] = "NG04";     // subject over 30 bytes or message over 3000
inline constexpr char kNgAccount[] = "NG07";     // the account is missing or does not match
inline constexpr char kNgWaiting[] = "NG10";     // five scheduled mails already waiting
inline constexpr char kNgQuota[] = "NG11";       // the picture would pass the account's quota
inline constexpr char kNgStore[] = "NG99";       // the server could not write the upload

inline constexpr int kMaxRecipients = 5;
inline constexpr int kMaxWaiting = 5;
inline constexpr size_t kMaxSubjectBytes = 30;
inline constexpr size_t kMaxMessageBytes = 3000;

// One upload as sent.
struct Upload {
    std::string user, pass, album;  // CP932 bytes as sent
    std::string schedule;           // line 9 as sent: "ON(YYYY/MM/DD-HH)" or "OFF()"
    time_t sendAt = 0;              // the start of the scheduled hour; 0 when sent at once
    std::vector<std::string> recipients;
    std::string subject, message;  // CP932 bytes; the message may hold CR LF pairs
    std::string picture;           // the JPEG bytes, maybe none
};

// Splits `body` into *up and checks every field, the schedule against `now`. Returns 1, or 0
// with the answer's code in *code and *up partly filled. The waiting mails are not counted here.
int ParseUpload(const std::string& body, time_t now, Upload* up, std::string* code);

// Reads a schedule line: "OFF()" gives *sendAt = 0, "ON(YYYY/MM/DD-HH)" the start of that local
// hour, which must come after `now` and at most 7 x 24 hours after it. Returns 0 otherwise.
int ParseSchedule(const std::string& line, time_t now, time_t* sendAt);

// Whether `s` looks like a mail address: one '@' with printable ASCII on both sides, no spaces.
int IsMailAddress(const std::string& s);

// Whether `s` may name a folder and a path part: 1 to 64 of A-Z a-z 0-9 . _ - @, not starting
// with a dot, so "..", "/" and "%2e" never reach the file system.
int IsSafeName(const std::string& s);
