// quillet-export's program file: no window system, the command line, the run.
#include <cstdio>
#include <new>

#include "app/export.h"
#include "platform/user/window.h"

int main(int argc, char** argv) {
    // Nothing here may need a display: message boxes write to stderr instead.
    PlatInitNoApp();
    ExportArgs args;
    if (!ParseExportArgs(argc, argv, &args)) return kExportUsage;
    if (args.help) {
        PrintExportHelp();
        return kExportDone;
    }
    try {
        return RunExport(args) ? kExportDone : kExportFailed;
    } catch (const std::bad_alloc&) {
        // What no part of the run could allocate ends it with the reason, not with an abort.
        fputs("quillet-export: メモリが足りません\n", stderr);
        return kExportFailed;
    }
}
