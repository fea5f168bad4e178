#include "upload_body.h"

std::string MakeBody(const BodyFields& f) {
    return kD + "\n" + f.ident + "\n" + f.opaque + "\n" + kD + "\n" + f.user + "\n" + f.pass +
           "\n" + f.album + "\n" + kD + "\n" + f.schedule + "\n" + f.recipients + "\n" + f.subject +
           "\n" + f.message + "\n" + kD + "\n" + f.picture + kT + kD;
}

time_t LocalTime(int y, int mo, int d, int h, int mi) {
    struct tm tm = {};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_isdst = -1;
    return mktime(&tm);
}

time_t TestNow() {
    return LocalTime(2025, 6, 10, 10, 20);
}
