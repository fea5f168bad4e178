// The internet, connection and request handles and the per-thread failure number. No network
// traffic happens here: HttpSendRequestA (send.cpp) makes the connection.
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "platform/inet/error.h"
#include "platform/inet/records.h"

static thread_local DWORD g_lastError = 0;

DWORD GetLastError() {
    return g_lastError;
}
void SetLastError(DWORD error) {
    g_lastError = error;
}

InetRec* InetRecOf(HINTERNET handle, InetKind kind) {
    InetRec* rec = (InetRec*)handle;
    if (!rec || rec->kind != kind) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return rec;
}

static InetRec* NewRec(InetKind kind, const std::string& agent, const std::string& url,
                       DWORD flags) {
    InetRec* rec = new InetRec;
    rec->kind = kind;
    rec->agent = agent;
    rec->url = url;
    rec->flags = flags;
    return rec;
}

// curl's global state is made once, before the first handle, and freed at exit so that the
// leak checker sees nothing of it left.
static CURLcode InitCurl() {
    CURLcode rc = curl_global_init(CURL_GLOBAL_DEFAULT);
    if (rc == CURLE_OK) atexit(curl_global_cleanup);
    return rc;
}

// Only the system's proxy settings are supported: curl's own reading of the environment.
HINTERNET InternetOpenA(const char* agent, DWORD accessType, const char*, const char*, DWORD) {
    static const CURLcode initResult = InitCurl();
    if (initResult != CURLE_OK) {
        SetLastError(InetErrorOfCurl(initResult, 0));
        return nullptr;
    }
    if (accessType != INTERNET_OPEN_TYPE_PRECONFIG) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return NewRec(kInetInternet, agent ? agent : "", "", 0);
}

// Splits "host:port"; a bare IPv6 address (more than one colon, no brackets) has no port part.
// A port part that is not a number from 1 to 65535 stays in the host, where curl rejects it.
static void SplitServerName(const std::string& name, std::string* host, unsigned* port) {
    *host = name;
    size_t colon = name.rfind(':');
    if (colon == std::string::npos || (name.find(':') != colon && name[0] != '[')) return;
    std::string digits = name.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of("0123456789") != digits.npos)
        return;
    unsigned value = (unsigned)atoi(digits.c_str());
    if (value < 1 || value > 65535) return;
    *host = name.substr(0, colon);
    *port = value;
}

// A host name or IPv4 address ("example.jp", "10.0.0.1"), or an IPv6 address bare or in
// brackets: nothing that would change the address's path, user or port when put into it.
static int IsHostText(const std::string& host) {
    const char* kIp6 = "0123456789abcdefABCDEF:.";
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        return host.find_first_not_of(kIp6, 1) == host.size() - 1;
    if (std::count(host.begin(), host.end(), ':') >= 2)
        return host.find_first_not_of(kIp6) == host.npos;
    return !host.empty() && host.find_first_not_of(
                                "abcdefghijklmnopqrstuvwxyz"
                                "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-_") == host.npos;
}

HINTERNET InternetConnectA(HINTERNET internet, const char* serverName, INTERNET_PORT port,
                           const char*, const char*, DWORD service, DWORD, DWORD_PTR) {
    InetRec* net = InetRecOf(internet, kInetInternet);
    if (!net) return nullptr;
    if (!serverName || !*serverName || service != INTERNET_SERVICE_HTTP) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string host;
    unsigned hostPort = port;
    SplitServerName(serverName, &host, &hostPort);
    if (!IsHostText(host)) {
        SetLastError(ERROR_INTERNET_INVALID_URL);
        return nullptr;
    }
    if (host.find(':') != host.npos && host[0] != '[') host = "[" + host + "]";
    return NewRec(kInetConnect, net->agent, "http://" + host + ":" + std::to_string(hostPort), 0);
}

// Only POST requests are made: the verb must be "POST"; the version none or "HTTP/1.1".
HINTERNET HttpOpenRequestA(HINTERNET connect, const char* verb, const char* objectName,
                           const char* version, const char* referrer, const char** acceptTypes,
                           DWORD flags, DWORD_PTR) {
    InetRec* con = InetRecOf(connect, kInetConnect);
    if (!con) return nullptr;
    int defaultVersion = !version || !*version || strcmp(version, "HTTP/1.1") == 0;
    if (!verb || strcmp(verb, "POST") != 0 || !defaultVersion || referrer || acceptTypes) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string object = objectName ? objectName : "";
    if (object.empty() || object[0] != '/') object = "/" + object;
    return NewRec(kInetRequest, con->agent, con->url + object, flags);
}

BOOL InternetCloseHandle(HINTERNET handle) {
    InetRec* rec = (InetRec*)handle;
    if (!rec ||
        (rec->kind != kInetInternet && rec->kind != kInetConnect && rec->kind != kInetRequest)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    InetEndExchange(rec);
    delete rec;
    return TRUE;
}
