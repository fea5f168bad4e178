// The public album: newest first by upload time, pictures and dates only.
#include <gtest/gtest.h>

#include "site_env.h"

namespace {

// The ids of the pictures on a page, in the page's order.
std::vector<long long> PictureIds(const std::string& html, const std::string& album) {
    std::vector<long long> ids;
    const std::string mark = "<img src=\"/users/" + album + "/";
    for (size_t at = html.find(mark); at != std::string::npos; at = html.find(mark, at + 1))
        ids.push_back(std::stoll(html.substr(at + mark.size())));
    return ids;
}

TEST(PublicAlbum, NewestFirstByUploadTime) {
    SiteEnv env;
    const time_t t = TestNow();
    std::vector<long long> expected;
    // Ten uploads within one second, then one from a clock that was set back, then a later one.
    for (int i = 0; i < 10; i++)
        expected.insert(expected.begin(), StoreUpload(env, kTestAlbum, t, 0, {"a@x.jp"}).id);
    const long long setBack = StoreUpload(env, kTestAlbum, t - 3600, 0, {"a@x.jp"}).id;
    expected.insert(expected.begin(), StoreUpload(env, kTestAlbum, t + 60, 0, {"a@x.jp"}).id);
    expected.push_back(setBack);
    const Response r = Ask(env, MakeReq("GET", "/users/album1/"));
    EXPECT_EQ(PictureIds(r.body, kTestAlbum), expected);
    // The management page lists them in the same order.
    const Browser b = LogIn(env, kTestAlbum, kTestPass);
    EXPECT_EQ(
        PictureIds(Ask(env, MakeReq("GET", "/quillet/manage.html", b.cookie)).body, kTestAlbum),
        expected);
}

TEST(PublicAlbum, ShowsPicturesAndDatesOnly) {
    SiteEnv env;
    const UploadRec up = StoreUpload(env, kTestAlbum, TestNow(), 0, {"secret-friend@example.jp"},
                                     "<script>subject", "private <b>message</b>");
    const std::string page = Ask(env, MakeReq("GET", "/users/album1/")).body;
    EXPECT_NE(page.find("<img src=\"/users/album1/" + std::to_string(up.id) + ".jpg\""),
              std::string::npos);
    EXPECT_NE(page.find("2025/06/10 10:20"), std::string::npos);
    for (const char* part : {"script", "subject", "private", "message", "secret-friend"}) {
        SCOPED_TRACE(part);
        EXPECT_EQ(page.find(part), std::string::npos);
    }
}

}  // namespace
