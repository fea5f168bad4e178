#include "glyphs.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

// Arrow head at `tip` pointing along `angle` (radians), `len` long.
void DrawArrowHead(QPainter& p, QPointF tip, double angle, double len, const QColor& color) {
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(tip - QPointF(std::cos(angle - 0.5) * len, std::sin(angle - 0.5) * len));
    head.lineTo(tip - QPointF(std::cos(angle + 0.5) * len, std::sin(angle + 0.5) * len));
    head.closeSubpath();
    p.fillPath(head, color);
}

void DrawSunRays(QPainter& p, QPointF c, double core, double rayIn, double rayOut, int rays,
                 const QColor& color, double width) {
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < rays; ++i) {
        const double a = i * 2 * M_PI / rays;
        p.drawLine(c + QPointF(std::cos(a) * rayIn, std::sin(a) * rayIn),
                   c + QPointF(std::cos(a) * rayOut, std::sin(a) * rayOut));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(c, core, core);
}

QPainterPath HeartPath(const QRectF& r) {
    QPainterPath h;
    const double w = r.width(), ht = r.height();
    h.moveTo(r.left() + w / 2, r.top() + ht);
    h.cubicTo(r.left() - w * 0.1, r.top() + ht * 0.55, r.left() + w * 0.05, r.top() - ht * 0.15,
              r.left() + w / 2, r.top() + ht * 0.25);
    h.cubicTo(r.left() + w * 0.95, r.top() - ht * 0.15, r.left() + w * 1.1, r.top() + ht * 0.55,
              r.left() + w / 2, r.top() + ht);
    return h;
}

}  // namespace

void DrawGlyph(QPainter& p, Glyph glyph, const QRectF& r, const QColor& color) {
    p.save();
    const QPointF c = r.center();
    const double s = std::min(r.width(), r.height());
    const double lw = std::max(1.5, s / 7);
    switch (glyph) {
        case GLYPH_NONE: break;
        case GLYPH_PLUS:
        case GLYPH_MINUS:
            p.setPen(QPen(color, lw, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(c - QPointF(s * 0.4, 0), c + QPointF(s * 0.4, 0));
            if (glyph == GLYPH_PLUS) p.drawLine(c - QPointF(0, s * 0.4), c + QPointF(0, s * 0.4));
            break;
        case GLYPH_ROTATE: {
            // Three quarters of a circle running anticlockwise, the head at its end on the left.
            const double rad = s * 0.36;
            p.setPen(QPen(color, lw, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            const QRectF arc(c.x() - rad, c.y() - rad, 2 * rad, 2 * rad);
            p.drawArc(arc, -60 * 16, 250 * 16);  // from lower right, anticlockwise to the left
            const double end = (-60 + 250) * M_PI / 180;
            const QPointF tip(c.x() + std::cos(end) * rad, c.y() - std::sin(end) * rad);
            // Tangent of an anticlockwise circle in screen coordinates.
            const double ang = std::atan2(-std::cos(end), -std::sin(end));
            DrawArrowHead(p, tip + QPointF(std::cos(ang), std::sin(ang)) * lw, ang, s * 0.32,
                          color);
            break;
        }
        case GLYPH_MIRROR: {
            const double half = r.width() * 0.42;
            p.setPen(QPen(color, lw, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(c - QPointF(half * 0.55, 0), c + QPointF(half * 0.55, 0));
            DrawArrowHead(p, c + QPointF(half, 0), 0, half * 0.6, color);
            DrawArrowHead(p, c - QPointF(half, 0), M_PI, half * 0.6, color);
            p.setPen(QPen(color, 1, Qt::DashLine));
            p.drawLine(QPointF(c.x(), r.top()), QPointF(c.x(), r.bottom()));
            break;
        }
        case GLYPH_ENVELOPE: {
            const QRectF e(c.x() - r.width() * 0.45, c.y() - r.height() * 0.38, r.width() * 0.9,
                           r.height() * 0.76);
            p.setPen(QPen(color.darker(130), 1));
            p.setBrush(color);
            p.drawRoundedRect(e, 1.5, 1.5);
            p.setPen(QPen(QColor(228, 96, 146), std::max(1.0, lw * 0.6)));
            p.setBrush(Qt::NoBrush);
            QPainterPath flap;
            flap.moveTo(e.topLeft() + QPointF(1, 1));
            flap.lineTo(e.center().x(), e.top() + e.height() * 0.6);
            flap.lineTo(e.topRight() + QPointF(-1, 1));
            p.drawPath(flap);
            p.fillPath(HeartPath(QRectF(e.center().x() - 3, e.top() + e.height() * 0.48, 6, 5)),
                       QColor(255, 110, 150));
            break;
        }
        case GLYPH_SUN: DrawSunRays(p, c, s * 0.24, s * 0.34, s * 0.48, 8, color, lw * 0.8); break;
        case GLYPH_SUN_DIM:
            DrawSunRays(p, c, s * 0.18, s * 0.28, s * 0.36, 8, color, lw * 0.6);
            break;
        case GLYPH_HEART: p.fillPath(HeartPath(r), color); break;
        case GLYPH_CAMERA: {
            p.setPen(Qt::NoPen);
            p.setBrush(color);
            p.drawRoundedRect(QRectF(r.left(), r.top() + s * 0.25, r.width(), s * 0.65), 2, 2);
            p.drawRect(QRectF(c.x() - s * 0.2, r.top() + s * 0.12, s * 0.4, s * 0.2));
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(c.x(), r.top() + s * 0.57), s * 0.2, s * 0.2);
            break;
        }
        case GLYPH_FOLDER: {
            p.setPen(Qt::NoPen);
            p.setBrush(color);
            p.drawRoundedRect(QRectF(r.left(), r.top() + s * 0.15, s * 0.45, s * 0.3), 1.5, 1.5);
            p.drawRoundedRect(QRectF(r.left(), r.top() + s * 0.28, r.width(), s * 0.6), 2, 2);
            break;
        }
        case GLYPH_CROSS:
            p.setPen(QPen(color, lw * 1.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(c + QPointF(-s * 0.3, -s * 0.3), c + QPointF(s * 0.3, s * 0.3));
            p.drawLine(c + QPointF(s * 0.3, -s * 0.3), c + QPointF(-s * 0.3, s * 0.3));
            break;
    }
    p.restore();
}
