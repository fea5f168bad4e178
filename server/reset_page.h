// The page a password reminder mail links to: /quillet/reset.html?t=TOKEN.
#pragma once

#include "server/http_request.h"
#include "server/server_ctx.h"

// GET shows the form for a new password, carrying the token; it does not use the token up, as
// mail scanners fetch links. POST with the token and the new password twice sets the password
// and uses the token up.
Response AnswerReset(const ServerCtx& ctx, const Request& req);
