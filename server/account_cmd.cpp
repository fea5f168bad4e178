// A password comes from standard input, never from the command line where other users can see
// it in the process list. On a terminal it is asked twice without echo.
#include "server/account_cmd.h"

#include <termios.h>
#include <unistd.h>

#include <cstring>
#include <ctime>

#include "server/accounts.h"
#include "server/upload_check.h"

static int Fail(const char* fmt, const char* what) {
    fprintf(stderr, "quillet-server: ");
    fprintf(stderr, fmt, what);
    fputc('\n', stderr);
    return 1;
}

// One line of `in` without its line end. Fails at the end of the input.
static int ReadLine(FILE* in, std::string* line) {
    char buf[256];
    if (!fgets(buf, sizeof buf, in)) return 0;
    *line = buf;
    while (!line->empty() && (line->back() == '\n' || line->back() == '\r')) line->pop_back();
    return 1;
}

// A line typed on a terminal without echo, after `prompt`.
static int ReadHidden(FILE* in, const char* prompt, std::string* line) {
    struct termios old, quiet;
    fputs(prompt, stderr);
    tcgetattr(fileno(in), &old);
    quiet = old;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    tcsetattr(fileno(in), TCSAFLUSH, &quiet);
    const int ok = ReadLine(in, line);
    tcsetattr(fileno(in), TCSAFLUSH, &old);
    fputc('\n', stderr);
    return ok;
}

// The new password, hashed. On a terminal it is typed twice; from a pipe one line is read.
static int ReadNewPass(FILE* in, std::string* hash) {
    std::string pass, again;
    const char* problem = nullptr;
    if (isatty(fileno(in))) {
        if (!ReadHidden(in, "Password: ", &pass) || !ReadHidden(in, "Again: ", &again))
            problem = "no password given";
        else if (pass != again)
            problem = "the two passwords differ";
    } else if (!ReadLine(in, &pass)) {
        problem = "no password on standard input";
    }
    if (!problem && !IsPasswordText(pass))
        problem = "a password is 6 to 20 letters, digits, '_' or '-'";
    if (!problem && !HashPass(pass, hash)) problem = "the password cannot be hashed";
    if (problem) Fail("%s", problem);
    return !problem;
}

static int AddAccountCmd(Store* st, const std::string& album, const std::string& mail, FILE* in) {
    if (!IsAlbumIdText(album))
        return Fail("an album ID is 1 to 10 letters and digits: %s", album.c_str());
    if (!IsMailAddress(mail)) return Fail("not a mail address: %s", mail.c_str());
    Account acct;
    if (st->ops->getAccount(st, album, &acct))
        return Fail("album %s exists already", album.c_str());
    acct.album = album;
    acct.mail = mail;
    acct.created = time(nullptr);
    if (!ReadNewPass(in, &acct.passHash)) return 1;
    if (!st->ops->addAccount(st, acct)) return Fail("album %s could not be added", album.c_str());
    return 0;
}

static int ListAccountsCmd(Store* st, FILE* out) {
    std::vector<Account> accts;
    if (!st->ops->listAccounts(st, &accts)) return 1;
    for (const Account& a : accts) {
        char when[32];
        struct tm tm;
        localtime_r(&a.created, &tm);
        strftime(when, sizeof when, "%Y-%m-%d %H:%M", &tm);
        fprintf(out, "%-10s  %s  %s\n", a.album.c_str(), when, a.mail.c_str());
    }
    return 0;
}

static int PasswdCmd(Store* st, const std::string& album, FILE* in) {
    Account acct;
    std::string hash;
    if (!st->ops->getAccount(st, album, &acct)) return Fail("no album %s", album.c_str());
    if (!ReadNewPass(in, &hash)) return 1;
    return st->ops->setPassHash(st, album, hash) ? 0 : 1;
}

static int RemoveCmd(Store* st, const std::string& album) {
    Account acct;
    if (!st->ops->getAccount(st, album, &acct)) return Fail("no album %s", album.c_str());
    return st->ops->removeAccount(st, album) ? 0 : 1;
}

int RunAccountCmd(const ServerOpts& o, Store* st, FILE* in, FILE* out) {
    const std::vector<std::string>& w = o.words;
    const std::string verb = w.size() > 1 ? w[1] : "";
    if (verb == "add" && w.size() == 4) return AddAccountCmd(st, w[2], w[3], in);
    if (verb == "list" && w.size() == 2) return ListAccountsCmd(st, out);
    if (verb == "passwd" && w.size() == 3) return PasswdCmd(st, w[2], in);
    if (verb == "remove" && w.size() == 3) return RemoveCmd(st, w[2]);
    fputs(kServerUsage, stderr);
    return 2;
}
