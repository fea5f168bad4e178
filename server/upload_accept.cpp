// The account check comes after the body check, so that a malformed body costs no password
// hash; the limits are checked by the store in the same transaction as the insert, so two
// uploads at once cannot both be the sixth.
#include "server/upload_accept.h"

#include <strings.h>

#include "server/accounts.h"
#include "server/log.h"
#include "server/scheduler.h"
#include "server/sjis_text.h"
#include "server/tokens.h"
#include "server/upload_check.h"

// The message with its CR LF pairs as plain LFs.
static std::string UnixLines(const std::string& text) {
    std::string s;
    for (size_t i = 0; i < text.size(); i++)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) s += text[i];
    return s;
}

// A Message-ID that stays with the mail through every retry, in the sender's domain.
static std::string NewMessageId(const std::string& sender) {
    const size_t at = sender.rfind('@');
    return "<" + RandomHex(16) + "@" +
           (at == std::string::npos ? "localhost" : sender.substr(at + 1)) + ">";
}

// The first upload of an unknown album makes its account, when the server allows it.
static int RegisterAccount(const ServerCtx& ctx, const Upload& up) {
    Account acct;
    acct.album = up.album;
    acct.mail = SjisToUtf8Lossy(up.user);
    acct.created = ctx.now();
    if (!IsAlbumIdText(up.album) || !HashPass(up.pass, &acct.passHash)) return 0;
    if (!ctx.store->ops->addAccount(ctx.store, acct)) return 0;
    LogLine("account %s registered by its first upload", up.album.c_str());
    return 1;
}

// Whether the upload's album ID, password and user ID match an account.
static int CheckAccount(const ServerCtx& ctx, const Upload& up) {
    Account acct;
    if (!ctx.store->ops->getAccount(ctx.store, up.album, &acct)) {
        // Two first uploads at once: the second finds the account the first made.
        if (!ctx.registerOnFirstUpload || !RegisterAccount(ctx, up)) return 0;
        if (!ctx.store->ops->getAccount(ctx.store, up.album, &acct)) return 0;
    }
    return strcasecmp(acct.mail.c_str(), SjisToUtf8Lossy(up.user).c_str()) == 0 &&
           CheckUploadPass(up.album, acct.passHash, up.pass, ctx.now());
}

std::string AcceptUpload(const ServerCtx& ctx, const std::string& body) {
    const time_t now = ctx.now();
    Upload up;
    std::string code;
    if (!ParseUpload(body, now, &up, &code)) return code;
    if (!CheckAccount(ctx, up)) {
        LogLine("upload for album %s refused: the account does not match", up.album.c_str());
        return kNgAccount;
    }
    UploadRec rec;
    rec.album = up.album;
    rec.user = SjisToUtf8Lossy(up.user);
    rec.uploaded = now;
    rec.sendAt = up.sendAt;
    rec.subject = SjisToUtf8Lossy(up.subject);
    rec.message = UnixLines(SjisToUtf8Lossy(up.message));
    for (const std::string& to : up.recipients) {
        MailRec m;
        m.recipient = to;
        m.messageId = NewMessageId(ctx.sender);
        m.due = up.sendAt ? up.sendAt : now;
        rec.mails.push_back(m);
    }
    StoreRefusal why = kRefusedNone;
    if (!ctx.store->ops->addUpload(ctx.store, &rec, up.picture, ctx.limits, &why)) {
        if (why == kRefusedWaiting) return kNgWaiting;
        if (why == kRefusedQuota) return kNgQuota;
        return kNgStore;
    }
    LogLine("upload %lld for album %s: %zu mail(s), %s", rec.id, rec.album.c_str(),
            rec.mails.size(), up.sendAt ? up.schedule.c_str() : "now");
    if (!up.sendAt) WakeScheduler();
    return "OK";
}
