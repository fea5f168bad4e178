// quillet-server's check of an upload body: any bytes through ParseUpload and ParseSchedule at
// two fixed moments in a zone with clock changes, each a week before one.
// An accepted upload keeps to the limits the mail and the album rely on and, built again from
// its fields, is read back the same; an accepted schedule is within the coming week and names
// the hour it stands for.
#include <stdlib.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

#include "server/upload_check.h"
#include "upload_body.h"

namespace {

// Every field of up, also those the check does not read.
bool IsSameUpload(const Upload& a, const Upload& b) {
    return a.user == b.user && a.pass == b.pass && a.album == b.album && a.schedule == b.schedule &&
           a.sendAt == b.sendAt && a.recipients == b.recipients && a.subject == b.subject &&
           a.message == b.message && a.picture == b.picture;
}

std::string JoinRecipients(const Upload& up) {
    std::string line;
    for (const std::string& r : up.recipients) line += (line.empty() ? "" : ",") + r;
    return line;
}

void CheckUpload(const Upload& up, time_t now) {
    if (up.user.empty() || up.pass.empty() || !IsSafeName(up.album) || up.recipients.empty() ||
        up.recipients.size() > size_t(kMaxRecipients) || up.subject.size() > kMaxSubjectBytes ||
        up.message.size() > kMaxMessageBytes)
        abort();
    for (const std::string& r : up.recipients)
        if (!IsMailAddress(r)) abort();
    BodyFields f;
    f.user = up.user;
    f.pass = up.pass;
    f.album = up.album;
    f.schedule = up.schedule;
    f.recipients = JoinRecipients(up);
    f.subject = up.subject;
    f.message = up.message;
    f.picture = up.picture;
    Upload back;
    std::string code;
    if (!ParseUpload(MakeBody(f), now, &back, &code) || !IsSameUpload(back, up)) abort();
}

void CheckSchedule(const std::string& line, time_t now, time_t sendAt) {
    if (line == "OFF()") {
        if (sendAt != 0) abort();
        return;
    }
    if (sendAt <= now || sendAt > now + 7 * 24 * 3600) abort();
    struct tm tm;
    char own[32];
    if (!localtime_r(&sendAt, &tm) || tm.tm_min || tm.tm_sec) abort();
    snprintf(own, sizeof own, "ON(%04d/%02d/%02d-%02d)", tm.tm_year + 1900, tm.tm_mon + 1,
             tm.tm_mday, tm.tm_hour);
    if (line != own) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::array<time_t, 2> nows = [] {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        return std::array<time_t, 2>{LocalTime(2025, 3, 27, 10, 20), LocalTime(2025, 10, 22, 2)};
    }();
    const std::string body(reinterpret_cast<const char*>(data), size);
    for (const time_t now : nows) {
        Upload up;
        std::string code;
        if (ParseUpload(body, now, &up, &code)) {
            CheckUpload(up, now);
            CheckSchedule(up.schedule, now, up.sendAt);
        } else if (code.size() != 4 || code.compare(0, 2, "NG") != 0) {
            abort();
        }
        time_t sendAt = 1;
        if (ParseSchedule(body, now, &sendAt)) CheckSchedule(body, now, sendAt);
    }
    return 0;
}
