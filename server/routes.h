// Which answer each request gets.
#pragma once

#include <ctime>
#include <string>

#include "server/http_request.h"

// The answer to `req` for a server keeping its uploads under `dir`, at time `now`.
Response AnswerRequest(const std::string& dir, const Request& req, time_t now);
