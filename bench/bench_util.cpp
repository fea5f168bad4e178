// Helpers shared by the benchmark programs.
#include "bench/bench_util.h"

#include <jpeglib.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/folders.h"
#include "platform/kernel/kernel.h"

std::vector<unsigned char> MakePhoto(int w, int h, uint32_t seed, int shift) {
    std::vector<unsigned char> rgb(size_t(w) * h * 3);
    for (int y = 0; y < h; y++) {
        unsigned char* row = rgb.data() + size_t(y) * w * 3;
        const int py = y + shift;
        for (int x = 0; x < w; x++) {
            const int px = x + shift;
            seed = seed * 1664525u + 1013904223u;
            const int grain = int(seed >> 27) - 16;
            const double a = std::sin(px / 310.0) * std::cos(py / 190.0);
            const int edge = ((px / 700 + py / 500) & 1) ? 40 : 0;
            row[3 * x] = (unsigned char)std::clamp(int(120 + 90 * a) + edge + grain, 0, 255);
            row[3 * x + 1] =
                (unsigned char)std::clamp(int(110 + 70 * std::cos(py / 260.0)) + grain, 0, 255);
            row[3 * x + 2] = (unsigned char)std::clamp(int(100 - 80 * a) - edge + grain, 0, 255);
        }
    }
    return rgb;
}

void WriteJpeg(const std::vector<unsigned char>& rgb, int w, int h, const std::string& path,
               int quality) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) abort();
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, f);
    c.image_width = w;
    c.image_height = h;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = (JSAMPROW)(rgb.data() + size_t(c.next_scanline) * w * 3);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    fclose(f);
}

std::vector<unsigned char> ReadWholeFile(const std::string& path) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) abort();
    fseek(f, 0, SEEK_END);
    std::vector<unsigned char> bytes(ftell(f));
    fseek(f, 0, SEEK_SET);
    if (fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) abort();
    fclose(f);
    return bytes;
}

std::string SetupAppFolders() {
    char tmpl[] = "/tmp/quillet-bench-XXXXXX";
    if (!mkdtemp(tmpl)) abort();
    setenv("XDG_DATA_HOME", tmpl, 1);
    PlatSetModulePath(QUILLET_OUT_DIR "/quillet");
    GetAppPath();
    GetAppFolder();
    CreateDir();
    return tmpl;
}

int RemoveTempDir(const std::string& dir) {
    const std::string rm = "rm -rf '" + dir + "'";
    return system(rm.c_str()) == 0;
}

int PlainDecode(const unsigned char* jpg, size_t size, unsigned char* out, int w, int h) {
    jpeg_decompress_struct d;
    jpeg_error_mgr err;
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, jpg, size);
    jpeg_read_header(&d, TRUE);
    if (int(d.image_width) != w || int(d.image_height) != h) {
        jpeg_destroy_decompress(&d);
        return 0;
    }
    d.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&d);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = out + size_t(d.output_scanline) * w * 3;
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return 1;
}

RatioReporter::RatioReporter()
    : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
        if (r.error_occurred) continue;
        const std::string& name = r.run_name.function_name;
        if (r.run_type == Run::RT_Aggregate) {
            if (r.aggregate_name != "median") continue;
            fromMedian_.insert(name);
        } else if (fromMedian_.count(name)) {
            continue;
        }
        ms[name] = r.GetAdjustedRealTime();
    }
}

void PrintRatio(RatioReporter& r, const char* what, const char* a, const char* b, double target) {
    if (!r.ms.count(a) || !r.ms.count(b)) return;
    const double ratio = r.ms[a] / r.ms[b];
    printf("%-40s %6.2f x", what, ratio);
    if (target > 0) printf("  (target <= %g x)%s", target, ratio <= target ? "" : "  OVER");
    printf("\n");
}
