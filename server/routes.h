// Which answer each request gets.
#pragma once

#include "server/http_request.h"
#include "server/server_ctx.h"

// The answer to `req` for the server `ctx`.
Response AnswerRequest(const ServerCtx& ctx, const Request& req);
