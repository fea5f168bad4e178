// Opening and zooming a 24-megapixel photo, each step beside a reference measured in the same
// run: a memcpy of the same bytes and a plain in-memory libjpeg-turbo decode of the same file.
// The figures that matter are the ratios printed at the end.
#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/appstate.h"
#include "app/folders.h"
#include "image/brightness.h"
#include "image/readpic.h"
#include "image/workbmp.h"
#include "platform/kernel.h"

namespace {

constexpr int kW = 6000, kH = 4000;  // 24 megapixels
std::string g_dir, g_jpg, g_bmp;
std::vector<unsigned char> g_jpgBytes;

// Photo-like texture: soft gradients, a few hard edges and grain, as 24-bit top-down RGB.
std::vector<unsigned char> MakePhoto() {
    std::vector<unsigned char> rgb(size_t(kW) * kH * 3);
    uint32_t seed = 12345;
    for (int y = 0; y < kH; y++) {
        unsigned char* row = rgb.data() + size_t(y) * kW * 3;
        for (int x = 0; x < kW; x++) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = int(seed >> 27) - 16;
            const double a = std::sin(x / 310.0) * std::cos(y / 190.0);
            const int edge = ((x / 700 + y / 500) & 1) ? 40 : 0;
            row[3 * x] = (unsigned char)std::clamp(int(120 + 90 * a) + edge + grain, 0, 255);
            row[3 * x + 1] =
                (unsigned char)std::clamp(int(110 + 70 * std::cos(y / 260.0)) + grain, 0, 255);
            row[3 * x + 2] = (unsigned char)std::clamp(int(100 - 80 * a) - edge + grain, 0, 255);
        }
    }
    return rgb;
}

void WriteJpeg(const std::vector<unsigned char>& rgb, const std::string& path) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    FILE* f = fopen(path.c_str(), "wb");
    jpeg_stdio_dest(&c, f);
    c.image_width = kW;
    c.image_height = kH;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = (JSAMPROW)(rgb.data() + size_t(c.next_scanline) * kW * 3);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    fclose(f);
}

void WriteBmp(const std::vector<unsigned char>& rgb, const std::string& path) {
    const uint32_t stride = ((kW * 3 + 3) / 4) * 4, bits = stride * kH;
    unsigned char h[54] = {'B', 'M'};
    auto put32 = [&](int at, uint32_t v) { memcpy(h + at, &v, 4); };
    put32(2, 54 + bits);
    put32(10, 54);
    put32(14, 40);
    put32(18, kW);
    put32(22, kH);
    h[26] = 1;
    h[28] = 24;
    put32(34, bits);
    std::vector<unsigned char> px(bits);
    for (int y = 0; y < kH; y++) {
        const unsigned char* s = rgb.data() + size_t(kH - 1 - y) * kW * 3;
        unsigned char* d = px.data() + size_t(y) * stride;
        for (int x = 0; x < kW; x++) {
            d[3 * x] = s[3 * x + 2];
            d[3 * x + 1] = s[3 * x + 1];
            d[3 * x + 2] = s[3 * x];
        }
    }
    FILE* f = fopen(path.c_str(), "wb");
    fwrite(h, 1, 54, f);
    fwrite(px.data(), 1, px.size(), f);
    fclose(f);
}

void Setup() {
    char tmpl[] = "/tmp/quillet-bench-XXXXXX";
    g_dir = mkdtemp(tmpl);
    setenv("XDG_DATA_HOME", g_dir.c_str(), 1);
    PlatSetModulePath(QUILLET_OUT_DIR "/quillet");
    GetAppPath();
    GetAppFolder();
    CreateDir();
    const auto rgb = MakePhoto();
    g_jpg = g_dir + "/photo.jpg";
    g_bmp = g_dir + "/photo.bmp";
    WriteJpeg(rgb, g_jpg);
    WriteBmp(rgb, g_bmp);
    FILE* f = fopen(g_jpg.c_str(), "rb");
    fseek(f, 0, SEEK_END);
    g_jpgBytes.resize(ftell(f));
    fseek(f, 0, SEEK_SET);
    if (fread(g_jpgBytes.data(), 1, g_jpgBytes.size(), f) != g_jpgBytes.size()) abort();
    fclose(f);
}

void Memcpy(benchmark::State& st, size_t bytes) {
    std::vector<unsigned char> a(bytes, 1), b(bytes, 2);
    for (auto _ : st) {
        memcpy(b.data(), a.data(), bytes);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
}
void BM_Memcpy24Bit(benchmark::State& st) {
    Memcpy(st, size_t(kW) * kH * 3);
}
void BM_Memcpy32Bit(benchmark::State& st) {
    Memcpy(st, size_t(kW) * kH * 4);
}

void BM_PlainDecode(benchmark::State& st) {
    std::vector<unsigned char> out(size_t(kW) * kH * 3);
    for (auto _ : st) {
        jpeg_decompress_struct d;
        jpeg_error_mgr err;
        d.err = jpeg_std_error(&err);
        jpeg_create_decompress(&d);
        jpeg_mem_src(&d, g_jpgBytes.data(), g_jpgBytes.size());
        jpeg_read_header(&d, TRUE);
        d.out_color_space = JCS_EXT_BGR;
        jpeg_start_decompress(&d);
        while (d.output_scanline < d.output_height) {
            JSAMPROW row = out.data() + size_t(d.output_scanline) * kW * 3;
            jpeg_read_scanlines(&d, &row, 1);
        }
        jpeg_finish_decompress(&d);
        jpeg_destroy_decompress(&d);
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_ReadBitmap(benchmark::State& st) {
    for (auto _ : st) {
        SIZE size;
        HBITMAP b = ReadBitmap(nullptr, g_bmp.c_str(), &size);
        if (!b) st.SkipWithError("ReadBitmap failed");
        DeleteObject(b);
    }
}

void BM_GetJpegFile(benchmark::State& st) {
    HMODULE lib = LoadLibraryA("HlvJpg.DLL");
    typedef int (*GetFn)(const char*, const char*);
    GetFn get = lib ? (GetFn)GetProcAddress(lib, "GetJpegFile") : nullptr;
    const std::string out = g_dir + "/out.bmp";
    for (auto _ : st) {
        // As the program does: the conversion file is removed before each conversion.
        st.PauseTiming();
        unlink(out.c_str());
        st.ResumeTiming();
        if (!get || !get(g_jpg.c_str(), out.c_str())) st.SkipWithError("GetJpegFile failed");
    }
    if (lib) FreeLibrary(lib);
}

void BM_InitWorkBmp(benchmark::State& st) {
    for (auto _ : st)
        if (!InitWorkBmp(g_jpg.c_str())) st.SkipWithError("InitWorkBmp failed");
    ClearWorkBmp();
}

void BM_PowWorkBmpIn(benchmark::State& st) {
    if (!InitWorkBmp(g_jpg.c_str())) st.SkipWithError("InitWorkBmp failed");
    for (auto _ : st) {
        st.PauseTiming();
        WorkBmp.zoom = WorkBmp.fitZoom;
        st.ResumeTiming();
        if (!PowWorkBmp(+1)) st.SkipWithError("PowWorkBmp failed");
    }
    ClearWorkBmp();
}

// Alternating settings, never 0 (a plain copy): every pass maps the whole picture and rebuilds
// the view from it.
void BM_BrtWorkBmp(benchmark::State& st) {
    if (!InitWorkBmp(g_bmp.c_str())) st.SkipWithError("InitWorkBmp failed");
    float b = 0.4f;
    for (auto _ : st) {
        if (!BrtWorkBmp(b)) st.SkipWithError("BrtWorkBmp failed");
        b = -b;
    }
    ClearWorkBmp();
}

void BM_StretchHalftone(benchmark::State& st) {
    HDC screen = GetDC(nullptr);
    HDC src = CreateCompatibleDC(screen), dst = CreateCompatibleDC(screen);
    SIZE size;
    HBITMAP sb = ReadBitmap(nullptr, g_bmp.c_str(), &size);
    const int dw = kW / 5, dh = kH / 5 + 33;  // about one megapixel
    HBITMAP db = CreateCompatibleBitmap(screen, dw, dh);
    HGDIOBJ os = SelectObject(src, sb), od = SelectObject(dst, db);
    SetStretchBltMode(dst, HALFTONE);
    for (auto _ : st) StretchBlt(dst, 0, 0, dw, dh, src, 0, 0, kW, kH, SRCCOPY);
    SelectObject(src, os);
    SelectObject(dst, od);
    DeleteObject(sb);
    DeleteObject(db);
    DeleteDC(src);
    DeleteDC(dst);
    ReleaseDC(nullptr, screen);
}

// Keeps each benchmark's mean real time for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> ms;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (!r.error_occurred) ms[r.benchmark_name()] = r.GetAdjustedRealTime();
    }
};

// Prints a / b; with a target (> 0) also whether the ratio keeps to it.
void PrintRatio(RatioReporter& r, const char* what, const char* a, const char* b, double target) {
    if (!r.ms.count(a) || !r.ms.count(b)) return;
    const double ratio = r.ms[a] / r.ms[b];
    printf("%-40s %6.2f x", what, ratio);
    if (target > 0) printf("  (target <= %.0f x)%s", target, ratio <= target ? "" : "  OVER");
    printf("\n");
}

}  // namespace

BENCHMARK(BM_Memcpy24Bit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memcpy32Bit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBitmap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetJpegFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InitWorkBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PowWorkBmpIn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BrtWorkBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchHalftone)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Setup();
    RatioReporter rep;
    benchmark::RunSpecifiedBenchmarks(&rep);
    printf("\nRatios (same run):\n");
    PrintRatio(rep, "InitWorkBmp(JPEG) / plain decode", "BM_InitWorkBmp", "BM_PlainDecode", 3);
    PrintRatio(rep, "GetJpegFile / plain decode", "BM_GetJpegFile", "BM_PlainDecode", 0);
    PrintRatio(rep, "PowWorkBmp(+1) / memcpy 32-bit", "BM_PowWorkBmpIn", "BM_Memcpy32Bit", 4);
    PrintRatio(rep, "BrtWorkBmp + view / memcpy 32-bit", "BM_BrtWorkBmp", "BM_Memcpy32Bit", 6);
    PrintRatio(rep, "ReadBitmap / memcpy 24-bit", "BM_ReadBitmap", "BM_Memcpy24Bit", 6);
    PrintRatio(rep, "StretchBlt HALFTONE / memcpy 32-bit", "BM_StretchHalftone", "BM_Memcpy32Bit",
               0);
    std::string rm = "rm -rf '" + g_dir + "'";
    if (system(rm.c_str()) != 0) return 1;
    benchmark::Shutdown();
    return 0;
}
