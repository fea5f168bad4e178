// The work image: fitting, zoom bounds, turning, mirroring, the origin clamp and the canvas.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>

#include "image/workbmp.h"
#include "support/testutil.h"

namespace {

struct FitCase {
    int w, h;
    float fit, max, min;
    int zoomedW, zoomedH;
    bool warn;
};

TEST(FitWorkZoom, CoverFitWithinThePixelBudget) {
    const FitCase cases[] = {
        {1200, 1600, 0.1f, 0.73900837f, 2.0f / 1200, 120, 160, false},
        {7, 100, 17.287027f, 38.703564f, 2.0f / 7, 121, 1728, false},
        {640, 480, 0.27083334f, 1.8475209f, 2.0f / 480, 173, 130, false},
        {240, 260, 0.5f, 4.0f, 2.0f / 240, 120, 130, false},
        {60, 65, 2.0f, 8.0f, 2.0f / 60, 120, 130, false},
        {10, 100000, 1.024f, 1.024f, 0.2f, 10, 102400, true},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        WorkZoom z;
        FitWorkZoom(c.w, c.h, &z);
        EXPECT_FLOAT_EQ(z.fit, c.fit);
        EXPECT_FLOAT_EQ(z.max, c.max);
        EXPECT_FLOAT_EQ(z.min, c.min);
        EXPECT_EQ(int(c.w * double(z.fit)), c.zoomedW);
        EXPECT_EQ(int(c.h * double(z.fit)), c.zoomedH);
        EXPECT_EQ(z.warn, c.warn);
    }
}

// A picture whose pixel (x, y) is coded by its position, so the canvas shows what lies where.
BmpForm Coded(int w, int h) {
    BmpForm s;
    s.w = w;
    s.h = h;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            s.px.push_back(uint32_t((x * 255 / (w - 1)) << 16 | (y * 255 / (h - 1)) << 8 | 0x40));
    return s;
}

struct WorkTest : testing::Test {
    AppEnv env;
    void Load(int w, int h) {
        const std::string path = env.data.File("p.bmp");
        ASSERT_TRUE(WriteFileBytes(path, MakeBmpFile(Coded(w, h))));
        ASSERT_EQ(InitWorkBmp(path.c_str()), 1);
        snprintf(WorkBmp.path, MAX_PATH, "%s", path.c_str());
    }
};

TEST_F(WorkTest, FreshPictureCoversAndCentresTheCanvas) {
    Load(240, 260);
    EXPECT_EQ(WorkBmp.viewW, 120 + 260);
    EXPECT_EQ(WorkBmp.viewH, 130 + 260);
    EXPECT_EQ(WorkBmp.originX, 130);
    EXPECT_EQ(WorkBmp.originY, 130);
    // Halving 240 x 260: the canvas corners average the picture's corner 2 x 2 blocks.
    const auto px = CanvasPixels();
    EXPECT_EQ(px[0] & 0xFF, 0x40u);
    EXPECT_LE((px[0] >> 16) & 0xFF, 2u);
    EXPECT_GE((px.back() >> 16) & 0xFF, 253u);
}

TEST_F(WorkTest, ExtremeAspectWarnsOnce) {
    MsgRecorder rec;
    Load(10, 700);
    // 10 x 700 at cover zoom 12 just fits the budget: no warning.
    EXPECT_TRUE(rec.msgs.empty());
    Load(10, 100000);
    ASSERT_EQ(rec.msgs.size(), 1u);
    EXPECT_EQ(rec.msgs[0].text, "画像の縦横比が大きすぎるため、正しく表示できない可能性があります");
    EXPECT_FLOAT_EQ(WorkBmp.zoom, 1.024f);
}

// The white margins count too: a 1 x 1000000 picture (a 4 MB file) gets a view of at most
// 32 M pixels instead of one of a gigabyte.
TEST_F(WorkTest, ThinPictureViewStaysWithinBudget) {
    BmpForm s;
    s.w = 1;
    s.h = 1000000;
    s.bits = 1;
    s.pal = {0x000000, 0xFFFFFF};
    s.px.assign(s.w * s.h, 1);
    ASSERT_TRUE(WriteFileBytes(env.data.File("thin.bmp"), MakeBmpFile(s)));
    MsgRecorder rec;
    ASSERT_EQ(InitWorkBmp(env.data.File("thin.bmp").c_str()), 1);
    EXPECT_EQ(rec.msgs.size(), 1u);
    EXPECT_LE(int64_t(WorkBmp.viewW) * WorkBmp.viewH, int64_t(kViewBudget));
    EXPECT_GT(int64_t(WorkBmp.viewW) * WorkBmp.viewH, int64_t(kViewBudget * 0.99));
    EXPECT_EQ(PowWorkBmp(+1), 0);  // already at the largest zoom
}

// At the view budget's zoom a picture one or two pixels wide is less than a pixel wide on the
// view; it still gets one column there, so a click takes the centre as a number and later
// zooms, turns and pans keep the origin inside the clamp.
TEST_F(WorkTest, ThinPictureKeepsOneColumnOnTheView) {
    struct ThinCase {
        int w, h;
    };
    const ThinCase cases[] = {{1, 200000}, {2, 300000}};
    for (const ThinCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        BmpForm s;
        s.w = c.w;
        s.h = c.h;
        s.bits = 1;
        s.pal = {0x204060, 0xFFFFFF};
        s.px.assign(size_t(s.w) * s.h, 0);
        const std::string path = env.data.File("thin.bmp");
        ASSERT_TRUE(WriteFileBytes(path, MakeBmpFile(s)));
        MsgRecorder rec;
        ASSERT_EQ(InitWorkBmp(path.c_str()), 1);
        ASSERT_LT(c.w * double(WorkBmp.zoom), 1.0);
        EXPECT_EQ(WorkBmp.viewW, 1 + 2 * kViewMargin);
        EXPECT_LE(int64_t(WorkBmp.viewW) * WorkBmp.viewH, int64_t(kViewBudget));
        EXPECT_EQ(CanvasPixels()[kCanvasCy * kCanvasW + kCanvasCx], 0x204060u);

        // The button-up after a press or a drag takes the centre from the canvas centre.
        auto click = [] {
            SetWorkCenter(WorkBmp.originX + kCanvasCx, WorkBmp.originY + kCanvasCy);
        };
        // A drag moves the canvas window the other way on the view, within the clamp.
        auto pan = [&click](int dx, int dy) {
            WorkBmp.originX -= dx;
            WorkBmp.originY -= dy;
            ClipWorkOrigin();
            click();
        };
        const struct {
            const char* name;
            std::function<void()> act;
        } steps[] = {
            {"click", click},
            {"mirror", MirWorkBmp},
            {"drag right and down", [&pan] { pan(50, 40); }},
            {"zoom out", ZoomOutWorkBmp},
            {"zoom in", ZoomInWorkBmp},
            {"turn", RotWorkBmp},
            {"click", click},
            {"mirror", MirWorkBmp},
            {"drag far left and up", [&pan] { pan(-100000, -1000000); }},
            {"turn", RotWorkBmp},
        };
        for (const auto& step : steps) {
            SCOPED_TRACE(step.name);
            step.act();
            EXPECT_TRUE(std::isfinite(WorkBmp.cx));
            EXPECT_TRUE(std::isfinite(WorkBmp.cy));
            EXPECT_GE(WorkBmp.originX, kViewMargin - (kCanvasW - 1));
            EXPECT_LE(WorkBmp.originX, WorkBmp.viewW - (kViewMargin + 1));
            EXPECT_GE(WorkBmp.originY, kViewMargin - (kCanvasH - 1));
            EXPECT_LE(WorkBmp.originY, WorkBmp.viewH - (kViewMargin + 1));
        }
    }
}

TEST_F(WorkTest, OverlongPathIsRefused) {
    Load(240, 260);
    const std::string path = env.data.path + "/" + std::string(300, 'p') + ".bmp";
    EXPECT_EQ(InitWorkBmp(path.c_str()), 0);
    EXPECT_EQ(WorkBmp.srcW, 240);
}

TEST_F(WorkTest, ZoomStopsAtItsBounds) {
    Load(60, 65);
    int steps = 0;
    while (PowWorkBmp(+1)) steps++;
    EXPECT_FLOAT_EQ(WorkBmp.zoom, 8.0f);
    EXPECT_EQ(steps, 15);  // 2 x 1.1^14 < 8 <= 2 x 1.1^15
    const int viewW = WorkBmp.viewW;
    EXPECT_EQ(PowWorkBmp(+1), 0);
    EXPECT_EQ(WorkBmp.viewW, viewW);
    while (PowWorkBmp(-1)) {
    }
    EXPECT_FLOAT_EQ(WorkBmp.zoom, WorkBmp.minZoom);
    EXPECT_EQ(PowWorkBmp(-1), 0);
}

TEST_F(WorkTest, FourTurnsComeBackToTheFirstOrigin) {
    Load(640, 480);
    ZoomInWorkBmp();
    ZoomInWorkBmp();
    const int ox = WorkBmp.originX, oy = WorkBmp.originY;
    const auto first = CanvasPixels();
    const int seen[] = {3, 2, 1, 0};
    for (int r : seen) {
        RotWorkBmp();
        EXPECT_EQ(WorkBmp.rot, r);
    }
    EXPECT_EQ(WorkBmp.originX, ox);
    EXPECT_EQ(WorkBmp.originY, oy);
    EXPECT_EQ(ComparePics(CanvasPixels(), first, kCanvasW), "");
}

TEST_F(WorkTest, TurnShowsThePictureAnticlockwise) {
    Load(240, 260);
    RotWorkBmp();
    ASSERT_EQ(WorkBmp.rot, 3);
    EXPECT_EQ(WorkBmp.viewW, 130 + 260);
    EXPECT_EQ(WorkBmp.viewH, 120 + 260);
    // A quarter turn anticlockwise brings the picture's top-right corner to the top-left.
    ClipWorkOrigin();
    WorkBmp.originX = 130;
    WorkBmp.originY = 130;
    const auto px = CanvasPixels();
    EXPECT_GE((px[0] >> 16) & 0xFF, 253u);  // right edge
    EXPECT_LE((px[0] >> 8) & 0xFF, 2u);     // top edge
}

// A 120 x 130 picture whose pixel (x, y) is red x, green y: it fits the canvas at zoom 1, so
// every canvas pixel tells which picture pixel it shows.
uint32_t PosColour(int x, int y) {
    return uint32_t(x) << 16 | uint32_t(y) << 8 | 0x80;
}

// The picture as the user sees it after the commands: T turns it a quarter anticlockwise, M
// mirrors it left-right.
PicData ShownAfter(const char* cmds) {
    PicData p;
    p.w = kCanvasW;
    p.h = kCanvasH;
    for (int y = 0; y < p.h; y++)
        for (int x = 0; x < p.w; x++) p.px.push_back(PosColour(x, y));
    for (const char* c = cmds; *c; c++) {
        PicData n;
        n.w = *c == 'T' ? p.h : p.w;
        n.h = *c == 'T' ? p.w : p.h;
        for (int y = 0; y < n.h; y++)
            for (int x = 0; x < n.w; x++)
                n.px.push_back(*c == 'T' ? p.At(p.w - 1 - y, x) : p.At(p.w - 1 - x, y));
        p = n;
    }
    return p;
}

// The canvas window at the origin over the shown picture, which lies at the margin on white.
std::vector<uint32_t> CanvasOver(const PicData& shown) {
    std::vector<uint32_t> px;
    for (int y = 0; y < kCanvasH; y++) {
        for (int x = 0; x < kCanvasW; x++) {
            const int u = WorkBmp.originX + x - kViewMargin, v = WorkBmp.originY + y - kViewMargin;
            const bool in = u >= 0 && u < shown.w && v >= 0 && v < shown.h;
            px.push_back(in ? shown.At(u, v) : 0xFFFFFF);
        }
    }
    return px;
}

// Every turn and mirror pair, reached through the commands: the canvas shows the picture as the
// user turned and mirrored it, centred; after a drag, zooms, turns and mirrors pivot about the
// picture point under the canvas centre.
TEST_F(WorkTest, TurnsAndMirrorsShowThePictureAndKeepTheCentre) {
    struct OrientCase {
        const char* cmds;
        int rot;
        bool mirror;
    };
    const OrientCase cases[] = {
        {"", 0, false}, {"T", 3, false}, {"TT", 2, false}, {"TTT", 1, false},
        {"M", 0, true}, {"TM", 1, true}, {"TTM", 2, true}, {"TTTM", 3, true},
    };
    BmpForm s;
    s.w = kCanvasW;
    s.h = kCanvasH;
    for (int y = 0; y < s.h; y++)
        for (int x = 0; x < s.w; x++) s.px.push_back(PosColour(x, y));
    const std::string path = env.data.File("pos.bmp");
    ASSERT_TRUE(WriteFileBytes(path, MakeBmpFile(s)));
    // The picture point the canvas centre shows, read back from its colour.
    auto centrePoint = [] {
        const uint32_t c = CanvasPixels()[kCanvasCy * kCanvasW + kCanvasCx];
        return std::pair<int, int>(c >> 16 & 0xFF, c >> 8 & 0xFF);
    };
    for (const OrientCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "commands \"" << c.cmds << "\"");
        ASSERT_EQ(InitWorkBmp(path.c_str()), 1);
        ASSERT_FLOAT_EQ(WorkBmp.zoom, 1.0f);
        for (const char* cmd = c.cmds; *cmd; cmd++) {
            if (*cmd == 'T')
                RotWorkBmp();
            else
                MirWorkBmp();
        }
        EXPECT_EQ(WorkBmp.rot, c.rot);
        EXPECT_EQ(WorkBmp.mirror, c.mirror);
        const PicData shown = ShownAfter(c.cmds);
        EXPECT_EQ(WorkBmp.originX, kViewMargin + shown.w / 2 - kCanvasCx);
        EXPECT_EQ(WorkBmp.originY, kViewMargin + shown.h / 2 - kCanvasCy);
        EXPECT_EQ(ComparePics(CanvasPixels(), CanvasOver(shown), kCanvasW), "");

        // Drag the photo 23 right and 17 up; the button-up takes the centre from the canvas.
        WorkBmp.originX -= 23;
        WorkBmp.originY += 17;
        ClipWorkOrigin();
        SetWorkCenter(WorkBmp.originX + kCanvasCx, WorkBmp.originY + kCanvasCy);
        EXPECT_EQ(ComparePics(CanvasPixels(), CanvasOver(shown), kCanvasW), "");
        const auto p0 = centrePoint();
        const struct {
            const char* name;
            void (*cmd)();
        } steps[] = {{"zoom in", ZoomInWorkBmp},
                     {"turn", RotWorkBmp},
                     {"mirror", MirWorkBmp},
                     {"zoom out", ZoomOutWorkBmp}};
        for (const auto& step : steps) {
            SCOPED_TRACE(step.name);
            step.cmd();
            const auto p = centrePoint();
            EXPECT_NEAR(p.first, p0.first, 1);
            EXPECT_NEAR(p.second, p0.second, 1);
        }
    }
}

TEST_F(WorkTest, MirrorAtOddTurnSwapsTheTurn) {
    Load(240, 260);
    RotWorkBmp();
    RotWorkBmp();
    RotWorkBmp();
    ASSERT_EQ(WorkBmp.rot, 1);
    MirWorkBmp();
    EXPECT_EQ(WorkBmp.rot, 3);
    EXPECT_TRUE(WorkBmp.mirror);
    MirWorkBmp();
    EXPECT_EQ(WorkBmp.rot, 1);
    EXPECT_FALSE(WorkBmp.mirror);
}

// Panning far right stops where only the picture's leftmost column is in the canvas's
// rightmost column; far left where its rightmost column is in the canvas's leftmost one.
TEST_F(WorkTest, OriginClampKeepsOneColumnAndRow) {
    Load(240, 260);
    WorkBmp.originX = -1000;
    WorkBmp.originY = -1000;
    EXPECT_EQ(ClipWorkOrigin(), 1);
    EXPECT_EQ(WorkBmp.originX, 11);
    EXPECT_EQ(WorkBmp.originY, 1);
    auto px = CanvasPixels();
    EXPECT_LE((px[130 * 120 - 1] >> 16) & 0xFF, 2u);  // bottom-right: picture's top-left
    EXPECT_EQ(px[130 * 120 - 2], 0xFFFFFFu & 0xFFFFFF);
    WorkBmp.originX = 100000;
    WorkBmp.originY = 100000;
    EXPECT_EQ(ClipWorkOrigin(), 1);
    EXPECT_EQ(WorkBmp.originX, WorkBmp.viewW - 131);
    EXPECT_EQ(WorkBmp.originY, WorkBmp.viewH - 131);
    px = CanvasPixels();
    EXPECT_GE((px[0] >> 16) & 0xFF, 253u);
    EXPECT_EQ(px[1], 0xFFFFFFu);
    EXPECT_EQ(ClipWorkOrigin(), 0);
}

// Zooming in clamps the origin but keeps the centre, which then lies beyond what the canvas
// shows; the next zoom-out is clamped too and takes the centre back from the clamped origin.
TEST_F(WorkTest, ClampedZoomOutRecentres) {
    struct PanCase {
        const char* name;
        int dx, dy;  // how far the photo is dragged
    };
    const PanCase cases[] = {
        {"photo dragged far left", -100000, 0},
        {"photo dragged far right", 100000, 0},
        {"photo dragged far up", 0, -100000},
        {"photo dragged far down", 0, 100000},
    };
    for (const PanCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(640, 480);
        WorkBmp.originX -= c.dx;
        WorkBmp.originY -= c.dy;
        ASSERT_EQ(ClipWorkOrigin(), 1);
        SetWorkCenter(WorkBmp.originX + kCanvasCx, WorkBmp.originY + kCanvasCy);
        ZoomInWorkBmp();
        ZoomInWorkBmp();
        const float cx = WorkBmp.cx, cy = WorkBmp.cy;
        ZoomOutWorkBmp();
        // The origin sits on the clamp's bound on the dragged side.
        const int boundX =
            c.dx < 0 ? WorkBmp.viewW - (kViewMargin + 1) : kViewMargin - (kCanvasW - 1);
        const int boundY =
            c.dy < 0 ? WorkBmp.viewH - (kViewMargin + 1) : kViewMargin - (kCanvasH - 1);
        EXPECT_EQ(c.dx ? WorkBmp.originX : WorkBmp.originY, c.dx ? boundX : boundY);
        // The centre is what the clamped canvas shows at its centre, no longer the old one.
        const int pw = WorkBmp.viewW - 2 * kViewMargin, ph = WorkBmp.viewH - 2 * kViewMargin;
        EXPECT_FLOAT_EQ(WorkBmp.cx, float(double(WorkBmp.originX + kCanvasCx - kViewMargin) / pw));
        EXPECT_FLOAT_EQ(WorkBmp.cy, float(double(WorkBmp.originY + kCanvasCy - kViewMargin) / ph));
        EXPECT_NE(c.dx ? WorkBmp.cx : WorkBmp.cy, c.dx ? cx : cy);
        // So the origin taken from the centre is the clamped one.
        const int ox = WorkBmp.originX, oy = WorkBmp.originY;
        SetWorkOrigin();
        EXPECT_NEAR(WorkBmp.originX, ox, 1);
        EXPECT_NEAR(WorkBmp.originY, oy, 1);
    }
}

TEST_F(WorkTest, ReloadAndClear) {
    EXPECT_EQ(ReloadWorkBmp(), 0);  // nothing loaded: nothing happens
    Load(240, 260);
    ZoomInWorkBmp();
    RotWorkBmp();
    EXPECT_EQ(ReloadWorkBmp(), 1);
    EXPECT_FLOAT_EQ(WorkBmp.zoom, 0.5f);
    EXPECT_EQ(WorkBmp.rot, 0);
    ClearWorkBmp();
    EXPECT_FALSE(WorkBmp.loaded);
    EXPECT_EQ(WorkBmp.path[0], 0);
    const auto px = CanvasPixels();
    EXPECT_EQ(ComparePics(px, std::vector<uint32_t>(px.size(), 0xFFFFFF), kCanvasW), "");
    // Commands do nothing without a picture.
    RotWorkBmp();
    MirWorkBmp();
    ZoomInWorkBmp();
    EXPECT_EQ(WorkBmp.rot, 0);
    EXPECT_FALSE(WorkBmp.mirror);
}

}  // namespace
