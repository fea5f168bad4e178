#include <stdlib.h>
#include <sys/stat.h>

#include <cstring>

#include "app/appstate.h"
#include "app/folders.h"
#include "fuzz_dir.h"

int MakeFuzzAppFolder(const char* name) {
    const std::string dir = MakeFuzzDir(name);
    if (dir.empty()) return 0;
    for (const char* var : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
        const std::string sub = dir + "/" + var;
        if (mkdir(sub.c_str(), 0700) != 0) return 0;
        setenv(var, sub.c_str(), 1);
    }
    memset(&g_app, 0, sizeof g_app);
    return GetAppFolder() && CreateDir();
}
