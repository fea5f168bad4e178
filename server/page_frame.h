// The frame every HTML page of the site shares: its look (inline CSS, one column that fits a
// phone), the security headers of its answers, and the escaping of what users typed.
#pragma once

#include <ctime>
#include <string>

#include "server/http_request.h"

// `text` with & < > " ' as character references.
std::string HtmlEscape(const std::string& text);

// `t` as local time in strftime's `fmt`.
std::string FormatTime(time_t t, const char* fmt);

// A whole page: `title` (escaped here) above `content` (HTML whose user texts the caller
// escaped).
std::string FramePage(const std::string& title, const std::string& content);

// An HTML answer: the framed page with the headers that keep it from loading anything foreign,
// being framed or leaking its address (a reset link's token) to other sites.
Response AnswerHtml(int status, const std::string& title, const std::string& content);

// A 303 redirection to `path`, so that a reload after a form does not post it again.
Response RedirectTo(const std::string& path);
