// Writes a photo-like JPEG for the benchmark scripts: make_photo OUT.jpg [WIDTH HEIGHT].
#include <cstdio>
#include <cstdlib>

#include "bench/bench_util.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        fprintf(stderr, "usage: %s OUT.jpg [WIDTH HEIGHT]\n", argv[0]);
        return 2;
    }
    const int w = argc == 4 ? atoi(argv[2]) : 6000, h = argc == 4 ? atoi(argv[3]) : 4000;
    if (w <= 0 || h <= 0) {
        fprintf(stderr, "%s: bad size %s x %s\n", argv[0], argv[2], argv[3]);
        return 2;
    }
    WriteJpeg(MakePhoto(w, h), w, h, argv[1]);
    return 0;
}
