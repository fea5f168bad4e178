// Helpers shared by the test suites.
#pragma once

#include <string>
#include <vector>

#include "browser/thumlist.h"
#include "platform/gdi/gdi.h"
#include "platform/kernel/kernel.h"
#include "platform/user/modal.h"
#include "platform/user/window.h"

// A fresh temporary folder, removed with everything in it when the helper goes.
struct TempDir {
    std::string path;
    TempDir();
    ~TempDir();
    std::string File(const std::string& name) const { return path + "/" + name; }
};

// Writes bytes to a file; returns false when it cannot.
bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
bool FileExists(const std::string& path);
// A file's bytes; empty when it cannot be read.
std::vector<unsigned char> ReadFileBytes(const std::string& path);
std::string ReadFileText(const std::string& path);

// While it lives, files cannot grow beyond `bytes`: a write fails midway as on a full disk, also
// for root (the signal the kernel sends for it is ignored meanwhile).
struct FileSizeLimit {
    explicit FileSizeLimit(unsigned long bytes);
    ~FileSizeLimit();

private:
    unsigned long oldCur;
    void (*oldSig)(int);
};

// The settings text value `name` as stored, or "<absent>".
std::string StoredText(const char* name);

// The local clock stands at `now` while this lives; Set moves it.
struct FakeClock {
    explicit FakeClock(const SYSTEMTIME& now = {});
    ~FakeClock();
    void Set(const SYSTEMTIME& now);
};

// Records every plain message box (caption and text) and every skinned message box (template
// 199: its text) while it lives, answering `answer`; other modal windows go to `others` when it is
// set, else get `answer` too. A recorder made while another lives takes over until it goes.
struct MsgRecorder {
    struct Msg {
        std::string caption, text;
        unsigned type;  // plain boxes: the MB_* flags
        int templ;      // 0 for a plain box, 199 for the skinned one
    };
    std::vector<Msg> msgs;
    ModalHook others;
    explicit MsgRecorder(int answer = 1);
    ~MsgRecorder();

private:
    MsgRecorder* prev;
    int prevAnswer;
};

// A picture's pixels (0x00RRGGBB, top-down rows) with its size.
struct PicData {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    uint32_t At(int x, int y) const { return px[size_t(y) * w + x]; }
};
// The pixels of a picture, or of bitmap resource `num`; empty when there is none. The picture
// is released.
PicData TakePicData(HBITMAP bmp);
PicData LoadResPic(int num);

// Pixels of a picture as 0x00RRGGBB, top-down rows.
std::vector<uint32_t> PicPixels(HBITMAP bmp, int w, int h);
// A w x h picture from 0x00RRGGBB pixels, top-down rows.
HBITMAP MakePic(int w, int h, const std::vector<uint32_t>& px);
// A memory surface with a w x h picture of the given pixels selected, released together.
struct Surface {
    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
    int w, h;
    Surface(int w, int h, const std::vector<uint32_t>& px);
    ~Surface();
    std::vector<uint32_t> Pixels() const { return PicPixels(bmp, w, h); }
};
// The canvas composed with no stamps: the work image's window, or white.
std::vector<uint32_t> CanvasPixels();
// Empty when the two pictures are equal, else the first differing pixel and both colours.
std::string ComparePics(const std::vector<uint32_t>& got, const std::vector<uint32_t>& want, int w);

// A BMP file in memory. Pixels are palette indices for 1, 4 and 8 bits, else 0x00RRGGBB (16-bit
// files keep the top five bits of each channel). Rows are given top-down.
struct BmpForm {
    int w = 1, h = 1;
    int bits = 24;
    bool core = false;     // 12-byte header with 3-byte palette entries
    bool topDown = false;  // negative height
    int clrUsed = 0;       // palette entries written (0: the default count for the depth)
    std::vector<uint32_t> pal;
    std::vector<uint32_t> px;
};
std::vector<unsigned char> MakeBmpFile(const BmpForm& form);
// Little-endian field writes into a built file, for damaging headers.
void PutLe32(std::vector<unsigned char>& b, size_t at, uint32_t v);
void PutLe16(std::vector<unsigned char>& b, size_t at, uint16_t v);

// The program's folders for a test: the data folder, the per-user and per-machine settings stores
// and the instance sockets in a fresh temporary folder, the program folder where the build puts
// the program and the codec library. Restores them when it goes.
struct AppEnv {
    TempDir data;
    AppEnv();
    ~AppEnv();
};

// Converts a BMP file to a JPEG file through the codec library.
bool SaveJpegWithCodec(const std::string& bmp, const std::string& jpg, int quality);

// Dispatches every posted message that is waiting, and the window-system events; returns how
// many messages it dispatched.
int PumpMsgs();

// Registers window class `name` with procedure `proc` and class style `style` unless it exists.
bool UseTestClass(const char* name, WNDPROC proc, UINT style = 0);

// A plain top-level window whose procedure counts the WM_APP_BUTTON ids it receives.
struct BtnParent {
    HWND wnd;
    std::vector<int> clicks;
    BtnParent();
    ~BtnParent();
};

// The colour (0xRRGGBB) of pixel (x, y) of picture `index` of the store.
uint32_t ThumPx(const ThumList* list, int index, int x, int y);

// A w x h BMP of colour `back` with a `dot` pixel at (dx, dy), named `name` in `dir`.
std::string PutDotBmp(const std::string& dir, const std::string& name, int w, int h, uint32_t back,
                      uint32_t dot, int dx = 0, int dy = 0);
