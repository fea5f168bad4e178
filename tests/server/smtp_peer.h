// tests/server/smtp_peer.py, an SMTP peer on a free loopback port, for the life of the record;
// and what it recorded of each message it accepted.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

#include "support/testutil.h"

// Whether /usr/bin/python3 can run the peer (it needs aiosmtpd); asked once.
int CanRunSmtpPeer();

// Tests that talk to the peer: skipped, with the reason, where it cannot run.
struct SmtpPeerTest : testing::Test {
    void SetUp() override {
        if (!CanRunSmtpPeer())
            GTEST_SKIP() << "/usr/bin/python3 cannot import aiosmtpd (Debian: python3-aiosmtpd)";
    }
};

struct SmtpPeer {
    TempDir dir;
    std::string out;  // the messages: <n>.eml, <n>.json, <n>.jpg, refused.log
    int port = 0;     // 0 when the peer did not start; `why` says why
    std::string why;
    pid_t pid = -1;
    // `args`: more of the script's options, as "--refuse", "1".
    explicit SmtpPeer(const std::vector<std::string>& args = {});
    ~SmtpPeer();
    std::string Url() const { return "smtp://127.0.0.1:" + std::to_string(port); }
};

// The n-th (from 1) accepted message's .json as field -> text: a list is its items joined by
// ",", a null is left out. Empty when the file is missing or not the peer's flat JSON.
std::map<std::string, std::string> ReadPeerJson(const SmtpPeer& peer, int n);
