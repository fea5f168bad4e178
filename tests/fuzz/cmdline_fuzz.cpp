// The command line: any text through the argument-text split, the hand-over reader and the
// picture-path splitter must stay inside the 260-byte buffers and never cut a hand-over path.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/appstate.h"
#include "app/startpic.h"
#include "browser/openpic.h"
#include "platform/kernel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), strnlen((const char*)data, size));
    memset(&g_app, 0, sizeof g_app);
    const char* args = GetCmdArgText(line.c_str());
    ReadCmdLine(line.c_str(), args);
    if (g_app.HandOver && g_app.StartPath) {
        // A path is taken whole, only its closing quote dropped.
        if (line.size() > 4 && strlen(g_app.StartPath) + 5 != line.size()) abort();
    }
    ParsePicArgs(nullptr, 0, line.c_str());
    for (int i = 0; i < kSlotCount; i++)
        if (strnlen(g_app.TabSlots[0][i], MAX_PATH) == MAX_PATH) abort();
    return 0;
}
