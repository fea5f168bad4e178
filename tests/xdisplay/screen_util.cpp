#include "screen_util.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "support/testutil.h"

bool UnderWm() {
    const char* wm = getenv("QUILLET_WM");
    return wm && *wm;
}

// What xprop says of property `prop` of X window `id`: "= ..." and the value, or "" when the
// window manager has not set it yet.
static std::string XProp(WId id, const char* prop) {
    const std::string cmd = "xprop -id " + std::to_string(id) + " " + prop + " 2>/dev/null";
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[256];
        while (fgets(buf, sizeof buf, p)) out += buf;
        pclose(p);
    }
    const size_t eq = out.find("= ");
    return eq == std::string::npos ? "" : out.substr(eq + 2, out.find('\n') - eq - 2);
}

// The window manager frames a window once it has mapped it; it says so in _NET_FRAME_EXTENTS.
static void ExpectNoFrames() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->mask().isEmpty()) continue;
        std::string extents;
        for (int i = 0; i < 100 && (extents = XProp(w->winId(), "_NET_FRAME_EXTENTS")).empty();
             i++) {
            PumpMsgs();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        EXPECT_EQ(extents, "0, 0, 0, 0")
            << "the frame of \"" << w->windowTitle().toStdString() << "\"";
    }
}

QImage GrabScreen(const std::string& name) {
    if (UnderWm()) ExpectNoFrames();
    const std::string dir =
        std::string(QUILLET_SHOT_DIR) + (UnderWm() ? "/" + std::string(getenv("QUILLET_WM")) : "");
    std::filesystem::create_directories(dir);
    const std::string png = dir + "/" + name;
    const std::string cmd = std::string(QUILLET_XSHOT) + " '" + png + "'";
    const int rc = std::system(cmd.c_str());
    // What the window manager did meanwhile (placing a window) reaches the windows now.
    PumpMsgs();
    if (rc != 0) return QImage();
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

void XClick(int x, int y) {
    const std::string cmd =
        "xdotool mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " click 1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
}

void AwaitActive(HWND wnd) {
    for (int i = 0; i < 200 && GetActiveWindow() != wnd; i++) {
        PumpMsgs();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}
