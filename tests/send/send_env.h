// What every upload test starts from: an account in the settings, a picture to send, and the
// server at `host`, reached directly (no proxy from the environment).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/appstate.h"
#include "app/folders.h"
#include "app/reginfo.h"
#include "support/testutil.h"

inline void PutUploadEnv(const std::string& host) {
    for (const char* v : {"http_proxy", "all_proxy", "ALL_PROXY"}) unsetenv(v);
    ASSERT_EQ(SetRegValue("USERID", "me@example.jp"), 1);
    ASSERT_EQ(SetRegValue("PASSWORD", "pw"), 1);
    ASSERT_EQ(SetRegValue("ALBUMID", "album1"), 1);
    snprintf(g_app.ServerHost, MAX_PATH, "%s", host.c_str());
    ASSERT_TRUE(WriteFileBytes(std::string(g_app.AppFolder) + kTempJpgName, {0xFF, 0xD8, 0}));
}
