// Options come in any order, before or after the command words.
#include "server/options.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>

const char kServerUsage[] =
    "Usage: quillet-server [OPTION...]                 receive uploads and mail them\n"
    "       quillet-server account add ALBUMID MAIL    add an account (password from stdin)\n"
    "       quillet-server account list                list the accounts\n"
    "       quillet-server account passwd ALBUMID      set a new password (from stdin)\n"
    "       quillet-server account remove ALBUMID      remove an account and its pictures\n"
    "\n"
    "The server of Quillet: it receives the program's uploads, mails each picture to its\n"
    "recipients now or at the chosen hour, and shows the albums at /users/ALBUMID/.\n"
    "\n"
    "  --listen ADDR:PORT        where to listen (default 127.0.0.1:8080; [::1]:8080 for IPv6)\n"
    "  --dir DIR                 where the database, pictures and Maildir live (default\n"
    "                            $XDG_DATA_HOME/Halvorne/QuilletServer, or\n"
    "                            ~/.local/share/Halvorne/QuilletServer)\n"
    "  --db sqlite:PATH          the database file (default DIR/quillet.db)\n"
    "  --smtp URL                the relay mail goes out through, smtp://host:port (STARTTLS\n"
    "                            when offered) or smtps://host:port; without it, mail goes\n"
    "                            into the Maildir DIR/Maildir\n"
    "  --smtp-auth-file FILE     the relay's user name (first line) and password (second)\n"
    "  --sender ADDR             the From address of every mail (default quillet@HOSTNAME)\n"
    "  --public-url URL          the address people reach this server at, for the links in\n"
    "                            password reset mails (default http://ADDR:PORT)\n"
    "  --quota-mb N              the pictures one account may keep, in MiB (default 100)\n"
    "  --register-on-first-upload  the first upload of an unknown album ID makes its account\n"
    "                            (only while listening on this machine alone)\n"
    "  --threads N               polling threads (default 4)\n"
    "  --max-connections N       connections at once (default 512)\n"
    "  --timeout SEC             a silent connection is closed after SEC seconds (default 30)\n"
    "  --help                    this text\n"
    "\n"
    "Test seam: QUILLET_SERVER_CLOCK_OFFSET_FILE=FILE adds the whole number of seconds in FILE to\n"
    "the server's clock at every reading (for tests that move the server past a delivery hour).\n";

// Reads a whole decimal number in [lo, hi].
static int ReadNumber(const char* s, long long lo, long long hi, long long* n) {
    char* end;
    *n = strtoll(s, &end, 10);
    return *s && !*end && *n >= lo && *n <= hi;
}

// The default folder from the environment. Relative $XDG_DATA_HOME values are invalid.
static int DefaultDir(std::string* dir) {
    const char* xdg = getenv("XDG_DATA_HOME");
    const char* home = getenv("HOME");
    if (xdg && xdg[0] == '/')
        *dir = std::string(xdg) + "/Halvorne/QuilletServer";
    else if (home && home[0] == '/')
        *dir = std::string(home) + "/.local/share/Halvorne/QuilletServer";
    else
        return 0;
    return 1;
}

// Reads the option argv[*i] with its value; fails for an unknown one.
static int ReadOption(int argc, char** argv, int* i, ServerOpts* o) {
    const char* name = argv[*i];
    if (strcmp(name, "--register-on-first-upload") == 0) {
        o->registerOnFirstUpload = 1;
        return 1;
    }
    if (*i + 1 >= argc) return 0;
    const char* v = argv[++*i];
    long long n;
    if (strcmp(name, "--listen") == 0) return ParseListenAddr(v, &o->http);
    if (strcmp(name, "--dir") == 0)
        o->dir = v;
    else if (strcmp(name, "--db") == 0)
        o->db = v;
    else if (strcmp(name, "--smtp") == 0)
        o->smtp = v;
    else if (strcmp(name, "--smtp-auth-file") == 0)
        o->smtpAuthFile = v;
    else if (strcmp(name, "--sender") == 0)
        o->sender = v;
    else if (strcmp(name, "--public-url") == 0)
        o->publicUrl = v;
    else if (strcmp(name, "--quota-mb") == 0 && ReadNumber(v, 1, 1 << 20, &n))
        o->quotaMb = n;
    else if (strcmp(name, "--threads") == 0 && ReadNumber(v, 1, 256, &n))
        o->http.threads = int(n);
    else if (strcmp(name, "--max-connections") == 0 && ReadNumber(v, 1, 100000, &n))
        o->http.maxConnections = int(n);
    else if (strcmp(name, "--timeout") == 0 && ReadNumber(v, 1, 3600, &n))
        o->http.idleSec = int(n);
    else
        return 0;
    return 1;
}

int ReadServerArgs(int argc, char** argv, ServerOpts* o, std::string* error) {
    for (int i = 1; i < argc; i++) {
        if (strncmp(argv[i], "--", 2) != 0) {
            o->words.push_back(argv[i]);
        } else if (!ReadOption(argc, argv, &i, o)) {
            *error = std::string("unknown or incomplete option ") + argv[i];
            return 0;
        }
    }
    if (o->dir.empty() && !DefaultDir(&o->dir)) {
        *error = "no HOME to keep the state under; give --dir";
        return 0;
    }
    if (o->sender.empty()) {
        char host[256] = "localhost";
        gethostname(host, sizeof host - 1);
        o->sender = std::string("quillet@") + host;
    }
    if (o->registerOnFirstUpload && !IsLoopbackAddr(o->http.addr)) {
        *error = "--register-on-first-upload is only allowed while listening on loopback";
        return 0;
    }
    return 1;
}
