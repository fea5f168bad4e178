// The handles of one request to the server, opened in order and closed in reverse.
#include "send/inet_session.h"

#include <strings.h>

#include <initializer_list>

#include "app/appstate.h"
#include "ui/msgdlg.h"

int OpenInetSession(HWND owner, InetSession* s) {
    *s = InetSession{};
    s->internet = InternetOpenA("QuilletClient", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!s->internet) {
        ShowMsgDlg(owner, "インターネットに接続できませんでした", MSG_ERROR);
        return 0;
    }
    // A server written as an address ("http://host:port") is the same server.
    const char* host = g_app.ServerHost;
    if (strncasecmp(host, "http://", 7) == 0) host += 7;
    s->connect = InternetConnectA(s->internet, host, INTERNET_DEFAULT_HTTP_PORT, nullptr, nullptr,
                                  INTERNET_SERVICE_HTTP, 0, 0);
    if (!s->connect) {
        ShowMsgDlg(nullptr, "サーバと接続できませんでした", MSG_ERROR);
        CloseInetSession(s);  // the caller closes only a session that opened
        return 0;
    }
    return 1;
}

// The answer is never written to a cache.
int OpenInetRequest(InetSession* s, const char* object) {
    s->request = HttpOpenRequestA(s->connect, "POST", object, nullptr, nullptr, nullptr,
                                  INTERNET_FLAG_NO_CACHE_WRITE, 0);
    if (s->request) return 1;
    ShowMsgDlg(nullptr, "送信データが作成できませんでした", MSG_ERROR);
    return 0;
}

void CloseInetSession(InetSession* s) {
    for (HINTERNET h : {s->request, s->connect, s->internet})
        if (h) InternetCloseHandle(h);
    *s = InetSession{};
}
