// The stamp dialog 146: a speech bubble pointing down at the stamp, whose round buttons
// (strips 147, 149, 150, 151) are cut from its own skin.
#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "art.h"
#include "skins_dlg.h"

enum StmpGlyph { GLYPH_ROTATE, GLYPH_MIRROR, GLYPH_BIN, GLYPH_CROSS };

struct StmpBtn {
    int strip;
    QRect rect;
    StmpGlyph glyph;
    const char* label;  // under the round face; none for the small close button
};

static const StmpBtn kStmpBtns[] = {
    {147, {11, 14, 57, 57}, GLYPH_ROTATE, "回転"},
    {149, {75, 14, 57, 57}, GLYPH_MIRROR, "反転"},
    {150, {139, 14, 57, 57}, GLYPH_BIN, "削除"},
    {151, {196, 7, 33, 33}, GLYPH_CROSS, nullptr},
};

static QPainterPath MakeBubble() {
    QPainterPath body;
    body.addRoundedRect(QRectF(1, 1, 234, 88), 18, 18);
    QPainterPath tail;
    tail.moveTo(94, 80);
    tail.quadTo(110, 96, 118, 128);
    tail.quadTo(126, 96, 142, 80);
    tail.closeSubpath();
    return body.united(tail).simplified();
}

// White symbol of a stamp button inside its round face of radius r centred at c.
static void DrawStmpGlyph(QPainter& p, StmpGlyph glyph, QPointF c, double r) {
    const double lw = r * 0.17;
    QPen pen(Qt::white, lw, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
        case GLYPH_ROTATE: {
            // Three quarters of a circle turning anticlockwise, arrowhead at the end.
            const double a = r * 0.52, start = 140, sweep = 250;
            QPainterPath arc;
            arc.arcMoveTo(QRectF(c.x() - a, c.y() - a, 2 * a, 2 * a), start);
            arc.arcTo(QRectF(c.x() - a, c.y() - a, 2 * a, 2 * a), start, sweep);
            p.drawPath(arc);
            const double t = (start + sweep) * std::numbers::pi / 180;
            const QPointF end(c.x() + a * std::cos(t), c.y() - a * std::sin(t));
            const QPointF dir(-std::sin(t), -std::cos(t)), nrm(dir.y(), -dir.x());
            const double s = r * 0.3;
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygonF(
                {end + dir * s, end - dir * s * 0.3 + nrm * s, end - dir * s * 0.3 - nrm * s}));
            break;
        }
        case GLYPH_MIRROR: {
            // Left outline and right solid triangle on either side of a dashed axis.
            const double g = r * 0.2, tw = r * 0.44, th = r * 0.42;
            QPen axis(Qt::white, lw * 0.45, Qt::CustomDashLine, Qt::FlatCap);
            axis.setDashPattern({2, 1.6});
            p.setPen(axis);
            p.drawLine(QPointF(c.x(), c.y() - r * 0.62), QPointF(c.x(), c.y() + r * 0.62));
            p.setPen(QPen(Qt::white, lw * 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolygon(QPolygonF({QPointF(c.x() - g, c.y() - th), QPointF(c.x() - g, c.y() + th),
                                     QPointF(c.x() - g - tw, c.y())}));
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygonF({QPointF(c.x() + g, c.y() - th), QPointF(c.x() + g, c.y() + th),
                                     QPointF(c.x() + g + tw, c.y())}));
            break;
        }
        case GLYPH_BIN: {
            // Lid with a handle over a tapered can with grooves.
            pen.setWidthF(lw * 0.7);
            p.setPen(pen);
            p.drawLine(QPointF(c.x() - r * 0.48, c.y() - r * 0.34),
                       QPointF(c.x() + r * 0.48, c.y() - r * 0.34));
            p.drawRect(QRectF(c.x() - r * 0.14, c.y() - r * 0.5, r * 0.28, r * 0.16));
            QPainterPath can;
            can.moveTo(c.x() - r * 0.36, c.y() - r * 0.22);
            can.lineTo(c.x() - r * 0.28, c.y() + r * 0.52);
            can.lineTo(c.x() + r * 0.28, c.y() + r * 0.52);
            can.lineTo(c.x() + r * 0.36, c.y() - r * 0.22);
            p.drawPath(can);
            for (int k = -1; k <= 1; ++k)
                p.drawLine(QPointF(c.x() + k * r * 0.13, c.y() - r * 0.08),
                           QPointF(c.x() + k * r * 0.11, c.y() + r * 0.38));
            break;
        }
        case GLYPH_CROSS: {
            const double a = r * 0.36;
            p.drawLine(c + QPointF(-a, -a), c + QPointF(a, a));
            p.drawLine(c + QPointF(a, -a), c + QPointF(-a, a));
            break;
        }
    }
}

// A glossy round pink face with its symbol, and the label under it when it has one.
static void DrawStmpBtn(QPainter& p, const StmpBtn& b, BtnLook look) {
    const double w = b.rect.width();
    const QPointF c(w / 2, b.label ? 22 : w / 2);
    const double r = b.label ? 19 : w / 2 - 4;
    const QColor base = LookShade(kPinkDeep, look);
    p.setPen(Qt::NoPen);
    if (look != LOOK_PRESSED) {
        p.setBrush(QColor(0, 0, 0, 40));
        p.drawEllipse(c + QPointF(0.8, 1.4), r, r);
    }
    if (look == LOOK_HOVER) {
        // A soft glow around the lit face.
        QRadialGradient glow(c, r + 4);
        glow.setColorAt(0.8, QColor(255, 255, 255, 220));
        glow.setColorAt(1, QColor(255, 255, 255, 0));
        p.setBrush(glow);
        p.drawEllipse(c, r + 4, r + 4);
    }
    QRadialGradient g(c - QPointF(r * 0.35, r * 0.45), r * 1.5);
    g.setColorAt(0, base.lighter(128));
    g.setColorAt(1, base.darker(look == LOOK_PRESSED ? 115 : 104));
    p.setPen(QPen(base.darker(135), 1));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, look == LOOK_PRESSED ? 45 : 80));
    p.drawEllipse(QPointF(c.x(), c.y() - r * 0.5), r * 0.62, r * 0.36);
    DrawStmpGlyph(p, b.glyph, c, r);
    if (b.label)
        DrawTextIn(p, QRectF(0, 42, w, 15), QString::fromUtf8(b.label), ArtFont(12, true),
                   LookShade(kPinkDark, look));
}

int DrawStmpDlgSkins(const ArtOut& out) {
    const int w = 236, h = 124;
    const QPainterPath bubble = MakeBubble();
    QImage skin(w, h, QImage::Format_RGB32);
    skin.fill(kPinkDeep);
    {
        // Border: 3 px deep pink then 3 px pale pink, as on the rounded dialogs, by stroking the
        // outline with both halves; the outer half is keyed away below.
        QPainter p(&skin);
        InitPainter(p);
        QLinearGradient g(0, 0, 0, h);
        g.setColorAt(0, kCream);
        g.setColorAt(1, kPinkLight);
        p.fillPath(bubble, g);
        p.strokePath(bubble, QPen(kPinkLight, 12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.strokePath(bubble, QPen(kPinkDeep, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        DrawHeartRow(p, QPointF(30, 80), 11, 3, 7);
        DrawHeartRow(p, QPointF(206, 80), -11, 3, 7);
    }
    // Hard outline: the window shape is every pixel that is not the key colour.
    QImage mask(w, h, QImage::Format_Grayscale8);
    mask.fill(0);
    {
        QPainter mp(&mask);
        mp.fillPath(bubble, Qt::white);
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (qGray(mask.pixel(x, y)) < 128) skin.setPixelColor(x, y, kKey);
    if (!SaveRes(out, RES_BMP, 146, skin)) return 0;
    for (const StmpBtn& b : kStmpBtns) {
        const QImage strip = MakeStrip(
            skin.copy(b.rect), [&b](QPainter& p, BtnLook look) { DrawStmpBtn(p, b, look); });
        if (!SaveRes(out, RES_BMP, b.strip, strip)) return 0;
    }
    return 1;
}
