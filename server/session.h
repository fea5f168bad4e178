// Album management sessions: the cookie that names one, the CSRF token its forms carry, and the
// login cookie that ties the login form to the browser that fetched it. The store keeps only a
// hash of a session's token, so a copy of the database opens no session.
#pragma once

#include <string>

#include "server/http_request.h"
#include "server/server_ctx.h"

inline constexpr char kSessionCookie[] = "quillet_session";
inline constexpr char kLoginCookie[] = "quillet_login";
inline constexpr int kSessionSec = 12 * 3600;

struct Session {
    std::string tokenHash;  // the store's key
    std::string album;
    std::string csrf;  // what every form of the session must send back in its "csrf" field
};

// Whether `s` looks like a token of RandomHex(32): 64 lower-case hex digits.
int IsTokenText(const std::string& s);

// The value of cookie `name` in a Cookie header. Returns 0 when it is absent.
int ReadCookie(const std::string& header, const std::string& name, std::string* value);

// A Set-Cookie value for `name` under /quillet/, kept `maxAgeSec` seconds; 0 removes it.
std::string MakeCookie(const std::string& name, const std::string& value, int maxAgeSec);

// Starts a session for `album` at ctx.now() and stores it. Returns 1 with the Set-Cookie value
// in *setCookie, 0 when the store fails.
int StartSession(const ServerCtx& ctx, const std::string& album, std::string* setCookie);

// The session the request's cookie names, when it is known and not expired. Returns 0 otherwise.
int ReadSession(const ServerCtx& ctx, const Request& req, Session* sess);

// Whether the form `body` carries `token` in its "csrf" field.
int HasFormToken(const std::string& body, const std::string& token);
