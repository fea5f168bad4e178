// The program icon 135 (48 x 48, and 256 x 256 for the desktop entry), the small icon 196 and the
// hand cursors 205 (open, over the work area) and 204 (closed, while dragging).
#include <QDir>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

#include "art.h"
#include "glyphs.h"
#include "res/cursors.h"

namespace {

// The icon: a pink phone with a heart on its screen, drawn on a 256 grid and scaled.
QImage DrawAppIcon(int size, bool small) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    InitPainter(p);
    p.scale(size / 256.0, size / 256.0);
    const double pen = small ? 14 : 6;
    QLinearGradient body(56, 0, 200, 0);
    body.setColorAt(0, QColor(246, 150, 186));
    body.setColorAt(0.4, QColor(255, 200, 220));
    body.setColorAt(1, QColor(232, 120, 164));
    p.setPen(QPen(kPinkDark, pen));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(58, 12, 140, 236), 36, 36);
    p.setBrush(QColor(90, 50, 70));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(76, 40, 104, 112), 12, 12);
    QLinearGradient sky(0, 50, 0, 142);
    sky.setColorAt(0, QColor(170, 220, 255));
    sky.setColorAt(1, QColor(255, 244, 250));
    p.fillRect(QRectF(86, 50, 84, 92), sky);
    DrawGlyph(p, GLYPH_HEART, QRectF(100, 70, 56, 50), QColor(255, 90, 140));
    if (!small) {
        p.setPen(QPen(kPinkDeep, 3));
        p.setBrush(QColor(255, 240, 246));
        for (int k = 0; k < 6; ++k)
            p.drawRoundedRect(QRectF(84 + 32 * (k % 3), 170 + 30 * (k / 3), 24, 20), 8, 8);
    }
    return img;
}

// A cartoon hand, palm towards the viewer, white with a dark outline, around (16, 16).
// Open: four spread fingers and the thumb; closed: the fingers curled into knuckles.
QImage DrawHandCursor(bool open) {
    QImage img(32, 32, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    InitPainter(p);
    QPainterPath hand;
    hand.setFillRule(Qt::WindingFill);
    hand.addRoundedRect(QRectF(7, 13, 19, 15), 6, 6);  // palm
    if (open) {
        // Fingers overlap a little so that the outline runs round the hand, not between them.
        static const double kFingerTop[4] = {6, 2.5, 3, 6};
        for (int i = 0; i < 4; ++i)
            hand.addRoundedRect(QRectF(7.2 + 4.6 * i, kFingerTop[i], 5, 17 - kFingerTop[i]), 2.5,
                                2.5);
        QPainterPath thumb;
        thumb.addRoundedRect(QRectF(-2.5, -2, 5, 12), 2.5, 2.5);
        hand.addPath(QTransform().translate(5.5, 18).rotate(-45).map(thumb));
    } else {
        for (int i = 0; i < 4; ++i) hand.addRoundedRect(QRectF(7.2 + 4.6 * i, 10, 5, 8), 2.5, 2.5);
        hand.addRoundedRect(QRectF(4, 16, 7, 5.5), 2.7, 2.7);
    }
    const QPainterPath outline = hand.simplified();
    p.setPen(QPen(Qt::black, 1.6));
    p.setBrush(Qt::white);
    p.drawPath(outline);
    // Creases between the fingers, short, so that the fingers read at 1:1.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(96, 96, 96), 1));
    for (int i = 1; i < 4; ++i) {
        const double x = std::floor(7.2 + 4.6 * i);
        p.drawLine(QPointF(x, open ? 9 : 11), QPointF(x, open ? 14 : 15));
    }
    return img;
}

}  // namespace

int DrawIcons(const ArtOut& out) {
    int ok = SaveRes(out, RES_ICO, 135, DrawAppIcon(48, false));
    ok &= SaveRes(out, RES_ICO, 196, DrawAppIcon(16, true));
    // The desktop entry's icon, installed beside the program's menu entry.
    const QString desk = out.resDir + "/desktop";
    if (!QDir().mkpath(desk) || !DrawAppIcon(256, false).save(desk + "/quillet.png", "PNG")) {
        std::fprintf(stderr, "cannot write %s/quillet.png\n", qPrintable(desk));
        ok = 0;
    }
    for (const CurHotSpot& c : kCurHotSpots)
        ok &= SaveRes(out, RES_CUR, c.num, DrawHandCursor(c.num == 205));
    return ok;
}
