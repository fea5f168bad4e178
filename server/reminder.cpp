// The link carries a random token; the store keeps only its hash and the hour it runs out.
#include "server/reminder.h"

#include <map>
#include <mutex>

#include "server/log.h"
#include "server/mail_msg.h"
#include "server/tokens.h"
#include "server/upload_check.h"

// Whether `album` may have a reminder at `now`: not when one went out within kReminderGapSec,
// so that nobody can flood an owner's mailbox through the P button.
static int TakeReminderTurn(const std::string& album, time_t now) {
    static std::mutex lock;
    static std::map<std::string, time_t> last;
    std::lock_guard<std::mutex> hold(lock);
    auto it = last.find(album);
    if (it != last.end() && now - it->second < kReminderGapSec && now >= it->second) return 0;
    last[album] = now;
    return 1;
}

static std::string ReminderText(const ServerCtx& ctx, const Account& acct,
                                const std::string& token) {
    MailMsg msg;
    msg.from = ctx.sender;
    msg.replyTo = ctx.sender;
    msg.to = acct.mail;
    msg.date = ctx.now();
    msg.messageId = "<" + RandomHex(16) + "@" + ctx.sender.substr(ctx.sender.rfind('@') + 1) + ">";
    msg.subject = "Quillet パスワードの再設定";
    msg.text = "アルバム " + acct.album +
               " のパスワードの再設定が求められました。\n"
               "次のページで新しいパスワードを決めてください（1時間有効、1回限り）。\n\n" +
               ctx.publicUrl + "/quillet/reset.html?t=" + token +
               "\n\n心当たりがなければ、このメールは捨ててください。"
               "パスワードは変わりません。\n";
    return BuildMailText(msg);
}

Response AnswerResend(const ServerCtx& ctx, const Request& req) {
    Response ok;
    ok.body = "OK";
    std::string album;
    Account acct;
    const time_t now = ctx.now();
    if (!QueryValue(req.query, "id", &album) || !IsSafeName(album) ||
        !ctx.store->ops->getAccount(ctx.store, album, &acct) || !TakeReminderTurn(album, now))
        return ok;
    const std::string token = RandomHex(32);
    std::string error;
    if (!ctx.store->ops->addResetToken(ctx.store, HashToken(token), album, now + kResetLinkSec))
        return ok;
    if (DeliverMail(ctx, acct.mail, ReminderText(ctx, acct, token), &error))
        LogLine("password reset link for album %s mailed to its owner", album.c_str());
    else
        LogLine("password reset link for album %s not mailed: %s", album.c_str(), error.c_str());
    return ok;
}
