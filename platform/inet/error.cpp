// curl's failures in WinINet's numbers.
#include "platform/inet/error.h"

#include <curl/curl.h>

#include "platform/inet/wininet.h"

DWORD InetErrorOfCurl(int code, int connected) {
    switch (code) {
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_URL_MALFORMAT:  // a server name that cannot be a host name
            return ERROR_INTERNET_NAME_NOT_RESOLVED;
        case CURLE_COULDNT_CONNECT: return ERROR_INTERNET_CANNOT_CONNECT;
        // WinINet reports a connect that did not finish in time as one that failed.
        case CURLE_OPERATION_TIMEDOUT:
            return connected ? ERROR_INTERNET_TIMEOUT : ERROR_INTERNET_CANNOT_CONNECT;
        case CURLE_UNSUPPORTED_PROTOCOL:  // an answer without a status line ("HTTP/0.9")
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_GOT_NOTHING: return ERROR_HTTP_INVALID_SERVER_RESPONSE;
        // Resets, a close in the middle of the header block or before the end of the body.
        default: return ERROR_INTERNET_CONNECTION_ABORTED;
    }
}
