// Illustration stamps of flowers and weather, each drawn in a 100 x 100 box.
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "stamps.h"

// A cloud filling b: three puffs on a rounded base.
static QPainterPath CloudPath(const QRectF& b) {
    auto at = [&](double u, double v) { return AtBox(b, u, v); };
    QPainterPath cloud;
    cloud.addRoundedRect(QRectF(at(0.04, 0.5), at(0.96, 0.98)), b.height() * 0.24,
                         b.height() * 0.24);
    cloud = cloud.united(EllipsePath(at(0.3, 0.56), b.width() * 0.2, b.height() * 0.34));
    cloud = cloud.united(EllipsePath(at(0.58, 0.42), b.width() * 0.27, b.height() * 0.42));
    cloud = cloud.united(EllipsePath(at(0.8, 0.64), b.width() * 0.16, b.height() * 0.28));
    return cloud.simplified();
}

// Round petals about a centre.
void DrawFlower(QPainter& p, const QRectF&, const StmpDef& d) {
    QPainterPath petals;
    for (int i = 0; i < 5; ++i) {
        const double a = -M_PI / 2 + i * 2 * M_PI / 5;
        petals = petals.united(
            EllipsePath(QPointF(50 + 28 * std::cos(a), 52 + 28 * std::sin(a)), 22, 22));
    }
    FillBlob(p, petals.simplified(), QColor(d.c1));
    FillBlob(p, EllipsePath(QPointF(50, 52), 16, 16), QColor(d.c2));
    DrawGlint(p, QPointF(44, 46), 5, 3);
}

void DrawTulip(QPainter& p, const QRectF&, const StmpDef& d) {
    const QColor leaf(d.c2);
    QPainterPath stem(QPointF(50, 56));
    stem.lineTo(50, 96);
    DrawBand(p, stem, leaf, 150, 5);
    FillBlob(p, EllipsePath(QPointF(34, 80), 16, 7, -40), leaf);
    FillBlob(p, EllipsePath(QPointF(66, 82), 16, 7, 40), leaf);
    QPainterPath cup(QPointF(20, 10));
    cup.cubicTo(14, 48, 32, 66, 50, 66);
    cup.cubicTo(68, 66, 86, 48, 80, 10);
    cup.lineTo(65, 26);
    cup.lineTo(50, 6);
    cup.lineTo(35, 26);
    cup.closeSubpath();
    FillBlob(p, cup, QColor(d.c1));
    DrawGlint(p, QPointF(32, 34), 5, 9);
}

// Five notched petals with stamens.
void DrawSakura(QPainter& p, const QRectF&, const StmpDef& d) {
    QPainterPath petal(QPointF(0, 0));
    petal.cubicTo(-26, -12, -24, -42, -8, -48);
    petal.lineTo(0, -40);
    petal.lineTo(8, -48);
    petal.cubicTo(24, -42, 26, -12, 0, 0);
    QPainterPath flower;
    for (int i = 0; i < 5; ++i) {
        QTransform t;
        t.translate(50, 53);
        t.rotate(i * 72);
        flower = flower.united(t.map(petal));
    }
    FillBlob(p, flower.simplified(), QColor(d.c1));
    const QColor stamen(d.c2);
    for (int i = 0; i < 5; ++i) {
        const double a = -M_PI / 2 + M_PI / 5 + i * 2 * M_PI / 5;
        const QPointF tip(50 + 15 * std::cos(a), 53 + 15 * std::sin(a));
        p.setPen(BandPen(stamen, 2.5));
        p.drawLine(QPointF(50, 53), tip);
        p.setPen(Qt::NoPen);
        p.setBrush(stamen);
        p.drawEllipse(tip, 4, 4);
    }
}

void DrawSunflower(QPainter& p, const QRectF&, const StmpDef& d) {
    QPainterPath petals;
    for (int i = 0; i < 14; ++i) {
        const double deg = i * 360.0 / 14, a = deg * M_PI / 180;
        petals = petals.united(
            EllipsePath(QPointF(50 + 32 * std::cos(a), 50 + 32 * std::sin(a)), 17, 8, deg));
    }
    FillBlob(p, petals.simplified(), QColor(d.c1));
    const QPainterPath disc = EllipsePath(QPointF(50, 50), 24, 24);
    FillBlob(p, disc, QColor(d.c2));
    p.save();
    p.setClipPath(disc);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(d.c2).darker(150));
    for (int y = 32; y <= 68; y += 9)
        for (int x = 32 + (y / 9 % 2) * 4; x <= 68; x += 9) p.drawEllipse(QPointF(x, y), 2.2, 2.2);
    p.restore();
}

// Four heart-shaped leaves on a curved stem.
void DrawClover(QPainter& p, const QRectF&, const StmpDef& d) {
    const QColor leaf(d.c1);
    QPainterPath stem(QPointF(50, 46));
    stem.quadTo(54, 76, 68, 96);
    DrawBand(p, stem, leaf, 160, 5);
    QPainterPath leaves;
    for (int i = 0; i < 4; ++i) {
        QTransform t;
        t.translate(50, 42);
        t.rotate(45 + i * 90);
        leaves = leaves.united(t.map(HeartPath(QRectF(-19, -40, 38, 40))));
    }
    FillBlob(p, leaves.simplified(), leaf);
    DrawGlint(p, QPointF(32, 28), 6, 4);
}

// A smiling sun with pointed rays.
void DrawSun(QPainter& p, const QRectF&, const StmpDef& d) {
    QPainterPath rays;
    for (int i = 0; i < 10; ++i) {
        const double a = i * 2 * M_PI / 10, w = 0.2;
        QPolygonF ray;
        ray << QPointF(50 + 30 * std::cos(a - w), 50 + 30 * std::sin(a - w))
            << QPointF(50 + 49 * std::cos(a), 50 + 49 * std::sin(a))
            << QPointF(50 + 30 * std::cos(a + w), 50 + 30 * std::sin(a + w));
        rays.addPolygon(ray);
        rays.closeSubpath();
    }
    FillBlob(p, rays.simplified(), QColor(d.c2));
    FillBlob(p, EllipsePath(QPointF(50, 50), 32, 32), QColor(d.c1));
    DrawFaceBits(p, QPointF(50, 52), 30, false);
}

void DrawCloud(QPainter& p, const QRectF&, const StmpDef& d) {
    FillBlob(p, CloudPath(QRectF(2, 14, 96, 72)), QColor(d.c1));
    DrawFaceBits(p, QPointF(54, 60), 30, false);
}

// A grey cloud with falling drops.
void DrawRain(QPainter& p, const QRectF&, const StmpDef& d) {
    for (int i = 0; i < 3; ++i) {
        const QPointF c(24 + i * 26, 76 + (i % 2) * 10);
        QPainterPath drop(QPointF(c.x(), c.y() - 14));
        drop.cubicTo(c.x() + 2, c.y() - 6, c.x() + 8, c.y(), c.x() + 8, c.y() + 5);
        drop.cubicTo(c.x() + 8, c.y() + 11, c.x() - 8, c.y() + 11, c.x() - 8, c.y() + 5);
        drop.cubicTo(c.x() - 8, c.y(), c.x() - 2, c.y() - 6, c.x(), c.y() - 14);
        FillBlob(p, drop, QColor(d.c2));
    }
    FillBlob(p, CloudPath(QRectF(2, 4, 96, 62)), QColor(d.c1));
}

// An umbrella with striped panels and a hooked handle.
void DrawUmbrella(QPainter& p, const QRectF&, const StmpDef& d) {
    const QColor handle(120, 84, 64);
    QPainterPath hook(QPointF(50, 50));
    hook.lineTo(50, 84);
    hook.quadTo(50, 94, 40, 94);
    hook.quadTo(32, 94, 32, 86);
    DrawBand(p, hook, handle, 150, 5);
    QPainterPath canopy(QPointF(4, 52));
    canopy.arcTo(QRectF(4, 8, 92, 88), 180, -180);
    for (int i = 0; i < 4; ++i) canopy.quadTo(84 - i * 23, 42, 73 - i * 23, 52);
    canopy.closeSubpath();
    FillBlob(p, canopy, QColor(d.c1));
    p.save();
    p.setClipPath(canopy);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(d.c2));
    for (int side = -1; side <= 1; side += 2) {
        QPolygonF panel;
        panel << QPointF(50, 8) << QPointF(50 + side * 23, 56) << QPointF(50 + side * 46, 56);
        p.drawPolygon(panel);
    }
    p.restore();
    p.setPen(InkPen(QColor(d.c1).darker(175)));
    p.setBrush(Qt::NoBrush);
    p.drawPath(canopy);
    FillBlob(p, EllipsePath(QPointF(50, 7), 4, 4), handle);
}

// Taller than wide: drawn in a 64 x 100 box scaled to fill r's height.
void DrawSnowman(QPainter& p, const QRectF& r, const StmpDef& d) {
    const double k = std::min(r.width() / 64, r.height() / 100);
    p.translate(r.center());
    p.scale(k, k);
    p.translate(-50, -50);
    const QColor snow(d.c1);
    FillBlob(p, EllipsePath(QPointF(50, 74), 31, 26), snow);
    FillBlob(p, EllipsePath(QPointF(50, 34), 23, 21), snow);
    QPainterPath hat;
    hat.addRoundedRect(QRectF(37, 0, 26, 16), 3, 3);
    hat.addRoundedRect(QRectF(30, 13, 40, 6), 3, 3);
    FillBlob(p, hat.simplified(), QColor(70, 80, 110));
    QPainterPath scarf;
    scarf.addRoundedRect(QRectF(28, 50, 44, 10), 4, 4);
    scarf.addRoundedRect(QRectF(56, 52, 10, 22), 4, 4);
    FillBlob(p, scarf.simplified(), QColor(d.c2));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 36, 30));
    for (int side = -1; side <= 1; side += 2) p.drawEllipse(QPointF(50 + side * 9, 31), 3.5, 4);
    for (int i = 0; i < 2; ++i) p.drawEllipse(QPointF(50, 72 + i * 12), 3.5, 3.5);
    QPolygonF carrot;
    carrot << QPointF(49, 37) << QPointF(49, 44) << QPointF(66, 41);
    p.setBrush(QColor(255, 130, 40));
    p.drawPolygon(carrot);
}

// Six bands over an arch as wide as the stamp, a small cloud at each foot.
void DrawRainbow(QPainter& p, const QRectF& r, const StmpDef& d) {
    static const QRgb kBands[] = {0xf0445a, 0xff9a2a, 0xf5d020, 0x4cc05a, 0x3a96e8, 0x9a62d8};
    const QPointF c(50, r.bottom() - 12);
    const double outer = std::min(r.width() / 2 - 4, c.y() - r.top() - 2), band = outer * 0.09;
    auto arch = [&](double rad) {
        QPainterPath a(c);
        a.arcTo(QRectF(c.x() - rad, c.y() - rad, 2 * rad, 2 * rad), 0, 180);
        a.closeSubpath();
        return a;
    };
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        p.setBrush(QColor(kBands[i]));
        p.drawPath(arch(outer - i * band).subtracted(arch(outer - (i + 1) * band)));
    }
    p.setPen(InkPen(QColor(110, 90, 120)));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arch(outer).subtracted(arch(outer - 6 * band)));
    const double foot = outer - 3 * band, cw = outer * 0.62, ch = outer * 0.4;
    for (int side = -1; side <= 1; side += 2)
        FillBlob(p, CloudPath(QRectF(c.x() + side * foot - cw / 2, r.bottom() - ch, cw, ch)),
                 QColor(d.c1));
}
