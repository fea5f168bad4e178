// What every part of a running server shares: the store, where mail goes, the limits and the
// clock. Made once by the entry (or a test) and read by the request handlers and the scheduler.
#pragma once

#include <ctime>
#include <string>

#include "server/mail_send.h"
#include "server/store.h"

struct ServerCtx {
    Store* store = nullptr;
    std::string dir;        // the database's default place, the pictures, the Maildir
    MailRelay relay;        // relay.url empty: mail goes into dir/Maildir
    std::string sender;     // the From address of every mail
    std::string publicUrl;  // "http://host:port" as users reach the server, for links in mails
    StoreLimits limits;
    int registerOnFirstUpload = 0;  // an unknown album's first upload makes its account
    time_t (*now)() = nullptr;      // the clock; tests replace it
};

// The Maildir that takes the mail when no relay is configured.
std::string MaildirOf(const ServerCtx& ctx);

// Hands one built mail to the relay, or to the Maildir without one. Returns 1, or 0 with *error.
int DeliverMail(const ServerCtx& ctx, const std::string& to, const std::string& text,
                std::string* error);
