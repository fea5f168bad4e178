// The HTTP client in the shape of the Windows internet functions the program calls: open,
// connect, open a request, send it with a raw body, query the raw response header block, read
// the body, close. Plain HTTP/1.1 on port 80 unless the host text names one ("host:port").
#pragma once

#include "platform/wintypes.h"

typedef void* HINTERNET;
typedef WORD INTERNET_PORT;

constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG = 0;  // the system's proxy settings
constexpr INTERNET_PORT INTERNET_DEFAULT_HTTP_PORT = 80;
constexpr DWORD INTERNET_SERVICE_HTTP = 3;
constexpr DWORD INTERNET_FLAG_NO_CACHE_WRITE = 0x04000000;
constexpr DWORD HTTP_QUERY_RAW_HEADERS_CRLF = 22;

// Failure numbers GetLastError gives after a call below failed.
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_INTERNET_TIMEOUT = 12002;
constexpr DWORD ERROR_INTERNET_INVALID_URL = 12005;
constexpr DWORD ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
constexpr DWORD ERROR_INTERNET_CANNOT_CONNECT = 12029;
constexpr DWORD ERROR_INTERNET_CONNECTION_ABORTED = 12030;
constexpr DWORD ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152;

// The internet handle: agent is the User-Agent of every request made under it. Proxies come from
// the environment (http_proxy, no_proxy, as curl reads them).
HINTERNET InternetOpenA(const char* agent, DWORD accessType, const char* proxy,
                        const char* proxyBypass, DWORD flags);
// Remembers the server; nothing goes over the network yet. serverName is a host name, an IPv4
// address or an IPv6 address (in brackets when a port follows), and may carry ":port" (1 to
// 65535), which then replaces port. Anything else (a path, a user, a blank) fails with
// ERROR_INTERNET_INVALID_URL.
HINTERNET InternetConnectA(HINTERNET internet, const char* serverName, INTERNET_PORT port,
                           const char* userName, const char* password, DWORD service, DWORD flags,
                           DWORD_PTR context);
// A request for "/" + objectName, sent as given; the verb must be POST, the version none or
// HTTP/1.1; no accept types and no referrer are supported. With INTERNET_FLAG_NO_CACHE_WRITE the
// request carries Cache-Control: no-cache. Nothing goes over the network yet.
HINTERNET HttpOpenRequestA(HINTERNET connect, const char* verb, const char* objectName,
                           const char* version, const char* referrer, const char** acceptTypes,
                           DWORD flags, DWORD_PTR context);
// Sends the request with exactly the optionalLength body bytes (copied) and the headers Host,
// User-Agent and Content-Length (no Content-Type, Accept or Expect; caller headers are not
// supported), and waits for the final response header block; redirects are not followed. Time-outs:
// 60 s to connect, 30 s without progress while sending or receiving. FALSE with GetLastError one of
// the ERROR_INTERNET_* numbers above (ERROR_HTTP_INVALID_SERVER_RESPONSE for an answer that is not
// HTTP).
BOOL HttpSendRequestA(HINTERNET request, const char* headers, DWORD headersLength, void* optional,
                      DWORD optionalLength);
// HTTP_QUERY_RAW_HEADERS_CRLF: the final response's header block exactly as received, status
// line to the empty line, with a NUL after it. TRUE with *bufferLength the bytes without the NUL;
// FALSE with ERROR_INSUFFICIENT_BUFFER and *bufferLength the bytes needed with the NUL when it
// does not fit (always when buffer is none).
BOOL HttpQueryInfoA(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength,
                    DWORD* index);
// Reads the body: blocks until toRead bytes or the end of the body; *read 0 at the end. Bytes
// that arrived before a failure are handed out first; then FALSE with the failure's number.
// Unread bytes are left in the connection, not gathered in memory.
BOOL InternetReadFile(HINTERNET file, void* buffer, DWORD toRead, DWORD* read);
// Closes any of the handles above.
BOOL InternetCloseHandle(HINTERNET handle);

// The failure number of the last call above that failed on this thread.
DWORD GetLastError();
void SetLastError(DWORD error);

// Test seam: the connect time-out, the time-out without progress and the limit on the whole
// exchange after connecting, in milliseconds (0 restores 60000, 30000 and 120000).
void PlatSetHttpTimeouts(DWORD connectMs, DWORD idleMs, DWORD exchangeMs = 0);
