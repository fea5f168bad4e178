// libFuzzer target: the BMP reader on arbitrary bytes.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "image/readpic.h"
#include "platform/user/modal.h"

namespace {

int AnswerOk(const ModalEvent*) {
    return IDOK;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = [] {
        SetModalHook(AnswerOk);
        return "/tmp/quillet-bmp-fuzz-" + std::to_string(getpid()) + ".bmp";
    }();
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return 0;
    fwrite(data, 1, size, f);
    fclose(f);
    SIZE bmpSize;
    HBITMAP b = ReadBitmap(nullptr, path.c_str(), &bmpSize);
    if (b) DeleteObject(b);
    return 0;
}
