// quillet-export: a photo made into the phone picture from the command line, by the work image's
// own commands, without a window.
#pragma once

#include <string>
#include <vector>

// Exit statuses.
constexpr int kExportDone = 0;
constexpr int kExportFailed = 1;
constexpr int kExportUsage = 2;

struct ExportStmp {
    std::string path;
    bool placed = false;  // x, y given: the top-left corner on the canvas; else centred
    int x = 0, y = 0;
};

// What the command line asks for.
struct ExportArgs {
    std::string photo, out;
    std::vector<int> zooms;  // +1 a step in, -1 a step out, in the order given
    int turns = 0;           // quarter turns anticlockwise
    bool mirror = false;
    int knob = 0;  // brightness knob position 1..119; 0 when not given
    bool panned = false;
    int panX = 0, panY = 0;  // the drag of the photo in canvas pixels
    std::vector<ExportStmp> stamps;
    bool help = false;
};

// Reads argv[1..argc-1]: options anywhere, "--" ending them, then exactly PHOTO and OUT. 1 when
// usable (with --help nothing else is looked at); 0 on a usage error, told on stderr with the
// short usage.
int ParseExportArgs(int argc, char** argv, ExportArgs* args);
// The usage and the options, on stdout.
void PrintExportHelp();

// Opens the photo, applies the steps in their fixed order (zoom steps, turns, mirror,
// brightness, drag, stamps) and saves the canvas by OUT's extension, with the working files in a
// private temporary folder removed at the end. 1 when OUT was written; 0 after the failure was
// told on stderr.
int RunExport(const ExportArgs& args);
