#include "art.h"

#include <QDir>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <vector>

static std::vector<ArtItem> g_items;

const std::vector<ArtItem>& GetArtItems() {
    return g_items;
}

int SaveRes(const ArtOut& out, ResKind kind, int num, const QImage& img) {
    static const char* const kFolder[] = {"bmp", "ico", "cur"};
    const QString dir = out.resDir + "/" + kFolder[kind];
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(dir));
        return 0;
    }
    // Bitmaps are opaque; icons and cursors keep their alpha.
    const QImage pic = kind == RES_BMP ? KeyFlatten(img).convertToFormat(QImage::Format_RGB888)
                                       : img.convertToFormat(QImage::Format_ARGB32);
    const QString path = QString("%1/%2.png").arg(dir).arg(num);
    if (!pic.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 0;
    }
    g_items.push_back({kind, num, pic});
    return 1;
}

QImage NewSkin(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kKey);
    return img;
}

QImage NewShape(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QImage KeyFlatten(const QImage& img) {
    if (!img.hasAlphaChannel()) return img;
    QImage src = img.convertToFormat(QImage::Format_ARGB32);
    QImage dst(src.size(), QImage::Format_RGB32);
    const QRgb key = kKey.rgb();
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QRgb* d = reinterpret_cast<QRgb*>(dst.scanLine(y));
        for (int x = 0; x < src.width(); ++x)
            d[x] = qAlpha(s[x]) >= 128 ? (s[x] | 0xff000000u) : key;
    }
    return dst;
}

QFont ArtFont(double px, bool bold) {
    QFont f("IPAPGothic");
    f.setPixelSize(static_cast<int>(std::lround(px)));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

void InitPainter(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

QRect DluRect(int x, int y, int w, int h) {
    auto cx = [](int v) { return static_cast<int>(std::lround(v * 7.0 / 4.0)); };
    auto cy = [](int v) { return static_cast<int>(std::lround(v * 12.0 / 8.0)); };
    return QRect(cx(x), cy(y), cx(w), cy(h));
}

void DrawDlgPanel(QPainter& p, int w, int h) {
    // The window's rounded region keeps (0,0)-(w,h) with 25 x 25 corner ellipses; the panel
    // lies inside it so no key colour shows at the rim.
    QPainterPath outer;
    outer.addRoundedRect(QRectF(0, 0, w, h), 12.5, 12.5);
    p.fillPath(outer, kPinkDeep);
    QPainterPath mid;
    mid.addRoundedRect(QRectF(3, 3, w - 6, h - 6), 10, 10);
    p.fillPath(mid, kPinkLight);
    QPainterPath inner;
    inner.addRoundedRect(QRectF(6, 6, w - 12, h - 12), 8, 8);
    p.fillPath(inner, kCream);
}

void DrawFieldBox(QPainter& p, const QRect& r) {
    const QRectF box = QRectF(r).adjusted(-2.5, -2.5, 2.5, 2.5);
    p.setPen(QPen(kPink, 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(box, 3, 3);
    p.fillRect(r, Qt::white);
}

void DrawTextIn(QPainter& p, const QRectF& r, const QString& text, const QFont& font,
                const QColor& color, int align) {
    p.setFont(font);
    p.setPen(color);
    p.drawText(r, align, text);
}

void DrawBearHead(QPainter& p, QPointF c, double d) {
    const double r = d / 2;
    p.setPen(QPen(kBearBrown.darker(140), std::max(1.0, d / 28)));
    // Ears behind the face.
    for (int side = -1; side <= 1; side += 2) {
        const QPointF ear(c.x() + side * r * 0.72, c.y() - r * 0.72);
        p.setBrush(kBearBrown);
        p.drawEllipse(ear, r * 0.36, r * 0.36);
        p.setBrush(kBearLight);
        p.setPen(Qt::NoPen);
        p.drawEllipse(ear, r * 0.18, r * 0.18);
        p.setPen(QPen(kBearBrown.darker(140), std::max(1.0, d / 28)));
    }
    QRadialGradient face(c - QPointF(r * 0.3, r * 0.3), r * 1.3);
    face.setColorAt(0, kBearBrown.lighter(120));
    face.setColorAt(1, kBearBrown);
    p.setBrush(face);
    p.drawEllipse(c, r, r * 0.92);
    p.setPen(Qt::NoPen);
    p.setBrush(kBearLight);
    p.drawEllipse(QPointF(c.x(), c.y() + r * 0.32), r * 0.40, r * 0.30);
    p.setBrush(QColor(60, 36, 30));
    p.drawEllipse(QPointF(c.x() - r * 0.36, c.y() - r * 0.08), r * 0.09, r * 0.11);
    p.drawEllipse(QPointF(c.x() + r * 0.36, c.y() - r * 0.08), r * 0.09, r * 0.11);
    p.drawEllipse(QPointF(c.x(), c.y() + r * 0.22), r * 0.11, r * 0.08);
    // Rosy cheeks.
    p.setBrush(QColor(255, 140, 160, 150));
    p.drawEllipse(QPointF(c.x() - r * 0.58, c.y() + r * 0.22), r * 0.13, r * 0.09);
    p.drawEllipse(QPointF(c.x() + r * 0.58, c.y() + r * 0.22), r * 0.13, r * 0.09);
}

QColor PillColor(BtnLook look) {
    switch (look) {
        case LOOK_HOVER: return kOrange;
        case LOOK_PRESSED: return kGreen;
        default: return kPinkDeep.lighter(115);
    }
}

QColor LookShade(const QColor& c, BtnLook look) {
    switch (look) {
        case LOOK_HOVER: return c.lighter(112);
        case LOOK_PRESSED: return c.darker(118);
        default: return c;
    }
}

void DrawPill(QPainter& p, int w, int h, const QColor& base, BtnLook look, const QString& label,
              double fontPx) {
    const QRectF r(1, 1, w - 3, h - 3);
    const double rad = r.height() / 2;
    // Soft shadow, then the body with a top-lit gradient and a glossy upper half.
    if (look != LOOK_PRESSED) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 40));
        p.drawRoundedRect(r.translated(0.8, 1.2), rad, rad);
    }
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, base.lighter(125));
    g.setColorAt(1, base.darker(look == LOOK_PRESSED ? 120 : 108));
    p.setPen(QPen(base.darker(150), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, rad, rad);
    const QRectF gloss(r.left() + rad * 0.5, r.top() + 1.5, r.width() - rad, r.height() * 0.42);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, look == LOOK_PRESSED ? 50 : 95));
    p.drawRoundedRect(gloss, gloss.height() / 2, gloss.height() / 2);
    if (!label.isEmpty()) {
        const QFont f = ArtFont(fontPx, true);
        DrawTextIn(p, r.translated(1, 1), label, f, base.darker(170));
        DrawTextIn(p, r, label, f, Qt::white);
    }
}

QImage FlatBg(int w, int h, const QColor& c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

void DrawPhoneBody(QPainter& p, const QRectF& body, double radius, double plateInset) {
    QLinearGradient g(body.topLeft(), body.topRight());
    g.setColorAt(0, QColor(250, 170, 198));
    g.setColorAt(0.35, QColor(255, 206, 222));
    g.setColorAt(1, QColor(240, 150, 184));
    p.setPen(QPen(kPinkDark, 2));
    p.setBrush(g);
    p.drawRoundedRect(body, radius, radius);
    const double plateR = radius - plateInset + 1;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 228, 238));
    p.drawRoundedRect(body.adjusted(plateInset, plateInset, -plateInset, -plateInset), plateR,
                      plateR);
}

void DrawScreenBezel(QPainter& p, const QRect& screen, double mx, double my, double radius) {
    const QRectF bezel = QRectF(screen).adjusted(-mx, -my, mx, my);
    QLinearGradient g(bezel.topLeft(), bezel.bottomRight());
    g.setColorAt(0, QColor(120, 70, 96));
    g.setColorAt(1, QColor(70, 36, 56));
    p.setBrush(g);
    p.setPen(QPen(kPinkDark.darker(120), 1));
    p.drawRoundedRect(bezel, radius, radius);
    p.fillRect(screen, Qt::white);
}

void DrawAntennaRod(QPainter& p, QPointF top, QPointF foot, double width) {
    p.setPen(QPen(kPinkDark, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(top, foot);
    p.setPen(QPen(kPink.lighter(105), width - 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(top, foot);
}
