// Message stamps: the words as bold glyph outlines, plain, two-coloured or rainbow, some with a
// heart or stars beside them.
#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>
#include <vector>

#include "art.h"
#include "stamps.h"

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

void DrawMsgPlain(QPainter& p, const QRectF& r, const StmpDef& d) {
    DrawMsgText(p, r, d.text, &d.c1, 1);
}

// Letters alternating between the main and the accent colour.
void DrawMsgDuo(QPainter& p, const QRectF& r, const StmpDef& d) {
    const QRgb cols[] = {d.c1, d.c2};
    DrawMsgText(p, r, d.text, cols, 2);
}

void DrawMsgRainbow(QPainter& p, const QRectF& r, const StmpDef& d) {
    static const QRgb kCols[] = {0xf0445a, 0xff8c1a, 0xe8b800, 0x3cb44b, 0x2f8fe0, 0x9a5ad8};
    DrawMsgText(p, r, d.text, kCols, 6);
}

// Words with a small heart in the accent colour at their upper right.
void DrawMsgHeart(QPainter& p, const QRectF& r, const StmpDef& d) {
    const double hs = std::min(r.height() * 0.72, 16.0);
    DrawMsgText(p, r.adjusted(0, 0, -hs * 0.9, 0), d.text, &d.c1, 1);
    const QRectF heart(r.right() - hs, r.top(), hs, hs * 0.92);
    FillBlob(p, HeartPath(heart), QColor(d.c2));
}

// Words between two twinkling stars in the accent colour, upper left and lower right.
void DrawMsgStars(QPainter& p, const QRectF& r, const StmpDef& d) {
    const double ss = std::min(r.height() * 0.3, 7.0);
    DrawMsgText(p, r.adjusted(ss * 1.5, 0, -ss * 1.5, 0), d.text, &d.c1, 1);
    FillBlob(p, StarPath(QPointF(r.left() + ss, r.top() + ss), ss, ss * 0.45, 5), QColor(d.c2));
    FillBlob(p, StarPath(QPointF(r.right() - ss, r.bottom() - ss), ss, ss * 0.45, 5), QColor(d.c2));
}
