// The server's state behind one small interface, so that another database can take SQLite's
// place: accounts, uploads with their pictures, the delivery queue, login sessions and password
// reset tokens. Every operation returns 1 for success and 0 for failure; a failure of the
// database itself is also written to the log (standard error) where it happens.
//
// Texts are UTF-8. Times are seconds since the epoch and always come from the caller, so that
// tests can move the clock. Every operation may be called from any thread at any time.
#pragma once

#include <ctime>
#include <string>
#include <vector>

// A mail's place in the queue.
enum MailState {
    kMailWaiting = 0,    // due at `due`, or retried at `due` after a failed attempt
    kMailSending = 1,    // claimed by the scheduler, the SMTP exchange under way
    kMailSent = 2,       // accepted by the relay or written to the Maildir
    kMailFailed = 3,     // given up after the last retry
    kMailCancelled = 4,  // cancelled by the album's owner before it went out
};

struct Account {
    std::string album;     // the album ID, IsSafeName
    std::string mail;      // the owner's mail address, the upload's user ID
    std::string passHash;  // an Argon2id hash string, never the password
    time_t created = 0;
};

// One mail of an upload: one recipient.
struct MailRec {
    long long id = 0;
    long long upload = 0;  // the UploadRec it belongs to
    std::string album;
    std::string recipient;
    std::string messageId;  // "<...@...>", fixed when the upload is accepted, kept on retries
    int state = kMailWaiting;
    time_t due = 0;         // when it is to go out (next); the upload time for "at once"
    int attempts = 0;       // delivery attempts so far
    std::string lastError;  // the last attempt's failure, empty when none
};

// One accepted upload.
struct UploadRec {
    long long id = 0;  // given by the store, increasing with every upload
    std::string album;
    std::string user;  // the user ID (mail address) as sent, in UTF-8
    time_t uploaded = 0;
    time_t sendAt = 0;    // the scheduled hour; 0 when sent at once
    std::string subject;  // UTF-8, one line
    std::string message;  // UTF-8, lines ending in LF
    long long pictureBytes = 0;
    std::vector<MailRec> mails;  // one per recipient, in the order sent
};

// What an account may hold; checked by AddUpload inside the same transaction as the insert.
struct StoreLimits {
    int maxWaiting = 5;        // scheduled uploads whose mails still wait
    long long quotaBytes = 0;  // the sum of the account's picture sizes; 0: no limit
};

// Why AddUpload refused.
enum StoreRefusal { kRefusedNone = 0, kRefusedWaiting, kRefusedQuota, kRefusedFailure };

struct Store;

// The operations of one kind of database. `st` is the store that OpenStore gave.
struct StoreOps {
    void (*close)(Store* st);

    // Accounts. AddAccount fails when the album ID is taken. SetPassHash ends the account's
    // sessions: a new password ends every login made with the old one. RemoveAccount removes the
    // account's uploads, pictures, mails, sessions and reset tokens with it.
    int (*addAccount)(Store* st, const Account& acct);
    int (*getAccount)(Store* st, const std::string& album, Account* acct);
    int (*listAccounts)(Store* st, std::vector<Account>* accts);  // sorted by album ID
    int (*setPassHash)(Store* st, const std::string& album, const std::string& passHash);
    int (*removeAccount)(Store* st, const std::string& album);

    // Uploads. AddUpload stores `up` (album, user, uploaded, sendAt, subject, message and its
    // mails' recipient, messageId and due) and the picture, and queues its mails, all or nothing.
    // It first checks `lim` against the account's uploads at `up->uploaded`: a scheduled upload
    // beyond maxWaiting waiting ones, or a picture that would pass the quota, is refused with
    // *why set and nothing stored. On 1, up->id and every mail's id are set.
    int (*addUpload)(Store* st, UploadRec* up, const std::string& picture, const StoreLimits& lim,
                     StoreRefusal* why);
    // The album's uploads with their mails, newest first.
    int (*listUploads)(Store* st, const std::string& album, std::vector<UploadRec>* ups);
    int (*getUpload)(Store* st, long long id, UploadRec* up);
    int (*readPicture)(Store* st, long long upload, std::string* jpeg);
    // Removes the upload of `album` with its picture; its waiting mails go with it.
    int (*deleteUpload)(Store* st, const std::string& album, long long upload);

    // The queue. ClaimDueMails marks up to `max` waiting mails due at or before `now` as
    // sending and returns them, oldest due first. FinishMail records an attempt's end: sent,
    // failed, or waiting again until `retryAt` with `error`. CancelMail turns a waiting mail of
    // `album` into cancelled and fails for any other state. RequeueSending puts every sending
    // mail back to waiting, due at `now`: a server that stopped mid-send retries them.
    int (*claimDueMails)(Store* st, time_t now, int max, std::vector<MailRec>* mails);
    int (*finishMail)(Store* st, long long mail, int state, time_t retryAt,
                      const std::string& error);
    int (*cancelMail)(Store* st, const std::string& album, long long mail);
    int (*requeueSending)(Store* st, time_t now);

    // Album management sessions, keyed by a hash of the cookie's token. GetSession fails for
    // an unknown or expired session.
    int (*addSession)(Store* st, const std::string& tokenHash, const std::string& album,
                      const std::string& csrf, time_t expires);
    int (*getSession)(Store* st, const std::string& tokenHash, time_t now, std::string* album,
                      std::string* csrf);
    int (*dropSession)(Store* st, const std::string& tokenHash);

    // Password reset links, keyed by a hash of the link's token: TakeResetToken gives the
    // album of a token that has not expired and removes it, so a link works once.
    int (*addResetToken)(Store* st, const std::string& tokenHash, const std::string& album,
                         time_t expires);
    int (*takeResetToken)(Store* st, const std::string& tokenHash, time_t now, std::string* album);
};

// Every store begins with its operations; each kind of database extends it with its own state.
struct Store {
    const StoreOps* ops;
};

// Opens the store named by `db`: "" or "sqlite:" for DIR/quillet.db under `dir`,
// "sqlite:PATH" for another file. Pictures are kept under `dir` (0700 folders, 0600 files).
// Creates what is missing. Returns 1 with *st, 0 (and a line in the log) when it cannot.
int OpenStore(const std::string& db, const std::string& dir, Store** st);
