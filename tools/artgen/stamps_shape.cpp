// Pens and shape paths shared by the stamp drawings.
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "stamps.h"

QPen InkPen(const QColor& c, double px) {
    QPen pen(c, px, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    pen.setCosmetic(true);  // outlines keep their pixel width at every stamp size
    return pen;
}

QPen BandPen(const QColor& c, double w) {
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawBand(QPainter& p, const QPainterPath& path, const QColor& c, int darker, double w) {
    p.setBrush(Qt::NoBrush);
    p.setPen(BandPen(c.darker(darker), w + 3));
    p.drawPath(path);
    p.setPen(BandPen(c, w));
    p.drawPath(path);
}

void FillBlob(QPainter& p, const QPainterPath& path, const QColor& c) {
    const QRectF b = path.boundingRect();
    QRadialGradient g(b.left() + b.width() * 0.3, b.top() + b.height() * 0.3,
                      std::max(b.width(), b.height()));
    g.setColorAt(0, c.lighter(122));
    g.setColorAt(0.7, c);
    p.setPen(InkPen(c.darker(175)));
    p.setBrush(g);
    p.drawPath(path);
}

QPainterPath EllipsePath(QPointF c, double rx, double ry, double deg) {
    QPainterPath e;
    e.addEllipse(QPointF(0, 0), rx, ry);
    QTransform t;
    t.translate(c.x(), c.y());
    t.rotate(deg);
    return t.map(e);
}

QPointF AtBox(const QRectF& b, double u, double v) {
    return QPointF(b.x() + u * b.width(), b.y() + v * b.height());
}

QPainterPath HeartPath(const QRectF& b) {
    auto at = [&](double u, double v) { return AtBox(b, u, v); };
    QPainterPath path(at(0.5, 0.24));
    path.cubicTo(at(0.4, -0.04), at(0, -0.02), at(0, 0.32));
    path.cubicTo(at(0, 0.6), at(0.35, 0.8), at(0.5, 1));
    path.cubicTo(at(0.65, 0.8), at(1, 0.6), at(1, 0.32));
    path.cubicTo(at(1, -0.02), at(0.6, -0.04), at(0.5, 0.24));
    return path;
}

QPainterPath StarPath(QPointF c, double ro, double ri, int n) {
    QPolygonF poly;
    for (int i = 0; i < 2 * n; ++i) {
        const double a = -M_PI / 2 + i * M_PI / n, rad = i % 2 ? ri : ro;
        poly << QPointF(c.x() + rad * std::cos(a), c.y() + rad * std::sin(a));
    }
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

void DrawGlint(QPainter& p, QPointF c, double rx, double ry) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawPath(EllipsePath(c, rx, ry, -35));
}

void DrawFaceBits(QPainter& p, QPointF c, double k, bool snout) {
    const QColor ink(60, 36, 30);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 120, 150, 140));
    for (int side = -1; side <= 1; side += 2)
        p.drawEllipse(QPointF(c.x() + side * 0.6 * k, c.y() + 0.2 * k), 0.15 * k, 0.1 * k);
    p.setBrush(ink);
    for (int side = -1; side <= 1; side += 2)
        p.drawEllipse(QPointF(c.x() + side * 0.38 * k, c.y() - 0.05 * k), 0.12 * k, 0.15 * k);
    p.setBrush(QColor(255, 255, 255, 220));
    for (int side = -1; side <= 1; side += 2)
        p.drawEllipse(QPointF(c.x() + side * 0.38 * k - 0.04 * k, c.y() - 0.1 * k), 0.05 * k,
                      0.05 * k);
    QPainterPath mouth;
    if (snout) {
        p.setBrush(ink);
        p.drawEllipse(QPointF(c.x(), c.y() + 0.15 * k), 0.08 * k, 0.06 * k);
        mouth.moveTo(c.x() - 0.16 * k, c.y() + 0.24 * k);
        mouth.quadTo(c.x() - 0.08 * k, c.y() + 0.36 * k, c.x(), c.y() + 0.24 * k);
        mouth.quadTo(c.x() + 0.08 * k, c.y() + 0.36 * k, c.x() + 0.16 * k, c.y() + 0.24 * k);
    } else {
        mouth.moveTo(c.x() - 0.16 * k, c.y() + 0.14 * k);
        mouth.quadTo(c.x(), c.y() + 0.34 * k, c.x() + 0.16 * k, c.y() + 0.14 * k);
    }
    p.setPen(InkPen(ink, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mouth);
}
