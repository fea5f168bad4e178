// The stamp collections under content/: message stamps (Japanese words) in message/<theme>/ and
// illustration stamps in item/<theme>/. The program keys a stamp by its top-left pixel, so every
// stamp is a sticker: the drawing, a hard-edged rim around it and, outside the rim, a background
// colour that occurs nowhere in the drawing. Formats are mixed so that every reader path (BMP
// 24- and 8-bit, PNG true colour and palette, GIF, JPEG) has stamps to read.
#include <gif_lib.h>

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QHash>
#include <QPainterPath>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <vector>

#include "art.h"

enum StmpFmt { FMT_PNG, FMT_PNG8, FMT_BMP, FMT_BMP8, FMT_GIF, FMT_JPG };

struct StmpDef;

// Draws a stamp into r: pixels for message stamps, a 100 x 100 unit box (widened to the stamp's
// shape) for illustrations.
using StmpDrawFn = void (*)(QPainter& p, const QRectF& r, const StmpDef& d);

// One stamp: where it goes, how it is stored and what it shows.
struct StmpDef {
    const char* dir;  // collection/theme under content/
    int num;          // file number; the extension follows the format
    StmpFmt fmt;
    int w, h;
    StmpDrawFn draw;
    const char* text;  // message stamps: the words, lines split by '\n'
    QRgb c1, c2;       // main and accent colour
    QRgb bg;           // background, the key colour
};

// Backgrounds that are never drawn with. JPEG stamps lie on white: flat white survives lossy
// coding best (it saturates).
constexpr QRgb kBgMagenta = 0xff00ff, kBgGreen = 0x00ff00, kBgBlue = 0x0000ff, kBgAqua = 0xc0fff8,
               kBgWhite = 0xffffff;

// Die-cut stamps get a white rim about two pixels wide round the drawing. A small JPEG has an
// edge in nearly every block, and the ringing round it would leave most of a die-cut stamp's
// background a shade off white, so JPEG stamps are cards instead: a cream rounded rectangle
// filling the stamp, with background only outside its rounded corners.
constexpr QRgb kRimWhite = 0xffffff, kCardCream = 0xfff0c8;
constexpr int kRimR2 = 5;        // squared radius of the rim
constexpr int kCardR = 5;        // corner radius of a card
constexpr int kShapeAlpha = 64;  // coverage from which a pixel belongs to the drawing's shape
constexpr int kJpgQuality = 92;

static QPen InkPen(const QColor& c, double px = 1.3) {
    QPen pen(c, px, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    pen.setCosmetic(true);  // outlines keep their pixel width at every stamp size
    return pen;
}

static QPen BandPen(const QColor& c, double w) {
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A shape lit from the upper left with a darker outline of its own colour.
static void FillBlob(QPainter& p, const QPainterPath& path, const QColor& c) {
    const QRectF b = path.boundingRect();
    QRadialGradient g(b.left() + b.width() * 0.3, b.top() + b.height() * 0.3,
                      std::max(b.width(), b.height()));
    g.setColorAt(0, c.lighter(122));
    g.setColorAt(0.7, c);
    p.setPen(InkPen(c.darker(175)));
    p.setBrush(g);
    p.drawPath(path);
}

static QPainterPath EllipsePath(QPointF c, double rx, double ry, double deg = 0) {
    QPainterPath e;
    e.addEllipse(QPointF(0, 0), rx, ry);
    QTransform t;
    t.translate(c.x(), c.y());
    t.rotate(deg);
    return t.map(e);
}

// The point at fractions u across and v down box b.
static QPointF AtBox(const QRectF& b, double u, double v) {
    return QPointF(b.x() + u * b.width(), b.y() + v * b.height());
}

// A heart filling b, its point at the bottom.
static QPainterPath HeartPath(const QRectF& b) {
    auto at = [&](double u, double v) { return AtBox(b, u, v); };
    QPainterPath path(at(0.5, 0.24));
    path.cubicTo(at(0.4, -0.04), at(0, -0.02), at(0, 0.32));
    path.cubicTo(at(0, 0.6), at(0.35, 0.8), at(0.5, 1));
    path.cubicTo(at(0.65, 0.8), at(1, 0.6), at(1, 0.32));
    path.cubicTo(at(1, -0.02), at(0.6, -0.04), at(0.5, 0.24));
    return path;
}

// An n-pointed star, the first point straight up.
static QPainterPath StarPath(QPointF c, double ro, double ri, int n) {
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

static void DrawGlint(QPainter& p, QPointF c, double rx, double ry) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawPath(EllipsePath(c, rx, ry, -35));
}

// Eyes with a glint and rosy cheeks; with a snout a small nose over an ω mouth, otherwise a
// smile. k is the face's radius.
static void DrawFaceBits(QPainter& p, QPointF c, double k, bool snout) {
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

// ---- Message stamps ----

// Glyph outlines of the words, one path per character, lines centred, the whole scaled to fit
// r and centred in it. Laid out large: the outlines are unhinted, so scaling loses nothing.
static std::vector<QPainterPath> MakeGlyphPaths(const QString& text, const QRectF& r) {
    const QFont f = ArtFont(64, true);
    const QFontMetricsF fm(f);
    const QStringList lines = text.split('\n');
    std::vector<QPainterPath> glyphs;
    QRectF box;
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const double x0 = -fm.horizontalAdvance(line) / 2, y = i * 64 * 1.12;
        for (int k = 0; k < line.size(); ++k) {
            QPainterPath g;
            g.addText(x0 + fm.horizontalAdvance(line.left(k)), y, f, line.mid(k, 1));
            if (g.isEmpty()) continue;  // a space
            glyphs.push_back(g);
            box |= g.boundingRect();
        }
    }
    const double s = std::min(r.width() / box.width(), r.height() / box.height());
    QTransform t;
    t.translate(r.center().x(), r.center().y());
    t.scale(s, s);
    t.translate(-box.center().x(), -box.center().y());
    for (QPainterPath& g : glyphs) g = t.map(g);
    return glyphs;
}

// Bold letters, glyph i in colour cols[i % n], each top-lit with a dark outline of its colour.
// The outlines all go first so that no outline covers a neighbour's fill.
static void DrawMsgText(QPainter& p, const QRectF& r, const char* text, const QRgb* cols, int n) {
    const std::vector<QPainterPath> glyphs =
        MakeGlyphPaths(QString::fromUtf8(text), r.adjusted(1, 1, -1, -1));
    for (size_t i = 0; i < glyphs.size(); ++i)
        p.strokePath(glyphs[i], InkPen(QColor(cols[i % n]).darker(200), 2.4));
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const QColor c(cols[i % n]);
        const QRectF b = glyphs[i].boundingRect();
        QLinearGradient g(b.topLeft(), b.bottomLeft());
        g.setColorAt(0, c.lighter(140));
        g.setColorAt(0.55, c);
        p.fillPath(glyphs[i], g);
    }
}

static void DrawMsgPlain(QPainter& p, const QRectF& r, const StmpDef& d) {
    DrawMsgText(p, r, d.text, &d.c1, 1);
}

// Letters alternating between the main and the accent colour.
static void DrawMsgDuo(QPainter& p, const QRectF& r, const StmpDef& d) {
    const QRgb cols[] = {d.c1, d.c2};
    DrawMsgText(p, r, d.text, cols, 2);
}

static void DrawMsgRainbow(QPainter& p, const QRectF& r, const StmpDef& d) {
    static const QRgb kCols[] = {0xf0445a, 0xff8c1a, 0xe8b800, 0x3cb44b, 0x2f8fe0, 0x9a5ad8};
    DrawMsgText(p, r, d.text, kCols, 6);
}

// Words with a small heart in the accent colour at their upper right.
static void DrawMsgHeart(QPainter& p, const QRectF& r, const StmpDef& d) {
    const double hs = std::min(r.height() * 0.72, 16.0);
    DrawMsgText(p, r.adjusted(0, 0, -hs * 0.9, 0), d.text, &d.c1, 1);
    const QRectF heart(r.right() - hs, r.top(), hs, hs * 0.92);
    FillBlob(p, HeartPath(heart), QColor(d.c2));
}

// Words between two twinkling stars in the accent colour, upper left and lower right.
static void DrawMsgStars(QPainter& p, const QRectF& r, const StmpDef& d) {
    const double ss = std::min(r.height() * 0.3, 7.0);
    DrawMsgText(p, r.adjusted(ss * 1.5, 0, -ss * 1.5, 0), d.text, &d.c1, 1);
    FillBlob(p, StarPath(QPointF(r.left() + ss, r.top() + ss), ss, ss * 0.45, 5), QColor(d.c2));
    FillBlob(p, StarPath(QPointF(r.right() - ss, r.bottom() - ss), ss, ss * 0.45, 5), QColor(d.c2));
}

// ---- Illustrations, in a 100 x 100 box ----

static void DrawHeart(QPainter& p, const QRectF&, const StmpDef& d) {
    FillBlob(p, HeartPath(QRectF(4, 8, 92, 86)), QColor(d.c1));
    DrawGlint(p, QPointF(28, 30), 11, 7);
}

// A big heart with a small one tilted behind its shoulder.
static void DrawHearts2(QPainter& p, const QRectF&, const StmpDef& d) {
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

static void DrawHeartWing(QPainter& p, const QRectF& r, const StmpDef& d) {
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
static void DrawHeartArrow(QPainter& p, const QRectF&, const StmpDef& d) {
    p.save();
    p.translate(50, 52);
    p.rotate(-40);
    const QColor wood(150, 96, 60);
    p.setPen(BandPen(wood.darker(150), 7));
    p.drawLine(QPointF(-48, 0), QPointF(42, 0));
    p.setPen(BandPen(wood, 4));
    p.drawLine(QPointF(-48, 0), QPointF(42, 0));
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
static void DrawHeartBroken(QPainter& p, const QRectF&, const StmpDef& d) {
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
static void DrawLoveLetter(QPainter& p, const QRectF&, const StmpDef& d) {
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

static void DrawStar(QPainter& p, const QRectF&, const StmpDef& d) {
    FillBlob(p, StarPath(QPointF(50, 54), 50, 22, 5), QColor(d.c1));
    DrawGlint(p, QPointF(40, 42), 6, 4);
}

static void DrawStarFace(QPainter& p, const QRectF&, const StmpDef& d) {
    FillBlob(p, StarPath(QPointF(50, 54), 50, 24, 5), QColor(d.c1));
    DrawFaceBits(p, QPointF(50, 58), 26, false);
}

// Four-pointed twinkles, one big and two small.
static void DrawSparkles(QPainter& p, const QRectF&, const StmpDef& d) {
    FillBlob(p, StarPath(QPointF(40, 58), 40, 11, 4), QColor(d.c1));
    FillBlob(p, StarPath(QPointF(80, 22), 19, 6, 4), QColor(d.c2));
    FillBlob(p, StarPath(QPointF(82, 80), 13, 4, 4), QColor(d.c1));
}

// A star trailing three coloured streaks.
static void DrawShootStar(QPainter& p, const QRectF&, const StmpDef& d) {
    const QRgb kTrail[] = {d.c2, 0xff8ec4, 0x7fd0ff};
    for (int i = 0; i < 3; ++i) {
        const double off = (i - 1) * 13;
        p.setPen(BandPen(QColor(kTrail[i]).darker(140), 9));
        p.drawLine(QPointF(60 + off, 44 + off), QPointF(14 + off * 0.6, 90 + off * 0.6));
        p.setPen(BandPen(QColor(kTrail[i]), 6));
        p.drawLine(QPointF(60 + off, 44 + off), QPointF(14 + off * 0.6, 90 + off * 0.6));
    }
    FillBlob(p, StarPath(QPointF(66, 36), 34, 15, 5), QColor(d.c1));
    DrawGlint(p, QPointF(60, 28), 5, 3);
}

static void DrawMoon(QPainter& p, const QRectF&, const StmpDef& d) {
    const QPainterPath moon =
        EllipsePath(QPointF(44, 52), 42, 42).subtracted(EllipsePath(QPointF(68, 36), 36, 36));
    FillBlob(p, moon.simplified(), QColor(d.c1));
    FillBlob(p, StarPath(QPointF(80, 76), 17, 7, 5), QColor(d.c2));
}

// Two eighth notes joined by a beam.
static void DrawNotes(QPainter& p, const QRectF&, const StmpDef& d) {
    QPainterPath notes = EllipsePath(QPointF(24, 80), 16, 11, -20);
    notes = notes.united(EllipsePath(QPointF(72, 70), 16, 11, -20));
    notes.addRect(QRectF(33, 24, 7, 56));
    notes.addRect(QRectF(81, 14, 7, 56));
    QPolygonF beam;
    beam << QPointF(33, 20) << QPointF(88, 6) << QPointF(88, 22) << QPointF(33, 36);
    notes.addPolygon(beam);
    FillBlob(p, notes.simplified(), QColor(d.c1));
}

// Round petals about a centre.
static void DrawFlower(QPainter& p, const QRectF&, const StmpDef& d) {
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

static void DrawTulip(QPainter& p, const QRectF&, const StmpDef& d) {
    const QColor leaf(d.c2);
    p.setPen(BandPen(leaf.darker(150), 8));
    p.drawLine(QPointF(50, 56), QPointF(50, 96));
    p.setPen(BandPen(leaf, 5));
    p.drawLine(QPointF(50, 56), QPointF(50, 96));
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
static void DrawSakura(QPainter& p, const QRectF&, const StmpDef& d) {
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

static void DrawSunflower(QPainter& p, const QRectF&, const StmpDef& d) {
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
static void DrawClover(QPainter& p, const QRectF&, const StmpDef& d) {
    const QColor leaf(d.c1);
    QPainterPath stem(QPointF(50, 46));
    stem.quadTo(54, 76, 68, 96);
    p.setBrush(Qt::NoBrush);
    p.setPen(BandPen(leaf.darker(160), 8));
    p.drawPath(stem);
    p.setPen(BandPen(leaf, 5));
    p.drawPath(stem);
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

static void DrawCat(QPainter& p, const QRectF&, const StmpDef& d) {
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

static void DrawDog(QPainter& p, const QRectF&, const StmpDef& d) {
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

static void DrawRabbit(QPainter& p, const QRectF&, const StmpDef& d) {
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

static void DrawBear(QPainter& p, const QRectF&, const StmpDef&) {
    DrawBearHead(p, QPointF(50, 56), 84);
}

static void DrawPanda(QPainter& p, const QRectF&, const StmpDef& d) {
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

static void DrawChick(QPainter& p, const QRectF&, const StmpDef& d) {
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

// A smiling sun with pointed rays.
static void DrawSun(QPainter& p, const QRectF&, const StmpDef& d) {
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

static void DrawCloud(QPainter& p, const QRectF&, const StmpDef& d) {
    FillBlob(p, CloudPath(QRectF(2, 14, 96, 72)), QColor(d.c1));
    DrawFaceBits(p, QPointF(54, 60), 30, false);
}

// A grey cloud with falling drops.
static void DrawRain(QPainter& p, const QRectF&, const StmpDef& d) {
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
static void DrawUmbrella(QPainter& p, const QRectF&, const StmpDef& d) {
    const QColor handle(120, 84, 64);
    QPainterPath hook(QPointF(50, 50));
    hook.lineTo(50, 84);
    hook.quadTo(50, 94, 40, 94);
    hook.quadTo(32, 94, 32, 86);
    p.setBrush(Qt::NoBrush);
    p.setPen(BandPen(handle.darker(150), 8));
    p.drawPath(hook);
    p.setPen(BandPen(handle, 5));
    p.drawPath(hook);
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
static void DrawSnowman(QPainter& p, const QRectF& r, const StmpDef& d) {
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

// Six bands over the arch, a small cloud at each foot.
// Six bands over an arch as wide as the stamp, a small cloud at each foot.
static void DrawRainbow(QPainter& p, const QRectF& r, const StmpDef& d) {
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

// ---- The table ----

constexpr char kGreet[] = "message/あいさつ", kThank[] = "message/ありがとう",
               kCongr[] = "message/おめでとう", kSeasn[] = "message/季節";
constexpr char kHeart[] = "item/ハート", kStars[] = "item/きらきら", kFlowr[] = "item/花",
               kAniml[] = "item/どうぶつ", kWeath[] = "item/天気";

// The greetings hold twelve stamps, more than the ten thumbnails the browser shows at once.
static const StmpDef kStmps[] = {
    {kGreet, 1, FMT_PNG, 84, 24, DrawMsgStars, "おはよう", 0xff8a1e, 0xffc820, kBgMagenta},
    {kGreet, 2, FMT_BMP, 92, 24, DrawMsgDuo, "こんにちは", 0x3cb44b, 0x2f8fe0, kBgMagenta},
    {kGreet, 3, FMT_GIF, 100, 24, DrawMsgStars, "こんばんは", 0x5a5ad8, 0xffd21e, kBgGreen},
    {kGreet, 4, FMT_JPG, 74, 24, DrawMsgPlain, "おやすみ", 0x7a5ad0, 0, kBgWhite},
    {kGreet, 5, FMT_PNG, 70, 24, DrawMsgHeart, "またね", 0xff5c9a, 0xf03c5a, kBgGreen},
    {kGreet, 6, FMT_PNG8, 76, 24, DrawMsgPlain, "ただいま", 0x2fae5a, 0, kBgMagenta},
    {kGreet, 7, FMT_BMP8, 72, 24, DrawMsgPlain, "おかえり", 0x17a99a, 0, kBgMagenta},
    {kGreet, 8, FMT_GIF, 84, 24, DrawMsgRainbow, "よろしくね", 0, 0, kBgBlue},
    {kGreet, 9, FMT_PNG, 72, 24, DrawMsgDuo, "バイバイ", 0xff5c9a, 0x2f8fe0, kBgGreen},
    {kGreet, 10, FMT_BMP, 80, 24, DrawMsgStars, "げんき？", 0xff8a1e, 0x3cb44b, kBgBlue},
    {kGreet, 11, FMT_JPG, 80, 24, DrawMsgPlain, "ごめんね", 0x2f8fe0, 0, kBgWhite},
    {kGreet, 12, FMT_PNG, 56, 44, DrawMsgDuo, "いって\nきます", 0xff8a1e, 0xe8383d, kBgAqua},

    {kThank, 1, FMT_PNG, 92, 24, DrawMsgHeart, "ありがとう", 0xff5c9a, 0xf0303c, kBgGreen},
    {kThank, 2, FMT_GIF, 86, 24, DrawMsgRainbow, "ありがと♪", 0, 0, kBgMagenta},
    {kThank, 3, FMT_BMP, 74, 44, DrawMsgDuo, "THANK\nYOU", 0x2f8fe0, 0xff5c9a, kBgGreen},
    {kThank, 4, FMT_PNG, 78, 28, DrawMsgStars, "感謝！", 0xe8383d, 0xffc820, kBgBlue},
    {kThank, 5, FMT_JPG, 90, 24, DrawMsgPlain, "サンキュー", 0xff8a1e, 0, kBgWhite},
    {kThank, 6, FMT_BMP, 98, 44, DrawMsgHeart, "いつも\nありがとう", 0x9a5ad8, 0xff5c9a, kBgGreen},

    {kCongr, 1, FMT_PNG, 86, 24, DrawMsgRainbow, "おめでとう", 0, 0, kBgBlue},
    {kCongr, 2, FMT_BMP, 84, 44, DrawMsgDuo, "誕生日\nおめでとう", 0xff5c9a, 0xff8a1e, kBgGreen},
    {kCongr, 3, FMT_GIF, 84, 44, DrawMsgPlain, "合格\nおめでとう", 0xe8383d, 0, kBgAqua},
    {kCongr, 4, FMT_PNG8, 100, 44, DrawMsgDuo, "HAPPY\nBIRTHDAY", 0xff8a1e, 0x2f8fe0, kBgMagenta},
    {kCongr, 5, FMT_BMP, 32, 32, DrawMsgPlain, "祝", 0xe8383d, 0, kBgGreen},
    {kCongr, 6, FMT_JPG, 98, 44, DrawMsgHeart, "結婚\nおめでとう", 0xff5c9a, 0xf0303c, kBgWhite},

    {kSeasn, 1, FMT_PNG, 90, 24, DrawMsgStars, "あけおめ", 0xe8383d, 0xffc820, kBgBlue},
    {kSeasn, 2, FMT_GIF, 70, 24, DrawMsgDuo, "ことよろ", 0xe8383d, 0xd89a00, kBgGreen},
    {kSeasn, 3, FMT_BMP8, 32, 32, DrawMsgPlain, "桜", 0xff6fa8, 0, kBgGreen},
    {kSeasn, 4, FMT_PNG, 58, 44, DrawMsgPlain, "暑中\n見舞い", 0x1a9ad0, 0, kBgMagenta},
    {kSeasn, 5, FMT_JPG, 86, 44, DrawMsgDuo, "メリー\nクリスマス", 0xe8383d, 0x2fae5a, kBgWhite},
    {kSeasn, 6, FMT_PNG, 88, 24, DrawMsgDuo, "ハロウィン", 0xff8a1e, 0x8a4ad0, kBgGreen},
    {kSeasn, 7, FMT_GIF, 70, 28, DrawMsgStars, "花火", 0x2f8fe0, 0xff5c9a, kBgMagenta},

    {kHeart, 1, FMT_PNG, 30, 28, DrawHeart, nullptr, 0xff4f8f, 0, kBgGreen},
    {kHeart, 2, FMT_BMP, 38, 36, DrawHearts2, nullptr, 0xf0303c, 0xff8ec4, kBgMagenta},
    {kHeart, 3, FMT_GIF, 54, 38, DrawHeartWing, nullptr, 0xff4f8f, 0xeef6ff, kBgGreen},
    {kHeart, 4, FMT_PNG, 40, 38, DrawHeartArrow, nullptr, 0xf0303c, 0xffc820, kBgBlue},
    {kHeart, 5, FMT_JPG, 34, 32, DrawHeartBroken, nullptr, 0x8a6ad8, 0, kBgWhite},
    {kHeart, 6, FMT_PNG, 42, 34, DrawLoveLetter, nullptr, 0xf0303c, 0xfff0d8, kBgMagenta},

    {kStars, 1, FMT_PNG, 40, 40, DrawStarFace, nullptr, 0xffd21e, 0, kBgMagenta},
    {kStars, 2, FMT_GIF, 22, 22, DrawStar, nullptr, 0xff6fa8, 0, kBgGreen},
    {kStars, 3, FMT_BMP, 36, 36, DrawSparkles, nullptr, 0xffd21e, 0x8fd8ff, kBgMagenta},
    {kStars, 4, FMT_PNG8, 44, 40, DrawShootStar, nullptr, 0xffd21e, 0xb68cff, kBgGreen},
    {kStars, 5, FMT_BMP, 34, 36, DrawMoon, nullptr, 0xffe060, 0xff9ecb, kBgBlue},
    {kStars, 6, FMT_JPG, 34, 34, DrawNotes, nullptr, 0x3a8ee6, 0, kBgWhite},

    {kFlowr, 1, FMT_PNG, 34, 34, DrawFlower, nullptr, 0xff7eb0, 0xffd21e, kBgGreen},
    {kFlowr, 2, FMT_BMP, 26, 26, DrawFlower, nullptr, 0x7fb8ff, 0xfff080, kBgMagenta},
    {kFlowr, 3, FMT_GIF, 30, 40, DrawTulip, nullptr, 0xf0403c, 0x4cb050, kBgBlue},
    {kFlowr, 4, FMT_PNG, 36, 36, DrawSakura, nullptr, 0xffc4da, 0xe8407a, kBgGreen},
    {kFlowr, 5, FMT_BMP8, 40, 40, DrawSunflower, nullptr, 0xffcc10, 0x9a5a2a, kBgMagenta},
    {kFlowr, 6, FMT_GIF, 34, 36, DrawClover, nullptr, 0x4cb050, 0, kBgMagenta},

    {kAniml, 1, FMT_PNG, 40, 38, DrawCat, nullptr, 0xffb060, 0, kBgGreen},
    {kAniml, 2, FMT_BMP, 40, 38, DrawDog, nullptr, 0xf2d8b0, 0xa8744c, kBgMagenta},
    {kAniml, 3, FMT_JPG, 40, 38, DrawBear, nullptr, 0, 0, kBgWhite},
    {kAniml, 4, FMT_PNG, 36, 42, DrawRabbit, nullptr, 0xfaf6fa, 0xffb0c8, kBgBlue},
    {kAniml, 5, FMT_GIF, 40, 38, DrawPanda, nullptr, 0xfafafa, 0x303038, kBgGreen},
    {kAniml, 6, FMT_PNG, 36, 36, DrawChick, nullptr, 0xffe040, 0xff9020, kBgMagenta},

    {kWeath, 1, FMT_PNG, 40, 40, DrawSun, nullptr, 0xffd21e, 0xff8a1e, kBgMagenta},
    {kWeath, 2, FMT_GIF, 44, 34, DrawCloud, nullptr, 0xf2f8ff, 0, kBgMagenta},
    {kWeath, 3, FMT_BMP, 40, 40, DrawRain, nullptr, 0xb8c8e0, 0x3a96e8, kBgMagenta},
    {kWeath, 4, FMT_JPG, 38, 40, DrawUmbrella, nullptr, 0xff5c9a, 0xfff0f6, kBgWhite},
    {kWeath, 5, FMT_PNG, 32, 44, DrawSnowman, nullptr, 0xf6faff, 0xe8383d, kBgGreen},
    {kWeath, 6, FMT_BMP, 56, 34, DrawRainbow, nullptr, 0xf6faff, 0, kBgMagenta},
};

// ---- Composing and saving ----

// The drawing alone on transparency, inset so that the rim and a pixel of background fit round
// it. Illustrations get their 100 x 100 unit box centred and scaled to the shorter side.
static QImage DrawStmpArt(const StmpDef& d) {
    QImage art(d.w, d.h, QImage::Format_ARGB32_Premultiplied);
    art.fill(Qt::transparent);
    QPainter p(&art);
    InitPainter(p);
    if (d.fmt == FMT_JPG) {  // the card's frame
        p.setPen(QPen(kOrange, 1.2));
        p.drawRoundedRect(QRectF(1.6, 1.6, d.w - 3.2, d.h - 3.2), kCardR - 1.6, kCardR - 1.6);
    }
    const QRectF inner(3, 3, d.w - 6, d.h - 6);
    if (d.text) {
        d.draw(p, inner, d);
        return art;
    }
    const double s = std::min(inner.width(), inner.height()) / 100;
    const double uw = inner.width() / s, uh = inner.height() / s;
    p.translate(inner.center());
    p.scale(s, s);
    p.translate(-50, -50);
    d.draw(p, QRectF(50 - uw / 2, 50 - uh / 2, uw, uh), d);
    return art;
}

// Which pixels the stamp covers: for a card the rounded rectangle filling the stamp;
// otherwise the drawing's shape (pixels at least a quarter covered) grown by the rim radius.
static std::vector<char> MakeStmpSil(const QImage& art, bool card) {
    const int w = art.width(), h = art.height();
    std::vector<char> sil(w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (card) {
                // How far the pixel's centre lies past a corner circle's centre.
                const double cx = std::max({0.0, kCardR - (x + 0.5), x + 0.5 - (w - kCardR)});
                const double cy = std::max({0.0, kCardR - (y + 0.5), y + 0.5 - (h - kCardR)});
                sil[y * w + x] = cx * cx + cy * cy <= kCardR * kCardR;
                continue;
            }
            if (qAlpha(art.pixel(x, y)) < kShapeAlpha) continue;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    if (dx * dx + dy * dy <= kRimR2 && x + dx >= 0 && x + dx < w && y + dy >= 0 &&
                        y + dy < h)
                        sil[(y + dy) * w + x + dx] = 1;
        }
    return sil;
}

// The finished stamp: inside the silhouette the drawing over the rim (or card) colour, outside
// exactly the background. No pixel mixes drawing and background, so nothing of the background
// tints the edge once the stamp is keyed, while antialiasing inside the silhouette stays.
static QImage ComposeStmp(const StmpDef& d) {
    const bool card = d.fmt == FMT_JPG;
    const QImage art = DrawStmpArt(d);
    const std::vector<char> sil = MakeStmpSil(art, card);
    const QRgb rim = card ? kCardCream : kRimWhite;
    QImage img(d.w, d.h, QImage::Format_RGB32);
    for (int y = 0; y < d.h; ++y)
        for (int x = 0; x < d.w; ++x) {
            if (!sil[y * d.w + x]) {
                img.setPixel(x, y, d.bg);
                continue;
            }
            const QRgb src = art.pixel(x, y);  // premultiplied: ready for "over"
            const int a = qAlpha(src);
            auto over = [&](int s, int r) { return s + (r * (255 - a) + 127) / 255; };
            QRgb c = qRgb(over(qRed(src), qRed(rim)), over(qGreen(src), qGreen(rim)),
                          over(qBlue(src), qBlue(rim)));
            if ((c & 0xffffff) == d.bg) c ^= 1;  // the key colour must not occur inside
            img.setPixel(x, y, c);
        }
    return img;
}

// Median cut over the distinct colours: splits the box with the widest channel at its median
// until there are n boxes or every box is one colour; the palette is the boxes' means. With n
// or fewer distinct colours every colour is kept exactly.
static std::vector<QRgb> CutMedian(std::vector<QRgb> cols, size_t n) {
    std::vector<std::vector<QRgb>> boxes;
    if (!cols.empty()) boxes.push_back(std::move(cols));
    while (boxes.size() < n) {
        size_t best = 0;
        int bestCh = -1, bestSpan = 0;
        for (size_t i = 0; i < boxes.size(); ++i)
            for (int ch = 0; ch < 3; ++ch) {
                int lo = 255, hi = 0;
                for (QRgb c : boxes[i]) {
                    const int v = (c >> (16 - 8 * ch)) & 0xff;
                    lo = std::min(lo, v);
                    hi = std::max(hi, v);
                }
                if (hi - lo > bestSpan) {
                    best = i;
                    bestCh = ch;
                    bestSpan = hi - lo;
                }
            }
        if (bestCh < 0) break;
        std::vector<QRgb>& box = boxes[best];
        const int shift = 16 - 8 * bestCh;
        std::sort(box.begin(), box.end(),
                  [&](QRgb a, QRgb b) { return ((a >> shift) & 0xff) < ((b >> shift) & 0xff); });
        std::vector<QRgb> upper(box.begin() + box.size() / 2, box.end());
        box.resize(box.size() / 2);
        boxes.push_back(std::move(upper));
    }
    std::vector<QRgb> pal;
    for (const std::vector<QRgb>& box : boxes) {
        long sum[3] = {0, 0, 0};
        for (QRgb c : box) {
            sum[0] += qRed(c);
            sum[1] += qGreen(c);
            sum[2] += qBlue(c);
        }
        const long k = static_cast<long>(box.size());
        pal.push_back(qRgb((sum[0] + k / 2) / k, (sum[1] + k / 2) / k, (sum[2] + k / 2) / k));
    }
    return pal;
}

// The stamp as 8-bit indices: entry 0 is exactly the background, the drawing gets up to 255
// other entries, none equal to the background, so the key survives the palette.
static QImage MakeStmpIdx(const QImage& img, QRgb bg) {
    const QRgb key = 0xff000000 | bg;
    std::vector<QRgb> cols;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != key) cols.push_back(img.pixel(x, y));
    std::sort(cols.begin(), cols.end());
    cols.erase(std::unique(cols.begin(), cols.end()), cols.end());
    QList<QRgb> table{key};
    for (QRgb c : CutMedian(std::move(cols), 255)) table.push_back(c == key ? c ^ 1 : c);
    QImage idx(img.size(), QImage::Format_Indexed8);
    idx.setColorTable(table);
    QHash<QRgb, int> nearest;
    for (int y = 0; y < img.height(); ++y) {
        uchar* row = idx.scanLine(y);
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (c == key) {
                row[x] = 0;
                continue;
            }
            if (!nearest.contains(c)) {
                int best = 1, bestDist = INT_MAX;
                for (int i = 1; i < table.size(); ++i) {
                    const int dr = qRed(c) - qRed(table[i]), dg = qGreen(c) - qGreen(table[i]),
                              db = qBlue(c) - qBlue(table[i]);
                    const int dist = dr * dr + dg * dg + db * db;
                    if (dist < bestDist) {
                        best = i;
                        bestDist = dist;
                    }
                }
                nearest.insert(c, best);
            }
            row[x] = static_cast<uchar>(nearest.value(c));
        }
    }
    return idx;
}

// Writes an 8-bit indexed picture as a GIF: one frame covering the screen, global colour map.
static int SaveStmpGif(QImage idx, const QString& path) {
    const int bits = GifBitSize(idx.colorCount());
    ColorMapObject* map = GifMakeMapObject(1 << bits, nullptr);
    if (!map) {
        std::fprintf(stderr, "%s: no memory for the colour map\n", qPrintable(path));
        return 0;
    }
    for (int i = 0; i < map->ColorCount; ++i) {
        const QRgb c = i < idx.colorCount() ? idx.color(i) : 0;
        map->Colors[i] = {static_cast<GifByteType>(qRed(c)), static_cast<GifByteType>(qGreen(c)),
                          static_cast<GifByteType>(qBlue(c))};
    }
    int err = 0;
    GifFileType* gif = EGifOpenFileName(QFile::encodeName(path).constData(), false, &err);
    int ok = gif && EGifPutScreenDesc(gif, idx.width(), idx.height(), bits, 0, map) == GIF_OK &&
             EGifPutImageDesc(gif, 0, 0, idx.width(), idx.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < idx.height(); ++y)
        ok = EGifPutLine(gif, idx.scanLine(y), idx.width()) == GIF_OK;
    if (gif && !ok) err = gif->Error;
    GifFreeMapObject(map);
    if (gif && EGifCloseFile(gif, ok ? &err : nullptr) != GIF_OK) ok = 0;
    if (!ok) std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), GifErrorString(err));
    return ok;
}

static const char* StmpExt(StmpFmt fmt) {
    switch (fmt) {
        case FMT_PNG:
        case FMT_PNG8: return "png";
        case FMT_BMP:
        case FMT_BMP8: return "bmp";
        case FMT_GIF: return "gif";
        case FMT_JPG: return "jpg";
    }
    return "";
}

// Saves the stamp in its format and reads it back: the size must match, and a lossless file
// must give back exactly what was written, the background in the top-left corner included.
static int SaveStmp(const StmpDef& d, const QImage& img, const QString& path) {
    const bool indexed = d.fmt == FMT_PNG8 || d.fmt == FMT_BMP8 || d.fmt == FMT_GIF;
    const QImage pic =
        indexed ? MakeStmpIdx(img, d.bg) : img.convertToFormat(QImage::Format_RGB888);
    int ok;
    switch (d.fmt) {
        case FMT_GIF: ok = SaveStmpGif(pic, path); break;
        case FMT_JPG: ok = pic.save(path, "JPEG", kJpgQuality); break;
        case FMT_BMP:
        case FMT_BMP8: ok = pic.save(path, "BMP"); break;
        default: ok = pic.save(path, "PNG"); break;
    }
    if (!ok) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 0;
    }
    const QImage back = QImage(path).convertToFormat(QImage::Format_RGB32);
    if (back.size() != img.size()) {
        std::fprintf(stderr, "%s reads back as %d x %d\n", qPrintable(path), back.width(),
                     back.height());
        return 0;
    }
    if (d.fmt != FMT_JPG && (back != pic.convertToFormat(QImage::Format_RGB32) ||
                             back.pixel(0, 0) != (0xff000000 | d.bg))) {
        std::fprintf(stderr, "%s does not read back as written\n", qPrintable(path));
        return 0;
    }
    return 1;
}

int DrawStamps(const ArtOut& out) {
    // Start from empty collections so that the folders hold exactly the table.
    for (const char* coll : {"message", "item"})
        if (!QDir(out.contentDir + "/" + coll).removeRecursively()) {
            std::fprintf(stderr, "cannot clear %s/%s\n", qPrintable(out.contentDir), coll);
            return 0;
        }
    for (const StmpDef& d : kStmps) {
        const QString dir = out.contentDir + "/" + QString::fromUtf8(d.dir);
        if (!QDir().mkpath(dir)) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(dir));
            return 0;
        }
        const QString path =
            QString("%1/%2.%3").arg(dir).arg(d.num, 2, 10, QChar('0')).arg(StmpExt(d.fmt));
        if (!SaveStmp(d, ComposeStmp(d), path)) return 0;
    }
    return 1;
}
