// Album management: /quillet/manage.html, only within a session.
#pragma once

#include "server/http_request.h"
#include "server/server_ctx.h"

// GET lists the album's uploads with the state of every mail. POST, with the session's CSRF
// token, cancels a waiting mail (act=cancel, mail=ID), deletes an upload (act=delete, upload=ID)
// or ends the session (act=logout), then redirects.
Response AnswerManage(const ServerCtx& ctx, const Request& req);
