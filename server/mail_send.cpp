// Handing a built mail on: SMTP through libcurl, or a Maildir delivery (tmp/, then new/).
#include "server/mail_send.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

int ReadSmtpAuthFile(const std::string& path, MailRelay* relay, std::string* error) {
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        *error = "cannot read the SMTP auth file " + path + ": " + strerror(errno);
        return 0;
    }
    std::string user, pass, rest;
    std::getline(f, user);
    std::getline(f, pass);
    std::getline(f, rest, '\0');
    // A file saved with CR LF line ends still holds the same two lines.
    if (!user.empty() && user.back() == '\r') user.pop_back();
    if (!pass.empty() && pass.back() == '\r') pass.pop_back();
    if (user.empty() || pass.empty() || rest.find_first_not_of("\r\n") != std::string::npos) {
        *error = "the SMTP auth file " + path + " must hold the user name and the password " +
                 "on two lines";
        return 0;
    }
    relay->user = user;
    relay->pass = pass;
    return 1;
}

// The mail text as libcurl reads it for the DATA command.
struct MailReader {
    const std::string* text;
    size_t at = 0;
};

static size_t ReadMailText(char* buf, size_t size, size_t count, void* p) {
    MailReader* r = (MailReader*)p;
    const size_t n = std::min(size * count, r->text->size() - r->at);
    memcpy(buf, r->text->data() + r->at, n);
    r->at += n;
    return n;
}

// The relay's refusal: the lines of its first reply of code 4xx or 5xx. libcurl hands every reply
// line to the header callback, while its own error text carries at most the code, and the reply
// it last saw may be that to the QUIT after the refusal.
struct SmtpRefusal {
    std::string text;
    int whole = 0;  // the reply's last line ("NNN text" rather than "NNN-text") is in
};

static size_t KeepRefusal(char* buf, size_t size, size_t count, void* p) {
    SmtpRefusal* r = (SmtpRefusal*)p;
    std::string line(buf, size * count);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (!r->whole && line.size() >= 4 && (line[0] == '4' || line[0] == '5')) {
        r->text += (r->text.empty() ? "" : " ") + line;
        r->whole = line[3] != '-';
    }
    return size * count;
}

// Whether an envelope address can go into an SMTP command: a line end in it would end the
// command and start another.
static int IsEnvAddr(const std::string& addr) {
    for (unsigned char c : addr)
        if (c < 0x20 || c == 0x7f || c == '<' || c == '>') return 0;
    return !addr.empty();
}

// The reason of a failed transfer: curl's, and the relay's refusal when it answered one.
static std::string MakeSmtpError(CURLcode rc, const char* errBuf, const SmtpRefusal& refusal) {
    const std::string e = *errBuf ? errBuf : curl_easy_strerror(rc);
    return refusal.text.empty() ? e : e + "; the relay answered: " + refusal.text;
}

int SendSmtpMail(const MailRelay& relay, const std::string& from, const std::string& to,
                 const std::string& text, std::string* error) {
    if (relay.url.empty()) {
        *error = "no SMTP relay is set";
        return 0;
    }
    if (!IsEnvAddr(from) || !IsEnvAddr(to)) {
        *error = "an envelope address is empty or holds a line end or angle bracket";
        return 0;
    }
    CURL* curl = curl_easy_init();
    if (!curl) {
        *error = "curl_easy_init failed";
        return 0;
    }
    const std::string mailFrom = "<" + from + ">";
    curl_slist* rcpt = curl_slist_append(nullptr, ("<" + to + ">").c_str());
    MailReader reader{&text};
    SmtpRefusal refusal;
    char errBuf[CURL_ERROR_SIZE] = "";
    curl_easy_setopt(curl, CURLOPT_URL, relay.url.c_str());
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, mailFrom.c_str());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, rcpt);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, ReadMailText);
    curl_easy_setopt(curl, CURLOPT_READDATA, &reader);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, KeepRefusal);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &refusal);
    curl_easy_setopt(curl, CURLOPT_USE_SSL, (long)CURLUSESSL_TRY);
    if (!relay.user.empty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, relay.user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, relay.pass.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, relay.timeoutSec);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, relay.timeoutSec);
    // Runs in a worker thread: no SIGALRM for name look-up timeouts.
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errBuf);
    const CURLcode rc = curl_easy_perform(curl);
    if (rc != CURLE_OK) *error = MakeSmtpError(rc, errBuf, refusal);
    curl_slist_free_all(rcpt);
    curl_easy_cleanup(curl);
    return rc == CURLE_OK;
}

// "<dir>/<name>" made as a folder with mode 0700 unless it is there already.
static int MakeMailDir(const std::string& dir, std::string* error) {
    if (mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST) return 1;
    *error = "cannot create " + dir + ": " + strerror(errno);
    return 0;
}

// A file name no other delivery uses: the time, this process and a counter of its deliveries
// tell deliveries on one host apart, the host name those of hosts sharing the folder.
static std::string MakeMaildirName() {
    static std::atomic<unsigned long> counter{0};
    char host[256] = "";
    gethostname(host, sizeof host - 1);
    std::string safeHost;
    for (const char* c = host; *c; c++) {
        if (*c == '/')
            safeHost += "\\057";
        else if (*c == ':')
            safeHost += "\\072";
        else
            safeHost += *c;
    }
    std::ostringstream s;
    s << (long long)time(nullptr) << "." << getpid() << "_" << counter++ << "." << safeHost;
    return s.str();
}

// Writes all of `text` to a new file `path` (mode 0600) and flushes it to the disk; removes the
// file again when that fails.
static int WriteSyncedFile(const std::string& path, const std::string& text, std::string* error) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        *error = "cannot create " + path + ": " + strerror(errno);
        return 0;
    }
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += (size_t)n;
    }
    const int ok = done == text.size() && fsync(fd) == 0;
    if (!ok) *error = "cannot write " + path + ": " + strerror(errno);
    close(fd);
    if (!ok) unlink(path.c_str());
    return ok;
}

// Flushes a folder, so that a name linked into it survives a crash.
static int SyncDir(const std::string& dir, std::string* error) {
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int ok = fd >= 0 && fsync(fd) == 0;
    if (!ok) *error = "cannot flush " + dir + ": " + strerror(errno);
    if (fd >= 0) close(fd);
    return ok;
}

int SaveMaildirMail(const std::string& maildir, const std::string& text, std::string* error) {
    for (const char* sub : {"", "/tmp", "/new", "/cur"})
        if (!MakeMailDir(maildir + sub, error)) return 0;
    const std::string name = MakeMaildirName();
    const std::string tmpPath = maildir + "/tmp/" + name, newPath = maildir + "/new/" + name;
    if (!WriteSyncedFile(tmpPath, text, error)) return 0;
    // link() rather than rename(): it fails instead of replacing a mail of the same name.
    const int linked = link(tmpPath.c_str(), newPath.c_str()) == 0;
    if (!linked) *error = "cannot link " + tmpPath + " to " + newPath + ": " + strerror(errno);
    unlink(tmpPath.c_str());
    return linked && SyncDir(maildir + "/new", error);
}
