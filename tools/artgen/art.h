// Shared drawing helpers of the artwork generator: the palette, fonts, the key-coloured canvas,
// panels, pill buttons, the bear, and writing resources by number.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

// Outside-the-shape colour of every shaped skin (its top-left pixel).
inline const QColor kKey(0, 128, 128);

// Palette: pastel pink phone, cream dialog panels with a pink border.
inline const QColor kPink(248, 178, 204);
inline const QColor kPinkLight(255, 222, 234);
inline const QColor kPinkDeep(228, 112, 158);
inline const QColor kPinkDark(176, 64, 112);
inline const QColor kCream(255, 248, 232);  // flat panel colour; dialog buttons sit on it
inline const QColor kCreamShade(246, 232, 206);
inline const QColor kText(92, 52, 68);  // dark plum for labels on light grounds
inline const QColor kBearBrown(196, 138, 92);
inline const QColor kBearLight(238, 200, 160);
inline const QColor kOrange(255, 176, 92);
inline const QColor kGreen(126, 200, 120);
inline const QColor kSkyBlue(150, 200, 240);
inline const QColor kMint(160, 222, 180);

// Where the generator writes: res/bmp, res/ico, res/cur under the resource folder.
enum ResKind { RES_BMP, RES_ICO, RES_CUR };

struct ArtOut {
    QString resDir;      // repository res/ folder
    QString contentDir;  // repository content/ folder
};

// Writes a resource picture as res/<kind>/<num>.png; bitmaps are saved opaque (24-bit).
// Returns 1 on success, 0 after reporting the failure.
int SaveRes(const ArtOut& out, ResKind kind, int num, const QImage& img);

// The catalogue of everything written in this run, in order, for the contact sheet.
struct ArtItem {
    ResKind kind;
    int num;
    QImage img;
};
const std::vector<ArtItem>& GetArtItems();

// A w x h opaque picture filled with the key colour, ready for a shaped skin.
QImage NewSkin(int w, int h);

// A w x h transparent canvas for a shaped skin drawn with antialiasing; KeyFlatten turns it into
// an opaque skin with a hard silhouette: pixels at least half covered keep their colour (no
// blend with the key), the rest become key colour. SaveRes flattens bitmaps with alpha itself.
QImage NewShape(int w, int h);
QImage KeyFlatten(const QImage& img);

// IPA P Gothic at a pixel size; bold is synthesised by the font engine.
QFont ArtFont(double px, bool bold);

// A painter with antialiasing and smooth pixmap transforms turned on.
void InitPainter(QPainter& p);

// Dialog-unit rectangle of a 9-point template to pixels (7/4 across, 12/8 down, nearest).
QRect DluRect(int x, int y, int w, int h);

// Cream panel with a pink border filling the w x h skin inside rounded corners of 25 x 25.
// Corners outside the rounded shape stay key colour.
void DrawDlgPanel(QPainter& p, int w, int h);

// White rounded box for an edit field or list, with a soft pink inset line.
void DrawFieldBox(QPainter& p, const QRect& r);

// Text centred in a rectangle.
void DrawTextIn(QPainter& p, const QRectF& r, const QString& text, const QFont& font,
                const QColor& color, int align = Qt::AlignCenter);

// A friendly bear head (ears, muzzle, eyes) centred at c with the given face diameter.
void DrawBearHead(QPainter& p, QPointF c, double d);

// Parts of the drawn phones (main window and preview): the pink body with its lighter face
// plate, the dark bezel round a white screen, and the antenna rod.
void DrawPhoneBody(QPainter& p, const QRectF& body, double radius, double plateInset);
void DrawScreenBezel(QPainter& p, const QRect& screen, double mx, double my, double radius);
void DrawAntennaRod(QPainter& p, QPointF top, QPointF foot, double width);

// The three looks of a button: 0 normal, 1 hover (lighter, lit), 2 pressed (darker, one pixel
// down and right).
enum BtnLook { LOOK_NORMAL, LOOK_HOVER, LOOK_PRESSED };

// Colours of a pill for a look: pink, orange when lit, green when pressed (dialog buttons).
QColor PillColor(BtnLook look);

// A rounded pill button filling w x h (inset by one pixel), gradient, label centred.
void DrawPill(QPainter& p, int w, int h, const QColor& base, BtnLook look, const QString& label,
              double fontPx);

// Stacks three w x h looks into one strip, each look drawn by draw() over a copy of bg
// (the skin under the button, so the strip's corners match what surrounds the button).
template <typename F>
QImage MakeStrip(const QImage& bg, F draw) {
    const int w = bg.width(), h = bg.height();
    QImage strip(w, 3 * h, QImage::Format_RGB32);
    QPainter sp(&strip);
    for (int look = 0; look < 3; ++look) {
        QImage face = bg.convertToFormat(QImage::Format_RGB32);
        {
            QPainter p(&face);
            InitPainter(p);
            if (look == LOOK_PRESSED) p.translate(1, 1);
            draw(p, static_cast<BtnLook>(look));
        }
        sp.drawImage(0, look * h, face);
    }
    return strip;
}

// A flat w x h background of one colour, for strips that sit on a flat panel.
QImage FlatBg(int w, int h, const QColor& c);

// Lighter for hover, darker for pressed, unchanged for normal.
QColor LookShade(const QColor& c, BtnLook look);

// Drawing modules, each writes its resources.
int DrawMainSkins(const ArtOut& out);     // 118-123 and the strips that sit on 118
int DrawPreviewSkins(const ArtOut& out);  // preview phone 138 with strip 139, splash 143
int DrawDlgSkins(const ArtOut& out);      // dialogs 125, 129, 154, 160, 164, 176, 185, 197, 198
int DrawStmpDlgSkins(const ArtOut& out);  // stamp dialog 146 and its buttons 147, 149, 150, 151
int DrawDlgStrips(const ArtOut& out);     // the pill buttons shared by the dialogs
int DrawIcons(const ArtOut& out);         // icons 135, 196 and cursors 204, 205
int DrawStamps(const ArtOut& out);        // content/message and content/item
int DrawSheet(const QString& path);       // contact sheet of everything written
