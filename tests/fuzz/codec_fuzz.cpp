// libFuzzer target for the codec library: every input goes through GetJpegFile (JPEG, PNG and
// GIF readers) and SaveJpegFile (BMP reader); a picture GetJpegFile accepts is saved back as a
// JPEG too. The library reads files, so the input is written to a private temporary folder.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "codec/hlvjpg.h"
#include "fuzz_dir.h"

static int WriteFuzzFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return 0;
    size_t n = fwrite(data, 1, size, f);
    return fclose(f) == 0 && n == size;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string dir = MakeFuzzDir("codec_fuzz");
    if (dir.empty()) return 0;
    const std::string src = dir + "/src", bmp = dir + "/out.bmp", jpg = dir + "/out.jpg";
    if (!WriteFuzzFile(src, data, size)) return 0;
    if (GetJpegFile(src.c_str(), bmp.c_str())) SaveJpegFile(bmp.c_str(), jpg.c_str(), 75);
    SaveJpegFile(src.c_str(), jpg.c_str(), (int)size % 102);
    unlink(bmp.c_str());
    unlink(jpg.c_str());
    return 0;
}
