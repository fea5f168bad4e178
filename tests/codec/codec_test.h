// Helpers of the codec tests: a temporary folder per test, pictures, and fixture files made in
// memory with libjpeg, libpng and giflib.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

typedef std::vector<uint8_t> Bytes;

struct Rgb {
    uint8_t r, g, b;
};
static_assert(sizeof(Rgb) == 3, "a row of Rgb is a row of R, G, B bytes");

// A picture, top row first.
struct Pic {
    int width = 0;
    int height = 0;
    std::vector<Rgb> px;
};

Pic MakePic(int width, int height);
inline Rgb& PicAt(Pic& pic, int x, int y) {
    return pic.px[(size_t)y * pic.width + x];
}
inline const Rgb& PicAt(const Pic& pic, int x, int y) {
    return pic.px[(size_t)y * pic.width + x];
}

// Each test gets a fresh folder under /tmp, removed afterwards.
class CodecTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string In(const char* name) const { return dir + "/" + name; }
    std::string dir;
};

void WriteBytes(const std::string& path, const Bytes& bytes);
Bytes ReadBytes(const std::string& path);
// The names in a folder, sorted.
std::vector<std::string> ListDir(const std::string& dir);

// Reads a 24-bit BMP as this library writes it, checking every header field and the padding.
::testing::AssertionResult ReadBmp24(const std::string& path, Pic* pic);
// Pictures of equal size whose channels differ by at most tolerance; names the first pixel that
// does not.
::testing::AssertionResult SamePic(const Pic& got, const Pic& want, int tolerance);

// JPEG fixtures.
enum JpegKind {
    kJpegBaseline,
    kJpegProgressive,
    kJpegGrey,
    kJpegCmykAdobe,
    kJpegCmykPlain,
    kJpegYcck
};
struct JpegForm {
    JpegKind kind = kJpegBaseline;
    int quality = 95;
    bool full444 = false;  // chroma at full size
    Bytes app1;            // an APP1 marker body (EXIF), if any
};
// pic gives the colours (grey takes the green channel); CMYK kinds take their inks from cmyk,
// four bytes per pixel with 0 meaning no ink.
Bytes MakeJpeg(const Pic& pic, const JpegForm& form, const Bytes& cmyk = {});
// An APP1 body holding an EXIF IFD0 with one orientation entry.
Bytes MakeExifOrient(int orient, bool bigEndian);

// What a JPEG file says about itself.
struct JpegFacts {
    bool ok = false;
    bool progressive = false;
    int width = 0, height = 0;
    int lumaQuant0 = 0;        // first value of the luminance quantisation table
    int hSamp = 0, vSamp = 0;  // sampling factors of the luminance component
    Pic pic;
};
JpegFacts ReadJpegFacts(const Bytes& jpeg);

// PNG fixtures: samples of any colour type and bit depth, packed as the file stores them.
struct PngForm {
    int colourType;
    int depth;
    bool interlaced = false;
    int width = 0, height = 0;
    std::vector<uint32_t> samples =
        {};  // channels per pixel as the colour type has them, row by row
    std::vector<Rgb> palette = {};
    std::vector<uint8_t> palAlpha = {};  // tRNS of a palette
    int keyGrey = -1;                    // tRNS of grey: this value is transparent
    Rgb keyRgb = {};                     // tRNS of RGB when useKeyRgb
    bool useKeyRgb = false;
};
Bytes MakePng(const PngForm& form);
// Only the signature and an IHDR chunk of the given size.
Bytes MakePngHeader(uint32_t width, uint32_t height);

// GIF fixtures.
struct GifFrame {
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    std::vector<Rgb> localMap = {};  // empty: none
    int transparent = -1;            // written in a graphics control extension when >= 0
    std::vector<uint8_t> indices = {};
};
Bytes MakeGif(int screenW, int screenH, const std::vector<Rgb>& globalMap,
              const std::vector<GifFrame>& frames);

// BMP fixtures of any supported layout. pixels holds palette indices (bits <= 8), 16-bit
// values (bits 16) or is ignored in favour of pic (24 and 32 bits).
struct BmpForm {
    int bits = 24;
    bool topDown = false;
    bool coreHeader = false;  // 12-byte header, 3-byte palette entries
    std::vector<Rgb> palette = {};
    std::vector<uint32_t> pixels;
    int compression = 0;
};
Bytes MakeBmp(const Pic& pic, const BmpForm& form);
