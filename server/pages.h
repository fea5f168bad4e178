// The site's public pages and its error pages, answered from records so that tests need no
// socket.
#pragma once

#include <string>
#include <vector>

#include "server/http_request.h"
#include "server/store.h"

// What the service does and how to point the program at it; `host` is the Host the browser used.
Response ShowHome(const std::string& host);

// Orders uploads newest first by upload time. The store gives them newest first by id; uploads
// of the same second keep that order.
void SortNewestFirst(std::vector<UploadRec>* ups);

// The public album: each picture with its upload time. Subjects, messages and recipients are
// for the album's owner and the recipients alone.
Response ShowAlbum(const std::string& album, std::vector<UploadRec> ups);

// A framed page of one message and, when `linkPath` is set, a link to go on with.
Response ShowMessage(int status, const std::string& title, const std::string& text,
                     const std::string& linkPath = "", const std::string& linkLabel = "");

Response AnswerNotFound();
// 405 for a path that is answered only for the methods in `allow` ("GET, HEAD").
Response AnswerBadMethod(const std::string& allow);
