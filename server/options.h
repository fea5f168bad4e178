// The command line of quillet-server, read into one record.
#pragma once

#include <string>
#include <vector>

#include "server/http_daemon.h"

struct ServerOpts {
    HttpOpts http;
    std::string dir;           // where the state lives
    std::string db;            // "" or "sqlite:PATH"
    std::string smtp;          // the relay's URL; empty: the Maildir
    std::string smtpAuthFile;  // the relay's user name and password
    std::string sender;        // From of every mail
    std::string publicUrl;     // how users reach the server; empty: from the address listened on
    long long quotaMb = 100;   // the picture quota per account
    int registerOnFirstUpload = 0;
    std::vector<std::string> words;  // what is not an option: the command and its arguments
};

extern const char kServerUsage[];

// Reads argv[1..argc-1] into *o over its defaults, then fills the defaults that depend on the
// machine (dir from the environment, the sender from the host name). Returns 0 with
// *error for an unknown or malformed option or a combination that is not safe.
int ReadServerArgs(int argc, char** argv, ServerOpts* o, std::string* error);
