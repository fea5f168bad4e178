#include "support/testutil.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>

#include "app/appstate.h"
#include "app/folders.h"
#include "app/reginfo.h"
#include "image/canvas.h"
#include "image/workbmp.h"
#include "platform/kernel/kernel.h"
#include "platform/user/modal.h"
#include "platform/user/window.h"
#include "ui/appmsg.h"
#include "ui/memsurf.h"

TempDir::TempDir() {
    char tmpl[] = "/tmp/quillet-test-XXXXXX";
    const char* p = mkdtemp(tmpl);
    path = p ? p : "/tmp";
}

TempDir::~TempDir() {
    std::error_code ec;
    if (path != "/tmp") std::filesystem::remove_all(path, ec);
}

bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

bool FileExists(const std::string& path) {
    return std::filesystem::exists(path);
}

std::vector<unsigned char> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ReadFileText(const std::string& path) {
    const std::vector<unsigned char> b = ReadFileBytes(path);
    return std::string(b.begin(), b.end());
}

FileSizeLimit::FileSizeLimit(unsigned long bytes) {
    rlimit lim{};
    getrlimit(RLIMIT_FSIZE, &lim);
    oldCur = lim.rlim_cur;
    oldSig = signal(SIGXFSZ, SIG_IGN);
    lim.rlim_cur = bytes;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &lim), 0);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit lim{};
    getrlimit(RLIMIT_FSIZE, &lim);
    lim.rlim_cur = oldCur;
    setrlimit(RLIMIT_FSIZE, &lim);
    signal(SIGXFSZ, oldSig);
}

namespace {

MsgRecorder* g_recorder;
int g_answer;

int RecordMsg(const ModalEvent* e) {
    if (!g_recorder) return g_answer;
    const bool msgBox = e->kind == MODAL_MSGBOX || (e->kind == MODAL_DIALOG && e->templ == 199);
    if (!msgBox && g_recorder->others) return g_recorder->others(e);
    if (e->kind == MODAL_MSGBOX) {
        g_recorder->msgs.push_back(
            {e->caption ? e->caption : "", e->text ? e->text : "", e->type, 0});
    } else if (e->templ == 199) {
        char text[MAX_PATH] = "";
        GetWindowTextA(GetDlgItem(e->wnd, 1041), text, MAX_PATH);
        g_recorder->msgs.push_back({"", text, 0, 199});
    }
    return g_answer;
}

}  // namespace

MsgRecorder::MsgRecorder(int answer) : prev(g_recorder), prevAnswer(g_answer) {
    g_recorder = this;
    g_answer = answer;
    SetModalHook(RecordMsg);
}

MsgRecorder::~MsgRecorder() {
    g_recorder = prev;
    g_answer = prevAnswer;
    SetModalHook(prev ? RecordMsg : nullptr);
}

std::vector<uint32_t> PicPixels(HBITMAP bmp, int w, int h) {
    std::vector<uint32_t> px(size_t(w) * h);
    BITMAPINFO bi = TopDownInfo(w, h, 32);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bmp, 0, h, px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    return px;
}

HBITMAP MakePic(int w, int h, const std::vector<uint32_t>& px) {
    BITMAPINFO bi = TopDownInfo(w, h, 32);
    HDC dc = GetDC(nullptr);
    HBITMAP b = CreateDIBitmap(dc, &bi.bmiHeader, CBM_INIT, px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    return b;
}

Surface::Surface(int w_, int h_, const std::vector<uint32_t>& px) : w(w_), h(h_) {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    bmp = MakePic(w, h, px);
    old = SelectObject(dc, bmp);
}

Surface::~Surface() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
}

std::vector<uint32_t> CanvasPixels() {
    MemSurface s;
    if (!MakeMemSurface(&s, kCanvasW, kCanvasH)) return {};
    EXPECT_EQ(DrawCanvas(s.dc, nullptr, 0), 1);
    auto px = PicPixels(s.bmp, kCanvasW, kCanvasH);
    FreeMemSurface(&s);
    return px;
}

std::string ComparePics(const std::vector<uint32_t>& got, const std::vector<uint32_t>& want,
                        int w) {
    if (got.size() != want.size())
        return "sizes differ: " + std::to_string(got.size()) + " vs " + std::to_string(want.size());
    for (size_t i = 0; i < got.size(); i++) {
        if (got[i] == want[i]) continue;
        char buf[128];
        snprintf(buf, sizeof buf, "first difference at (%zu, %zu): got %06X, want %06X", i % w,
                 i / w, got[i], want[i]);
        return buf;
    }
    return "";
}

void PutLe32(std::vector<unsigned char>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++) b[at + i] = (unsigned char)(v >> (8 * i));
}

void PutLe16(std::vector<unsigned char>& b, size_t at, uint16_t v) {
    b[at] = (unsigned char)v;
    b[at + 1] = (unsigned char)(v >> 8);
}

std::vector<unsigned char> MakeBmpFile(const BmpForm& s) {
    const int entries = s.bits <= 8 ? (s.clrUsed ? s.clrUsed : 1 << s.bits) : s.clrUsed;
    const int entry = s.core ? 3 : 4;
    const size_t hdr = s.core ? 12 : 40;
    const size_t off = 14 + hdr + size_t(entries) * entry;
    const size_t stride = ((size_t(s.w) * s.bits + 31) / 32) * 4;
    std::vector<unsigned char> b(off + stride * s.h, 0);
    b[0] = 'B';
    b[1] = 'M';
    PutLe32(b, 2, (uint32_t)b.size());
    PutLe32(b, 10, (uint32_t)off);
    PutLe32(b, 14, (uint32_t)hdr);
    if (s.core) {
        PutLe16(b, 18, (uint16_t)s.w);
        PutLe16(b, 20, (uint16_t)s.h);
        PutLe16(b, 22, 1);
        PutLe16(b, 24, (uint16_t)s.bits);
    } else {
        PutLe32(b, 18, (uint32_t)s.w);
        PutLe32(b, 22, (uint32_t)(s.topDown ? -s.h : s.h));
        PutLe16(b, 26, 1);
        PutLe16(b, 28, (uint16_t)s.bits);
        PutLe32(b, 34, (uint32_t)(stride * s.h));
        PutLe32(b, 46, (uint32_t)s.clrUsed);
    }
    for (int i = 0; i < entries; i++) {
        const uint32_t c = i < (int)s.pal.size() ? s.pal[i] : 0;
        unsigned char* e = &b[14 + hdr + size_t(i) * entry];
        e[0] = (unsigned char)c;
        e[1] = (unsigned char)(c >> 8);
        e[2] = (unsigned char)(c >> 16);
    }
    for (int y = 0; y < s.h; y++) {
        const int fileRow = s.topDown ? y : s.h - 1 - y;
        unsigned char* row = &b[off + stride * fileRow];
        for (int x = 0; x < s.w; x++) {
            const uint32_t v = s.px[size_t(y) * s.w + x];
            switch (s.bits) {
                case 1: row[x / 8] |= (unsigned char)((v & 1) << (7 - x % 8)); break;
                case 4: row[x / 2] |= (unsigned char)((v & 15) << (x % 2 ? 0 : 4)); break;
                case 8: row[x] = (unsigned char)v; break;
                case 16: {
                    const uint32_t w5 =
                        ((v >> 19) & 31) << 10 | ((v >> 11) & 31) << 5 | ((v >> 3) & 31);
                    row[2 * x] = (unsigned char)w5;
                    row[2 * x + 1] = (unsigned char)(w5 >> 8);
                    break;
                }
                case 24:
                case 32:
                    row[x * (s.bits / 8)] = (unsigned char)v;
                    row[x * (s.bits / 8) + 1] = (unsigned char)(v >> 8);
                    row[x * (s.bits / 8) + 2] = (unsigned char)(v >> 16);
                    break;
            }
        }
    }
    return b;
}

namespace {
SYSTEMTIME g_fakeNow;
void GetFakeNow(SYSTEMTIME* t) {
    *t = g_fakeNow;
}
}  // namespace

std::string StoredText(const char* name) {
    char* text = nullptr;
    if (!GetRegValue(name, &text) || !text) return "<absent>";
    std::string s = text;
    free(text);
    return s;
}

FakeClock::FakeClock(const SYSTEMTIME& now) {
    g_fakeNow = now;
    PlatSetLocalTimeHook(GetFakeNow);
}

FakeClock::~FakeClock() {
    PlatSetLocalTimeHook(nullptr);
}

void FakeClock::Set(const SYSTEMTIME& now) {
    g_fakeNow = now;
}

AppEnv::AppEnv() {
    setenv("XDG_DATA_HOME", data.path.c_str(), 1);
    // The settings stores and the instance sockets of this test only.
    for (const char* var : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_RUNTIME_DIR"}) {
        const std::string dir = data.path + "/" + var;
        mkdir(dir.c_str(), 0700);
        setenv(var, dir.c_str(), 1);
    }
    PlatSetModulePath(QUILLET_OUT_DIR "/quillet");
    memset(&g_app, 0, sizeof g_app);
    EXPECT_EQ(GetAppPath(), 1);
    EXPECT_EQ(GetAppFolder(), 1);
    EXPECT_EQ(CreateDir(), 1);
}

AppEnv::~AppEnv() {
    ClearWorkBmp();
    PlatSetModulePath(nullptr);
    for (const char* var :
         {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_RUNTIME_DIR"})
        unsetenv(var);
}

bool SaveJpegWithCodec(const std::string& bmp, const std::string& jpg, int quality) {
    HMODULE lib = LoadLibraryA("HlvJpg.DLL");
    if (!lib) return false;
    typedef int (*SaveFn)(const char*, const char*, int);
    SaveFn save = (SaveFn)GetProcAddress(lib, "SaveJpegFile");
    const bool ok = save && save(bmp.c_str(), jpg.c_str(), quality);
    FreeLibrary(lib);
    return ok;
}

int PumpMsgs() {
    MSG msg;
    int n = 0;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
        ++n;
    }
    return n;
}

namespace {

LRESULT BtnParentProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP_BUTTON) {
        auto* p = reinterpret_cast<BtnParent*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
        if (p) p->clicks.push_back(int(LOWORD(wp)));
        return 0;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

}  // namespace

bool UseTestClass(const char* name, WNDPROC proc, UINT style) {
    WNDCLASSEXA cls{};
    if (GetClassInfoExA(nullptr, name, &cls)) return true;
    cls.cbSize = sizeof cls;
    cls.style = style;
    cls.lpfnWndProc = proc;
    cls.lpszClassName = name;
    return RegisterClassExA(&cls) != 0;
}

BtnParent::BtnParent() {
    UseTestClass("TestBtnParent", BtnParentProc);
    wnd = CreateWindowExA(0, "TestBtnParent", "parent", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                          nullptr, nullptr);
    SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

BtnParent::~BtnParent() {
    DestroyWindow(wnd);
    PumpMsgs();
}

PicData TakePicData(HBITMAP bmp) {
    PicData pic;
    BITMAP bm{};
    if (!bmp || !GetObjectA(bmp, sizeof bm, &bm)) return pic;
    pic.w = bm.bmWidth;
    pic.h = bm.bmHeight;
    pic.px = PicPixels(bmp, pic.w, pic.h);
    DeleteObject(bmp);
    return pic;
}

PicData LoadResPic(int num) {
    return TakePicData(LoadBitmapA(nullptr, MAKEINTRESOURCEA(num)));
}

uint32_t ThumPx(const ThumList* list, int index, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, list->pics[index]);
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

std::string PutDotBmp(const std::string& dir, const std::string& name, int w, int h, uint32_t back,
                      uint32_t dot, int dx, int dy) {
    BmpForm f;
    f.w = w;
    f.h = h;
    f.px.assign(size_t(w) * h, back);
    f.px[size_t(dy) * w + dx] = dot;
    const std::string path = dir + "/" + name;
    EXPECT_TRUE(WriteFileBytes(path, MakeBmpFile(f)));
    return path;
}
