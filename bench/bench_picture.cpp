// Opening and zooming a 24-megapixel photo, each step beside a reference measured in the same
// run: a memcpy of the same bytes and a plain in-memory libjpeg-turbo decode of the same file.
// The figures that matter are the ratios printed at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "image/brightness.h"
#include "image/readpic.h"
#include "image/workbmp.h"
#include "platform/kernel/kernel.h"
#include "platform/user/window.h"

namespace {

constexpr int kW = 6000, kH = 4000;  // 24 megapixels
std::string g_dir, g_jpg, g_bmp;
std::vector<unsigned char> g_jpgBytes;

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
    g_dir = SetupAppFolders();
    const auto rgb = MakePhoto(kW, kH);
    g_jpg = g_dir + "/photo.jpg";
    g_bmp = g_dir + "/photo.bmp";
    WriteJpeg(rgb, kW, kH, g_jpg);
    WriteBmp(rgb, g_bmp);
    g_jpgBytes = ReadWholeFile(g_jpg);
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
        if (!PlainDecode(g_jpgBytes.data(), g_jpgBytes.size(), out.data(), kW, kH))
            st.SkipWithError("plain decode failed");
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
    if (!RemoveTempDir(g_dir)) return 1;
    benchmark::Shutdown();
    return 0;
}
