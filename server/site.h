// The web site for people: the home page, the public albums, album management and the password
// reset page.
#pragma once

#include "server/http_request.h"
#include "server/server_ctx.h"

// The answer to a browser's request: 404 for paths that are not the site's, 405 for a method a
// page does not take.
Response AnswerSite(const ServerCtx& ctx, const Request& req);
