// The picture browser's start-up fill: the photo tab's ten white placeholders, then the
// thumbnails of ten remembered 12-megapixel photos, beside ten plain in-memory libjpeg-turbo
// decodes of the same files in the same run. The figures that matter are the ratios printed at
// the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/appstate.h"
#include "bench/bench_util.h"
#include "browser/thumbs.h"

namespace {

constexpr int kW = 4000, kH = 3000;  // 12 megapixels
constexpr int kPhotos = kSlotCount;
std::string g_dir;
std::string g_paths[kPhotos];
std::vector<unsigned char> g_bytes[kPhotos];

// Ten different photos: each with grain of its own and its pattern moved a little.
void Setup() {
    g_dir = SetupAppFolders();
    for (int i = 0; i < kPhotos; i++) {
        const auto rgb = MakePhoto(kW, kH, 12345 + 7919 * i, 37 * i);
        g_paths[i] = g_dir + "/photo" + std::to_string(i) + ".jpg";
        WriteJpeg(rgb, kW, kH, g_paths[i]);
        g_bytes[i] = ReadWholeFile(g_paths[i]);
        for (int k = 0; k < i; k++)
            if (g_bytes[k] == g_bytes[i]) abort();
    }
}

// The photo tab's store as start-up makes it: room for 11, filled with ten white pictures.
ThumList* NewPhotoTab() {
    ThumList* list = CreateThumList(false, 11);
    g_app.imgLists[0] = list;
    g_app.TabFolder[0][0] = 0;
    g_app.refilling = false;
    if (!list || !LoadThumImgList(nullptr, 0) || list->count != kPhotos) {
        FreeThumList(list);
        g_app.imgLists[0] = nullptr;
        return nullptr;
    }
    return list;
}

void FreePhotoTab(ThumList* list) {
    FreeThumList(list);
    g_app.imgLists[0] = nullptr;
}

// Every thumbnail holds a photo: its centre is not the white of a placeholder (the test photos
// never have a white pixel).
bool AllThumbsMade(const ThumList* list) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    bool ok = list->count == kPhotos;
    for (int i = 0; ok && i < kPhotos; i++) {
        HGDIOBJ old = SelectObject(dc, list->pics[i]);
        ok = GetPixel(dc, kThumW / 2, kThumH / 2) != RGB(255, 255, 255);
        SelectObject(dc, old);
    }
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return ok;
}

void BM_PlainDecodeTen(benchmark::State& st) {
    std::vector<unsigned char> out(size_t(kW) * kH * 3);
    for (auto _ : st) {
        for (int i = 0; i < kPhotos; i++)
            if (!PlainDecode(g_bytes[i].data(), g_bytes[i].size(), out.data(), kW, kH)) {
                st.SkipWithError("plain decode failed");
                break;
            }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
}

void BM_StartupThumbsTen(benchmark::State& st) {
    for (auto _ : st) {
        ThumList* list = NewPhotoTab();
        if (!list) {
            st.SkipWithError("white fill failed");
            break;
        }
        for (int i = 0; i < kPhotos; i++)
            if (CreateImgList(nullptr, g_paths[i].c_str(), list, i) != 1) {
                st.SkipWithError("CreateImgList failed");
                break;
            }
        st.PauseTiming();
        if (!AllThumbsMade(list)) st.SkipWithError("a thumbnail was not made");
        FreePhotoTab(list);
        st.ResumeTiming();
    }
}

// One step of each, going round the ten files.
void BM_PlainDecodeOne(benchmark::State& st) {
    std::vector<unsigned char> out(size_t(kW) * kH * 3);
    int i = 0;
    for (auto _ : st) {
        if (!PlainDecode(g_bytes[i].data(), g_bytes[i].size(), out.data(), kW, kH))
            st.SkipWithError("plain decode failed");
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
        i = (i + 1) % kPhotos;
    }
}

void BM_CreateImgListOne(benchmark::State& st) {
    ThumList* list = NewPhotoTab();
    if (!list) st.SkipWithError("white fill failed");
    int i = 0;
    for (auto _ : st) {
        if (CreateImgList(nullptr, g_paths[i].c_str(), list, i) != 1)
            st.SkipWithError("CreateImgList failed");
        i = (i + 1) % kPhotos;
    }
    if (list && !AllThumbsMade(list)) st.SkipWithError("a thumbnail was not made");
    FreePhotoTab(list);
}

}  // namespace

// Fixed counts keep the run short; the median of the repetitions is what the ratios use.
BENCHMARK(BM_PlainDecodeTen)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(3);
BENCHMARK(BM_StartupThumbsTen)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_PlainDecodeOne)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3);
BENCHMARK(BM_CreateImgListOne)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Setup();
    RatioReporter rep;
    benchmark::RunSpecifiedBenchmarks(&rep);
    printf("\nRatios (same run, medians):\n");
    PrintRatio(rep, "start-up thumbnails / ten plain decodes", "BM_StartupThumbsTen",
               "BM_PlainDecodeTen", 2.5);
    PrintRatio(rep, "CreateImgList / one plain decode", "BM_CreateImgListOne", "BM_PlainDecodeOne",
               0);
    if (!RemoveTempDir(g_dir)) return 1;
    benchmark::Shutdown();
    return 0;
}
