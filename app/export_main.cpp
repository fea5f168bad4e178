// quillet-export's program file: no window system, the command line, the run.
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
    return RunExport(args) ? kExportDone : kExportFailed;
}
