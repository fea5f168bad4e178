// The command line: any text through the argument-text split, the hand-over reader and the
// picture-path splitter must stay inside the 260-byte buffers and never cut a path.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/appstate.h"
#include "app/startpic.h"
#include "browser/openpic.h"
#include "platform/kernel/kernel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), strnlen((const char*)data, size));
    memset(&g_app, 0, sizeof g_app);
    const char* args = GetCmdArgText(line.c_str());
    ReadCmdLine(line.c_str(), args);
    if (g_app.HandOver && g_app.StartPath) {
        // A path is taken whole, only its closing quote dropped.
        if (line.size() > 4 && strlen(g_app.StartPath) + 5 != line.size()) abort();
    }
    PicList list = {};
    const int n = SplitPicArgs(line.c_str(), list);
    if (n > 10) abort();
    for (int i = 0; i < kPicListLen; i++)
        if (strnlen(list[i], MAX_PATH) == MAX_PATH || (i >= n && list[i][0])) abort();
    return 0;
}
