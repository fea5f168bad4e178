// The stamp collections under content/: message stamps (Japanese words) in message/<theme>/ and
// illustration stamps in item/<theme>/. The program keys a stamp by its top-left pixel, so every
// stamp is a sticker: the drawing, a hard-edged rim around it and, outside the rim, a background
// colour that occurs nowhere in the drawing. Formats are mixed so that every reader path (BMP
// 24- and 8-bit, PNG true colour and palette, GIF, JPEG) has stamps to read.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <span>

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

// Every stamp, in the order they are written (stamps_table.cpp).
std::span<const StmpDef> GetStmpDefs();

// File extension of a format, and saving a stamp in its format with a read-back check
// (stamps_save.cpp). Returns 1 on success, 0 after reporting the failure.
const char* StmpExt(StmpFmt fmt);
int SaveStmp(const StmpDef& d, const QImage& img, const QString& path);

// ---- Pens and shapes shared by the drawings (stamps_shape.cpp) ----

// A round-capped outline pen that keeps its pixel width at every stamp size.
QPen InkPen(const QColor& c, double px = 1.3);
// A round-capped pen of width w in drawing units, for stems, handles and streaks.
QPen BandPen(const QColor& c, double w);
// A band along path: c over a darker (by `darker` percent) edge 1.5 pixels wide each side.
void DrawBand(QPainter& p, const QPainterPath& path, const QColor& c, int darker, double w);
// A shape lit from the upper left with a darker outline of its own colour.
void FillBlob(QPainter& p, const QPainterPath& path, const QColor& c);
// An ellipse of radii rx, ry centred at c, turned by deg degrees.
QPainterPath EllipsePath(QPointF c, double rx, double ry, double deg = 0);
// The point at fractions u across and v down box b.
QPointF AtBox(const QRectF& b, double u, double v);
// A heart filling b, its point at the bottom.
QPainterPath HeartPath(const QRectF& b);
// An n-pointed star, the first point straight up.
QPainterPath StarPath(QPointF c, double ro, double ri, int n);
// A soft white highlight, tilted up to the left.
void DrawGlint(QPainter& p, QPointF c, double rx, double ry);
// Eyes with a glint and rosy cheeks; with a snout a small nose over an ω mouth, otherwise a
// smile. k is the face's radius.
void DrawFaceBits(QPainter& p, QPointF c, double k, bool snout);

// ---- Message stamps (stamps_msg.cpp) ----

void DrawMsgPlain(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawMsgDuo(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawMsgRainbow(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawMsgHeart(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawMsgStars(QPainter& p, const QRectF& r, const StmpDef& d);

// ---- Illustrations: hearts, stars and animals (stamps_item.cpp) ----

void DrawHeart(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawHearts2(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawHeartWing(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawHeartArrow(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawHeartBroken(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawLoveLetter(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawStar(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawStarFace(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawSparkles(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawShootStar(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawMoon(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawNotes(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawCat(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawDog(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawBear(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawRabbit(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawPanda(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawChick(QPainter& p, const QRectF& r, const StmpDef& d);

// ---- Illustrations: flowers and weather (stamps_item_nature.cpp) ----

void DrawFlower(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawTulip(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawSakura(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawSunflower(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawClover(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawSun(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawCloud(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawRain(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawUmbrella(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawSnowman(QPainter& p, const QRectF& r, const StmpDef& d);
void DrawRainbow(QPainter& p, const QRectF& r, const StmpDef& d);
