// PButton: asks the server to mail the stored password to the account's address.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/appstate.h"
#include "app/reginfo.h"
#include "platform/user/msgbox.h"
#include "send/inet_session.h"
#include "send/upload.h"
#include "ui/msgdlg.h"

namespace {

// The stored values go into the query as they are, without escaping; the answer is not read.
int SendResend(InetSession* s, const char* album, const char* password) {
    const size_t size = strlen(album) + strlen(password) + 64;
    char* object = static_cast<char*>(malloc(size));
    if (!object) {
        MessageBoxA(nullptr, "メモリの確保に失敗しました", "PButton", MB_OK);
        return 0;
    }
    snprintf(object, size, "quillet/resend.php?id=%s&pass=%s", album, password);
    int ok = OpenInetRequest(s, object);
    free(object);
    if (!ok) return 0;
    ok = HttpSendRequestA(s->request, nullptr, 0, nullptr, 0);
    if (!ok) ShowMsgDlg(nullptr, "データが送信できませんでした", MSG_ERROR);
    return ok;
}

}  // namespace

int PButton() {
    InetSession s;
    int ok = OpenInetSession(nullptr, &s);
    char *album = nullptr, *password = nullptr;
    if (ok && (!GetRegValue("ALBUMID", &album) || !GetRegValue("PASSWORD", &password))) {
        MessageBoxA(g_app.mainWnd, "レジストリ読込み失敗", "PButton", MB_OK);
        ok = 0;
    }
    ok = ok && SendResend(&s, album, password);
    if (ok) ShowMsgDlg(nullptr, "送信完了", MSG_NOTICE);
    free(album);
    free(password);
    CloseInetSession(&s);
    return ok;
}
