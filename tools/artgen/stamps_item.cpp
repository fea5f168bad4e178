// Illustration stamps of hearts, stars and animals, each drawn in a 100 x 100 box.
#include <QPainterPath>

#include "art.h"
#include "stamps.h"

void DrawHeart(QPainter& p, const QRectF&, const StmpDef& d) {
    FillBlob(p, HeartPath(QRectF(4, 8, 92, 86)), QColor(d.c1));
    DrawGlint(p, QPointF(28, 30), 11, 7);
}

// A big heart with a small one tilted behind its shoulder.
void DrawHearts2(QPainter& p, const QRectF&, const StmpDef& d) {
    QTransform small;
    small.translate(72, 28);
    small.rotate(18);
    FillBlob(p, small.map(HeartPath(QRectF(-26, -24, 52, 48))), QColor(d.c2));
    QTransform big;
    big.translate(40, 60);
    big.rotate(-12);
    FillBlob(p, big.map(HeartPath(QRectF(-38, -36, 76, 72))), QColor(d.c1));
    DrawGlint(p, QPointF(20, 44), 8, 5);
}

void DrawHeartWing(QPainter& p, const QRectF& r, const StmpDef& d) {
    const QPointF c = r.center();
    for (int side = -1; side <= 1; side += 2) {
        QPainterPath wing = EllipsePath(QPointF(c.x() + side * 34, 40), 22, 12, side * -25);
        wing = wing.united(EllipsePath(QPointF(c.x() + side * 38, 54), 18, 9, side * -8));
        wing = wing.united(EllipsePath(QPointF(c.x() + side * 34, 66), 13, 7, side * 10));
        FillBlob(p, wing.simplified(), QColor(d.c2));
    }
    FillBlob(p, HeartPath(QRectF(c.x() - 28, 22, 56, 54)), QColor(d.c1));
    DrawGlint(p, QPointF(c.x() - 13, 34), 7, 4);
}

// A heart with an arrow through it; the arrow lies behind, its head and feathers showing.
void DrawHeartArrow(QPainter& p, const QRectF&, const StmpDef& d) {
    p.save();
    p.translate(50, 52);
    p.rotate(-40);
    const QColor wood(150, 96, 60);
    QPainterPath shaft(QPointF(-48, 0));
    shaft.lineTo(42, 0);
    DrawBand(p, shaft, wood, 150, 4);
    QPainterPath head(QPointF(58, 0));
    head.lineTo(40, -10);
    head.lineTo(40, 10);
    head.closeSubpath();
    FillBlob(p, head, QColor(d.c2));
    QPainterPath tail;
    for (int side = -1; side <= 1; side += 2) {
        QPolygonF f;
        f << QPointF(-34, 0) << QPointF(-44, side * 11) << QPointF(-56, side * 11)
          << QPointF(-48, 0);
        tail.addPolygon(f);
        tail.closeSubpath();
    }
    FillBlob(p, tail.simplified(), QColor(d.c2));
    p.restore();
    FillBlob(p, HeartPath(QRectF(20, 22, 60, 56)), QColor(d.c1));
    DrawGlint(p, QPointF(35, 37), 7, 5);
}

// A heart split by a zigzag crack, the halves drifting apart.
void DrawHeartBroken(QPainter& p, const QRectF&, const StmpDef& d) {
    const QPainterPath heart = HeartPath(QRectF(8, 10, 84, 80));
    QPolygonF left;
    left << QPointF(-10, -10) << QPointF(50, -10) << QPointF(50, 30) << QPointF(42, 44)
         << QPointF(56, 58) << QPointF(46, 72) << QPointF(50, 110) << QPointF(-10, 110);
    QPainterPath leftPart;
    leftPart.addPolygon(left);
    leftPart.closeSubpath();
    QTransform a, b;
    a.translate(-3, 2);
    a.rotate(-4);
    b.translate(4, 0);
    b.rotate(4);
    FillBlob(p, a.map(heart.intersected(leftPart)), QColor(d.c1));
    FillBlob(p, b.map(heart.subtracted(leftPart)), QColor(d.c1));
}

// An envelope sealed with a heart.
void DrawLoveLetter(QPainter& p, const QRectF&, const StmpDef& d) {
    QPainterPath env;
    env.addRoundedRect(QRectF(4, 20, 92, 64), 6, 6);
    FillBlob(p, env, QColor(d.c2));
    QPainterPath flap(QPointF(6, 24));
    flap.lineTo(50, 58);
    flap.lineTo(94, 24);
    p.setPen(InkPen(QColor(d.c2).darker(175)));
    p.setBrush(Qt::NoBrush);
    p.drawPath(flap);
    FillBlob(p, HeartPath(QRectF(36, 42, 28, 26)), QColor(d.c1));
}

void DrawStar(QPainter& p, const QRectF&, const StmpDef& d) {
    FillBlob(p, StarPath(QPointF(50, 54), 50, 22, 5), QColor(d.c1));
    DrawGlint(p, QPointF(40, 42), 6, 4);
}

void DrawStarFace(QPainter& p, const QRectF&, const StmpDef& d) {
    FillBlob(p, StarPath(QPointF(50, 54), 50, 24, 5), QColor(d.c1));
    DrawFaceBits(p, QPointF(50, 58), 26, false);
}

// Four-pointed twinkles, one big and two small.
void DrawSparkles(QPainter& p, const QRectF&, const StmpDef& d) {
    FillBlob(p, StarPath(QPointF(40, 58), 40, 11, 4), QColor(d.c1));
    FillBlob(p, StarPath(QPointF(80, 22), 19, 6, 4), QColor(d.c2));
    FillBlob(p, StarPath(QPointF(82, 80), 13, 4, 4), QColor(d.c1));
}

// A star trailing three coloured streaks.
void DrawShootStar(QPainter& p, const QRectF&, const StmpDef& d) {
    const QRgb kTrail[] = {d.c2, 0xff8ec4, 0x7fd0ff};
    for (int i = 0; i < 3; ++i) {
        const double off = (i - 1) * 13;
        QPainterPath streak(QPointF(60 + off, 44 + off));
        streak.lineTo(14 + off * 0.6, 90 + off * 0.6);
        DrawBand(p, streak, QColor(kTrail[i]), 140, 6);
    }
    FillBlob(p, StarPath(QPointF(66, 36), 34, 15, 5), QColor(d.c1));
    DrawGlint(p, QPointF(60, 28), 5, 3);
}

void DrawMoon(QPainter& p, const QRectF&, const StmpDef& d) {
    const QPainterPath moon =
        EllipsePath(QPointF(44, 52), 42, 42).subtracted(EllipsePath(QPointF(68, 36), 36, 36));
    FillBlob(p, moon.simplified(), QColor(d.c1));
    FillBlob(p, StarPath(QPointF(80, 76), 17, 7, 5), QColor(d.c2));
}

// Two eighth notes joined by a beam.
void DrawNotes(QPainter& p, const QRectF&, const StmpDef& d) {
    QPainterPath notes = EllipsePath(QPointF(24, 80), 16, 11, -20);
    notes = notes.united(EllipsePath(QPointF(72, 70), 16, 11, -20));
    notes.addRect(QRectF(33, 24, 7, 56));
    notes.addRect(QRectF(81, 14, 7, 56));
    QPolygonF beam;
    beam << QPointF(33, 20) << QPointF(88, 6) << QPointF(88, 22) << QPointF(33, 36);
    notes.addPolygon(beam);
    FillBlob(p, notes.simplified(), QColor(d.c1));
}

void DrawCat(QPainter& p, const QRectF&, const StmpDef& d) {
    const QColor fur(d.c1);
    for (int side = -1; side <= 1; side += 2) {
        QPolygonF ear;
        ear << QPointF(50 + side * 38, 44) << QPointF(50 + side * 34, 6)
            << QPointF(50 + side * 6, 28);
        QPainterPath earPath;
        earPath.addPolygon(ear);
        earPath.closeSubpath();
        FillBlob(p, earPath, fur);
        QPolygonF inner;
        inner << QPointF(50 + side * 32, 34) << QPointF(50 + side * 31, 14)
              << QPointF(50 + side * 16, 28);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 160, 180));
        p.drawPolygon(inner);
    }
    FillBlob(p, EllipsePath(QPointF(50, 58), 44, 36), fur);
    p.setPen(BandPen(fur.darker(135), 3.5));
    for (int i = -1; i <= 1; ++i) p.drawLine(QPointF(50 + i * 8, 26), QPointF(50 + i * 7, 36));
    p.setPen(InkPen(QColor(110, 80, 70), 1.0));
    for (int side = -1; side <= 1; side += 2)
        for (int i = 0; i < 2; ++i)
            p.drawLine(QPointF(50 + side * 26, 68 + i * 7), QPointF(50 + side * 44, 64 + i * 10));
    DrawFaceBits(p, QPointF(50, 62), 36, true);
}

void DrawDog(QPainter& p, const QRectF&, const StmpDef& d) {
    const QColor fur(d.c1), ear(d.c2);
    FillBlob(p, EllipsePath(QPointF(50, 54), 38, 36), fur);
    p.setPen(Qt::NoPen);
    p.setBrush(ear);
    p.drawEllipse(QPointF(34, 50), 12, 12);
    FillBlob(p, EllipsePath(QPointF(50, 70), 20, 14), fur.lighter(118));
    for (int side = -1; side <= 1; side += 2)
        FillBlob(p, EllipsePath(QPointF(50 + side * 38, 44), 12, 26, side * -18), ear);
    DrawFaceBits(p, QPointF(50, 56), 36, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 36, 30));
    p.drawEllipse(QPointF(50, 63), 7, 5);
}

void DrawRabbit(QPainter& p, const QRectF&, const StmpDef& d) {
    const QColor fur(d.c1);
    for (int side = -1; side <= 1; side += 2) {
        FillBlob(p, EllipsePath(QPointF(50 + side * 16, 26), 11, 26, side * 10), fur);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(d.c2));
        p.drawPath(EllipsePath(QPointF(50 + side * 16, 28), 5, 18, side * 10));
    }
    FillBlob(p, EllipsePath(QPointF(50, 68), 40, 30), fur);
    DrawFaceBits(p, QPointF(50, 70), 32, true);
}

void DrawBear(QPainter& p, const QRectF&, const StmpDef&) {
    DrawBearHead(p, QPointF(50, 56), 84);
}

void DrawPanda(QPainter& p, const QRectF&, const StmpDef& d) {
    const QColor black(d.c2);
    for (int side = -1; side <= 1; side += 2)
        FillBlob(p, EllipsePath(QPointF(50 + side * 32, 22), 14, 14), black);
    FillBlob(p, EllipsePath(QPointF(50, 56), 44, 38), QColor(d.c1));
    p.setPen(Qt::NoPen);
    p.setBrush(black);
    for (int side = -1; side <= 1; side += 2)
        p.drawPath(EllipsePath(QPointF(50 + side * 17, 52), 10, 13, side * -35));
    p.setBrush(QColor(250, 250, 250));
    for (int side = -1; side <= 1; side += 2) p.drawEllipse(QPointF(50 + side * 16, 52), 3.5, 3.5);
    p.setBrush(black);
    p.drawEllipse(QPointF(50, 66), 6, 4.5);
    QPainterPath mouth(QPointF(43, 72));
    mouth.quadTo(46.5, 78, 50, 72);
    mouth.quadTo(53.5, 78, 57, 72);
    p.setPen(InkPen(black, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mouth);
}

void DrawChick(QPainter& p, const QRectF&, const StmpDef& d) {
    const QColor down(d.c1);
    QPainterPath body = EllipsePath(QPointF(50, 56), 42, 40);
    body = body.united(EllipsePath(QPointF(46, 16), 5, 10, -20));
    body = body.united(EllipsePath(QPointF(56, 15), 5, 10, 25));
    FillBlob(p, body.simplified(), down);
    FillBlob(p, EllipsePath(QPointF(76, 66), 10, 7, -30), down.darker(110));
    QPainterPath beak(QPointF(42, 60));
    beak.lineTo(58, 60);
    beak.lineTo(50, 72);
    beak.closeSubpath();
    FillBlob(p, beak, QColor(d.c2));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 36, 30));
    for (int side = -1; side <= 1; side += 2) p.drawEllipse(QPointF(50 + side * 15, 48), 4, 5);
    p.setBrush(QColor(255, 120, 150, 140));
    for (int side = -1; side <= 1; side += 2) p.drawEllipse(QPointF(50 + side * 25, 60), 6, 4);
}
