// The artwork: every bitmap resource opens by number at its exact size, shaped skins carry the
// key colour outside and never where the program paints, and every button strip blends with the
// skin at the place its window stands.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "support/testutil.h"

namespace {

constexpr uint32_t kKey = 0x008080;  // red 0, green 128, blue 128

enum ResForm { SKIN_SHAPED, SKIN_ROUNDED, SKIN_PLAIN, STRIP };

struct ResCase {
    int num;
    int w, h;  // strips: one look
    ResForm form;
};

const ResCase kBitmaps[] = {
    {118, 407, 589, SKIN_SHAPED},  {119, 192, 413, SKIN_PLAIN},   {120, 192, 413, SKIN_PLAIN},
    {121, 192, 413, SKIN_PLAIN},   {122, 147, 28, SKIN_PLAIN},    {123, 28, 28, SKIN_PLAIN},
    {125, 530, 399, SKIN_ROUNDED}, {129, 254, 143, SKIN_ROUNDED}, {138, 268, 639, SKIN_SHAPED},
    {143, 396, 383, SKIN_SHAPED},  {146, 236, 124, SKIN_SHAPED},  {154, 380, 339, SKIN_ROUNDED},
    {160, 380, 289, SKIN_ROUNDED}, {164, 530, 330, SKIN_ROUNDED}, {176, 300, 300, SKIN_ROUNDED},
    {185, 320, 277, SKIN_ROUNDED}, {197, 290, 161, SKIN_ROUNDED}, {198, 227, 125, SKIN_ROUNDED},
    {101, 66, 20, STRIP},          {102, 60, 23, STRIP},          {103, 60, 23, STRIP},
    {104, 58, 31, STRIP},          {105, 58, 24, STRIP},          {106, 66, 27, STRIP},
    {107, 137, 26, STRIP},         {108, 65, 65, STRIP},          {109, 89, 24, STRIP},
    {110, 92, 24, STRIP},          {111, 66, 20, STRIP},          {112, 81, 17, STRIP},
    {113, 64, 24, STRIP},          {114, 64, 24, STRIP},          {115, 64, 24, STRIP},
    {116, 67, 26, STRIP},          {117, 56, 33, STRIP},          {140, 48, 33, STRIP},
    {169, 48, 33, STRIP},          {139, 45, 30, STRIP},          {126, 102, 32, STRIP},
    {127, 102, 32, STRIP},         {152, 85, 30, STRIP},          {153, 85, 30, STRIP},
    {157, 85, 30, STRIP},          {159, 102, 32, STRIP},         {163, 88, 32, STRIP},
    {165, 75, 28, STRIP},          {166, 75, 28, STRIP},          {167, 102, 32, STRIP},
    {147, 57, 57, STRIP},          {149, 57, 57, STRIP},          {150, 57, 57, STRIP},
    {151, 33, 33, STRIP},          {161, 49, 49, STRIP},          {186, 88, 32, STRIP},
    {189, 88, 32, STRIP},
};

const ResCase* FindCase(int num) {
    for (const ResCase& c : kBitmaps)
        if (c.num == num) return &c;
    return nullptr;
}

TEST(Resources, EveryBitmapOpensByNumberAtItsSize) {
    for (const ResCase& c : kBitmaps) {
        SCOPED_TRACE(c.num);
        const PicData pic = LoadResPic(c.num);
        ASSERT_FALSE(pic.px.empty());
        EXPECT_EQ(pic.w, c.w);
        EXPECT_EQ(pic.h, c.form == STRIP ? 3 * c.h : c.h);
        if (c.form == SKIN_SHAPED || c.form == SKIN_ROUNDED) {
            EXPECT_EQ(pic.At(0, 0), kKey);
        }
    }
    EXPECT_EQ(LoadBitmapA(nullptr, MAKEINTRESOURCEA(100)), nullptr);
    EXPECT_EQ(LoadBitmapA(nullptr, "118"), nullptr);
}

// The places the program paints into or covers with a child window hold no key colour, so the
// window's shape, scanned from the key colour, never cuts a hole into them.
TEST(Resources, PaintedPlacesLieInsideTheShape) {
    struct Place {
        int skin;
        RECT r;
    };
    const Place places[] = {
        {118, {39, 146, 159, 276}},   // work area
        {118, {26, 349, 173, 377}},   // brightness slider
        {118, {194, 138, 386, 551}},  // tab page
        {138, {114, 184, 234, 314}},  // preview screen
        {146, {11, 7, 229, 71}},      // stamp dialog's buttons
    };
    for (const Place& pl : places) {
        SCOPED_TRACE(pl.skin);
        const PicData pic = LoadResPic(pl.skin);
        ASSERT_FALSE(pic.px.empty());
        int keyed = 0;
        for (int y = pl.r.top; y < pl.r.bottom; ++y)
            for (int x = pl.r.left; x < pl.r.right; ++x) keyed += pic.At(x, y) == kKey;
        EXPECT_EQ(keyed, 0);
    }
}

// A button window shows its strip as a rectangle over the skin; the normal look's corners must be
// the skin's pixels at that place, or the button shows as a box.
TEST(Resources, ButtonStripsBlendWithTheSkinUnderThem) {
    struct Placement {
        int skin, strip, x, y;
    };
    const Placement placements[] = {
        {118, 101, 299, 558}, {118, 102, 24, 109},  {118, 103, 113, 109}, {118, 104, 69, 287},
        {118, 105, 69, 318},  {118, 106, 31, 424},  {118, 107, 31, 390},  {118, 116, 102, 424},
        {118, 108, 23, 460},  {118, 109, 100, 466}, {118, 110, 89, 494},  {118, 113, 194, 114},
        {118, 114, 258, 114}, {118, 115, 322, 114}, {118, 112, 291, 148}, {118, 111, 220, 558},
        {118, 117, 0, 0},     {118, 140, 21, 293},  {118, 169, 127, 293}, {138, 139, 200, 420},
        {146, 147, 11, 14},   {146, 149, 75, 14},   {146, 150, 139, 14},  {146, 151, 196, 7},
        {197, 163, 101, 117}, {198, 163, 70, 81},   {198, 163, 123, 81},  {198, 127, 15, 81},
        {125, 126, 299, 352}, {125, 127, 409, 352}, {125, 152, 403, 297}, {125, 153, 403, 57},
        {125, 157, 403, 297}, {160, 161, 28, 178},  {160, 159, 149, 242}, {160, 127, 259, 242},
        {176, 163, 106, 158}, {176, 189, 12, 158},  {185, 163, 216, 234}, {185, 186, 17, 233},
        {154, 159, 149, 292}, {154, 127, 259, 292}, {164, 165, 20, 287},  {164, 166, 105, 287},
        {164, 127, 296, 286}, {164, 167, 407, 286},
    };
    for (const Placement& pl : placements) {
        SCOPED_TRACE(std::to_string(pl.strip) + " on " + std::to_string(pl.skin));
        const PicData skin = LoadResPic(pl.skin), strip = LoadResPic(pl.strip);
        const ResCase* c = FindCase(pl.strip);
        ASSERT_TRUE(c && !skin.px.empty() && !strip.px.empty());
        ASSERT_LE(pl.x + c->w, skin.w);
        ASSERT_LE(pl.y + c->h, skin.h);
        const int cx[2] = {0, c->w - 1}, cy[2] = {0, c->h - 1};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(strip.At(cx[i % 2], cy[i / 2]), skin.At(pl.x + cx[i % 2], pl.y + cy[i / 2]))
                << "corner " << i;
    }
}

// Width and height from a PNG file's header.
bool ReadPngSize(const std::string& path, int* w, int* h) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    unsigned char b[24];
    const bool ok = std::fread(b, 1, 24, f) == 24 && b[1] == 'P' && b[12] == 'I';
    std::fclose(f);
    *w = (b[16] << 24) | (b[17] << 16) | (b[18] << 8) | b[19];
    *h = (b[20] << 24) | (b[21] << 16) | (b[22] << 8) | b[23];
    return ok;
}

TEST(Resources, IconsAndCursorsHaveTheirSizes) {
    struct Case {
        const char* file;
        int size;
    };
    const Case cases[] = {
        {"ico/135.png", 48}, {"ico/196.png", 16}, {"desktop/quillet.png", 256},
        {"cur/204.png", 32}, {"cur/205.png", 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        int w = 0, h = 0;
        ASSERT_TRUE(ReadPngSize(std::string(QUILLET_SOURCE_DIR "/res/") + c.file, &w, &h));
        EXPECT_EQ(w, c.size);
        EXPECT_EQ(h, c.size);
    }
}

}  // namespace
