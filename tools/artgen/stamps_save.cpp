// Saving a stamp in its format: median cut palette and 8-bit indices for the indexed formats, a
// GIF writer, and a read-back check of every file written.
#include <gif_lib.h>

#include <QFile>
#include <QHash>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <vector>

#include "stamps.h"

constexpr int kJpgQuality = 92;

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

const char* StmpExt(StmpFmt fmt) {
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
int SaveStmp(const StmpDef& d, const QImage& img, const QString& path) {
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
