// Accepted uploads kept as folders: DIR/uploads/<album>/<id>/ with picture.jpg and info.txt.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "server/upload_check.h"

// An upload as read back from its folder, its text in UTF-8.
struct StoredUpload {
    std::string id;        // the folder's name, "YYYYMMDD-HHMMSS-N" of the upload's time
    std::string user;      // the account's user ID
    std::string uploaded;  // "YYYY/MM/DD HH:MM:SS"
    std::string schedule;  // "now" or "YYYY/MM/DD HH:00"
    time_t sendAt = 0;     // 0 when sent at once
    std::string recipients, subject, message;
};

// The scheduled uploads of `album` under `dir` whose hour comes after `now`.
int CountWaiting(const std::string& dir, const std::string& album, time_t now);

// Writes `up` as a new folder under dir/uploads/<album>/, named after `now`; the folder appears
// whole or not at all. Returns 1 with its name in *id, 0 when it cannot be written.
int StoreUpload(const std::string& dir, const Upload& up, time_t now, std::string* id);

// The uploads of `album`, newest first. Folders without a readable info.txt are passed over.
std::vector<StoredUpload> ListUploads(const std::string& dir, const std::string& album);

// The albums that have a folder under dir/uploads, sorted.
std::vector<std::string> ListAlbums(const std::string& dir);

// Checks an upload body, counts the album's waiting mails and stores it, one upload at a time
// across all threads. Returns the answer for the program: "OK" or an "NG" code.
std::string AcceptUpload(const std::string& dir, const std::string& body, time_t now);
