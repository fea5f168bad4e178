// An upload from the program: checked, matched against its account, stored with its mails.
#pragma once

#include <string>

#include "server/server_ctx.h"

// Checks `body`, the account and the limits, stores the upload and queues one mail per
// recipient. Returns the answer for the program: "OK" or an "NG" code.
std::string AcceptUpload(const ServerCtx& ctx, const std::string& body);
