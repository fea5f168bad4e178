// A mail is marked sending before the SMTP exchange and sent after it, so a restart never sends
// twice what was recorded as sent; a mail left sending by a crash goes out again with its
// Message-ID, so that receivers can drop the rare duplicate.
#include "server/scheduler.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include "server/log.h"
#include "server/mail_msg.h"

static const time_t kMinute = 60;
static const time_t kRetries[] = {1 * kMinute, 5 * kMinute, 15 * kMinute, 60 * kMinute};
static const int kHourlyRetries = 24;

static std::mutex g_wakeLock;
static std::condition_variable g_wake;
static unsigned long g_wakeCount = 0;

struct Scheduler {
    const ServerCtx* ctx;
    std::thread loop;
    int stop = 0;
};

time_t RetryDelay(int attempts) {
    const int first = int(sizeof kRetries / sizeof kRetries[0]);
    if (attempts >= 1 && attempts <= first) return kRetries[attempts - 1];
    if (attempts > first && attempts <= first + kHourlyRetries) return 60 * kMinute;
    return 0;
}

// The mail `m` as text, from its upload and picture. Returns 0 with *error when they are gone.
static int BuildQueuedMail(const ServerCtx& ctx, const MailRec& m, std::string* text,
                           std::string* error) {
    UploadRec up;
    MailMsg msg;
    if (!ctx.store->ops->getUpload(ctx.store, m.upload, &up) ||
        !ctx.store->ops->readPicture(ctx.store, m.upload, &msg.jpeg)) {
        *error = "the upload or its picture cannot be read";
        return 0;
    }
    msg.from = ctx.sender;
    msg.replyTo = up.user;
    msg.to = m.recipient;
    msg.date = ctx.now();
    msg.messageId = m.messageId;
    msg.subject = up.subject;
    msg.text = up.message;
    *text = BuildMailText(msg);
    return 1;
}

// One attempt at `m`, recorded in the store and the log.
static void DeliverQueued(const ServerCtx& ctx, const MailRec& m) {
    std::string text, error;
    if (BuildQueuedMail(ctx, m, &text, &error) && DeliverMail(ctx, m.recipient, text, &error)) {
        ctx.store->ops->finishMail(ctx.store, m.id, kMailSent, 0, "");
        LogLine("mail %lld of upload %lld (album %s) to %s: attempt %d, sent", m.id, m.upload,
                m.album.c_str(), m.recipient.c_str(), m.attempts);
        return;
    }
    const time_t delay = RetryDelay(m.attempts);
    if (!delay) {
        ctx.store->ops->finishMail(ctx.store, m.id, kMailFailed, 0, error);
        LogLine("mail %lld of upload %lld (album %s) to %s: attempt %d failed (%s), given up", m.id,
                m.upload, m.album.c_str(), m.recipient.c_str(), m.attempts, error.c_str());
        return;
    }
    ctx.store->ops->finishMail(ctx.store, m.id, kMailWaiting, ctx.now() + delay, error);
    LogLine("mail %lld of upload %lld (album %s) to %s: attempt %d failed (%s), next in %lld min",
            m.id, m.upload, m.album.c_str(), m.recipient.c_str(), m.attempts, error.c_str(),
            (long long)(delay / kMinute));
}

int RunDueMails(const ServerCtx& ctx) {
    int attempts = 0;
    std::vector<MailRec> due;
    while (ctx.store->ops->claimDueMails(ctx.store, ctx.now(), kClaimBatch, &due) && !due.empty()) {
        for (const MailRec& m : due) DeliverQueued(ctx, m);
        attempts += int(due.size());
        due.clear();
    }
    return attempts;
}

void WakeScheduler() {
    std::lock_guard<std::mutex> hold(g_wakeLock);
    g_wakeCount++;
    g_wake.notify_all();
}

static void RunScheduler(Scheduler* s) {
    std::unique_lock<std::mutex> hold(g_wakeLock);
    while (!s->stop) {
        const unsigned long seen = g_wakeCount;
        hold.unlock();
        RunDueMails(*s->ctx);
        hold.lock();
        g_wake.wait_for(hold, std::chrono::seconds(kPollSec),
                        [&] { return s->stop || g_wakeCount != seen; });
    }
}

int StartScheduler(const ServerCtx* ctx, Scheduler** s) {
    if (!ctx->store->ops->requeueSending(ctx->store, ctx->now())) return 0;
    *s = new Scheduler{ctx, {}, 0};
    (*s)->loop = std::thread(RunScheduler, *s);
    return 1;
}

void StopScheduler(Scheduler* s) {
    {
        std::lock_guard<std::mutex> hold(g_wakeLock);
        s->stop = 1;
        g_wake.notify_all();
    }
    s->loop.join();
    delete s;
}
