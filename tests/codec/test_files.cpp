// Temporary folders, files and pictures of the codec tests.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "codec_test.h"

Pic MakePic(int width, int height) {
    Pic pic;
    pic.width = width;
    pic.height = height;
    pic.px.assign((size_t)width * height, Rgb{0, 0, 0});
    return pic;
}

void CodecTest::SetUp() {
    char tmpl[] = "/tmp/codec_test.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
}

void CodecTest::TearDown() {
    if (dir.empty()) return;
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write((const char*)bytes.data(), (std::streamsize)bytes.size());
    ASSERT_TRUE(f.good()) << path;
}

Bytes ReadBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

std::vector<std::string> ListDir(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

static uint32_t GetLe(const Bytes& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; i--) v = v << 8 | b[at + i];
    return v;
}

::testing::AssertionResult ReadBmp24(const std::string& path, Pic* pic) {
    Bytes b = ReadBytes(path);
    if (b.size() < 54) return ::testing::AssertionFailure() << path << ": " << b.size() << " bytes";
    int width = (int)GetLe(b, 18, 4), height = (int)GetLe(b, 22, 4);
    size_t stride = ((size_t)width * 3 + 3) & ~(size_t)3;
    struct Field {
        const char* name;
        uint32_t got, want;
    } fields[] = {
        {"magic", GetLe(b, 0, 2), 'B' | 'M' << 8},
        {"bfSize", GetLe(b, 2, 4), (uint32_t)b.size()},
        {"bfOffBits", GetLe(b, 10, 4), 54},
        {"biSize", GetLe(b, 14, 4), 40},
        {"biPlanes", GetLe(b, 26, 2), 1},
        {"biBitCount", GetLe(b, 28, 2), 24},
        {"biCompression", GetLe(b, 30, 4), 0},
        {"file size", (uint32_t)b.size(), (uint32_t)(54 + stride * (height > 0 ? height : 0))},
    };
    for (const Field& f : fields)
        if (f.got != f.want)
            return ::testing::AssertionFailure()
                   << path << ": " << f.name << " " << f.got << ", expected " << f.want;
    if (width <= 0 || height <= 0)
        return ::testing::AssertionFailure() << path << ": size " << width << "x" << height;

    *pic = MakePic(width, height);
    for (int y = 0; y < height; y++) {
        const uint8_t* row = b.data() + 54 + (size_t)(height - 1 - y) * stride;
        for (int x = 0; x < width; x++)
            PicAt(*pic, x, y) = {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
        for (size_t i = (size_t)width * 3; i < stride; i++)
            if (row[i] != 0)
                return ::testing::AssertionFailure() << path << ": padding of row " << y;
    }
    return ::testing::AssertionSuccess();
}

static int ChanDiff(const Rgb& a, const Rgb& b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

::testing::AssertionResult SamePic(const Pic& got, const Pic& want, int tolerance) {
    if (got.width != want.width || got.height != want.height)
        return ::testing::AssertionFailure() << "size " << got.width << "x" << got.height
                                             << ", expected " << want.width << "x" << want.height;
    for (int y = 0; y < want.height; y++) {
        for (int x = 0; x < want.width; x++) {
            const Rgb &g = PicAt(got, x, y), &w = PicAt(want, x, y);
            if (ChanDiff(g, w) > tolerance)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << (int)g.r << "," << (int)g.g
                       << "," << (int)g.b << ", expected " << (int)w.r << "," << (int)w.g << ","
                       << (int)w.b << " (tolerance " << tolerance << ")";
        }
    }
    return ::testing::AssertionSuccess();
}
