// Where a built mail goes: the relay when one is configured, else the Maildir any mail client
// can open.
#include "server/server_ctx.h"

std::string MaildirOf(const ServerCtx& ctx) {
    return ctx.dir + "/Maildir";
}

int DeliverMail(const ServerCtx& ctx, const std::string& to, const std::string& text,
                std::string* error) {
    if (ctx.relay.url.empty()) return SaveMaildirMail(MaildirOf(ctx), text, error);
    return SendSmtpMail(ctx.relay, ctx.sender, to, text, error);
}
