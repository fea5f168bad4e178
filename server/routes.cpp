// The paths the program uses, answered here; every other path is the web site's (site.h).
//   GET  /                      -> redirection to /quillet/
//   POST /cgi-bin/saveimg.cgi   an upload, answered "OK" or "NGxx"
//   POST /quillet/resend.php?id=<album>&pass=<password>   a password reminder, answered "OK"
#include "server/routes.h"

#include "server/reminder.h"
#include "server/site.h"
#include "server/upload_accept.h"

Response AnswerRequest(const ServerCtx& ctx, const Request& req) {
    if (req.method == "POST" && req.path == "/cgi-bin/saveimg.cgi") {
        Response r;
        r.body = AcceptUpload(ctx, req.body);
        return r;
    }
    if (req.method == "POST" && req.path == "/quillet/resend.php") return AnswerResend(ctx, req);
    if (req.method == "GET" && req.path == "/") {
        Response r;
        r.status = 302;
        r.type = "text/html; charset=UTF-8";
        r.location = "/quillet/";
        r.body = "<p><a href=\"/quillet/\">/quillet/</a></p>\n";
        return r;
    }
    return AnswerSite(ctx, req);
}
