#include "screen_util.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/testutil.h"

QImage GrabScreen(const std::string& name) {
    const std::string png = std::string(QUILLET_SHOT_DIR) + "/" + name;
    const std::string cmd = std::string(QUILLET_XSHOT) + " '" + png + "'";
    if (std::system(cmd.c_str()) != 0) return QImage();
    return QImage(QString::fromStdString(png));
}

std::string PutPhoto(const std::string& dir, const char* name, int w, int h, uint32_t sky) {
    BmpForm f;
    f.w = w;
    f.h = h;
    f.px.resize(size_t(w) * h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const int dx = x - w / 2, dy = y - h * 2 / 5;
            uint32_t c = y > h * 7 / 10 ? 0x1E3C6E : sky;
            if (dx * dx + dy * dy < h * h / 30) c = 0xFFC828;
            f.px[size_t(y) * w + x] = c;
        }
    const std::string path = dir + "/" + name;
    EXPECT_TRUE(WriteFileBytes(path, MakeBmpFile(f)));
    return path;
}
