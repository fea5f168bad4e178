// The SQLite store through the store interface: accounts and what goes with them, uploads with
// their pictures and limits, the delivery queue under concurrent claimers and after a crash,
// sessions and reset tokens against the clock, and a store reopened on its files.
#include "server/store.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "support/testutil.h"

namespace {

constexpr time_t kT0 = 1750000000;  // the tests' "now"
constexpr time_t kHour = 3600;

// A store opened on a fresh folder `srv` inside a temporary one, closed when it goes.
struct StoreFix {
    TempDir tmp;
    std::string dir = tmp.File("srv");
    Store* st = nullptr;
    StoreFix() { Open(); }
    ~StoreFix() { Close(); }
    void Open() { EXPECT_EQ(OpenStore("", dir, &st), 1); }
    void Close() {
        if (st) st->ops->close(st);
        st = nullptr;
    }
    std::string Pic(const std::string& album, long long id) const {
        return dir + "/pictures/" + album + "/" + std::to_string(id) + ".jpg";
    }
};

Account Acct(const std::string& album) {
    return {album, "owner-" + album + "@example.jp", "$argon2id$v=19$" + album, kT0 - 100};
}

// An upload to `album` at `uploaded`, scheduled for `sendAt` (0: at once), one mail a recipient.
UploadRec Up(const std::string& album, time_t uploaded, time_t sendAt,
             const std::vector<std::string>& to = {"a@x.jp"}) {
    static int serial = 0;
    UploadRec up;
    up.album = album;
    up.user = "ユーザー@example.jp";
    up.uploaded = uploaded;
    up.sendAt = sendAt;
    up.subject = "件名 " + std::to_string(++serial);
    up.message = "一行目\n二行目\n";
    for (const std::string& r : to) {
        MailRec m;
        m.recipient = r;
        m.messageId = "<" + std::to_string(serial) + "." + r + "@quillet>";
        m.due = sendAt ? sendAt : uploaded;
        up.mails.push_back(m);
    }
    return up;
}

// Adds `up` without limits; the test fails when it is refused.
UploadRec AddUp(Store* st, UploadRec up, const std::string& picture = "\xFF\xD8pic\xFF\xD9") {
    StoreRefusal why = kRefusedFailure;
    EXPECT_EQ(st->ops->addUpload(st, &up, picture, StoreLimits{}, &why), 1);
    EXPECT_EQ(why, kRefusedNone);
    return up;
}

StoreRefusal TryUp(Store* st, UploadRec up, const StoreLimits& lim,
                   const std::string& picture = "jpeg") {
    StoreRefusal why = kRefusedNone;
    const int ok = st->ops->addUpload(st, &up, picture, lim, &why);
    EXPECT_EQ(ok, why == kRefusedNone ? 1 : 0);
    return why;
}

std::vector<long long> Ids(const std::vector<MailRec>& mails) {
    std::vector<long long> ids;
    for (const MailRec& m : mails) ids.push_back(m.id);
    return ids;
}

std::vector<MailRec> Claim(Store* st, time_t now, int max = 100) {
    std::vector<MailRec> mails;
    EXPECT_EQ(st->ops->claimDueMails(st, now, max, &mails), 1);
    return mails;
}

MailRec GetMail(Store* st, long long upload, size_t i) {
    UploadRec up;
    EXPECT_EQ(st->ops->getUpload(st, upload, &up), 1);
    return i < up.mails.size() ? up.mails[i] : MailRec();
}

unsigned Mode(const std::string& path) {
    struct stat s;
    return stat(path.c_str(), &s) == 0 ? unsigned(s.st_mode & 07777) : 0xFFFFu;
}

size_t CountFiles(const std::string& dir) {
    std::error_code ec;
    auto it = std::filesystem::directory_iterator(dir, ec);
    return ec ? 0 : size_t(std::distance(it, std::filesystem::directory_iterator()));
}

void ExpectSameAcct(const Account& got, const Account& want) {
    EXPECT_EQ(got.album, want.album);
    EXPECT_EQ(got.mail, want.mail);
    EXPECT_EQ(got.passHash, want.passHash);
    EXPECT_EQ(got.created, want.created);
}

void ExpectSameMail(const MailRec& got, const MailRec& want) {
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(got.upload, want.upload);
    EXPECT_EQ(got.album, want.album);
    EXPECT_EQ(got.recipient, want.recipient);
    EXPECT_EQ(got.messageId, want.messageId);
    EXPECT_EQ(got.state, want.state);
    EXPECT_EQ(got.due, want.due);
    EXPECT_EQ(got.attempts, want.attempts);
    EXPECT_EQ(got.lastError, want.lastError);
}

void ExpectSameUp(const UploadRec& got, const UploadRec& want) {
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(got.album, want.album);
    EXPECT_EQ(got.user, want.user);
    EXPECT_EQ(got.uploaded, want.uploaded);
    EXPECT_EQ(got.sendAt, want.sendAt);
    EXPECT_EQ(got.subject, want.subject);
    EXPECT_EQ(got.message, want.message);
    EXPECT_EQ(got.pictureBytes, want.pictureBytes);
    ASSERT_EQ(got.mails.size(), want.mails.size());
    for (size_t i = 0; i < got.mails.size(); i++) {
        EXPECT_EQ(want.mails[i].upload, want.id);
        ExpectSameMail(got.mails[i], want.mails[i]);
    }
}

TEST(StoreAccounts, AddGetListPasswd) {
    StoreFix f;
    Store* st = f.st;
    ASSERT_TRUE(st);
    ASSERT_EQ(st->ops->addAccount(st, Acct("b-album")), 1);
    ASSERT_EQ(st->ops->addAccount(st, Acct("a.album")), 1);
    Account other = Acct("a.album");
    other.mail = "thief@example.jp";
    EXPECT_EQ(st->ops->addAccount(st, other), 0);
    for (const char* bad : {"", ".hidden", "../up", "a/b", "x\ny"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(st->ops->addAccount(st, Acct(bad)), 0);
    }

    Account got;
    ASSERT_EQ(st->ops->getAccount(st, "a.album", &got), 1);
    ExpectSameAcct(got, Acct("a.album"));  // the duplicate changed nothing
    EXPECT_EQ(st->ops->getAccount(st, "c", &got), 0);

    std::vector<Account> all;
    ASSERT_EQ(st->ops->listAccounts(st, &all), 1);
    ASSERT_EQ(all.size(), 2u);
    ExpectSameAcct(all[0], Acct("a.album"));
    ExpectSameAcct(all[1], Acct("b-album"));

    // A new password ends the logins made with the old one, and only the account's own.
    std::string album, csrf;
    ASSERT_EQ(st->ops->addSession(st, "s-b", "b-album", "c1", kT0 + kHour), 1);
    ASSERT_EQ(st->ops->addSession(st, "s-a", "a.album", "c2", kT0 + kHour), 1);
    EXPECT_EQ(st->ops->setPassHash(st, "b-album", "$argon2id$new"), 1);
    EXPECT_EQ(st->ops->setPassHash(st, "c", "$argon2id$new"), 0);
    EXPECT_EQ(st->ops->getSession(st, "s-b", kT0, &album, &csrf), 0);
    EXPECT_EQ(st->ops->getSession(st, "s-a", kT0, &album, &csrf), 1);
    ASSERT_EQ(st->ops->getAccount(st, "b-album", &got), 1);
    EXPECT_EQ(got.passHash, "$argon2id$new");
    ASSERT_EQ(st->ops->getAccount(st, "a.album", &got), 1);
    EXPECT_EQ(got.passHash, Acct("a.album").passHash);
}

TEST(StoreAccounts, RemoveTakesUploadsPicturesSessionsAndTokens) {
    StoreFix f;
    Store* st = f.st;
    ASSERT_TRUE(st);
    for (const char* a : {"gone", "kept"}) ASSERT_EQ(st->ops->addAccount(st, Acct(a)), 1);
    const UploadRec gone = AddUp(st, Up("gone", kT0, 0, {"a@x.jp", "b@x.jp"}));
    const UploadRec kept = AddUp(st, Up("kept", kT0, 0));
    ASSERT_EQ(st->ops->addSession(st, "s-gone", "gone", "c1", kT0 + kHour), 1);
    ASSERT_EQ(st->ops->addSession(st, "s-kept", "kept", "c2", kT0 + kHour), 1);
    ASSERT_EQ(st->ops->addResetToken(st, "r-gone", "gone", kT0 + kHour), 1);

    ASSERT_EQ(st->ops->removeAccount(st, "gone"), 1);
    Account acct;
    EXPECT_EQ(st->ops->getAccount(st, "gone", &acct), 0);
    UploadRec up;
    EXPECT_EQ(st->ops->getUpload(st, gone.id, &up), 0);
    std::vector<UploadRec> ups;
    ASSERT_EQ(st->ops->listUploads(st, "gone", &ups), 1);
    EXPECT_TRUE(ups.empty());
    EXPECT_FALSE(std::filesystem::exists(f.dir + "/pictures/gone"));
    std::string album, csrf;
    EXPECT_EQ(st->ops->getSession(st, "s-gone", kT0, &album, &csrf), 0);
    EXPECT_EQ(st->ops->takeResetToken(st, "r-gone", kT0, &album), 0);
    EXPECT_EQ(Ids(Claim(st, kT0)), Ids(kept.mails));  // the queue kept only the other album's

    EXPECT_EQ(st->ops->getSession(st, "s-kept", kT0, &album, &csrf), 1);
    EXPECT_EQ(ReadFileText(f.Pic("kept", kept.id)), "\xFF\xD8pic\xFF\xD9");
    EXPECT_EQ(st->ops->removeAccount(st, "gone"), 0);
}

TEST(StoreUploads, KeepsPictureBytesMailsAndPrivateModes) {
    StoreFix f;
    Store* st = f.st;
    ASSERT_TRUE(st);
    ASSERT_EQ(st->ops->addAccount(st, Acct("album1")), 1);
    std::string picture;
    for (int i = 0; i < 3 * 256; i++) picture += char(i);  // every byte value, NULs included
    UploadRec up = Up("album1", kT0, kT0 + kHour, {"a@x.jp", "b@x.jp"});
    StoreRefusal why = kRefusedFailure;
    ASSERT_EQ(st->ops->addUpload(st, &up, picture, StoreLimits{}, &why), 1);
    EXPECT_EQ(why, kRefusedNone);
    EXPECT_GT(up.id, 0);
    EXPECT_EQ(up.pictureBytes, (long long)picture.size());
    ASSERT_EQ(up.mails.size(), 2u);
    EXPECT_GT(up.mails[0].id, 0);
    EXPECT_GT(up.mails[1].id, up.mails[0].id);

    UploadRec got;
    ASSERT_EQ(st->ops->getUpload(st, up.id, &got), 1);
    ExpectSameUp(got, up);
    std::string jpeg;
    ASSERT_EQ(st->ops->readPicture(st, up.id, &jpeg), 1);
    EXPECT_EQ(jpeg, picture);

    const struct {
        std::string path;
        unsigned mode;
    } files[] = {
        {f.dir, 0700},
        {f.dir + "/quillet.db", 0600},
        {f.dir + "/quillet.db-wal", 0600},
        {f.dir + "/quillet.db-shm", 0600},
        {f.dir + "/pictures", 0700},
        {f.dir + "/pictures/album1", 0700},
        {f.Pic("album1", up.id), 0600},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.path);
        EXPECT_EQ(Mode(file.path), file.mode);
    }
    EXPECT_EQ(CountFiles(f.dir + "/pictures/album1"), 1u);  // no temporary file left

    // Refused whole: an unknown album, an unfit album ID, a message ID already used.
    UploadRec reused = Up("album1", kT0, 0);
    reused.mails[0].messageId = up.mails[1].messageId;
    for (const UploadRec& bad : {Up("nobody", kT0, 0), Up("../album1", kT0, 0), reused}) {
        SCOPED_TRACE(bad.album);
        EXPECT_EQ(TryUp(st, bad, StoreLimits{}), kRefusedFailure);
    }
    std::vector<UploadRec> ups;
    ASSERT_EQ(st->ops->listUploads(st, "album1", &ups), 1);
    EXPECT_EQ(ups.size(), 1u);
    EXPECT_EQ(CountFiles(f.dir + "/pictures/album1"), 1u);
    EXPECT_FALSE(std::filesystem::exists(f.dir + "/pictures/nobody"));
}

TEST(StoreUploads, FullDiskStoresNothing) {
    // Files may grow to the database log's size and `room` bytes more.
    const struct {
        const char* name;
        long long room;
        size_t pictureBytes;
    } cases[] = {
        {"the picture cannot be written", 256 * 1024, 1024 * 1024},
        {"the database cannot commit after the picture was written", 0, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoreFix f;
        Store* st = f.st;
        ASSERT_TRUE(st);
        ASSERT_EQ(st->ops->addAccount(st, Acct("album1")), 1);
        const UploadRec first = AddUp(st, Up("album1", kT0, 0));
        struct stat wal;
        ASSERT_EQ(stat((f.dir + "/quillet.db-wal").c_str(), &wal), 0);
        ASSERT_GT(wal.st_size, 100);
        ASSERT_LT(wal.st_size, 512 * 1024);
        {
            FileSizeLimit full(wal.st_size + c.room);
            EXPECT_EQ(
                TryUp(st, Up("album1", kT0, 0), StoreLimits{}, std::string(c.pictureBytes, 'p')),
                kRefusedFailure);
        }
        std::vector<UploadRec> ups;
        ASSERT_EQ(st->ops->listUploads(st, "album1", &ups), 1);
        ASSERT_EQ(ups.size(), 1u);
        ExpectSameUp(ups[0], first);
        EXPECT_EQ(CountFiles(f.dir + "/pictures/album1"), 1u);
        EXPECT_EQ(Ids(Claim(st, kT0)), Ids(first.mails));
        AddUp(st, Up("album1", kT0, 0));  // the store works on once there is room
    }
}

TEST(StoreUploads, FiveWaitingScheduledAtMost) {
    const struct {
        const char* name;
        int cancelMails;  // of the first waiting upload, before the new one
        time_t uploaded, sendAt;
        StoreRefusal want;
    } cases[] = {
        {"a sixth scheduled one", 0, kT0, kT0 + kHour, kRefusedWaiting},
        {"one sent at once", 0, kT0, 0, kRefusedNone},
        {"once their hour has passed", 0, kT0 + 2 * kHour, kT0 + 3 * kHour, kRefusedNone},
        {"one of the waiting cancelled", 2, kT0, kT0 + kHour, kRefusedNone},
        {"half of a waiting one cancelled", 1, kT0, kT0 + kHour, kRefusedWaiting},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoreFix f;
        Store* st = f.st;
        ASSERT_TRUE(st);
        ASSERT_EQ(st->ops->addAccount(st, Acct("album1")), 1);
        std::vector<UploadRec> waiting;
        for (int i = 0; i < 5; i++)
            waiting.push_back(AddUp(st, Up("album1", kT0, kT0 + 2 * kHour, {"a@x.jp", "b@x.jp"})));
        for (int i = 0; i < c.cancelMails; i++)
            ASSERT_EQ(st->ops->cancelMail(st, "album1", waiting[0].mails[i].id), 1);

        EXPECT_EQ(TryUp(st, Up("album1", c.uploaded, c.sendAt), StoreLimits{}), c.want);
        std::vector<UploadRec> ups;
        ASSERT_EQ(st->ops->listUploads(st, "album1", &ups), 1);
        const size_t stored = c.want == kRefusedNone ? 6 : 5;
        EXPECT_EQ(ups.size(), stored);
        EXPECT_EQ(CountFiles(f.dir + "/pictures/album1"), stored);
    }
}

TEST(StoreUploads, Quota) {
    const struct {
        const char* name;
        long long quota;
        size_t bytes;
        StoreRefusal want;
    } cases[] = {
        {"up to the quota", 100, 40, kRefusedNone},
        {"one byte beyond", 100, 41, kRefusedQuota},
        {"no quota", 0, 100000, kRefusedNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoreFix f;
        Store* st = f.st;
        ASSERT_TRUE(st);
        for (const char* a : {"album1", "other"}) ASSERT_EQ(st->ops->addAccount(st, Acct(a)), 1);
        AddUp(st, Up("album1", kT0, 0), std::string(60, 'p'));
        AddUp(st, Up("other", kT0, 0), std::string(90, 'o'));  // counts for its own album only
        const StoreLimits lim{5, c.quota};
        EXPECT_EQ(TryUp(st, Up("album1", kT0, 0), lim, std::string(c.bytes, 'n')), c.want);
        std::vector<UploadRec> ups;
        ASSERT_EQ(st->ops->listUploads(st, "album1", &ups), 1);
        EXPECT_EQ(ups.size(), c.want == kRefusedNone ? 2u : 1u);
        // Deleting the first upload frees its bytes.
        ASSERT_EQ(st->ops->deleteUpload(st, "album1", ups.back().id), 1);
        EXPECT_EQ(TryUp(st, Up("album1", kT0, 0), lim, std::string(c.bytes, 'n')), kRefusedNone);
    }
}

TEST(StoreUploads, ListsNewestFirstWithMailsInOrderSent) {
    StoreFix f;
    Store* st = f.st;
    ASSERT_TRUE(st);
    for (const char* a : {"album1", "other"}) ASSERT_EQ(st->ops->addAccount(st, Acct(a)), 1);
    std::vector<UploadRec> added;
    for (int i = 0; i < 10; i++) {
        added.push_back(AddUp(st, Up("album1", kT0, 0, {"c@x.jp", "a@x.jp", "b@x.jp"})));
        AddUp(st, Up("other", kT0, 0));
    }
    std::vector<UploadRec> ups;
    ASSERT_EQ(st->ops->listUploads(st, "album1", &ups), 1);
    ASSERT_EQ(ups.size(), added.size());
    for (size_t i = 0; i < ups.size(); i++) {
        SCOPED_TRACE(i);
        ExpectSameUp(ups[i], added[added.size() - 1 - i]);
    }
}

TEST(StoreUploads, DeleteTakesPictureAndMails) {
    StoreFix f;
    Store* st = f.st;
    ASSERT_TRUE(st);
    for (const char* a : {"album1", "other"}) ASSERT_EQ(st->ops->addAccount(st, Acct(a)), 1);
    const UploadRec gone = AddUp(st, Up("album1", kT0, 0, {"a@x.jp", "b@x.jp"}));
    const UploadRec kept = AddUp(st, Up("album1", kT0, 0));

    EXPECT_EQ(st->ops->deleteUpload(st, "other", gone.id), 0);  // not that album's
    EXPECT_TRUE(std::filesystem::exists(f.Pic("album1", gone.id)));
    ASSERT_EQ(st->ops->deleteUpload(st, "album1", gone.id), 1);
    EXPECT_FALSE(std::filesystem::exists(f.Pic("album1", gone.id)));
    UploadRec up;
    EXPECT_EQ(st->ops->getUpload(st, gone.id, &up), 0);
    std::string jpeg;
    EXPECT_EQ(st->ops->readPicture(st, gone.id, &jpeg), 0);
    EXPECT_EQ(Ids(Claim(st, kT0)), Ids(kept.mails));
    EXPECT_EQ(st->ops->readPicture(st, kept.id, &jpeg), 1);
    EXPECT_EQ(st->ops->deleteUpload(st, "album1", gone.id), 0);
}

TEST(StoreQueue, FinishSentFailedOrRetryLater) {
    const struct {
        const char* name;
        int state;
        std::string error, wantError;
        time_t claimableAt;  // 0: never again
    } cases[] = {
        {"sent", kMailSent, "", "", 0},
        {"failed", kMailFailed, "550 no such user", "550 no such user", 0},
        {"retried later", kMailWaiting, "421 busy", "421 busy", kT0 + kHour},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoreFix f;
        Store* st = f.st;
        ASSERT_TRUE(st);
        ASSERT_EQ(st->ops->addAccount(st, Acct("album1")), 1);
        const UploadRec later = AddUp(st, Up("album1", kT0, kT0 + 2 * kHour));
        const UploadRec now = AddUp(st, Up("album1", kT0, 0));
        EXPECT_TRUE(Claim(st, kT0 - 1).empty());

        std::vector<MailRec> got = Claim(st, kT0);
        ASSERT_EQ(got.size(), 1u);
        MailRec want = now.mails[0];
        want.state = kMailSending;
        want.attempts = 1;
        ExpectSameMail(got[0], want);
        EXPECT_TRUE(Claim(st, kT0).empty());  // a sending mail is not handed out again

        ASSERT_EQ(st->ops->finishMail(st, want.id, c.state, kT0 + kHour, c.error), 1);
        const MailRec done = GetMail(st, now.id, 0);
        EXPECT_EQ(done.state, c.state);
        EXPECT_EQ(done.lastError, c.wantError);
        EXPECT_EQ(done.due, c.claimableAt ? c.claimableAt : kT0);
        EXPECT_EQ(st->ops->finishMail(st, want.id, kMailSent, 0, ""), 0);  // not claimed now

        const time_t farAhead = kT0 + 3 * kHour;  // the scheduled one is due too by then
        if (c.claimableAt) {
            EXPECT_TRUE(Claim(st, c.claimableAt - 1).empty());
        }
        got = Claim(st, c.claimableAt ? c.claimableAt : farAhead);
        const std::vector<long long> wantIds = c.claimableAt ? Ids(now.mails) : Ids(later.mails);
        EXPECT_EQ(Ids(got), wantIds);
        if (c.claimableAt && !got.empty()) {
            EXPECT_EQ(got[0].attempts, 2);
            EXPECT_EQ(got[0].messageId, want.messageId);
        }
    }
}

TEST(StoreQueue, ClaimsOldestDueFirstUpToMax) {
    StoreFix f;
    Store* st = f.st;
    ASSERT_TRUE(st);
    ASSERT_EQ(st->ops->addAccount(st, Acct("album1")), 1);
    const UploadRec third = AddUp(st, Up("album1", kT0, kT0 + 2 * kHour));
    const UploadRec first = AddUp(st, Up("album1", kT0, kT0 + kHour, {"a@x.jp", "b@x.jp"}));
    EXPECT_EQ(Ids(Claim(st, kT0 + 3 * kHour, 2)), Ids(first.mails));
    EXPECT_EQ(Ids(Claim(st, kT0 + 3 * kHour, 2)), Ids(third.mails));
    EXPECT_TRUE(Claim(st, kT0 + 3 * kHour, 2).empty());
    EXPECT_TRUE(Claim(st, kT0 + 3 * kHour, 0).empty());
}

TEST(StoreQueue, ConcurrentClaimersTakeEachMailOnce) {
    StoreFix f;
    Store* st = f.st;
    ASSERT_TRUE(st);
    ASSERT_EQ(st->ops->addAccount(st, Acct("album1")), 1);
    std::vector<long long> all;
    for (int i = 0; i < 20; i++) {
        const UploadRec up =
            AddUp(st, Up("album1", kT0, 0, {"a@x.jp", "b@x.jp", "c@x.jp", "d@x.jp", "e@x.jp"}));
        for (long long id : Ids(up.mails)) all.push_back(id);
    }
    ASSERT_EQ(all.size(), 100u);

    std::vector<long long> taken[2];
    int failures[2] = {0, 0};
    auto claimer = [st](std::vector<long long>* ids, int* failed) {
        std::vector<MailRec> mails;
        while (!(*failed = !st->ops->claimDueMails(st, kT0, 3, &mails)) && !mails.empty())
            for (long long id : Ids(mails)) ids->push_back(id);
    };
    std::thread one(claimer, &taken[0], &failures[0]);
    std::thread two(claimer, &taken[1], &failures[1]);
    one.join();
    two.join();
    EXPECT_EQ(failures[0] + failures[1], 0);
    std::vector<long long> both = taken[0];
    both.insert(both.end(), taken[1].begin(), taken[1].end());
    std::sort(both.begin(), both.end());
    EXPECT_EQ(both, all);
}

TEST(StoreQueue, RequeuesMailsClaimedBeforeACrash) {
    StoreFix f;
    ASSERT_TRUE(f.st);
    ASSERT_EQ(f.st->ops->addAccount(f.st, Acct("album1")), 1);
    const UploadRec up = AddUp(f.st, Up("album1", kT0, 0, {"a@x.jp", "b@x.jp"}));
    ASSERT_EQ(Claim(f.st, kT0).size(), 2u);
    ASSERT_EQ(f.st->ops->finishMail(f.st, up.mails[1].id, kMailSent, 0, ""), 1);
    f.Close();  // the server stops while the first mail is being sent
    f.Open();
    Store* st = f.st;
    ASSERT_TRUE(st);
    EXPECT_TRUE(Claim(st, kT0 + 60).empty());
    ASSERT_EQ(st->ops->requeueSending(st, kT0 + 60), 1);
    const std::vector<MailRec> again = Claim(st, kT0 + 60);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].id, up.mails[0].id);
    EXPECT_EQ(again[0].messageId, up.mails[0].messageId);
    EXPECT_EQ(again[0].due, kT0 + 60);
    EXPECT_EQ(again[0].attempts, 2);
    EXPECT_EQ(GetMail(st, up.id, 1).state, kMailSent);
}

TEST(StoreQueue, CancelsOnlyWaitingMailsOfTheAlbum) {
    StoreFix f;
    Store* st = f.st;
    ASSERT_TRUE(st);
    for (const char* a : {"album1", "other"}) ASSERT_EQ(st->ops->addAccount(st, Acct(a)), 1);
    const UploadRec up = AddUp(st, Up("album1", kT0, 0, {"a@x.jp", "b@x.jp", "c@x.jp", "d@x.jp"}));
    ASSERT_EQ(Claim(st, kT0, 2).size(), 2u);
    ASSERT_EQ(st->ops->finishMail(st, up.mails[0].id, kMailSent, 0, ""), 1);

    const struct {
        const char* name;
        const char* album;
        long long mail;
        int want;
    } cases[] = {
        {"another album's", "other", up.mails[2].id, 0},
        {"sent", "album1", up.mails[0].id, 0},
        {"sending", "album1", up.mails[1].id, 0},
        {"waiting", "album1", up.mails[2].id, 1},
        {"cancelled already", "album1", up.mails[2].id, 0},
        {"unknown", "album1", up.mails[3].id + 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(st->ops->cancelMail(st, c.album, c.mail), c.want);
    }
    const int wantStates[] = {kMailSent, kMailSending, kMailCancelled, kMailWaiting};
    for (size_t i = 0; i < 4; i++) EXPECT_EQ(GetMail(st, up.id, i).state, wantStates[i]);
    EXPECT_EQ(Ids(Claim(st, kT0)), std::vector<long long>{up.mails[3].id});
}

TEST(StoreSessions, ExpireAtTheirTime) {
    const struct {
        time_t now;
        int want;
    } cases[] = {{kT0 - 1, 1}, {kT0, 0}, {kT0 + kHour, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.now - kT0);
        StoreFix f;
        Store* st = f.st;
        ASSERT_TRUE(st);
        ASSERT_EQ(st->ops->addAccount(st, Acct("album1")), 1);
        ASSERT_EQ(st->ops->addSession(st, "hash1", "album1", "csrf1", kT0), 1);
        ASSERT_EQ(st->ops->addResetToken(st, "reset1", "album1", kT0), 1);
        std::string album, csrf;
        EXPECT_EQ(st->ops->getSession(st, "hash1", c.now, &album, &csrf), c.want);
        EXPECT_EQ(album, c.want ? "album1" : "");
        EXPECT_EQ(csrf, c.want ? "csrf1" : "");
        album.clear();
        EXPECT_EQ(st->ops->takeResetToken(st, "reset1", c.now, &album), c.want);
        EXPECT_EQ(album, c.want ? "album1" : "");
        EXPECT_EQ(st->ops->takeResetToken(st, "reset1", kT0 - 1, &album), 0);  // once only
    }
}

TEST(StoreSessions, AddDropAndRefuse) {
    StoreFix f;
    Store* st = f.st;
    ASSERT_TRUE(st);
    ASSERT_EQ(st->ops->addAccount(st, Acct("album1")), 1);
    ASSERT_EQ(st->ops->addSession(st, "hash1", "album1", "csrf1", kT0), 1);
    EXPECT_EQ(st->ops->addSession(st, "hash1", "album1", "csrf2", kT0), 0);
    EXPECT_EQ(st->ops->addSession(st, "hash2", "nobody", "csrf2", kT0), 0);
    EXPECT_EQ(st->ops->addResetToken(st, "reset2", "nobody", kT0), 0);
    std::string album, csrf;
    ASSERT_EQ(st->ops->getSession(st, "hash1", kT0 - 1, &album, &csrf), 1);
    EXPECT_EQ(csrf, "csrf1");
    EXPECT_EQ(st->ops->getSession(st, "hash2", kT0 - 1, &album, &csrf), 0);
    ASSERT_EQ(st->ops->dropSession(st, "hash1"), 1);
    EXPECT_EQ(st->ops->getSession(st, "hash1", kT0 - 1, &album, &csrf), 0);
}

TEST(StoreOpen, ReopenedStoreHoldsEverything) {
    StoreFix f;
    ASSERT_TRUE(f.st);
    ASSERT_EQ(f.st->ops->addAccount(f.st, Acct("album1")), 1);
    const UploadRec up = AddUp(f.st, Up("album1", kT0, kT0 + kHour, {"a@x.jp", "b@x.jp"}));
    ASSERT_EQ(f.st->ops->addSession(f.st, "hash1", "album1", "csrf1", kT0 + kHour), 1);
    ASSERT_EQ(f.st->ops->addResetToken(f.st, "reset1", "album1", kT0 + kHour), 1);
    f.Close();
    f.Open();
    Store* st = f.st;
    ASSERT_TRUE(st);
    Account acct;
    ASSERT_EQ(st->ops->getAccount(st, "album1", &acct), 1);
    ExpectSameAcct(acct, Acct("album1"));
    std::vector<UploadRec> ups;
    ASSERT_EQ(st->ops->listUploads(st, "album1", &ups), 1);
    ASSERT_EQ(ups.size(), 1u);
    ExpectSameUp(ups[0], up);
    std::string jpeg, album, csrf;
    EXPECT_EQ(st->ops->readPicture(st, up.id, &jpeg), 1);
    EXPECT_EQ(st->ops->getSession(st, "hash1", kT0, &album, &csrf), 1);
    EXPECT_EQ(st->ops->takeResetToken(st, "reset1", kT0, &album), 1);
    // Ids go on growing after the reopening.
    EXPECT_GT(AddUp(st, Up("album1", kT0, 0)).id, up.id);
}

TEST(StoreOpen, NamedFileKeepsPicturesUnderTheFolder) {
    TempDir tmp;
    Store* st = nullptr;
    ASSERT_EQ(OpenStore("sqlite:" + tmp.File("other.db"), tmp.File("srv"), &st), 1);
    ASSERT_EQ(st->ops->addAccount(st, Acct("album1")), 1);
    const UploadRec up = AddUp(st, Up("album1", kT0, 0));
    st->ops->close(st);
    EXPECT_EQ(Mode(tmp.File("other.db")), 0600u);
    EXPECT_FALSE(std::filesystem::exists(tmp.File("srv/quillet.db")));
    EXPECT_TRUE(
        std::filesystem::exists(tmp.File("srv/pictures/album1/") + std::to_string(up.id) + ".jpg"));
}

TEST(StoreOpen, RefusesUnknownKindsAndNewerDatabases) {
    TempDir tmp;
    for (const char* db : {"postgres://quillet:secret@db/quillet", "mysql:", "sqlite", ":x"}) {
        SCOPED_TRACE(db);
        Store* st = reinterpret_cast<Store*>(1);
        testing::internal::CaptureStderr();
        EXPECT_EQ(OpenStore(db, tmp.path, &st), 0);
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_EQ(st, nullptr);
        EXPECT_NE(log.find("unknown kind of database"), std::string::npos) << log;
        EXPECT_EQ(log.find("secret"), std::string::npos) << log;
    }

    // A database a later version has upgraded is refused.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(tmp.File("quillet.db").c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "PRAGMA user_version = 2", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    Store* st = nullptr;
    EXPECT_EQ(OpenStore("", tmp.path, &st), 0);
    EXPECT_EQ(st, nullptr);
}

}  // namespace
