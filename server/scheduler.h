// The delivery of queued mails: what is due goes out, what fails waits and is tried again.
#pragma once

#include <ctime>

#include "server/server_ctx.h"

inline constexpr int kClaimBatch = 16;  // mails claimed per round
inline constexpr int kPollSec = 5;      // a scheduled mail goes out at most this late

// The wait after failed attempt number `attempts` (1, 5, 15 and 60 minutes, then hourly for a
// day); 0 when the mail is given up.
time_t RetryDelay(int attempts);

// One round: claims the due mails and delivers each once, until none is due. Returns the number
// of attempts made.
int RunDueMails(const ServerCtx& ctx);

struct Scheduler;

// Puts mails a stopped server left half-sent back in the queue (they go out again with the same
// Message-ID), then delivers in a thread of its own until StopScheduler.
int StartScheduler(const ServerCtx* ctx, Scheduler** s);
void StopScheduler(Scheduler* s);

// Makes every running scheduler look at the queue now (a mail to send at once was queued).
void WakeScheduler();
