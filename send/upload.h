// The upload to the mail server and the password reminder request: one HTTP POST each.
#pragma once

#include <cstddef>

#include "platform/user/window.h"

// What the send dialog gathers for an upload; the texts stay the dialog's (CP932 bytes as
// entered).
struct UploadRequest {
    const char* recipients;  // comma-separated mail addresses, at most five, never empty
    const char* subject;     // 0 to 30 bytes
    const char* message;     // 0 to 3000 bytes, line breaks as CR LF
    const char* schedule;    // "ON(YYYY/MM/DD-HH)", or "OFF()" to send at once
    const char* line3;       // the body's line 3, possibly empty
};

extern UploadRequest g_uploadReq;

// The upload body for the account block "user\npassword\nalbum" and the picture file jpgPath:
// the lines 1 to 13 ended by LF, the picture's bytes, the trailer and the delimiter. 1 with the
// body in *body (malloc'd, the caller frees) and its length in *size; 0 after telling why.
int MakeUploadBody(const char* account, const UploadRequest& req, const char* jpgPath, char** body,
                   size_t* size);
// Sends g_uploadReq with the picture temp.JPG to the server of the settings and reads the
// answer. 1 when the server accepted it; 0 after telling what failed (over owner where the
// message is the user's business). "log.log" holds the body sent.
int PostData(HWND owner);
// Asks the server to mail the stored password to the stored account's address. 1 when the
// request went out (a notice says so); 0 after telling what failed.
int PButton();
