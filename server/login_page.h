// The login to album management: /quillet/login.html.
#pragma once

#include "server/http_request.h"
#include "server/server_ctx.h"

// GET shows the form; POST checks the album ID and password and, when they match, starts a
// session and redirects to the management page.
Response AnswerLogin(const ServerCtx& ctx, const Request& req);
