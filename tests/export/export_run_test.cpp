// The built quillet-export run as a program without a display: the canvas it writes for each
// step, the JPEG it writes, its failures and usage, and the working files it keeps away from a
// running program's.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "image/readpic.h"
#include "image/workbmp.h"
#include "support/testutil.h"

extern char** environ;

namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x008000, kBlue = 0x0000FF, kGrey = 0x808080;
constexpr uint32_t kWhite = 0xFFFFFF, kKey = 0xFF00FF, kInk = 0x123456, kInk2 = 0x654321;

struct RunResult {
    int status;  // the exit status; 128 + the signal when killed
    std::string out, err;
};

// Runs the built exporter in folder dir with args, without a display: DISPLAY, WAYLAND_DISPLAY
// and QT_QPA_PLATFORM are taken out of its environment and `vars` ("NAME=value") put in. Its
// output goes through files in dir.
RunResult RunExporter(const std::string& dir, const std::vector<std::string>& args,
                      const std::vector<std::string>& vars, long memoryKb = 0) {
    std::vector<std::string> env;
    for (char** e = environ; *e; e++) {
        const std::string v = *e, name = v.substr(0, v.find('=') + 1);
        bool drop = name == "DISPLAY=" || name == "WAYLAND_DISPLAY=" || name == "QT_QPA_PLATFORM=";
        for (const std::string& mine : vars) drop |= mine.rfind(name, 0) == 0;
        if (!drop) env.push_back(v);
    }
    env.insert(env.end(), vars.begin(), vars.end());
    std::vector<std::string> argv = {QUILLET_OUT_DIR "/quillet-export"};
    // A run with that much address space at most, through the shell's limit.
    if (memoryKb)
        argv.insert(
            argv.begin(),
            {"/bin/sh", "-c", "ulimit -v " + std::to_string(memoryKb) + " && exec \"$0\" \"$@\""});
    argv.insert(argv.end(), args.begin(), args.end());
    auto pointers = [](std::vector<std::string>& v) {
        std::vector<char*> p;
        for (std::string& s : v) p.push_back(s.data());
        p.push_back(nullptr);
        return p;
    };
    std::vector<char*> argp = pointers(argv), envp = pointers(env);
    const std::string out = dir + "/run.out", err = dir + "/run.err";
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addchdir_np(&fa, dir.c_str());
    posix_spawn_file_actions_addopen(&fa, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&fa, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid;
    const int rc = posix_spawn(&pid, argp[0], &fa, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0) return {-1, "", "cannot start " + argv[0]};
    int st = 0;
    waitpid(pid, &st, 0);
    RunResult r{WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st), ReadFileText(out),
                ReadFileText(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return r;
}

// A 240 x 260 picture of four colours, one per quadrant: at the fit zoom of 0.5 it is the canvas
// exactly, each quadrant 60 x 65.
BmpForm Quadrants() {
    BmpForm f;
    f.w = 240;
    f.h = 260;
    for (int y = 0; y < f.h; y++)
        for (int x = 0; x < f.w; x++)
            f.px.push_back(y < 130 ? (x < 120 ? kRed : kGreen) : (x < 120 ? kBlue : kGrey));
    return f;
}

// A 20 x 20 stamp of the key colour (its top-left pixel) with a 10 x 10 square of ink in the
// middle.
BmpForm InkStamp(uint32_t ink) {
    BmpForm f;
    f.w = f.h = 20;
    for (int y = 0; y < 20; y++)
        for (int x = 0; x < 20; x++)
            f.px.push_back(x >= 5 && x < 15 && y >= 5 && y < 15 ? ink : kKey);
    return f;
}

// Rectangles [x0, x1) x [y0, y1) of one colour, painted in order on a white canvas.
struct Fill {
    int x0, y0, x1, y1;
    uint32_t c;
};

std::vector<uint32_t> PaintCanvas(const std::vector<Fill>& fills) {
    std::vector<uint32_t> px(size_t(kCanvasW) * kCanvasH, kWhite);
    for (const Fill& f : fills)
        for (int y = std::max(f.y0, 0); y < std::min(f.y1, kCanvasH); y++)
            for (int x = std::max(f.x0, 0); x < std::min(f.x1, kCanvasW); x++)
                px[size_t(y) * kCanvasW + x] = f.c;
    return px;
}

// The plain fit: the photo's quadrants on the whole canvas.
const std::vector<Fill> kFit = {{0, 0, 60, 65, kRed},
                                {60, 0, 120, 65, kGreen},
                                {0, 65, 60, 130, kBlue},
                                {60, 65, 120, 130, kGrey}};

std::vector<Fill> FitAnd(std::vector<Fill> more) {
    std::vector<Fill> f = kFit;
    f.insert(f.end(), more.begin(), more.end());
    return f;
}

struct ExportRun : testing::Test {
    AppEnv env;       // the codec library for the tests' own reading and writing
    TempDir dir;      // the pictures, and the folder the exporter runs in
    TempDir tmp;      // the exporter's TMPDIR: its working folder goes there, and must go again
    MsgRecorder rec;  // the tests' own reading tells nothing on the screen
    void SetUp() override {
        ASSERT_TRUE(WriteFileBytes(dir.File("photo.bmp"), MakeBmpFile(Quadrants())));
        ASSERT_TRUE(WriteFileBytes(dir.File("s.bmp"), MakeBmpFile(InkStamp(kInk))));
        ASSERT_TRUE(WriteFileBytes(dir.File("t.bmp"), MakeBmpFile(InkStamp(kInk2))));
    }
    // TMPDIR is tmp and the user's data folder dir/data unless vars name others. The exporter's
    // working folder must be gone from TMPDIR afterwards.
    RunResult Run(const std::vector<std::string>& args, std::vector<std::string> vars = {},
                  long memoryKb = 0) {
        for (const std::string& v : {"TMPDIR=" + tmp.path, "XDG_DATA_HOME=" + dir.File("data")}) {
            const std::string name = v.substr(0, v.find('=') + 1);
            bool named = false;
            for (const std::string& mine : vars) named |= mine.rfind(name, 0) == 0;
            if (!named) vars.push_back(v);
        }
        const RunResult r = RunExporter(dir.path, args, vars, memoryKb);
        for (const std::string& v : vars) {
            if (v.rfind("TMPDIR=", 0) != 0) continue;
            const std::string tmpDir = v.substr(7);
            EXPECT_TRUE(!FileExists(tmpDir) || std::filesystem::is_empty(tmpDir))
                << "a working folder was left behind";
        }
        return r;
    }
    // The canvas in a BMP the exporter wrote; empty when the file is not a 120 x 130 picture.
    std::vector<uint32_t> ReadCanvas(const char* name) {
        SIZE size{};
        HBITMAP b = ReadBitmap(nullptr, dir.File(name).c_str(), &size);
        if (!b || size.cx != kCanvasW || size.cy != kCanvasH) {
            DeleteObject(b);
            return {};
        }
        return TakePicData(b).px;
    }
};

// Each step as the program does it, on a photo whose canvas pixels are known. The key colour
// of a stamp shows the photo beneath; a stamp's centre stays on the canvas.
TEST_F(ExportRun, CanvasOfEachStep) {
    struct Case {
        const char* what;
        std::vector<std::string> opts;
        std::vector<Fill> want;
    };
    // Brightness knob 119 maps the bytes 0, 128 and 255 to 205, 230 and 255.
    const Case cases[] = {
        {"plain fit", {}, kFit},
        // The turned picture is 130 x 120: white bands of 5 rows above and below.
        {"a quarter turn anticlockwise",
         {"--rotate"},
         {{0, 5, 60, 65, kGreen},
          {60, 5, 120, 65, kGrey},
          {0, 65, 60, 125, kRed},
          {60, 65, 120, 125, kBlue}}},
        {"mirror",
         {"--mirror"},
         {{0, 0, 60, 65, kGreen},
          {60, 0, 120, 65, kRed},
          {0, 65, 60, 130, kGrey},
          {60, 65, 120, 130, kBlue}}},
        {"the turn comes before the mirror whatever the order given",
         {"--mirror", "--rotate"},
         {{0, 5, 60, 65, kGrey},
          {60, 5, 120, 65, kGreen},
          {0, 65, 60, 125, kBlue},
          {60, 65, 120, 125, kRed}}},
        {"brightness knob 119",
         {"--brightness", "119"},
         {{0, 0, 60, 65, 0xFFCDCD},
          {60, 0, 120, 65, 0xCDE6CD},
          {0, 65, 60, 130, 0xCDCDFF},
          {60, 65, 120, 130, 0xE6E6E6}}},
        {"a drag right and down shows the view's white margin",
         {"--pan", "10,6"},
         {{10, 6, 70, 71, kRed},
          {70, 6, 120, 71, kGreen},
          {10, 71, 70, 130, kBlue},
          {70, 71, 120, 130, kGrey}}},
        {"a long drag right keeps the picture's first column",
         {"--pan", "500,0"},
         {{119, 0, 120, 65, kRed}, {119, 65, 120, 130, kBlue}}},
        {"a long drag up and left keeps the last pixel",
         {"--pan=-500,-500"},
         {{0, 0, 1, 1, kGrey}}},
        {"a keyed stamp placed by its corner",
         {"--stamp", "s.bmp@5,7"},
         FitAnd({{10, 12, 20, 22, kInk}})},
        {"a keyed stamp centred", {"--stamp", "s.bmp"}, FitAnd({{55, 60, 65, 70, kInk}})},
        {"a stamp's centre stays on the canvas",
         {"--stamp", "s.bmp@200,-50"},
         FitAnd({{115, -5, 125, 5, kInk}})},
        {"the later stamp on top",
         {"--stamp", "s.bmp@5,7", "--stamp", "t.bmp@10,12"},
         FitAnd({{10, 12, 20, 22, kInk}, {15, 17, 25, 27, kInk2}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(dir.File("out.bmp"));
        std::vector<std::string> args = c.opts;
        args.insert(args.end(), {"photo.bmp", "out.bmp"});
        const RunResult r = Run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(ComparePics(ReadCanvas("out.bmp"), PaintCanvas(c.want), kCanvasW), "");
    }
}

// Zoom steps go through the work image's zoom commands in the order given: the canvas is the
// one the same commands give in this process.
TEST_F(ExportRun, ZoomStepsInTheirOrder) {
    struct Case {
        const char* what;
        std::vector<int> steps;
    };
    const Case cases[] = {{"in, in, out", {+1, +1, -1}}, {"out, out, in", {-1, -1, +1}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(InitWorkBmp(dir.File("photo.bmp").c_str()), 1);
        std::vector<std::string> args;
        for (int s : c.steps) {
            s > 0 ? ZoomInWorkBmp() : ZoomOutWorkBmp();
            args.push_back(s > 0 ? "--zoom-in" : "--zoom-out");
        }
        const std::vector<uint32_t> want = CanvasPixels();
        ASSERT_NE(ComparePics(want, PaintCanvas(kFit), kCanvasW), "");  // the zoom shows
        args.insert(args.end(), {"photo.bmp", "out.bmp"});
        const RunResult r = Run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(ComparePics(ReadCanvas("out.bmp"), want, kCanvasW), "");
    }
}

// A JPEG goes through the codec library: a JPEG file of the canvas's size and colours.
TEST_F(ExportRun, JpegOutputDecodesToTheCanvas) {
    const RunResult r = Run({"photo.bmp", "out.jpg"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<unsigned char> jpg = ReadFileBytes(dir.File("out.jpg"));
    ASSERT_GE(jpg.size(), 3u);
    EXPECT_EQ(jpg[0], 0xFF);
    EXPECT_EQ(jpg[1], 0xD8);
    EXPECT_EQ(jpg[2], 0xFF);
    ASSERT_EQ(InitWorkBmp(dir.File("out.jpg").c_str()), 1);
    ASSERT_EQ(WorkBmp.srcW, kCanvasW);
    ASSERT_EQ(WorkBmp.srcH, kCanvasH);
    const std::vector<uint32_t> got = PicPixels(WorkBmp.srcBmp, kCanvasW, kCanvasH);
    const std::vector<uint32_t> want = PaintCanvas(kFit);
    // Quality 100 keeps flat colours within a few steps, away from the edges.
    for (POINT p : {POINT{30, 32}, POINT{90, 32}, POINT{30, 97}, POINT{90, 97}}) {
        SCOPED_TRACE(testing::Message() << "(" << p.x << ", " << p.y << ")");
        const uint32_t g = got[size_t(p.y) * kCanvasW + p.x],
                       w = want[size_t(p.y) * kCanvasW + p.x];
        for (int shift : {0, 8, 16}) EXPECT_NEAR(int(g >> shift & 0xFF), int(w >> shift & 0xFF), 4);
    }
}

// Every failure ends with status 1, a message on stderr and no output file.
TEST_F(ExportRun, FailuresAreToldAndWriteNothing) {
    ASSERT_TRUE(
        WriteFileBytes(dir.File("junk.jpg"), {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'g'}));
    // A TMPDIR of 230 bytes: the working folder's name fits, its temp.bmp would not.
    const std::string longTmp = dir.path + "/" + std::string(229 - dir.path.size(), 'd');
    ASSERT_TRUE(std::filesystem::create_directory(longTmp));
    struct Case {
        const char* what;
        std::vector<std::string> args;
        const char* out;
        std::string msg;
        std::vector<std::string> vars = {};  // besides the usual environment
    };
    const Case cases[] = {
        {"working folder cannot be made",
         {"photo.bmp", "out.bmp"},
         "out.bmp",
         "作業フォルダを作れませんでした: /nonexistent-quillet/quillet-export-",
         {"TMPDIR=/nonexistent-quillet"}},
        {"working folder name too long for its files",
         {"photo.bmp", "out.bmp"},
         "out.bmp",
         "作業フォルダの名前が長すぎます: " + longTmp + "/quillet-export-",
         {"TMPDIR=" + longTmp}},
        {"missing photo",
         {"nothere.bmp", "out.bmp"},
         "out.bmp",
         "quillet-export: 写真を開けませんでした: nothere.bmp"},
        {"photo path too long for the reader",
         {dir.path + "/" + std::string(259 - dir.path.size(), 'p') + ".bmp", "out.bmp"},
         "out.bmp",
         "写真のパスが長すぎます: "},
        {"photo that does not decode",
         {"junk.jpg", "out.bmp"},
         "out.bmp",
         "写真を開けませんでした: junk.jpg"},
        {"stamp that cannot be read",
         {"--stamp", "nothere.png", "photo.bmp", "out.bmp"},
         "out.bmp",
         "スタンプを開けませんでした: nothere.png"},
        {"BMP into a missing folder",
         {"photo.bmp", "no/out.bmp"},
         "no/out.bmp",
         "Quillet: 画像を保存できませんでした"},
        {"JPEG into a missing folder",
         {"photo.bmp", "no/out.jpg"},
         "no/out.jpg",
         "Quillet: 画像を保存できませんでした"},
        {"another kind of file",
         {"photo.bmp", "out.png"},
         "out.png",
         "Quillet: ビットマップ、ＪＰＥＧ以外では\n保存できません"},
        {"an upper-case extension",
         {"photo.bmp", "out.BMP"},
         "out.BMP",
         "ビットマップ、ＪＰＥＧ以外では"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RunResult r = Run(c.args, c.vars);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.msg), std::string::npos) << r.err;
        EXPECT_FALSE(FileExists(dir.File(c.out)));
    }
}

// A good photo that does not fit the memory left is not blamed: the message says memory ran out.
// (Under AddressSanitizer the shadow memory needs more address space than any such limit.)
TEST_F(ExportRun, PhotoTooLargeForTheMemoryIsToldSo) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "an address-space limit stops the sanitizer itself";
#endif
    // 16000 x 16000 pixels of 24 bits, allowed by the reader: a sparse file of 768 MB.
    const int w = 16000, h = 16000, stride = (w * 3 + 3) & ~3;
    std::vector<unsigned char> head = MakeBmpFile(Quadrants());
    head.resize(54);
    const auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; i++) head[at + i] = (unsigned char)(v >> (8 * i));
    };
    put32(2, 54 + uint32_t(stride) * h);
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    put32(34, uint32_t(stride) * h);
    ASSERT_TRUE(WriteFileBytes(dir.File("huge.bmp"), head));
    ASSERT_EQ(truncate(dir.File("huge.bmp").c_str(), 54 + off_t(stride) * h), 0);
    const RunResult r = Run({"huge.bmp", "out.bmp"}, {}, 400 * 1024);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("写真を開くメモリが足りません: huge.bmp"), std::string::npos) << r.err;
    EXPECT_FALSE(FileExists(dir.File("out.bmp")));
}

// An output path far longer than the reader's limit is written all the same.
TEST_F(ExportRun, LongOutputPathIsWritten) {
    const std::string sub = dir.File(std::string(200, 'o'));
    ASSERT_TRUE(std::filesystem::create_directory(sub));
    const std::string out = sub + "/" + std::string(120, 'n') + ".bmp";
    const RunResult r = Run({"photo.bmp", out});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(FileExists(out));
}

TEST_F(ExportRun, HelpOnStdoutAndUsageErrorsWithStatus2) {
    RunResult r = Run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("--stamp PATH[@X,Y]"), std::string::npos) << r.out;
    EXPECT_EQ(r.err, "");

    r = Run({"--brightness", "120", "photo.bmp", "out.bmp"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("使い方: quillet-export"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(FileExists(dir.File("out.bmp")));
}

// A running program's temp.bmp in the user's application folder is never touched: the exporter
// reads the JPEG photo and stamp and writes the JPEG through a temp.bmp of its own.
TEST_F(ExportRun, RunningProgramsTempBmpIsLeftAlone) {
    const std::string appDir = dir.File("data/Halvorne/Quillet"), temp = appDir + "/temp.bmp";
    std::filesystem::create_directories(appDir);
    const std::vector<unsigned char> mine = {'B', 'M', 'm', 'i', 'n', 'e'};
    ASSERT_TRUE(WriteFileBytes(temp, mine));
    const timespec times[2] = {{978307200, 0}, {978307200, 123456789}};
    ASSERT_EQ(utimensat(AT_FDCWD, temp.c_str(), times, 0), 0);
    ASSERT_TRUE(SaveJpegWithCodec(dir.File("photo.bmp"), dir.File("photo.jpg"), 95));
    ASSERT_TRUE(SaveJpegWithCodec(dir.File("s.bmp"), dir.File("s.jpg"), 95));

    const RunResult r = Run({"--stamp", "s.jpg", "photo.jpg", "out.jpg"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(FileExists(dir.File("out.jpg")));
    EXPECT_EQ(ReadFileBytes(temp), mine);
    struct stat st;
    ASSERT_EQ(stat(temp.c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, times[1].tv_sec);
    EXPECT_EQ(st.st_mtim.tv_nsec, times[1].tv_nsec);
    // Nothing else was put beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(appDir),
                            std::filesystem::directory_iterator()),
              1);
}

}  // namespace
