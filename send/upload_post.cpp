// PostData: the upload request from the open to the answer, every handle closed at the end.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/appstate.h"
#include "app/folders.h"
#include "app/reginfo.h"
#include "platform/inet/wininet.h"
#include "platform/kernel/fileapi.h"
#include "platform/user/msgbox.h"
#include "send/inet_session.h"
#include "send/upload.h"
#include "ui/msgdlg.h"

namespace {

constexpr DWORD kAnswerSize = 256;

// The raw header block is fetched but not interpreted. It may be longer than the first buffer:
// then it is fetched again whole (a long block does not make an accepted upload a failure).
int FetchHeaders(HINTERNET request) {
    char first[kAnswerSize];
    DWORD size = sizeof first;
    if (HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, first, &size, nullptr)) return 1;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return 0;
    char* whole = static_cast<char*>(malloc(size));
    const int ok =
        whole && HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, whole, &size, nullptr);
    free(whole);
    return ok;
}

// The code in the two bytes after "NG": white space skipped, digits up to the first other byte
// (a sign is no digit), 0 without a digit.
int ReadAnswerCode(const char* two) {
    int at = 0, code = 0;
    while (at < 2 && two[at] && strchr(" \t\n\v\f\r", two[at])) at++;
    for (; at < 2 && two[at] >= '0' && two[at] <= '9'; at++) code = code * 10 + (two[at] - '0');
    return code;
}

// The first bytes of the answer's body: "OK", or "NG" with a code in the two bytes after it.
int TellAnswer(HWND owner, const char* answer) {
    if (strncmp(answer, "OK", 2) == 0) return 1;
    if (strncmp(answer, "NG", 2) != 0) {
        ShowMsgDlg(owner, "送信失敗\nエラーが発生しました", MSG_ERROR);
        return 0;
    }
    const int code = ReadAnswerCode(answer + 2);
    char text[MAX_PATH];
    if (code == 7)
        snprintf(text, sizeof text, "アルバムＩＤ、パスワードを確認してください");
    else if (code == 10)
        snprintf(text, sizeof text, "日時指定メールがすでに５件あります");
    else
        snprintf(text, sizeof text, "送信失敗\nエラーが発生しました\nエラーコード %dS", code);
    ShowMsgDlg(owner, text, MSG_ERROR);
    return 0;
}

// Keeps a copy of the body as sent, for the user only: it holds the password. Told when it
// cannot be written; the upload goes on without it.
void WriteUploadLog(const char* body, size_t size) {
    char path[MAX_PATH];
    if (!PrepAppFilePath(kLogName, path) || !WriteWholeFile(path, body, size, 0600))
        MessageBoxA(g_app.mainWnd, "ファイルが開けません", "", MB_OK);
}

// Steps from the account to the answer on an open request. 1 when accepted.
int SendUpload(HWND owner, HINTERNET request) {
    char* account = nullptr;
    if (!GetUserInfo(&account)) {
        MessageBoxA(g_app.mainWnd, "ユーザー情報が取得できませんでした", "PostData-Error", MB_OK);
        return 0;
    }
    char jpg[MAX_PATH];
    char* body = nullptr;
    size_t size = 0;
    int ok = MakeAppFilePath(kTempJpgName, jpg);
    if (!ok) MessageBoxA(nullptr, "ファイルが開けませんでした", "PostData-Error", MB_OK);
    ok = ok && MakeUploadBody(account, g_uploadReq, jpg, &body, &size);
    free(account);
    if (!ok) return 0;
    WriteUploadLog(body, size);
    ok = HttpSendRequestA(request, nullptr, 0, body, DWORD(size));
    free(body);
    if (!ok) {
        char text[MAX_PATH];
        snprintf(text, sizeof text, "データが送信できませんでした\nエラーコード %uRQ",
                 unsigned(GetLastError()));
        ShowMsgDlg(nullptr, text, MSG_ERROR);
        return 0;
    }
    if (!FetchHeaders(request)) {
        MessageBoxA(nullptr, "リクエスト結果ヘッダ取得失敗", "PostData", MB_OK);
        return 0;
    }
    char answer[kAnswerSize + 1] = {};
    DWORD got = 0;
    if (!InternetReadFile(request, answer, kAnswerSize, &got)) {
        MessageBoxA(nullptr, "リクエスト結果取得失敗", "PostData", MB_OK);
        return 0;
    }
    return TellAnswer(owner, answer);
}

}  // namespace

int PostData(HWND owner) {
    InetSession s;
    if (!OpenInetSession(owner, &s)) return 0;
    int ok = 0;
    if (OpenInetRequest(&s, "cgi-bin/saveimg.cgi")) ok = SendUpload(owner, s.request);
    CloseInetSession(&s);
    return ok;
}
