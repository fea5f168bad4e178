// The site's paths:
//   GET      /quillet/ (/quillet/index.html)  the home page
//   GET      /users/<album>/                  the public album
//   GET      /users/<album>/<id>.jpg          a picture of it
//   GET POST /quillet/login.html              login to album management
//   GET POST /quillet/manage.html             album management
//   GET POST /quillet/reset.html              a new password through a reminder's link
// Album names pass IsSafeName and picture names must be numbers before they reach the store.
#include "server/site.h"

#include <cstdlib>

#include "server/login_page.h"
#include "server/manage_page.h"
#include "server/pages.h"
#include "server/reset_page.h"
#include "server/upload_check.h"

// Reads "<digits>.jpg" into *id.
static int ReadPictureName(const std::string& name, long long* id) {
    if (name.size() < 5 || name.size() > 22 || name.compare(name.size() - 4, 4, ".jpg") != 0)
        return 0;
    for (size_t i = 0; i + 4 < name.size(); i++)
        if (name[i] < '0' || name[i] > '9') return 0;
    *id = atoll(name.c_str());
    return 1;
}

static Response AnswerPicture(const ServerCtx& ctx, const std::string& album,
                              const std::string& name) {
    long long id;
    UploadRec up;
    Response r;
    if (!ReadPictureName(name, &id) || !ctx.store->ops->getUpload(ctx.store, id, &up) ||
        up.album != album || !ctx.store->ops->readPicture(ctx.store, id, &r.body))
        return AnswerNotFound();
    r.type = "image/jpeg";
    return r;
}

static Response AnswerUsers(const ServerCtx& ctx, const std::string& path) {
    const std::string prefix = "/users/";
    const size_t slash = path.find('/', prefix.size());
    if (slash == std::string::npos) return AnswerNotFound();
    const std::string album = path.substr(prefix.size(), slash - prefix.size());
    const std::string rest = path.substr(slash + 1);
    Account acct;
    if (!IsSafeName(album) || !ctx.store->ops->getAccount(ctx.store, album, &acct))
        return AnswerNotFound();
    if (!rest.empty()) return AnswerPicture(ctx, album, rest);
    std::vector<UploadRec> ups;
    if (!ctx.store->ops->listUploads(ctx.store, album, &ups))
        return ShowMessage(500, "アルバム", "サーバーの不具合でアルバムを読めませんでした。");
    return ShowAlbum(album, ups);
}

static Response AnswerHome(const ServerCtx&, const Request& req) {
    return ShowHome(req.host);
}

struct SitePage {
    const char* path;
    int takesPost;
    Response (*answer)(const ServerCtx& ctx, const Request& req);
};

static const SitePage kPages[] = {
    {"/quillet/", 0, AnswerHome},
    {"/quillet/index.html", 0, AnswerHome},
    {"/quillet/login.html", 1, AnswerLogin},
    {"/quillet/manage.html", 1, AnswerManage},
    {"/quillet/reset.html", 1, AnswerReset},
};

Response AnswerSite(const ServerCtx& ctx, const Request& req) {
    const int get = req.method == "GET" || req.method == "HEAD";
    for (const SitePage& page : kPages) {
        if (req.path != page.path) continue;
        if (get || (page.takesPost && req.method == "POST")) return page.answer(ctx, req);
        return AnswerBadMethod(page.takesPost ? "GET, HEAD, POST" : "GET, HEAD");
    }
    if (req.path.rfind("/users/", 0) != 0) return AnswerNotFound();
    return get ? AnswerUsers(ctx, req.path) : AnswerBadMethod("GET, HEAD");
}
