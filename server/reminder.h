// The password reminder the program's P button asks for. The server keeps no password it could
// mail, so it mails the account's owner a link to a page that sets a new one: valid for an hour,
// usable once.
#pragma once

#include "server/http_request.h"
#include "server/server_ctx.h"

inline constexpr int kResetLinkSec = 3600;
inline constexpr int kReminderGapSec = 600;  // one reminder per album in this time

// POST /quillet/resend.php?id=ALBUM&pass=...: mails the link. The answer is "OK" whether or not
// the album exists (the program does not read it, and a stranger learns nothing from it).
Response AnswerResend(const ServerCtx& ctx, const Request& req);
