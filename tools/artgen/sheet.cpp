// The contact sheet: every resource written in this run at 1:1 on one picture, with its number,
// skins first, then strips (three looks each), icons and cursors.
#include <cstdio>

#include "art.h"

int DrawSheet(const QString& path) {
    const std::vector<ArtItem>& items = GetArtItems();
    if (items.empty()) return 1;
    const int sheetW = 1600, gap = 14, labelH = 16;
    // Lay out in rows, left to right, tallest item of a row setting its height.
    struct Place {
        int x, y;
    };
    std::vector<Place> places;
    int x = gap, y = gap, rowH = 0;
    for (const ArtItem& it : items) {
        if (x + it.img.width() > sheetW - gap && x > gap) {
            x = gap;
            y += rowH + labelH + gap;
            rowH = 0;
        }
        places.push_back({x, y});
        x += std::max(it.img.width(), 30) + gap;
        rowH = std::max(rowH, it.img.height());
    }
    QImage sheet(sheetW, y + rowH + labelH + gap, QImage::Format_RGB32);
    sheet.fill(QColor(236, 236, 236));
    QPainter p(&sheet);
    p.setFont(ArtFont(12, false));
    for (size_t i = 0; i < items.size(); ++i) {
        const ArtItem& it = items[i];
        const QRect r(places[i].x, places[i].y, it.img.width(), it.img.height());
        // A checker under icons and cursors shows their transparency.
        if (it.kind != RES_BMP)
            for (int cy = 0; cy < r.height(); cy += 4)
                for (int cx = 0; cx < r.width(); cx += 4)
                    if (((cx + cy) / 4) % 2)
                        p.fillRect(QRect(r.x() + cx, r.y() + cy, 4, 4), QColor(200, 200, 200));
        p.drawImage(r.topLeft(), it.img);
        p.setPen(QColor(80, 80, 80));
        p.drawText(QRect(r.x(), r.bottom() + 2, std::max(r.width(), 30), labelH),
                   Qt::AlignLeft | Qt::AlignTop, QString::number(it.num));
    }
    if (!sheet.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 0;
    }
    return 1;
}
