// The record behind every internet handle, and what the handle files share.
#pragma once

#include <curl/curl.h>

#include <string>

#include "platform/inet/wininet.h"

enum InetKind { kInetInternet = 0x1A7E0001, kInetConnect, kInetRequest };

// One record for the three kinds. Each handle copies what it needs from its parent, so the
// handles can be closed in any order.
struct InetRec {
    InetKind kind;
    std::string agent;  // the User-Agent; empty: none
    std::string url;    // connection: "http://host:port"; request: with the object
    DWORD flags = 0;    // request: INTERNET_FLAG_*

    // The exchange, from HttpSendRequestA on (request only).
    CURLM* multi = nullptr;
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    std::string head;   // the header block as received, status line to the empty line
    int headDone = 0;   // head holds the final response's whole block
    std::string body;   // body bytes received and not yet read
    size_t wanted = 0;  // body bytes the reader waits for; more arriving pause the transfer
    int paused = 0;
    int ended = 0;  // the transfer ended with result
    CURLcode result = CURLE_OK;
};

// The record of a handle of the given kind; nullptr (ERROR_INVALID_PARAMETER set) otherwise.
InetRec* InetRecOf(HINTERNET handle, InetKind kind);
// Ends the request's exchange, if any, and releases what curl holds for it.
void InetEndExchange(InetRec* rec);
