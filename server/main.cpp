// quillet-server [--port N] [--dir DIR]: a local stand-in for the mail server, so that the
// program can send for real on one machine. It stores the pictures instead of mailing them.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "server/server_loop.h"

static const char kUsage[] =
    "Usage: quillet-server [--port N] [--dir DIR]\n"
    "A local upload server for Quillet: set the program's server to localhost:N.\n"
    "Uploads are stored under DIR/uploads/<album>/<id>/ (picture.jpg, info.txt); no mail is sent.\n"
    "  --port N   the TCP port (default 8080; 0 picks a free one)\n"
    "  --dir DIR  where uploads are kept (default $XDG_DATA_HOME/Halvorne/QuilletServer,\n"
    "             or ~/.local/share/Halvorne/QuilletServer)\n"
    "  --help     this text\n";

// The default storage folder from the environment. Relative $XDG_DATA_HOME values are invalid
// and passed over. Fails when there is no home either.
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

// Reads the command line into *port and *dir. Returns 0 for an unknown or incomplete option.
static int ReadArgs(int argc, char** argv, int* port, std::string* dir) {
    for (int i = 1; i < argc; i++) {
        const bool hasValue = i + 1 < argc;
        if (strcmp(argv[i], "--port") == 0 && hasValue) {
            char* end;
            const long p = strtol(argv[++i], &end, 10);
            if (*end || p < 0 || p > 65535) return 0;
            *port = int(p);
        } else if (strcmp(argv[i], "--dir") == 0 && hasValue) {
            *dir = argv[++i];
        } else {
            return 0;
        }
    }
    return 1;
}

int main(int argc, char** argv) {
    if (argc == 2 && strcmp(argv[1], "--help") == 0) {
        fputs(kUsage, stdout);
        return 0;
    }
    int port = 8080;
    std::string dir;
    if (!ReadArgs(argc, argv, &port, &dir)) {
        fputs(kUsage, stderr);
        return 2;
    }
    if (dir.empty() && !DefaultDir(&dir)) {
        fputs("quillet-server: no HOME to keep uploads under; give --dir\n", stderr);
        return 1;
    }
    int fd, bound;
    if (!OpenListener(port, &fd, &bound)) {
        fprintf(stderr, "quillet-server: cannot listen on port %d\n", port);
        return 1;
    }
    // The first line tells a caller that asked for port 0 which port it got.
    printf("quillet-server: listening on port %d, storing under %s\n", bound, dir.c_str());
    fflush(stdout);
    RunServer(fd, dir);
    close(fd);
    return 0;
}
