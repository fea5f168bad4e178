// Bitmaps of the program's resources: res/bmp/<number>.png, embedded with Qt's resource system.
#include <QImage>
#include <QString>
#include <cstring>

#include "platform/gdi/records.h"

BitmapRec* NewBmpFromImage(const QImage& pic) {
    const QImage img = pic.convertToFormat(QImage::Format_RGB32);
    BitmapRec* b = NewBmpRec(img.width(), img.height(), false);
    if (!b) return nullptr;
    // Device pictures keep the top byte clear.
    for (int y = 0; y < img.height(); ++y) {
        const uint32_t* src = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
        uint32_t* dst = b->px + size_t(y) * img.width();
        for (int x = 0; x < img.width(); ++x) dst[x] = src[x] & 0x00ffffffu;
    }
    return b;
}

HBITMAP LoadBitmapA(HINSTANCE, LPCSTR name) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    const QImage png(QString(":/bmp/%1.png").arg(static_cast<unsigned>(uintptr_t(name))));
    return png.isNull() ? nullptr : NewBmpFromImage(png);
}
