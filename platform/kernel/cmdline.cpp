// The command line: the program's arguments as one text, and the argument text after the
// program name.
#include "platform/kernel/cmdline.h"

#include <cstring>
#include <string>

#include "platform/kernel/kernel.h"

namespace {

std::string g_line;      // made from the arguments
std::string g_testLine;  // set by PlatSetCommandLine
bool g_testSet;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

// An argument with a blank in it is quoted so that it reads back as one; so is an empty one,
// which would vanish otherwise.
void SetCmdLineArgs(int argc, char** argv) {
    g_line.clear();
    for (int i = 0; i < argc && argv[i]; ++i) {
        const std::string arg = argv[i];
        if (i > 0) g_line += ' ';
        if (arg.empty() || arg.find_first_of(" \t") != std::string::npos) {
            g_line += '"' + arg + '"';
        } else {
            g_line += arg;
        }
    }
}

LPSTR GetCommandLineA() {
    return g_testSet ? g_testLine.data() : g_line.data();
}

void PlatSetCommandLine(const char* line) {
    g_testSet = line != nullptr;
    g_testLine = line ? line : "";
}

LPCSTR GetCmdArgText(LPCSTR line) {
    if (!line) return "";
    const char* p = line;
    if (*p == '"') {
        const char* close = strchr(p + 1, '"');
        p = close ? close + 1 : p + strlen(p);
    } else {
        while (*p && !IsBlank(*p)) ++p;
    }
    while (IsBlank(*p)) ++p;
    return p;
}
