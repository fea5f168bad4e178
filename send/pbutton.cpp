// PButton: asks the server to mail the stored password to the account's address.
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/appstate.h"
#include "app/reginfo.h"
#include "platform/user/msgbox.h"
#include "send/inet_session.h"
#include "send/upload.h"
#include "ui/msgdlg.h"

namespace {

// Appends the value's bytes to the query: letters, digits and "-_.~" as they are, every other
// byte as %XX, so that a blank, "#", "&" or a Shift-JIS byte cannot cut or change the request.
void AppendQueryValue(std::string* query, const char* value) {
    static const char kHex[] = "0123456789ABCDEF";
    for (const unsigned char* p = (const unsigned char*)value; *p; p++) {
        const bool plain = (*p >= '0' && *p <= '9') || (*p >= 'A' && *p <= 'Z') ||
                           (*p >= 'a' && *p <= 'z') || strchr("-_.~", *p);
        if (plain) {
            query->push_back(char(*p));
        } else {
            query->push_back('%');
            query->push_back(kHex[*p >> 4]);
            query->push_back(kHex[*p & 15]);
        }
    }
}

// The stored values go into the query byte for byte, escaped where a request target needs it;
// the answer is not read.
int SendResend(InetSession* s, const char* album, const char* password) {
    std::string object = "quillet/resend.php?id=";
    AppendQueryValue(&object, album);
    object += "&pass=";
    AppendQueryValue(&object, password);
    int ok = OpenInetRequest(s, object.c_str());
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
