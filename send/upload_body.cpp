// The upload body: account, delivery instructions and picture between fixed delimiter lines.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/appstate.h"
#include "platform/user/msgbox.h"
#include "send/upload.h"

UploadRequest g_uploadReq;

namespace {

constexpr char kDelim[] = "1415926535897932384626433832795028841";
constexpr char kIdent[] = "Velquaris2.00";
constexpr char kTrailer[] = "0123456789012345678901234567890123456789012";
constexpr size_t kPiece = 256;    // the picture is read in pieces of this size
constexpr size_t kRoom = 1280;    // free room given once the text is written
constexpr size_t kGrowth = 1024;  // growth whenever less than a piece is free

// Grows the buffer to n bytes; told and 0 when it cannot (the old buffer stays the caller's).
int GrowBody(char** buf, size_t n) {
    char* p = static_cast<char*>(realloc(*buf, n));
    if (!p) {
        MessageBoxA(nullptr, "メモリの確保に失敗しました", "PostData", MB_OK);
        return 0;
    }
    *buf = p;
    return 1;
}

// Appends the picture file, a piece at a time, keeping at least a piece free behind the data.
int AppendJpeg(const char* path, char** buf, size_t* len, size_t* cap) {
    FILE* f = fopen(path, "rb");
    if (!f) {
        MessageBoxA(nullptr, "ファイルが開けませんでした", "PostData-Error", MB_OK);
        return 0;
    }
    int ok = 1;
    // A read error ends the picture where it stopped; the upload goes on, as with a short file.
    for (size_t n; (n = fread(*buf + *len, 1, kPiece, f)) > 0;) {
        *len += n;
        if (*cap - *len < kPiece) {
            if (!GrowBody(buf, *cap + kGrowth)) {
                ok = 0;
                break;
            }
            *cap += kGrowth;
        }
    }
    fclose(f);
    return ok;
}

}  // namespace

int MakeUploadBody(const char* account, const UploadRequest& req, const char* jpgPath, char** body,
                   size_t* size) {
    *body = nullptr;
    const char* const lines[] = {kDelim,      kIdent,      req.line3,    kDelim,
                                 account,     kDelim,      req.schedule, req.recipients,
                                 req.subject, req.message, kDelim};
    size_t text = 0;
    for (const char* l : lines) text += strlen(l) + 1;
    char* buf = static_cast<char*>(malloc(text + 1));
    if (!buf) {
        MessageBoxA(g_app.mainWnd, "メモリの確保に失敗しました", "PostData-Error", MB_OK);
        return 0;
    }
    // The account block is three lines already: user ID, password, album ID.
    size_t len = 0;
    for (const char* l : lines) {
        const size_t n = strlen(l);
        memcpy(buf + len, l, n);
        len += n;
        buf[len++] = '\n';
    }
    size_t cap = len + kRoom;
    if (!GrowBody(&buf, cap) || !AppendJpeg(jpgPath, &buf, &len, &cap)) {
        free(buf);
        return 0;
    }
    // At least a piece is free: the trailer and the delimiter (80 bytes) always fit.
    memcpy(buf + len, kTrailer, sizeof kTrailer - 1);
    len += sizeof kTrailer - 1;
    memcpy(buf + len, kDelim, sizeof kDelim - 1);
    len += sizeof kDelim - 1;
    *body = buf;
    *size = len;
    return 1;
}
