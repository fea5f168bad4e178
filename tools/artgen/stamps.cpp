// Composing the stamps: the drawing on transparency, the silhouette with its rim or card, the
// background outside it; and writing every stamp of the table under content/.
#include "stamps.h"

#include <QDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "art.h"

// Die-cut stamps get a white rim about two pixels wide round the drawing. A small JPEG has an
// edge in nearly every block, and the ringing round it would leave most of a die-cut stamp's
// background a shade off white, so JPEG stamps are cards instead: a cream rounded rectangle
// filling the stamp, with background only outside its rounded corners.
constexpr QRgb kRimWhite = 0xffffff, kCardCream = 0xfff0c8;
constexpr int kRimR2 = 5;        // squared radius of the rim
constexpr int kCardR = 5;        // corner radius of a card
constexpr int kShapeAlpha = 64;  // coverage from which a pixel belongs to the drawing's shape

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

int DrawStamps(const ArtOut& out) {
    // Start from empty collections so that the folders hold exactly the table.
    for (const char* coll : {"message", "item"})
        if (!QDir(out.contentDir + "/" + coll).removeRecursively()) {
            std::fprintf(stderr, "cannot clear %s/%s\n", qPrintable(out.contentDir), coll);
            return 0;
        }
    for (const StmpDef& d : GetStmpDefs()) {
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
