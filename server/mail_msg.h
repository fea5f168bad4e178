// One mail of an upload as RFC 5322 and MIME text, the same bytes for an SMTP relay and for a
// Maildir.
#pragma once

#include <ctime>
#include <string>

struct MailMsg {
    std::string from;       // the server's configured sender address
    std::string replyTo;    // the uploading user's mail address
    std::string to;         // one recipient
    time_t date = 0;        // the Date header, in the server's local time zone
    std::string messageId;  // "<...@...>", the same on every attempt
    std::string subject;    // UTF-8, one line
    std::string text;       // UTF-8, lines ending in LF
    std::string jpeg;       // the picture's bytes; no picture part when empty
};

// The whole message, lines ending in CR LF: the headers (the subject in RFC 2047 encoded words
// when it is not plain ASCII), then a multipart/mixed body with a text/plain; charset=UTF-8 part
// and an image/jpeg part, both base64.
std::string BuildMailText(const MailMsg& m);
