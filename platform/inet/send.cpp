// Sending a request and reading its answer, on one curl easy handle driven through a multi
// handle on the caller's thread. HttpSendRequestA drives the transfer until the final response's
// header block is complete; InternetReadFile drives it on until it holds the bytes asked for.
// Body bytes arriving while nobody waits for them pause the transfer, so what is kept in memory is
// at most the bytes asked for plus one delivery of curl's (16 KiB); the rest waits in the socket.
#include <string.h>

#include "platform/inet/error.h"
#include "platform/inet/records.h"

static const DWORD kConnectMs = 60000;
static const DWORD kIdleMs = 30000;
// A server that trickles a byte now and then never trips the idle limit; the whole exchange ends
// this long after the connection at the latest.
static const DWORD kExchangeMs = 120000;
static DWORD g_connectMs = kConnectMs;
static DWORD g_idleMs = kIdleMs;
static DWORD g_exchangeMs = kExchangeMs;

void PlatSetHttpTimeouts(DWORD connectMs, DWORD idleMs, DWORD exchangeMs) {
    g_connectMs = connectMs ? connectMs : kConnectMs;
    g_idleMs = idleMs ? idleMs : kIdleMs;
    g_exchangeMs = exchangeMs ? exchangeMs : kExchangeMs;
}

// A status line whose code begins with 1 announces another response to come.
static int IsInformational(const std::string& head) {
    size_t space = head.find(' ');
    return space != head.npos && space + 1 < head.size() && head[space + 1] == '1';
}

// curl hands over every header line, the status lines and empty lines of 1xx answers included.
static size_t InetHeaderLine(char* line, size_t size, size_t count, void* user) {
    InetRec* rec = (InetRec*)user;
    size_t len = size * count;
    if (len >= 5 && memcmp(line, "HTTP/", 5) == 0) rec->head.clear();
    rec->head.append(line, len);
    int emptyLine = (len == 2 && line[0] == '\r') || (len == 1 && line[0] == '\n');
    if (emptyLine && !IsInformational(rec->head)) rec->headDone = 1;
    return len;
}

// curl keeps a refused delivery and makes it again when the transfer is continued.
static size_t InetBodyBytes(char* data, size_t size, size_t count, void* user) {
    InetRec* rec = (InetRec*)user;
    if (rec->body.size() >= rec->wanted) {
        rec->paused = 1;
        return CURL_WRITEFUNC_PAUSE;
    }
    rec->body.append(data, size * count);
    return size * count;
}

static void EndTransfer(InetRec* rec, CURLcode result) {
    rec->ended = 1;
    rec->result = result;
}

static int HeadDone(const InetRec* rec) {
    return rec->headDone;
}
static int BodyEnough(const InetRec* rec) {
    return rec->body.size() >= rec->wanted;
}

// Runs the transfer until enough(rec) holds or it ended.
static void Drive(InetRec* rec, int (*enough)(const InetRec*)) {
    while (!rec->ended && !enough(rec)) {
        int running = 0;
        if (curl_multi_perform(rec->multi, &running) != CURLM_OK) {
            EndTransfer(rec, CURLE_OUT_OF_MEMORY);
            return;
        }
        int left = 0;
        while (CURLMsg* msg = curl_multi_info_read(rec->multi, &left))
            if (msg->msg == CURLMSG_DONE) EndTransfer(rec, msg->data.result);
        if (rec->ended || enough(rec)) return;
        curl_multi_poll(rec->multi, nullptr, 0, 1000, nullptr);
    }
}

void InetEndExchange(InetRec* rec) {
    if (rec->easy) {
        curl_multi_remove_handle(rec->multi, rec->easy);
        curl_easy_cleanup(rec->easy);
    }
    if (rec->multi) curl_multi_cleanup(rec->multi);
    curl_slist_free_all(rec->headers);
    rec->multi = nullptr;
    rec->easy = nullptr;
    rec->headers = nullptr;
    rec->head.clear();
    rec->headDone = 0;
    rec->body.clear();
    rec->wanted = 0;
    rec->paused = 0;
    rec->ended = 0;
    rec->result = CURLE_OK;
}

// WinINet's headers for a POST without caller headers: Host, User-Agent, Content-Length (also
// 0), and Cache-Control: no-cache when the answer is not to be cached. curl's own Accept,
// Content-Type and Expect are switched off; redirects are not followed. The body is copied.
static int SetUpTransfer(InetRec* rec, const void* body, DWORD bodyLength) {
    const char* removed[] = {"Accept:", "Content-Type:", "Expect:"};
    for (const char* line : removed) rec->headers = curl_slist_append(rec->headers, line);
    if (rec->flags & INTERNET_FLAG_NO_CACHE_WRITE)
        rec->headers = curl_slist_append(rec->headers, "Cache-Control: no-cache");
    CURL* easy = rec->easy;
    int ok = rec->headers != nullptr;
    ok = ok && curl_easy_setopt(easy, CURLOPT_URL, rec->url.c_str()) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, (long)CURL_HTTP_VERSION_1_1) == 0;
    ok = ok && curl_easy_setopt(easy, CURLOPT_HTTPHEADER, rec->headers) == CURLE_OK;
    if (!rec->agent.empty())
        ok = ok && curl_easy_setopt(easy, CURLOPT_USERAGENT, rec->agent.c_str()) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_POST, 1L) == CURLE_OK;
    // The size first: the copy then takes exactly that many bytes, NULs included.
    ok = ok && curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, (curl_off_t)bodyLength) == 0;
    ok = ok && curl_easy_setopt(easy, CURLOPT_COPYPOSTFIELDS, body ? body : "") == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, (long)g_connectMs) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, long(g_connectMs) + long(g_exchangeMs)) ==
                   CURLE_OK;
    // Less than a byte a second for the idle time counts as no progress.
    ok = ok && curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L) == CURLE_OK;
    long idleSeconds = (long)((g_idleMs + 999) / 1000);
    ok = ok && curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, idleSeconds) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, InetHeaderLine) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_HEADERDATA, rec) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, InetBodyBytes) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_WRITEDATA, rec) == CURLE_OK;
    return ok && curl_multi_add_handle(rec->multi, easy) == CURLM_OK;
}

// Caller headers are not supported. A request can be sent again; the earlier exchange ends.
BOOL HttpSendRequestA(HINTERNET request, const char* headers, DWORD headersLength, void* optional,
                      DWORD optionalLength) {
    InetRec* rec = InetRecOf(request, kInetRequest);
    if (!rec) return FALSE;
    if ((headers && headersLength) || (!optional && optionalLength)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    InetEndExchange(rec);
    rec->multi = curl_multi_init();
    rec->easy = curl_easy_init();
    if (!rec->multi || !rec->easy || !SetUpTransfer(rec, optional, optionalLength))
        EndTransfer(rec, CURLE_OUT_OF_MEMORY);
    Drive(rec, HeadDone);
    if (rec->headDone) return TRUE;
    curl_off_t connectUs = 0;
    if (rec->easy) curl_easy_getinfo(rec->easy, CURLINFO_CONNECT_TIME_T, &connectUs);
    SetLastError(InetErrorOfCurl(rec->result, connectUs > 0));
    InetEndExchange(rec);
    return FALSE;
}

// Bytes already received are handed out before a failure that followed them is reported.
BOOL InternetReadFile(HINTERNET file, void* buffer, DWORD toRead, DWORD* read) {
    InetRec* rec = InetRecOf(file, kInetRequest);
    if (!rec) return FALSE;
    if (!read || (!buffer && toRead) || !rec->headDone) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    rec->wanted = toRead;
    if (rec->paused && !BodyEnough(rec)) {
        rec->paused = 0;
        CURLcode rc = curl_easy_pause(rec->easy, CURLPAUSE_CONT);
        if (rc != CURLE_OK) EndTransfer(rec, rc);
    }
    Drive(rec, BodyEnough);
    DWORD count = (DWORD)(rec->body.size() < toRead ? rec->body.size() : toRead);
    memcpy(buffer, rec->body.data(), count);
    rec->body.erase(0, count);
    *read = count;
    if (count == 0 && toRead && rec->result != CURLE_OK) {
        SetLastError(InetErrorOfCurl(rec->result, 1));
        return FALSE;
    }
    return TRUE;
}
