// What every upload and dialog test of sending starts from: an account in the settings, a picture
// to send, and the server at `host`, reached directly (no proxy from the environment).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/appstate.h"
#include "app/folders.h"
#include "app/reginfo.h"
#include "support/testutil.h"
#include "ui/appmsg.h"

inline void PutUploadEnv(const std::string& host) {
    for (const char* v : {"http_proxy", "all_proxy", "ALL_PROXY"}) unsetenv(v);
    ASSERT_EQ(SetRegValue("USERID", "me@example.jp"), 1);
    ASSERT_EQ(SetRegValue("PASSWORD", "pw"), 1);
    ASSERT_EQ(SetRegValue("ALBUMID", "album1"), 1);
    snprintf(g_app.ServerHost, MAX_PATH, "%s", host.c_str());
    ASSERT_TRUE(WriteFileBytes(std::string(g_app.AppFolder) + kTempJpgName, {0xFF, 0xD8, 0}));
}

// A click on bitmap button `id` of dlg.
inline void Press(HWND dlg, int id) {
    SendMessageA(dlg, WM_APP_BUTTON, WPARAM(id), 0);
}

// Types into a field as a person does: keys, and an input method's commit for Japanese.
inline void Type(HWND dlg, int id, const char* keys, const char* ime = nullptr) {
    SetFocus(GetDlgItem(dlg, id));
    PlatTypeText(keys);
    if (ime) PlatCommitText(ime);
}
