// The server's HTML pages, in Japanese and UTF-8, built from records so tests need no socket.
#pragma once

#include <string>
#include <vector>

#include "server/store.h"

// `text` with & < > " ' as character references.
std::string HtmlEscape(const std::string& text);

// What this server is and how to point the program at it; `host` is the Host the browser used.
std::string HomePage(const std::string& host);

// The uploads of `album`, newest first, each with its picture, schedule, subject and message.
std::string AlbumPage(const std::string& album, const std::vector<UploadRec>& ups);

std::string NotFoundPage();
