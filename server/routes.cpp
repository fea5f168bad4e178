// The paths the program and a browser use:
//   GET  /                      -> redirection to /quillet/
//   GET  /quillet/              the home page
//   GET  /quillet/login.html    the album list
//   GET  /users/<album>/        the album page
//   GET  /users/<album>/<id>.jpg
//   POST /cgi-bin/saveimg.cgi   an upload, answered "OK" or "NGxx"
//   POST /quillet/resend.php?id=<album>&pass=<password>   a password reminder, answered "OK"
// Album and picture names pass IsSafeName before they meet the file system.
#include "server/routes.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "server/pages.h"
#include "server/upload_store.h"

static Response HtmlResponse(int status, const std::string& html) {
    Response r;
    r.status = status;
    r.type = "text/html; charset=UTF-8";
    r.body = html;
    return r;
}

static Response TextResponse(const std::string& text) {
    Response r;
    r.body = text;
    return r;
}

static Response NotFound() {
    return HtmlResponse(404, NotFoundPage());
}

// Splits "/users/<album>/<rest>" into its two names; fails for other paths or unsafe albums.
static int SplitUserPath(const std::string& path, std::string* album, std::string* rest) {
    const std::string prefix = "/users/";
    if (path.rfind(prefix, 0) != 0) return 0;
    const size_t slash = path.find('/', prefix.size());
    if (slash == std::string::npos) return 0;
    *album = path.substr(prefix.size(), slash - prefix.size());
    *rest = path.substr(slash + 1);
    return IsSafeName(*album);
}

static Response AnswerPicture(const std::string& dir, const std::string& album,
                              const std::string& file) {
    const std::string id = file.substr(0, file.size() - 4);
    if (!IsSafeName(id)) return NotFound();
    std::ifstream f(dir + "/uploads/" + album + "/" + id + "/picture.jpg", std::ios::binary);
    if (!f) return NotFound();
    std::ostringstream bytes;
    bytes << f.rdbuf();
    Response r;
    r.type = "image/jpeg";
    r.body = bytes.str();
    return r;
}

static Response AnswerUsers(const std::string& dir, const std::string& path) {
    std::string album, rest;
    if (!SplitUserPath(path, &album, &rest)) return NotFound();
    if (rest.size() > 4 && rest.compare(rest.size() - 4, 4, ".jpg") == 0)
        return AnswerPicture(dir, album, rest);
    if (!rest.empty()) return NotFound();
    const std::vector<StoredUpload> ups = ListUploads(dir, album);
    if (ups.empty()) return NotFound();
    return HtmlResponse(200, AlbumPage(album, ups));
}

// The password is read only to be dropped: the log names the album alone.
static Response AnswerResend(const std::string& query) {
    std::string album;
    if (!QueryValue(query, "id", &album) || !IsSafeName(album)) return TextResponse(kNgAccount);
    fprintf(stderr, "quillet-server: a password reminder was asked for album %s (not mailed)\n",
            album.c_str());
    return TextResponse("OK");
}

static Response AnswerGet(const std::string& dir, const Request& req) {
    if (req.path == "/") {
        Response r = HtmlResponse(302, "<p><a href=\"/quillet/\">/quillet/</a></p>\n");
        r.location = "/quillet/";
        return r;
    }
    if (req.path == "/quillet/" || req.path == "/quillet/index.html")
        return HtmlResponse(200, HomePage(req.host));
    if (req.path == "/quillet/login.html") return HtmlResponse(200, LoginPage(ListAlbums(dir)));
    return AnswerUsers(dir, req.path);
}

Response AnswerRequest(const std::string& dir, const Request& req, time_t now) {
    if (req.method == "GET") return AnswerGet(dir, req);
    if (req.method != "POST") return StatusResponse(405);
    if (req.path == "/cgi-bin/saveimg.cgi") return TextResponse(AcceptUpload(dir, req.body, now));
    if (req.path == "/quillet/resend.php") return AnswerResend(req.query);
    return NotFound();
}
