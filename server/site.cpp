// The site's paths:
//   GET /quillet/               the home page
//   GET /users/<album>/         the public album
//   GET /users/<album>/<id>.jpg a picture of it
// Album names pass IsSafeName and picture names must be numbers before they reach the store.
#include "server/site.h"

#include <cstdlib>

#include "server/pages.h"
#include "server/upload_check.h"

static Response HtmlResponse(int status, const std::string& html) {
    Response r;
    r.status = status;
    r.type = "text/html; charset=UTF-8";
    r.body = html;
    return r;
}

static Response NotFound() {
    return HtmlResponse(404, NotFoundPage());
}

// Reads "<digits>.jpg" into *id.
static int ReadPictureName(const std::string& name, long long* id) {
    if (name.size() < 5 || name.size() > 24 || name.compare(name.size() - 4, 4, ".jpg") != 0)
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
        return NotFound();
    r.type = "image/jpeg";
    return r;
}

static Response AnswerUsers(const ServerCtx& ctx, const std::string& path) {
    const std::string prefix = "/users/";
    const size_t slash = path.find('/', prefix.size());
    if (slash == std::string::npos) return NotFound();
    const std::string album = path.substr(prefix.size(), slash - prefix.size());
    const std::string rest = path.substr(slash + 1);
    Account acct;
    if (!IsSafeName(album) || !ctx.store->ops->getAccount(ctx.store, album, &acct))
        return NotFound();
    if (!rest.empty()) return AnswerPicture(ctx, album, rest);
    std::vector<UploadRec> ups;
    if (!ctx.store->ops->listUploads(ctx.store, album, &ups)) return StatusResponse(500);
    return HtmlResponse(200, AlbumPage(album, ups));
}

Response AnswerSite(const ServerCtx& ctx, const Request& req) {
    if (req.method != "GET" && req.method != "HEAD") return StatusResponse(405);
    if (req.path == "/quillet/" || req.path == "/quillet/index.html")
        return HtmlResponse(200, HomePage(req.host));
    if (req.path.rfind("/users/", 0) == 0) return AnswerUsers(ctx, req.path);
    return NotFound();
}
