// Helpers shared by the benchmark programs: the test photos, the program's folders in a
// temporary place, the plain decode every ratio is measured against, and the ratio printout.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

// Photo-like texture: soft gradients, a few hard edges and grain, as w x h 24-bit top-down RGB.
// Another seed gives other grain, a shift moves the pattern by that many pixels.
std::vector<unsigned char> MakePhoto(int w, int h, uint32_t seed = 12345, int shift = 0);

// Writes w x h 24-bit top-down RGB as a baseline JPEG file.
void WriteJpeg(const std::vector<unsigned char>& rgb, int w, int h, const std::string& path,
               int quality = 90);

// The whole file; aborts when it cannot be read, as no figure would mean anything then.
std::vector<unsigned char> ReadWholeFile(const std::string& path);

// A fresh temporary folder made the user's data folder, and the program's folders set up as
// the built program finds them (its folder beside the codec library, its working folder in the
// temporary one). Returns the temporary folder.
std::string SetupAppFolders();
// Removes a folder made by SetupAppFolders with everything in it; 0 when that fails.
int RemoveTempDir(const std::string& dir);

// The reference: a plain libjpeg-turbo decode of a w x h JPEG in memory into 24-bit B, G, R
// rows of `out` (w * 3 bytes apart). 0 when the picture is not w x h.
int PlainDecode(const unsigned char* jpg, size_t size, unsigned char* out, int w, int h);

// Keeps each benchmark's real time per iteration for the ratios, by function name: the median
// of its repetitions when it has them, else its one run. Colours only on a terminal.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter();
    std::map<std::string, double> ms;
    void ReportRuns(const std::vector<Run>& runs) override;

private:
    std::set<std::string> fromMedian_;
};

// Prints a / b; with a target (> 0) also whether the ratio keeps to it.
void PrintRatio(RatioReporter& r, const char* what, const char* a, const char* b, double target);
