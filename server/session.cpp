// Cookies are HttpOnly (no script reads them) and SameSite=Strict (no other site's page sends
// them along), limited to the management pages' folder.
#include "server/session.h"

#include "server/tokens.h"

// The server speaks plain HTTP; where it is reached only over https (a TLS front), append
// "; Secure" here.
static const char kCookieAttrs[] = "; Path=/quillet/; HttpOnly; SameSite=Strict";

int IsTokenText(const std::string& s) {
    if (s.size() != 64) return 0;
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return 0;
    return 1;
}

int ReadCookie(const std::string& header, const std::string& name, std::string* value) {
    size_t start = 0;
    while (start < header.size()) {
        size_t end = header.find(';', start);
        if (end == std::string::npos) end = header.size();
        while (start < end && header[start] == ' ') start++;
        const size_t eq = header.find('=', start);
        if (eq < end && header.compare(start, eq - start, name) == 0) {
            *value = header.substr(eq + 1, end - eq - 1);
            return 1;
        }
        start = end + 1;
    }
    return 0;
}

std::string MakeCookie(const std::string& name, const std::string& value, int maxAgeSec) {
    return name + "=" + value + kCookieAttrs + "; Max-Age=" + std::to_string(maxAgeSec);
}

int StartSession(const ServerCtx& ctx, const std::string& album, std::string* setCookie) {
    const std::string token = RandomHex(32);
    if (!ctx.store->ops->addSession(ctx.store, HashToken(token), album, RandomHex(32),
                                    ctx.now() + kSessionSec))
        return 0;
    *setCookie = MakeCookie(kSessionCookie, token, kSessionSec);
    return 1;
}

int ReadSession(const ServerCtx& ctx, const Request& req, Session* sess) {
    std::string token;
    if (!ReadCookie(req.cookie, kSessionCookie, &token) || !IsTokenText(token)) return 0;
    sess->tokenHash = HashToken(token);
    return ctx.store->ops->getSession(ctx.store, sess->tokenHash, ctx.now(), &sess->album,
                                      &sess->csrf);
}

int HasFormToken(const std::string& body, const std::string& token) {
    std::string sent;
    return !token.empty() && QueryValue(body, "csrf", &sent) && SameSecret(sent, token);
}
