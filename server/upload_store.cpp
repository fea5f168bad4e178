// The upload folders. Each is written as a hidden ".<id>" folder and renamed to "<id>" once both
// files are complete, so readers and counters never see half an upload.
#include "server/upload_store.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/kernel/fileapi.h"
#include "server/sjis_text.h"

namespace fs = std::filesystem;

static std::string AlbumDir(const std::string& dir, const std::string& album) {
    return dir + "/uploads/" + album;
}

// A local time as text in `fmt` (strftime).
static std::string FormatTime(time_t t, const char* fmt) {
    struct tm tm;
    localtime_r(&t, &tm);
    char buf[64];
    strftime(buf, sizeof buf, fmt, &tm);
    return buf;
}

// A field meant to be one line, without the CRs that could break info.txt's lines.
static std::string OneLine(const std::string& utf8) {
    std::string s = utf8;
    std::replace(s.begin(), s.end(), '\r', ' ');
    return s;
}

// The message with its CR LF pairs as plain LFs.
static std::string UnixLines(const std::string& utf8) {
    std::string s;
    for (size_t i = 0; i < utf8.size(); i++)
        if (!(utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')) s += utf8[i];
    return s;
}

// info.txt: "key: value" lines, then "message:" and the message to the end of the file.
static std::string InfoText(const Upload& up, time_t now) {
    std::string recipients;
    for (const std::string& r : up.recipients) recipients += (recipients.empty() ? "" : ", ") + r;
    std::ostringstream s;
    s << "user: " << OneLine(SjisToUtf8Lossy(up.user)) << "\n"
      << "album: " << up.album << "\n"
      << "uploaded: " << FormatTime(now, "%Y/%m/%d %H:%M:%S") << "\n"
      << "schedule: " << (up.sendAt ? FormatTime(up.sendAt, "%Y/%m/%d %H:00") : "now") << "\n"
      << "send-at: " << (long long)up.sendAt << "\n"
      << "recipients: " << recipients << "\n"
      << "subject: " << OneLine(SjisToUtf8Lossy(up.subject)) << "\n"
      << "message:\n"
      << UnixLines(SjisToUtf8Lossy(up.message));
    return s.str();
}

static int WriteWhole(const std::string& path, const std::string& bytes) {
    return WriteWholeFile(path.c_str(), bytes.data(), bytes.size(), 0666);
}

// Reads info.txt of one upload folder into *up. Fails when it is missing or has no message line.
static int ReadInfo(const fs::path& folder, StoredUpload* up) {
    std::ifstream f(folder / "info.txt", std::ios::binary);
    if (!f) return 0;
    up->id = folder.filename().string();
    std::string line;
    while (std::getline(f, line)) {
        if (line == "message:") {
            std::ostringstream rest;
            rest << f.rdbuf();
            up->message = rest.str();
            return 1;
        }
        const size_t colon = line.find(": ");
        if (colon == std::string::npos) continue;
        const std::string key = line.substr(0, colon), value = line.substr(colon + 2);
        if (key == "user") up->user = value;
        if (key == "uploaded") up->uploaded = value;
        if (key == "schedule") up->schedule = value;
        if (key == "send-at") up->sendAt = (time_t)atoll(value.c_str());
        if (key == "recipients") up->recipients = value;
        if (key == "subject") up->subject = value;
    }
    return 0;
}

std::vector<StoredUpload> ListUploads(const std::string& dir, const std::string& album) {
    std::vector<StoredUpload> ups;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(AlbumDir(dir, album), ec)) {
        StoredUpload up;
        if (e.path().filename().string()[0] != '.' && ReadInfo(e.path(), &up)) ups.push_back(up);
    }
    std::sort(ups.begin(), ups.end(),
              [](const StoredUpload& a, const StoredUpload& b) { return a.id > b.id; });
    return ups;
}

std::vector<std::string> ListAlbums(const std::string& dir) {
    std::vector<std::string> albums;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(dir + "/uploads", ec))
        if (IsSafeName(e.path().filename().string())) albums.push_back(e.path().filename());
    std::sort(albums.begin(), albums.end());
    return albums;
}

int CountWaiting(const std::string& dir, const std::string& album, time_t now) {
    int n = 0;
    for (const StoredUpload& up : ListUploads(dir, album))
        if (up.sendAt > now) n++;
    return n;
}

int StoreUpload(const std::string& dir, const Upload& up, time_t now, std::string* id) {
    const std::string album = AlbumDir(dir, up.album);
    std::error_code ec;
    fs::create_directories(album, ec);
    // The first free "<time>-N": neither the folder nor its hidden form may exist yet.
    const std::string stamp = FormatTime(now, "%Y%m%d-%H%M%S");
    std::string name, part;
    for (int seq = 1;; seq++) {
        name = stamp + "-" + std::to_string(seq);
        part = album + "/." + name;
        if (fs::exists(album + "/" + name)) continue;
        if (mkdir(part.c_str(), 0755) == 0) break;
        if (errno != EEXIST) return 0;
    }
    if (!WriteWhole(part + "/picture.jpg", up.picture) ||
        !WriteWhole(part + "/info.txt", InfoText(up, now)) ||
        rename(part.c_str(), (album + "/" + name).c_str()) != 0) {
        fs::remove_all(part, ec);
        return 0;
    }
    *id = name;
    return 1;
}

std::string AcceptUpload(const std::string& dir, const std::string& body, time_t now) {
    // Counting and storing under one lock: two uploads at once must not both be the fifth.
    static std::mutex lock;
    Upload up;
    std::string code;
    if (!ParseUpload(body, now, &up, &code)) return code;
    std::lock_guard<std::mutex> hold(lock);
    if (up.sendAt && CountWaiting(dir, up.album, now) >= kMaxWaiting) return kNgWaiting;
    std::string id;
    if (!StoreUpload(dir, up, now, &id)) return kNgStore;
    fprintf(stderr, "quillet-server: stored %s/%s\n", up.album.c_str(), id.c_str());
    return "OK";
}
