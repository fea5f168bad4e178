// The upload body: thirteen lines, the picture and an end mark. Lines 1, 4, 8 and 13 are the
// delimiter D; the message (line 12) may span several physical lines and ends at the first LF
// followed by D LF; the picture runs from there to the end mark T D.
#include "server/upload_check.h"

#include <cctype>
#include <cstring>

static const std::string kDelim = "1415926535897932384626433832795028841";
static const std::string kEndMark = "0123456789012345678901234567890123456789012";
static const std::string kIdent = "Velquaris2.00";

// Takes the line starting at *pos (up to, not including, the next LF) into *line and moves
// *pos past the LF. Fails when no LF comes before `end`.
static int TakeLine(const std::string& body, size_t end, size_t* pos, std::string* line) {
    const size_t lf = body.find('\n', *pos);
    if (lf == std::string::npos || lf >= end) return 0;
    line->assign(body, *pos, lf - *pos);
    *pos = lf + 1;
    return 1;
}

int IsSafeName(const std::string& s) {
    if (s.empty() || s.size() > 64 || s[0] == '.') return 0;
    for (char c : s)
        if (!isalnum((unsigned char)c) && !strchr("._-@", c)) return 0;
    return 1;
}

int IsMailAddress(const std::string& s) {
    const size_t at = s.find('@');
    if (at == 0 || at == std::string::npos || at + 1 == s.size()) return 0;
    if (s.find('@', at + 1) != std::string::npos) return 0;
    for (char c : s)
        if (c <= ' ' || c > '~' || strchr(",;:<>()[]\\\"", c)) return 0;
    return 1;
}

// Reads exactly `n` decimal digits at s[at]; fails on anything else.
static int ReadDigits(const std::string& s, size_t at, int n, int* value) {
    *value = 0;
    for (int i = 0; i < n; i++) {
        const char c = s[at + i];
        if (c < '0' || c > '9') return 0;
        *value = *value * 10 + (c - '0');
    }
    return 1;
}

int ParseSchedule(const std::string& line, time_t now, time_t* sendAt) {
    if (line == "OFF()") {
        *sendAt = 0;
        return 1;
    }
    // "ON(YYYY/MM/DD-HH)"
    if (line.size() != 17 || line.compare(0, 3, "ON(") != 0 || line[7] != '/' || line[10] != '/' ||
        line[13] != '-' || line[16] != ')')
        return 0;
    int y, mo, d, h;
    if (!ReadDigits(line, 3, 4, &y) || !ReadDigits(line, 8, 2, &mo) ||
        !ReadDigits(line, 11, 2, &d) || !ReadDigits(line, 14, 2, &h) || h > 23)
        return 0;
    struct tm tm = {};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_isdst = -1;
    const time_t t = mktime(&tm);
    // mktime rolls 31 April over into 1 May and month 13 into the next year, so a date that did
    // not exist always shows in the month; an hour skipped by a clock change shows in the hour.
    if (t == (time_t)-1 || tm.tm_mon != mo - 1 || tm.tm_hour != h) return 0;
    if (t <= now || t > now + 7 * 24 * 3600) return 0;
    *sendAt = t;
    return 1;
}

// Splits the recipients line at its commas, dropping spaces around each address.
static int SplitRecipients(const std::string& line, std::vector<std::string>* out) {
    out->clear();
    size_t start = 0;
    while (start <= line.size()) {
        size_t comma = line.find(',', start);
        if (comma == std::string::npos) comma = line.size();
        size_t a = start, b = comma;
        while (a < b && line[a] == ' ') a++;
        while (b > a && line[b - 1] == ' ') b--;
        out->push_back(line.substr(a, b - a));
        start = comma + 1;
    }
    if (out->empty() || out->size() > size_t(kMaxRecipients)) return 0;
    for (const std::string& r : *out)
        if (!IsMailAddress(r)) return 0;
    return 1;
}

// Fails with `c` as the answer's code.
static int Refuse(std::string* code, const char* c) {
    *code = c;
    return 0;
}

int ParseUpload(const std::string& body, time_t now, Upload* up, std::string* code) {
    // The end mark first: it fixes where the picture stops.
    const std::string endMark = kEndMark + kDelim;
    if (body.size() < endMark.size() ||
        body.compare(body.size() - endMark.size(), endMark.size(), endMark) != 0)
        return Refuse(code, kNgMalformed);
    const size_t picEnd = body.size() - endMark.size();

    // Lines 1 to 11: three header groups and the sending details.
    std::string line[12];
    size_t pos = 0;
    for (int i = 1; i <= 11; i++)
        if (!TakeLine(body, picEnd, &pos, &line[i])) return Refuse(code, kNgMalformed);
    if (line[1] != kDelim || line[2] != kIdent || line[4] != kDelim || line[8] != kDelim)
        return Refuse(code, kNgMalformed);

    // Line 12, the message, up to the first LF D LF; then the picture.
    const std::string msgEnd = "\n" + kDelim + "\n";
    const size_t endAt = body.find(msgEnd, pos);
    if (endAt == std::string::npos || endAt + msgEnd.size() > picEnd)
        return Refuse(code, kNgMalformed);
    up->message.assign(body, pos, endAt - pos);
    up->picture.assign(body, endAt + msgEnd.size(), picEnd - endAt - msgEnd.size());

    up->user = line[5];
    up->pass = line[6];
    up->album = line[7];
    up->schedule = line[9];
    up->subject = line[11];
    if (line[5].empty() || line[6].empty() || line[7].empty()) return Refuse(code, kNgAccount);
    if (!IsSafeName(up->album)) return Refuse(code, kNgMalformed);
    if (!ParseSchedule(line[9], now, &up->sendAt)) return Refuse(code, kNgSchedule);
    if (!SplitRecipients(line[10], &up->recipients)) return Refuse(code, kNgRecipients);
    if (up->subject.size() > kMaxSubjectBytes || up->message.size() > kMaxMessageBytes)
        return Refuse(code, kNgTooLong);
    return 1;
}
