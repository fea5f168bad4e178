// The internet handle, the connection to the settings' server and one request, opened and
// closed together by the upload and the password reminder.
#pragma once

#include "platform/inet/wininet.h"
#include "platform/user/window.h"

struct InetSession {
    HINTERNET internet, connect, request;
};

// Opens the internet handle and the connection to the server of the settings; CloseInetSession
// closes them. 0 after telling which failed (the first over owner), with nothing left open.
int OpenInetSession(HWND owner, InetSession* s);
// Opens a POST request for object on the connection. 0 after telling.
int OpenInetRequest(InetSession* s, const char* object);
// Closes the request, the connection and the internet handle, in that order, as far as opened.
void CloseInetSession(InetSession* s);
