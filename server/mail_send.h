// Handing a built mail on: to an SMTP relay through libcurl, or into a Maildir.
#pragma once

#include <string>

struct MailRelay {
    std::string url;         // "smtp://host:port" (or smtps://); empty: no relay
    std::string user, pass;  // from the auth file; empty: no authentication
    long timeoutSec = 60;    // for the connection and for the whole exchange
};

// Reads the credentials file named by --smtp-auth-file: the user name on the first line and
// the password on the second. Returns 0 with *error when it cannot be read or is malformed.
int ReadSmtpAuthFile(const std::string& path, MailRelay* relay, std::string* error);

// Sends `text` (BuildMailText) from envelope sender `from` to `to` through the relay, with
// STARTTLS when the relay offers it. Returns 1 when the relay accepted it, 0 with *error (the
// relay's answer or curl's reason) otherwise.
int SendSmtpMail(const MailRelay& relay, const std::string& from, const std::string& to,
                 const std::string& text, std::string* error);

// Delivers `text` into the Maildir `maildir` (creating tmp/, new/ and cur/ as 0700 when
// missing): written to tmp/ under a unique name, then linked into new/, file mode 0600.
// Returns 1, or 0 with *error.
int SaveMaildirMail(const std::string& maildir, const std::string& text, std::string* error);
