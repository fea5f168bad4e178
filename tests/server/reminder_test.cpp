// The P button's reminder: the owner gets a link that works once within the hour, strangers and
// repeated presses get the same "OK" and no mail, and the link's token is not kept as such.
#include "server/reminder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base64.h"
#include "live_server.h"
#include "server/routes.h"
#include "server/tokens.h"
#include "upload_body.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> MaildirMails(const ServerCtx& ctx) {
    std::vector<std::string> mails;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(MaildirOf(ctx) + "/new", ec))
        mails.push_back(ReadFileText(e.path()));
    return mails;
}

Response Resend(const ServerCtx& ctx, const std::string& query) {
    Request req;
    req.method = "POST";
    req.path = "/quillet/resend.php";
    req.query = query;
    return AnswerRequest(ctx, req);
}

TEST(Reminder, MailsTheOwnerALinkThatWorksOnce) {
    ServerClock::now = TestNow();
    ServerRun server;
    for (const char* q : {"id=album2&pass=x", "pass=x", "id=..&pass=x"})
        EXPECT_EQ(Resend(server.ctx, q).body, "OK") << q;
    EXPECT_TRUE(MaildirMails(server.ctx).empty());

    EXPECT_EQ(Resend(server.ctx, "id=album1&pass=forgotten").body, "OK");
    EXPECT_EQ(Resend(server.ctx, "id=album1&pass=forgotten").body, "OK");
    const auto mails = MaildirMails(server.ctx);
    ASSERT_EQ(mails.size(), 1u) << "a second press within ten minutes mails nothing";
    EXPECT_NE(mails[0].find("To: me@example.jp\r\n"), std::string::npos) << mails[0];

    // The link is in the base64 text part; decode it through the mail's own words.
    const std::string link = "http://server.test/quillet/reset.html?t=";
    std::string text;
    const size_t body = mails[0].find("base64\r\n\r\n") + 10;
    for (size_t i = body; i < mails[0].size() && mails[0][i] != '-'; i++)
        if (mails[0][i] != '\r' && mails[0][i] != '\n') text += mails[0][i];
    int ok;
    const std::string decoded = DecodeB64(text, &ok);
    const size_t at = decoded.find(link);
    ASSERT_NE(at, std::string::npos) << decoded;
    const std::string token = decoded.substr(at + link.size(), 64);

    // The store keeps the token's hash; it opens once, within the hour.
    const std::string db = ReadFileText(server.ctx.dir + "/quillet.db") +
                           ReadFileText(server.ctx.dir + "/quillet.db-wal");
    EXPECT_EQ(db.find(token), std::string::npos);
    std::string album;
    EXPECT_EQ(server.ctx.store->ops->takeResetToken(server.ctx.store, HashToken(token),
                                                    TestNow() + 3599, &album),
              1);
    EXPECT_EQ(album, kTestAlbum);
    EXPECT_EQ(server.ctx.store->ops->takeResetToken(server.ctx.store, HashToken(token),
                                                    TestNow() + 3599, &album),
              0);

    ServerClock::now = TestNow() + kReminderGapSec;
    EXPECT_EQ(Resend(server.ctx, "id=album1&pass=forgotten").body, "OK");
    EXPECT_EQ(MaildirMails(server.ctx).size(), 2u) << "ten minutes later it may ask again";
    ServerClock::now = 0;
}

}  // namespace
