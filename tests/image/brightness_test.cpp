// Brightness: the byte map per knob setting, on every channel and every row, settings that do
// not build on each other, refusals and the rebuilt view.
#include "image/brightness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/appstate.h"
#include "image/workbmp.h"
#include "support/testutil.h"

namespace {

// The slider's setting as the brightness it asks for.
float Knob(int knob) {
    return float((knob - 60) * 0.013559322033898306);
}

// A picture whose channels each take the three byte values `v` in a different pattern, so that
// a channel mapped through another channel's place shows.
std::vector<uint32_t> Pattern(int w, int h, const int v[3]) {
    std::vector<uint32_t> px;
    px.reserve(size_t(w) * h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            px.push_back(uint32_t(v[(2 * x + y + 2) % 3]) << 16 |
                         uint32_t(v[(x + 2 * y + 1) % 3]) << 8 | uint32_t(v[(x + y) % 3]));
    return px;
}

// Every byte value on each channel, each channel running its own way.
std::vector<uint32_t> Ramps(int w, int h) {
    std::vector<uint32_t> px;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            px.push_back(uint32_t((x + 3 * y) & 0xFF) << 16 | uint32_t((7 * x + y) & 0xFF) << 8 |
                         uint32_t((255 - x + 5 * y) & 0xFF));
    return px;
}

constexpr int kBytes[3] = {0, 128, 255};

struct BrtTest : testing::Test {
    AppEnv env;
    void Load(int w, int h, const std::vector<uint32_t>& px) {
        BmpForm s;
        s.w = w;
        s.h = h;
        s.px = px;
        const std::string path = env.data.File("p.bmp");
        ASSERT_TRUE(WriteFileBytes(path, MakeBmpFile(s)));
        MsgRecorder aspectWarning;  // very wide pictures warn that they cannot cover the canvas
        ASSERT_EQ(InitWorkBmp(path.c_str()), 1);
    }
    std::vector<uint32_t> Adj() { return PicPixels(WorkBmp.adjBmp, WorkBmp.adjW, WorkBmp.adjH); }
    std::vector<uint32_t> Src() { return PicPixels(WorkBmp.srcBmp, WorkBmp.srcW, WorkBmp.srcH); }
};

// Pictures of odd widths, one of very long rows, and a single pixel.
struct Shape {
    int w, h;
};
constexpr Shape kShapes[] = {{1001, 200}, {70001, 3}, {1, 1}};

TEST_F(BrtTest, MapsEveryChannelByTheKnob) {
    struct Case {
        const char* what;
        float b;
        int out[3];  // what 0, 128 and 255 become
    };
    const Case cases[] = {
        {"knob 119", Knob(119), {205, 230, 255}},
        {"knob 1", Knob(1), {0, 25, 50}},
        {"knob 61", Knob(61), {4, 130, 255}},
        {"knob 59", Knob(59), {0, 126, 251}},
        {"knob 60", Knob(60), {0, 128, 255}},
        {"white", 1.0f, {255, 255, 255}},
        {"black", -1.0f, {0, 0, 0}},
    };
    for (const Shape& s : kShapes) {
        Load(s.w, s.h, Pattern(s.w, s.h, kBytes));
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << s.w << " x " << s.h << ", " << c.what);
            MsgRecorder rec;
            ASSERT_EQ(BrtWorkBmp(c.b), 1);
            EXPECT_EQ(ComparePics(Adj(), Pattern(s.w, s.h, c.out), s.w), "");
            EXPECT_EQ(ComparePics(Src(), Pattern(s.w, s.h, kBytes), s.w), "");
            EXPECT_TRUE(rec.msgs.empty());
        }
    }
}

TEST_F(BrtTest, SettingsStartFromTheSource) {
    const int w = 517, h = 300;
    Load(w, h, Ramps(w, h));
    ASSERT_EQ(BrtWorkBmp(-0.3f), 1);
    const auto once = Adj();
    EXPECT_NE(ComparePics(once, Ramps(w, h), w), "");
    ASSERT_EQ(BrtWorkBmp(0.5f), 1);
    ASSERT_EQ(BrtWorkBmp(-0.3f), 1);
    EXPECT_EQ(ComparePics(Adj(), once, w), "");
    ASSERT_EQ(BrtWorkBmp(0), 1);
    EXPECT_EQ(ComparePics(Adj(), Ramps(w, h), w), "");
}

TEST_F(BrtTest, RefusesWithoutPictureOrOutOfRange) {
    MsgRecorder rec;
    EXPECT_EQ(BrtWorkBmp(0.5f), 0);  // nothing loaded
    const int w = 33, h = 17;
    Load(w, h, Ramps(w, h));
    ASSERT_EQ(BrtWorkBmp(0.5f), 1);
    const auto before = Adj();
    const float refused[] = {1.5f, -1.5f, 1.0001f, std::numeric_limits<float>::quiet_NaN()};
    for (float b : refused) {
        SCOPED_TRACE(b);
        EXPECT_EQ(BrtWorkBmp(b), 0);
        EXPECT_EQ(ComparePics(Adj(), before, w), "");
    }
    HBITMAP adj = WorkBmp.adjBmp;
    WorkBmp.adjBmp = nullptr;
    EXPECT_EQ(BrtWorkBmp(0.2f), 0);
    WorkBmp.adjBmp = adj;
    EXPECT_TRUE(rec.msgs.empty());
}

// A picture of the canvas's size is shown 1:1: the canvas is the adjusted picture.
TEST_F(BrtTest, ViewShowsTheAdjustedPicture) {
    BtnParent work;
    g_app.workWnd = work.wnd;
    Load(kCanvasW, kCanvasH, Pattern(kCanvasW, kCanvasH, kBytes));
    ASSERT_FLOAT_EQ(WorkBmp.zoom, 1.0f);
    ASSERT_EQ(BrtWorkBmp(Knob(119)), 1);
    const int out[3] = {205, 230, 255};
    EXPECT_EQ(ComparePics(CanvasPixels(), Pattern(kCanvasW, kCanvasH, out), kCanvasW), "");
    g_app.workWnd = nullptr;
}

// Against the definition, byte by byte: every knob setting and a few others, among them a
// setting so small that its scale rounds to 1 (the table serves it rather than the multiplier).
TEST_F(BrtTest, EveryByteIsTheTruncatedScaleLifted) {
    std::vector<uint32_t> px;
    for (uint32_t v = 0; v < 256; v++) px.push_back(v << 16 | (255 - v) << 8 | ((v * 7) & 0xFF));
    Load(256, 1, px);
    std::vector<float> settings = {1e-30f, -1e-30f, 0.999f, -0.999f, 1e-4f, 0.5f, -0.25f};
    for (int knob = 1; knob <= 119; knob++) settings.push_back(Knob(knob));
    for (float b : settings) {
        SCOPED_TRACE(b);
        const double k = b > 0 ? 1 - double(b) : 1 + double(b);
        const uint32_t lift = b > 0 ? 255 - uint32_t(std::trunc(k * 255)) : 0;
        auto map = [&](uint32_t v) { return uint32_t(std::trunc(k * v)) + lift; };
        std::vector<uint32_t> want;
        for (uint32_t p : px)
            want.push_back(map(p >> 16) << 16 | map((p >> 8) & 0xFF) << 8 | map(p & 0xFF));
        ASSERT_EQ(BrtWorkBmp(b), 1);
        ASSERT_EQ(ComparePics(Adj(), want, 256), "");
    }
}

}  // namespace
