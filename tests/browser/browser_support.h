// The picture browser's tests: a tab with a folder list of its own over folders the test makes.
#pragma once

#include <string>

#include "support/testutil.h"

// The application state of a browser whose message tab lists the sub-folders of `folder` (a
// temporary one unless given): a parent window, the tab's folder list and the three stores.
struct BrowserEnv {
    AppEnv env;
    MsgRecorder rec;
    TempDir folder;
    HWND parent;
    explicit BrowserEnv(const std::string& tabFolder = "");
    ~BrowserEnv();
    // Makes the sub-folder `sub` of the temporary tab folder with `count` pictures 00.bmp,
    // 01.bmp, ...: 4 x 3, green (0x20A040), picture i with a pixel of colour (i + 1) << 16 at (1,
    // 1).
    std::string PutSub(const std::string& sub, int count);
};
