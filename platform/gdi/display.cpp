// The display as the primary screen reports it. Pictures are always 32 bits per pixel.
#include "platform/gdi/display.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/gdi/records.h"

namespace {

struct ScreenSeam {
    int width = 0, height = 0, bits = 0;
} g_screen;

QSize ScreenSize() {
    if (g_screen.width) return QSize(g_screen.width, g_screen.height);
    const QScreen* s = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    return s ? s->size() : QSize(1024, 768);
}

}  // namespace

void PlatSetScreen(int width, int height, int bits) {
    g_screen = ScreenSeam{width, height, bits};
}

int GetSystemMetrics(int index) {
    if (index == SM_CXSCREEN) return ScreenSize().width();
    if (index == SM_CYSCREEN) return ScreenSize().height();
    return 0;
}

int GetDeviceCaps(HDC dc, int index) {
    if (!dc) return 0;
    switch (index) {
        case BITSPIXEL: return g_screen.bits ? g_screen.bits : 32;
        case PLANES: return 1;
        case HORZRES: return ScreenSize().width();
        case VERTRES: return ScreenSize().height();
        default: return 0;
    }
}

// The work area is the screen less the desktop's panels; with the screen seam, the whole
// pretended screen.
BOOL SystemParametersInfoA(UINT action, UINT, void* out, UINT) {
    if (action != SPI_GETWORKAREA || !out) return FALSE;
    QRect area(QPoint(0, 0), ScreenSize());
    const QScreen* s = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    if (!g_screen.width && s) area = s->availableGeometry();
    *static_cast<RECT*>(out) =
        RECT{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
    return TRUE;
}
