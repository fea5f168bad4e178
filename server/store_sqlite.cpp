// The store in SQLite: one database file through one connection, every operation under the
// store's own lock so that transactions of different threads never interleave, and every write
// that reads first in an IMMEDIATE transaction so that it waits for the account command (another
// process) instead of failing halfway. Values are always bound, never written into the SQL.
// Pictures are files DIR/pictures/<album>/<upload id>.jpg.
#include "server/store_sqlite.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/kernel/fileapi.h"
#include "server/upload_check.h"

namespace {

constexpr int kBusyTimeoutMs = 5000;  // how long a write waits for the account command's
constexpr int kSchemaVersion = 1;     // the PRAGMA user_version kSchema sets

const char kSchema[] = R"(
CREATE TABLE IF NOT EXISTS accounts (
    album TEXT PRIMARY KEY NOT NULL,
    mail TEXT NOT NULL,
    pass_hash TEXT NOT NULL,
    created INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS uploads (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    album TEXT NOT NULL REFERENCES accounts(album) ON DELETE CASCADE,
    user TEXT NOT NULL,
    uploaded INTEGER NOT NULL,
    send_at INTEGER NOT NULL,
    subject TEXT NOT NULL,
    message TEXT NOT NULL,
    picture_bytes INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS uploads_album ON uploads(album);
CREATE TABLE IF NOT EXISTS mails (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    upload INTEGER NOT NULL REFERENCES uploads(id) ON DELETE CASCADE,
    recipient TEXT NOT NULL,
    message_id TEXT NOT NULL UNIQUE,
    state INTEGER NOT NULL,
    due INTEGER NOT NULL,
    attempts INTEGER NOT NULL,
    last_error TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS mails_state_due ON mails(state, due);
CREATE INDEX IF NOT EXISTS mails_upload ON mails(upload);
CREATE TABLE IF NOT EXISTS sessions (
    token_hash TEXT PRIMARY KEY NOT NULL,
    album TEXT NOT NULL REFERENCES accounts(album) ON DELETE CASCADE,
    csrf TEXT NOT NULL,
    expires INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS sessions_album ON sessions(album);
CREATE TABLE IF NOT EXISTS reset_tokens (
    token_hash TEXT PRIMARY KEY NOT NULL,
    album TEXT NOT NULL REFERENCES accounts(album) ON DELETE CASCADE,
    expires INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS reset_tokens_album ON reset_tokens(album);
PRAGMA user_version = 1;
)";

// The columns ColUpload and ColMail read, with the upload as `u` in both.
const char kUploadSelect[] =
    "SELECT u.id, u.album, u.user, u.uploaded, u.send_at, u.subject, u.message, "
    "u.picture_bytes FROM uploads u ";
const char kMailSelect[] =
    "SELECT m.id, m.upload, u.album, m.recipient, m.message_id, m.state, m.due, m.attempts, "
    "m.last_error FROM mails m JOIN uploads u ON u.id = m.upload ";

struct SqliteStore : Store {
    sqlite3* db = nullptr;
    std::string picDir;  // DIR/pictures
    std::mutex lock;     // held for each operation
};

SqliteStore* Sq(Store* st) {
    return static_cast<SqliteStore*>(st);
}

struct StmtFree {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Stmt = std::unique_ptr<sqlite3_stmt, StmtFree>;

void LogDb(sqlite3* db, const char* sql) {
    fprintf(stderr, "quillet-server: database: %s, in: %s\n", sqlite3_errmsg(db), sql);
}

void LogFile(const char* what, const std::string& path, int err) {
    fprintf(stderr, "quillet-server: %s %s: %s\n", what, path.c_str(), strerror(err));
}

int BindVal(sqlite3_stmt* s, int i, long long v) {
    return sqlite3_bind_int64(s, i, v);
}

int BindVal(sqlite3_stmt* s, int i, const std::string& v) {
    return sqlite3_bind_text64(s, i, v.data(), v.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

// `sql` ready to run with args bound to ?1, ?2, ...; none (logged) when it cannot be made.
template <class... A>
Stmt Prep(sqlite3* db, const char* sql, const A&... args) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
        LogDb(db, sql);
        return nullptr;
    }
    Stmt s(raw);
    int i = 0, rc = SQLITE_OK;
    ((rc = rc == SQLITE_OK ? BindVal(raw, ++i, args) : rc), ...);
    if (rc != SQLITE_OK) {
        LogDb(db, sql);
        return nullptr;
    }
    return s;
}

// SQLITE_ROW or SQLITE_DONE, else the error, logged.
int Step(sqlite3* db, sqlite3_stmt* s) {
    const int rc = sqlite3_step(s);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) LogDb(db, sqlite3_sql(s));
    return rc;
}

// Runs a statement that gives no rows.
template <class... A>
int Run(sqlite3* db, const char* sql, const A&... args) {
    Stmt s = Prep(db, sql, args...);
    return s && Step(db, s.get()) == SQLITE_DONE;
}

// Runs a write and tells whether it changed exactly one row (cascades not counted).
template <class... A>
int RunOne(sqlite3* db, const char* sql, const A&... args) {
    return Run(db, sql, args...) && sqlite3_changes(db) == 1;
}

// The first column of the first row of a query.
template <class... A>
int QueryInt(sqlite3* db, long long* v, const char* sql, const A&... args) {
    Stmt s = Prep(db, sql, args...);
    if (!s || Step(db, s.get()) != SQLITE_ROW) return 0;
    *v = sqlite3_column_int64(s.get(), 0);
    return 1;
}

std::string ColText(sqlite3_stmt* s, int i) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
    return p ? std::string(p, size_t(sqlite3_column_bytes(s, i))) : std::string();
}

// Appends a record per row of the query, read by `col`.
template <class T, class... A>
int ReadRows(sqlite3* db, const std::string& sql, void (*col)(sqlite3_stmt*, T*),
             std::vector<T>* rows, const A&... args) {
    Stmt s = Prep(db, sql.c_str(), args...);
    if (!s) return 0;
    int rc;
    while ((rc = Step(db, s.get())) == SQLITE_ROW) col(s.get(), &rows->emplace_back());
    return rc == SQLITE_DONE;
}

void Rollback(sqlite3* db) {
    // A failed COMMIT may have rolled back already.
    if (!sqlite3_get_autocommit(db)) Run(db, "ROLLBACK");
}

// Runs body() in a transaction begun with `begin` and commits when it returns 1, else rolls back.
// 1 when it committed.
template <class F>
int RunTx(sqlite3* db, const char* begin, F body) {
    if (!Run(db, begin)) return 0;
    if (body() && Run(db, "COMMIT")) return 1;
    Rollback(db);
    return 0;
}

// Makes a folder readable by its owner only unless it exists.
int MakeDir(const std::string& path) {
    if (mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) return 1;
    LogFile("cannot create the folder", path, errno);
    return 0;
}

// DIR/pictures/<album>; empty (logged) for an album ID that could lead out of that folder.
std::string AlbumPicDir(const SqliteStore* st, const std::string& album) {
    if (IsSafeName(album)) return st->picDir + "/" + album;
    fprintf(stderr, "quillet-server: refusing an album ID unfit for a folder name\n");
    return {};
}

std::string PicPath(const SqliteStore* st, const std::string& album, long long upload) {
    const std::string folder = AlbumPicDir(st, album);
    return folder.empty() ? folder : folder + "/" + std::to_string(upload) + ".jpg";
}

// Removes a file or folder with everything in it; a failure leaves it behind, logged.
void RemovePath(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    if (ec) LogFile("cannot remove", path, ec.value());
}

int ReadWhole(const std::string& path, std::string* bytes) {
    int64_t size = 0;
    FILE* f = OpenPlainFile(path.c_str(), &size);
    if (!f) {
        LogFile("cannot open", path, errno);
        return 0;
    }
    std::string got(size_t(size), '\0');
    const int ok = fread(got.data(), 1, got.size(), f) == got.size();
    fclose(f);
    if (!ok) {
        LogFile("cannot read", path, EIO);
        return 0;
    }
    *bytes = std::move(got);
    return 1;
}

void ColAcct(sqlite3_stmt* s, Account* a) {
    a->album = ColText(s, 0);
    a->mail = ColText(s, 1);
    a->passHash = ColText(s, 2);
    a->created = sqlite3_column_int64(s, 3);
}

void ColUpload(sqlite3_stmt* s, UploadRec* up) {
    up->id = sqlite3_column_int64(s, 0);
    up->album = ColText(s, 1);
    up->user = ColText(s, 2);
    up->uploaded = sqlite3_column_int64(s, 3);
    up->sendAt = sqlite3_column_int64(s, 4);
    up->subject = ColText(s, 5);
    up->message = ColText(s, 6);
    up->pictureBytes = sqlite3_column_int64(s, 7);
}

void ColMail(sqlite3_stmt* s, MailRec* m) {
    m->id = sqlite3_column_int64(s, 0);
    m->upload = sqlite3_column_int64(s, 1);
    m->album = ColText(s, 2);
    m->recipient = ColText(s, 3);
    m->messageId = ColText(s, 4);
    m->state = sqlite3_column_int(s, 5);
    m->due = sqlite3_column_int64(s, 6);
    m->attempts = sqlite3_column_int(s, 7);
    m->lastError = ColText(s, 8);
}

// The uploads `where` picks by ?1 = key, newest first, each with its mails in the order they
// were queued.
template <class K>
int ReadUps(sqlite3* db, const char* where, const K& key, std::vector<UploadRec>* ups) {
    std::vector<MailRec> mails;
    if (!ReadRows(db, std::string(kUploadSelect) + where + " ORDER BY u.id DESC", ColUpload, ups,
                  key) ||
        !ReadRows(db, std::string(kMailSelect) + where + " ORDER BY m.id", ColMail, &mails, key))
        return 0;
    std::unordered_map<long long, UploadRec*> byId;
    for (UploadRec& up : *ups) byId[up.id] = &up;
    for (MailRec& m : mails)
        if (auto it = byId.find(m.upload); it != byId.end())
            it->second->mails.push_back(std::move(m));
    return 1;
}

// Creates the tables of a new database; fails for one made by a newer program.
int InitSchema(sqlite3* db) {
    return RunTx(db, "BEGIN IMMEDIATE", [db]() -> int {
        long long version = 0;
        if (!QueryInt(db, &version, "PRAGMA user_version")) return 0;
        if (version == kSchemaVersion) return 1;
        if (version != 0) {
            fprintf(stderr, "quillet-server: the database is of a newer version (%lld)\n", version);
            return 0;
        }
        if (sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr) == SQLITE_OK) return 1;
        LogDb(db, "the schema");
        return 0;
    });
}

// Lets readers go on while the other process writes.
int UseWal(sqlite3* db) {
    Stmt s = Prep(db, "PRAGMA journal_mode = WAL");
    if (!s || Step(db, s.get()) != SQLITE_ROW) return 0;
    if (ColText(s.get(), 0) == "wal") return 1;
    fprintf(stderr, "quillet-server: the database cannot use a write-ahead log\n");
    return 0;
}

// Sets up a new connection: waits for the account command's writes and keeps the foreign keys.
int InitConn(sqlite3* db) {
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    return Run(db, "PRAGMA foreign_keys = ON") && UseWal(db) && InitSchema(db);
}

void CloseSq(Store* base) {
    SqliteStore* st = Sq(base);
    if (sqlite3_close(st->db) != SQLITE_OK) LogDb(st->db, "closing");
    delete st;
}

int AddAcct(Store* base, const Account& acct) {
    SqliteStore* st = Sq(base);
    if (AlbumPicDir(st, acct.album).empty()) return 0;
    std::lock_guard<std::mutex> hold(st->lock);
    return RunOne(st->db,
                  "INSERT INTO accounts(album, mail, pass_hash, created) VALUES(?1, ?2, ?3, ?4) "
                  "ON CONFLICT(album) DO NOTHING",
                  acct.album, acct.mail, acct.passHash, acct.created);
}

int GetAcct(Store* base, const std::string& album, Account* acct) {
    SqliteStore* st = Sq(base);
    std::vector<Account> found;
    std::lock_guard<std::mutex> hold(st->lock);
    if (!ReadRows(st->db, "SELECT album, mail, pass_hash, created FROM accounts WHERE album = ?1",
                  ColAcct, &found, album) ||
        found.empty())
        return 0;
    *acct = std::move(found[0]);
    return 1;
}

int ListAccts(Store* base, std::vector<Account>* accts) {
    SqliteStore* st = Sq(base);
    std::vector<Account> found;
    std::lock_guard<std::mutex> hold(st->lock);
    if (!ReadRows(st->db, "SELECT album, mail, pass_hash, created FROM accounts ORDER BY album",
                  ColAcct, &found))
        return 0;
    *accts = std::move(found);
    return 1;
}

int SetPassHash(Store* base, const std::string& album, const std::string& passHash) {
    SqliteStore* st = Sq(base);
    std::lock_guard<std::mutex> hold(st->lock);
    return RunTx(st->db, "BEGIN IMMEDIATE", [&] {
        return RunOne(st->db, "UPDATE accounts SET pass_hash = ?1 WHERE album = ?2", passHash,
                      album) &&
               Run(st->db, "DELETE FROM sessions WHERE album = ?1", album);
    });
}

int RemoveAcct(Store* base, const std::string& album) {
    SqliteStore* st = Sq(base);
    const std::string folder = AlbumPicDir(st, album);
    if (folder.empty()) return 0;
    std::lock_guard<std::mutex> hold(st->lock);
    // The uploads, mails, sessions and reset tokens go by the foreign keys' cascades.
    if (!RunOne(st->db, "DELETE FROM accounts WHERE album = ?1", album)) return 0;
    RemovePath(folder);
    return 1;
}

// Refuses an upload beyond the album's limits with *why.
int CheckLimits(sqlite3* db, const UploadRec& up, const StoreLimits& lim, StoreRefusal* why) {
    long long n = 0;
    if (up.sendAt != 0) {
        // A scheduled upload stops counting once its hour has come or no mail of it waits.
        if (!QueryInt(db, &n,
                      "SELECT COUNT(*) FROM uploads u WHERE u.album = ?1 AND u.send_at <> 0 AND "
                      "u.send_at > ?2 AND EXISTS (SELECT 1 FROM mails m WHERE m.upload = u.id "
                      "AND m.state IN (?3, ?4))",
                      up.album, up.uploaded, kMailWaiting, kMailSending))
            return 0;
        if (n >= lim.maxWaiting) {
            *why = kRefusedWaiting;
            return 0;
        }
    }
    if (lim.quotaBytes > 0) {
        if (!QueryInt(db, &n,
                      "SELECT COALESCE(SUM(picture_bytes), 0) FROM uploads WHERE album = ?1",
                      up.album))
            return 0;
        if (n + up.pictureBytes > lim.quotaBytes) {
            *why = kRefusedQuota;
            return 0;
        }
    }
    return 1;
}

// Inserts the upload and queues its mails, setting their ids.
int InsertUpload(sqlite3* db, UploadRec* up) {
    if (!Run(db,
             "INSERT INTO uploads(album, user, uploaded, send_at, subject, message, "
             "picture_bytes) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7)",
             up->album, up->user, up->uploaded, up->sendAt, up->subject, up->message,
             up->pictureBytes))
        return 0;
    up->id = sqlite3_last_insert_rowid(db);
    for (MailRec& m : up->mails) {
        m.upload = up->id;
        m.album = up->album;
        m.state = kMailWaiting;
        m.attempts = 0;
        m.lastError.clear();
        if (!Run(db,
                 "INSERT INTO mails(upload, recipient, message_id, state, due, attempts, "
                 "last_error) VALUES(?1, ?2, ?3, ?4, ?5, 0, '')",
                 m.upload, m.recipient, m.messageId, m.state, m.due))
            return 0;
        m.id = sqlite3_last_insert_rowid(db);
    }
    return 1;
}

// Writes the picture of upload `id` whole; *path names it once it may exist.
int WritePic(const SqliteStore* st, long long id, const std::string& album,
             const std::string& picture, std::string* path) {
    if (!MakeDir(st->picDir) || !MakeDir(AlbumPicDir(st, album))) return 0;
    *path = PicPath(st, album, id);
    if (WriteWholeFile(path->c_str(), picture.data(), picture.size(), 0600)) return 1;
    LogFile("cannot write", *path, errno);
    return 0;
}

int AddUpload(Store* base, UploadRec* up, const std::string& picture, const StoreLimits& lim,
              StoreRefusal* why) {
    SqliteStore* st = Sq(base);
    StoreRefusal refusal = kRefusedFailure;
    UploadRec rec = *up;
    rec.pictureBytes = (long long)picture.size();
    int ok = 0;
    if (!AlbumPicDir(st, rec.album).empty()) {
        std::lock_guard<std::mutex> hold(st->lock);
        std::string path;
        ok = Run(st->db, "BEGIN IMMEDIATE");
        if (ok) {
            ok = CheckLimits(st->db, rec, lim, &refusal) && InsertUpload(st->db, &rec) &&
                 WritePic(st, rec.id, rec.album, picture, &path) && Run(st->db, "COMMIT");
            if (!ok && !path.empty()) unlink(path.c_str());
            // Only now, with the file gone, may another upload be given the same id.
            if (!ok) Rollback(st->db);
        }
    }
    if (why) *why = ok ? kRefusedNone : refusal;
    if (ok) *up = std::move(rec);
    return ok;
}

int ListUps(Store* base, const std::string& album, std::vector<UploadRec>* ups) {
    SqliteStore* st = Sq(base);
    std::vector<UploadRec> found;
    std::lock_guard<std::mutex> hold(st->lock);
    if (!RunTx(st->db, "BEGIN",
               [&] { return ReadUps(st->db, "WHERE u.album = ?1", album, &found); }))
        return 0;
    *ups = std::move(found);
    return 1;
}

int GetUp(Store* base, long long id, UploadRec* up) {
    SqliteStore* st = Sq(base);
    std::vector<UploadRec> found;
    std::lock_guard<std::mutex> hold(st->lock);
    if (!RunTx(st->db, "BEGIN", [&] { return ReadUps(st->db, "WHERE u.id = ?1", id, &found); }) ||
        found.empty())
        return 0;
    *up = std::move(found[0]);
    return 1;
}

int ReadPic(Store* base, long long upload, std::string* jpeg) {
    SqliteStore* st = Sq(base);
    std::string album;
    {
        std::lock_guard<std::mutex> hold(st->lock);
        Stmt s = Prep(st->db, "SELECT album FROM uploads WHERE id = ?1", upload);
        if (!s || Step(st->db, s.get()) != SQLITE_ROW) return 0;
        album = ColText(s.get(), 0);
    }
    const std::string path = PicPath(st, album, upload);
    return !path.empty() && ReadWhole(path, jpeg);
}

int DelUpload(Store* base, const std::string& album, long long upload) {
    SqliteStore* st = Sq(base);
    const std::string path = PicPath(st, album, upload);
    if (path.empty()) return 0;
    std::lock_guard<std::mutex> hold(st->lock);
    if (!RunOne(st->db, "DELETE FROM uploads WHERE id = ?1 AND album = ?2", upload, album))
        return 0;
    RemovePath(path);
    return 1;
}

int ClaimMails(Store* base, time_t now, int max, std::vector<MailRec>* mails) {
    SqliteStore* st = Sq(base);
    std::vector<MailRec> due;
    std::lock_guard<std::mutex> hold(st->lock);
    const int ok = RunTx(st->db, "BEGIN IMMEDIATE", [&]() -> int {
        if (!ReadRows(st->db,
                      std::string(kMailSelect) +
                          "WHERE m.state = ?1 AND m.due <= ?2 ORDER BY m.due, m.id LIMIT ?3",
                      ColMail, &due, kMailWaiting, now, max))
            return 0;
        for (MailRec& m : due) {
            if (!Run(st->db, "UPDATE mails SET state = ?1, attempts = attempts + 1 WHERE id = ?2",
                     kMailSending, m.id))
                return 0;
            m.state = kMailSending;
            m.attempts++;
        }
        return 1;
    });
    if (!ok) return 0;
    *mails = std::move(due);
    return 1;
}

int FinishMail(Store* base, long long mail, int state, time_t retryAt, const std::string& error) {
    SqliteStore* st = Sq(base);
    if (state != kMailSent && state != kMailFailed && state != kMailWaiting) {
        fprintf(stderr, "quillet-server: mail %lld cannot end an attempt in state %d\n", mail,
                state);
        return 0;
    }
    const int retry = state == kMailWaiting;
    std::lock_guard<std::mutex> hold(st->lock);
    // Only a claimed mail: one deleted or requeued meanwhile is no longer this attempt's.
    return RunOne(st->db,
                  "UPDATE mails SET state = ?1, due = CASE WHEN ?2 THEN ?3 ELSE due END, "
                  "last_error = ?4 WHERE id = ?5 AND state = ?6",
                  state, retry, retryAt, state == kMailSent ? std::string() : error, mail,
                  kMailSending);
}

int CancelMail(Store* base, const std::string& album, long long mail) {
    SqliteStore* st = Sq(base);
    std::lock_guard<std::mutex> hold(st->lock);
    return RunOne(st->db,
                  "UPDATE mails SET state = ?1 WHERE id = ?2 AND state = ?3 AND upload IN "
                  "(SELECT id FROM uploads WHERE album = ?4)",
                  kMailCancelled, mail, kMailWaiting, album);
}

int RequeueMails(Store* base, time_t now) {
    SqliteStore* st = Sq(base);
    std::lock_guard<std::mutex> hold(st->lock);
    return Run(st->db, "UPDATE mails SET state = ?1, due = ?2 WHERE state = ?3", kMailWaiting, now,
               kMailSending);
}

int AddSess(Store* base, const std::string& tokenHash, const std::string& album,
            const std::string& csrf, time_t expires) {
    SqliteStore* st = Sq(base);
    std::lock_guard<std::mutex> hold(st->lock);
    return RunOne(st->db,
                  "INSERT INTO sessions(token_hash, album, csrf, expires) VALUES(?1, ?2, ?3, ?4) "
                  "ON CONFLICT(token_hash) DO NOTHING",
                  tokenHash, album, csrf, expires);
}

int GetSess(Store* base, const std::string& tokenHash, time_t now, std::string* album,
            std::string* csrf) {
    SqliteStore* st = Sq(base);
    std::lock_guard<std::mutex> hold(st->lock);
    Stmt s = Prep(st->db, "SELECT album, csrf FROM sessions WHERE token_hash = ?1 AND expires > ?2",
                  tokenHash, now);
    if (!s || Step(st->db, s.get()) != SQLITE_ROW) return 0;
    *album = ColText(s.get(), 0);
    *csrf = ColText(s.get(), 1);
    return 1;
}

int DropSess(Store* base, const std::string& tokenHash) {
    SqliteStore* st = Sq(base);
    std::lock_guard<std::mutex> hold(st->lock);
    return Run(st->db, "DELETE FROM sessions WHERE token_hash = ?1", tokenHash);
}

int AddResetTok(Store* base, const std::string& tokenHash, const std::string& album,
                time_t expires) {
    SqliteStore* st = Sq(base);
    std::lock_guard<std::mutex> hold(st->lock);
    return RunOne(st->db,
                  "INSERT INTO reset_tokens(token_hash, album, expires) VALUES(?1, ?2, ?3) "
                  "ON CONFLICT(token_hash) DO NOTHING",
                  tokenHash, album, expires);
}

int TakeResetTok(Store* base, const std::string& tokenHash, time_t now, std::string* album) {
    SqliteStore* st = Sq(base);
    std::string found;
    std::lock_guard<std::mutex> hold(st->lock);
    // An expired token goes too.
    const int ok = RunTx(st->db, "BEGIN IMMEDIATE", [&]() -> int {
        Stmt s =
            Prep(st->db, "SELECT album FROM reset_tokens WHERE token_hash = ?1 AND expires > ?2",
                 tokenHash, now);
        if (!s) return 0;
        const int rc = Step(st->db, s.get());
        if (rc == SQLITE_ROW) found = ColText(s.get(), 0);
        return (rc == SQLITE_ROW || rc == SQLITE_DONE) &&
               Run(st->db, "DELETE FROM reset_tokens WHERE token_hash = ?1", tokenHash);
    });
    if (!ok || found.empty()) return 0;
    *album = std::move(found);
    return 1;
}

const StoreOps kSqliteOps = {
    .close = CloseSq,
    .addAccount = AddAcct,
    .getAccount = GetAcct,
    .listAccounts = ListAccts,
    .setPassHash = SetPassHash,
    .removeAccount = RemoveAcct,
    .addUpload = AddUpload,
    .listUploads = ListUps,
    .getUpload = GetUp,
    .readPicture = ReadPic,
    .deleteUpload = DelUpload,
    .claimDueMails = ClaimMails,
    .finishMail = FinishMail,
    .cancelMail = CancelMail,
    .requeueSending = RequeueMails,
    .addSession = AddSess,
    .getSession = GetSess,
    .dropSession = DropSess,
    .addResetToken = AddResetTok,
    .takeResetToken = TakeResetTok,
};

}  // namespace

int OpenSqliteStore(const std::string& path, const std::string& dir, Store** out) {
    *out = nullptr;
    if (!MakeDir(dir) || !MakeDir(dir + "/pictures")) return 0;
    // Created here so that it, and the -wal and -shm files SQLite gives its mode, are private.
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        LogFile("cannot create", path, errno);
        return 0;
    }
    close(fd);
    auto* st = new SqliteStore;
    st->ops = &kSqliteOps;
    st->picDir = dir + "/pictures";
    if (sqlite3_open_v2(path.c_str(), &st->db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        fprintf(stderr, "quillet-server: cannot open the database %s: %s\n", path.c_str(),
                st->db ? sqlite3_errmsg(st->db) : "out of memory");
        CloseSq(st);
        return 0;
    }
    if (!InitConn(st->db)) {
        CloseSq(st);
        return 0;
    }
    *out = st;
    return 1;
}
