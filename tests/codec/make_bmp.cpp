// BMP fixtures of every layout the library reads.
#include "codec_test.h"

static void PutLe(Bytes* b, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; i++) b->push_back((uint8_t)(v >> (8 * i)));
}

Bytes MakeBmp(const Pic& pic, const BmpForm& form) {
    int bits = form.bits;
    size_t stride = (((size_t)pic.width * bits + 31) / 32) * 4;
    uint32_t infoBytes = form.coreHeader ? 12 : 40;
    uint32_t palBytes = (uint32_t)form.palette.size() * (form.coreHeader ? 3 : 4);
    uint32_t offBits = 14 + infoBytes + palBytes;

    Bytes b = {'B', 'M'};
    PutLe(&b, offBits + (uint32_t)(stride * pic.height), 4);
    PutLe(&b, 0, 4);
    PutLe(&b, offBits, 4);
    PutLe(&b, infoBytes, 4);
    int32_t height = form.topDown ? -pic.height : pic.height;
    if (form.coreHeader) {
        PutLe(&b, pic.width, 2);
        PutLe(&b, height, 2);
        PutLe(&b, 1, 2);
        PutLe(&b, bits, 2);
    } else {
        PutLe(&b, pic.width, 4);
        PutLe(&b, (uint32_t)height, 4);
        PutLe(&b, 1, 2);
        PutLe(&b, bits, 2);
        PutLe(&b, form.compression, 4);
        PutLe(&b, (uint32_t)(stride * pic.height), 4);
        PutLe(&b, 2835, 4);
        PutLe(&b, 2835, 4);
        PutLe(&b, (uint32_t)form.palette.size(), 4);
        PutLe(&b, 0, 4);
    }
    for (const Rgb& c : form.palette) {
        b.insert(b.end(), {c.b, c.g, c.r});
        if (!form.coreHeader) b.push_back(0);
    }

    for (int row = 0; row < pic.height; row++) {
        int y = form.topDown ? row : pic.height - 1 - row;
        Bytes line(stride, 0);
        for (int x = 0; x < pic.width; x++) {
            const Rgb& c = PicAt(pic, x, y);
            uint32_t v = bits <= 16 ? form.pixels[(size_t)y * pic.width + x] : 0;
            if (bits == 24 || bits == 32) {
                uint8_t* p = &line[(size_t)x * bits / 8];
                p[0] = c.b;
                p[1] = c.g;
                p[2] = c.r;
                if (bits == 32) p[3] = (uint8_t)(x * 40 + y);  // unused byte, not alpha
            } else if (bits == 16) {
                line[2 * x] = (uint8_t)v;
                line[2 * x + 1] = (uint8_t)(v >> 8);
            } else {
                size_t bit = (size_t)x * bits;
                line[bit / 8] |= (uint8_t)(v << (8 - bits - bit % 8));
            }
        }
        b.insert(b.end(), line.begin(), line.end());
    }
    return b;
}
