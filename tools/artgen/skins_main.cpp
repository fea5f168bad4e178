// The main window: skin 118 (the pink phone and the picture panel), the tab pages 119-121, the
// slider track 122 and knob 123, and the strips of the main window's buttons, each cut from the
// finished skin so that a button's corners show exactly the skin around it.
#include <QPainterPath>
#include <cmath>

#include "art.h"
#include "glyphs.h"

namespace {

const QRect kScreen(39, 146, 120, 130);     // work area
const QRect kSlider(26, 349, 147, 28);      // brightness slider
const QRect kTabPage(194, 138, 192, 413);   // tab page area
const QRectF kPhone(10.5, 58.5, 183, 490);  // phone body
const QRectF kPanel(184.5, 6.5, 218, 578);  // picture panel
const QColor kPageColor[3] = {QColor(250, 196, 216), QColor(184, 228, 178), QColor(176, 210, 244)};

// Face of a main-window button; the strip is cut from the skin at the button's place.
enum FaceKind { FACE_PILL, FACE_KEY, FACE_ICON, FACE_TAB, FACE_BEAR, FACE_ANTENNA };

struct MainBtn {
    int strip;
    QRect rect;
    FaceKind kind;
    const char* label;
    QColor color;
    Glyph glyph;
};

const MainBtn kMainBtns[] = {
    {101, {299, 558, 66, 20}, FACE_PILL, "終了", QColor(236, 120, 150), GLYPH_NONE},
    {111, {220, 558, 66, 20}, FACE_PILL, "ヘルプ", QColor(240, 160, 90), GLYPH_NONE},
    {102, {24, 109, 60, 23}, FACE_PILL, "クリア", QColor(236, 120, 150), GLYPH_NONE},
    {103, {113, 109, 60, 23}, FACE_PILL, "リセット", QColor(150, 180, 236), GLYPH_NONE},
    {104, {69, 287, 58, 31}, FACE_KEY, "拡大", QColor(255, 236, 244), GLYPH_PLUS},
    {105, {69, 318, 58, 24}, FACE_KEY, "縮小", QColor(255, 236, 244), GLYPH_MINUS},
    {140, {21, 293, 48, 33}, FACE_ICON, "回転", QColor(255, 236, 244), GLYPH_ROTATE},
    {169, {127, 293, 48, 33}, FACE_ICON, "反転", QColor(255, 236, 244), GLYPH_MIRROR},
    {107, {31, 390, 137, 26}, FACE_PILL, "メール送信", QColor(228, 96, 146), GLYPH_ENVELOPE},
    {106, {31, 424, 66, 27}, FACE_PILL, "保存", QColor(120, 186, 120), GLYPH_NONE},
    {116, {102, 424, 67, 26}, FACE_PILL, "ユーザ設定", QColor(150, 150, 220), GLYPH_NONE},
    {108, {23, 460, 65, 65}, FACE_BEAR, "ホーム", QColor(255, 236, 244), GLYPH_NONE},
    {109, {100, 466, 89, 24}, FACE_PILL, "公開アルバム", QColor(240, 150, 100), GLYPH_NONE},
    {110, {89, 494, 92, 24}, FACE_PILL, "アルバム管理", QColor(170, 130, 210), GLYPH_NONE},
    {113, {194, 114, 64, 24}, FACE_TAB, "写真", kPageColor[0], GLYPH_NONE},
    {114, {258, 114, 64, 24}, FACE_TAB, "メッセージ", kPageColor[1], GLYPH_NONE},
    {115, {322, 114, 64, 24}, FACE_TAB, "イラスト", kPageColor[2], GLYPH_NONE},
    {112, {291, 148, 81, 17}, FACE_PILL, "画像の読込", QColor(236, 120, 150), GLYPH_NONE},
    {117, {0, 0, 56, 33}, FACE_ANTENNA, "", QColor(), GLYPH_NONE},
};

// Label size that fits a pill: shrink until the text fits the inner width.
double FitFontPx(const QString& text, double px, double maxW) {
    while (px > 8) {
        QFontMetricsF fm(ArtFont(px, true));
        if (fm.horizontalAdvance(text) <= maxW) break;
        px -= 0.5;
    }
    return px;
}

// The bear-head ball at the antenna's tip; drawn on the skin and, lit or pressed, on strip 117.
void DrawAntennaBall(QPainter& p, BtnLook look) {
    QPainter::CompositionMode mode = p.compositionMode();
    DrawBearHead(p, QPointF(27, 17), 29);
    if (look == LOOK_HOVER) {
        p.setCompositionMode(QPainter::CompositionMode_Screen);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 60, 40));
        p.drawEllipse(QPointF(27, 17), 14.5, 13.3);
    } else if (look == LOOK_PRESSED) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 45));
        p.drawEllipse(QPointF(27, 17), 14.5, 13.3);
    }
    p.setCompositionMode(mode);
}

// One look of a main-window button, over the skin already copied into the painter.
void DrawMainFace(QPainter& p, const MainBtn& b, BtnLook look) {
    const int w = b.rect.width(), h = b.rect.height();
    const QString label = QString::fromUtf8(b.label);
    switch (b.kind) {
        case FACE_PILL: {
            const double iconW = b.glyph == GLYPH_NONE ? 0 : h + 4;
            DrawPill(p, w, h, LookShade(b.color, look), look, QString(), 0);
            if (b.glyph != GLYPH_NONE)
                DrawGlyph(p, b.glyph, QRectF(8, 3, h * 1.3, h - 7), Qt::white);
            const double px = FitFontPx(label, h * 0.62, w - iconW - 10);
            const QRectF tr(iconW, 0, w - iconW, h - 1);
            DrawTextIn(p, tr.translated(0.8, 0.8), label, ArtFont(px, true), b.color.darker(170));
            DrawTextIn(p, tr, label, ArtFont(px, true), Qt::white);
            break;
        }
        case FACE_KEY:
        case FACE_ICON: {
            // Soft rounded keys of the phone, with a glyph and a small caption.
            const QRectF r(1.5, 1.5, w - 4, h - 4);
            QLinearGradient g(r.topLeft(), r.bottomLeft());
            const QColor c = LookShade(b.color, look);
            g.setColorAt(0, Qt::white);
            g.setColorAt(1, look == LOOK_PRESSED ? c.darker(112) : c);
            p.setPen(QPen(kPinkDeep, 1.2));
            p.setBrush(g);
            p.drawRoundedRect(r, 8, 8);
            const QColor ink = look == LOOK_HOVER ? kPinkDeep : kPinkDark;
            if (b.kind == FACE_KEY) {
                DrawGlyph(p, b.glyph, QRectF(6, 4, 14, h - 10), ink);
                DrawTextIn(p, QRectF(20, 0, w - 22, h - 2), label, ArtFont(11, true), ink);
            } else {
                DrawGlyph(p, b.glyph, QRectF(6, 3, w - 12, h - 17), ink);
                DrawTextIn(p, QRectF(0, h - 15, w - 2, 12), label, ArtFont(10, true), ink);
            }
            break;
        }
        case FACE_TAB: {
            // Tab header: rounded top, the page's colour, so it reads as the page's handle.
            QPainterPath path;
            path.moveTo(1, h);
            path.lineTo(1, 8);
            path.quadTo(1, 1, 8, 1);
            path.lineTo(w - 9, 1);
            path.quadTo(w - 2, 1, w - 2, 8);
            path.lineTo(w - 2, h);
            QLinearGradient g(0, 0, 0, h);
            const QColor c = LookShade(b.color, look);
            g.setColorAt(0, c.lighter(112));
            g.setColorAt(1, c);
            p.setPen(QPen(b.color.darker(135), 1.2));
            p.setBrush(g);
            p.drawPath(path);
            const double px = FitFontPx(label, 13, w - 8);
            DrawTextIn(p, QRectF(0, 2, w - 1, h - 2), label, ArtFont(px, true),
                       b.color.darker(look == LOOK_HOVER ? 190 : 220));
            break;
        }
        case FACE_BEAR: {
            // Home key: a round bear face with its caption.
            QRadialGradient g(QPointF(w * 0.4, h * 0.35), w * 0.6);
            g.setColorAt(0, Qt::white);
            g.setColorAt(1, LookShade(QColor(255, 214, 228), look));
            p.setPen(QPen(kPinkDeep, 1.5));
            p.setBrush(g);
            p.drawEllipse(QRectF(2, 2, w - 5, h - 5));
            DrawBearHead(p, QPointF(w / 2.0 - 0.5, h * 0.45), 30);
            DrawTextIn(p, QRectF(0, h - 21, w - 1, 12), label, ArtFont(10, true),
                       look == LOOK_HOVER ? kPinkDeep : kPinkDark);
            if (look == LOOK_HOVER) {
                p.setPen(QPen(QColor(255, 255, 255, 160), 2));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(QRectF(4, 4, w - 9, h - 9));
            }
            break;
        }
        case FACE_ANTENNA: DrawAntennaBall(p, look); break;
    }
}

// The slider track without its scale marks: the part the knob's corners must match.
QImage DrawTrackBase() {
    QImage img(kSlider.size(), QImage::Format_RGB32);
    QPainter p(&img);
    InitPainter(p);
    QLinearGradient g(0, 0, 0, 28);
    g.setColorAt(0, QColor(255, 232, 240));
    g.setColorAt(1, QColor(252, 214, 228));
    p.fillRect(img.rect(), g);
    p.fillRect(QRectF(0, 12, 147, 4), QColor(228, 150, 182));
    p.fillRect(QRectF(0, 12, 147, 1), QColor(196, 110, 150));
    p.fillRect(QRectF(0, 15, 147, 1), QColor(255, 246, 250));
    return img;
}

// The track: ticks on the scale, a dim sun at the left end and a bright one at the right.
QImage DrawTrack(const QImage& base) {
    QImage img = base.copy();
    QPainter p(&img);
    InitPainter(p);
    p.setPen(QPen(QColor(206, 120, 160), 1));
    for (int i = 0; i <= 8; ++i) {
        const double x = 21.5 + i * 13;
        const double len = i == 4 ? 5 : 3;
        p.drawLine(QPointF(x, 20), QPointF(x, 20 + len));
        p.drawLine(QPointF(x, 8 - len), QPointF(x, 8));
    }
    DrawGlyph(p, GLYPH_SUN_DIM, QRectF(1, 6, 16, 16), QColor(236, 170, 90));
    DrawGlyph(p, GLYPH_SUN, QRectF(130, 5, 17, 17), QColor(255, 150, 40));
    return img;
}

// The knob: a round sun button over the plain track.
QImage DrawKnob(const QImage& base) {
    QImage img = base.copy(0, 0, 28, 28);
    QPainter p(&img);
    InitPainter(p);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawEllipse(QPointF(14.6, 14.8), 11, 11);
    QRadialGradient g(QPointF(11, 10), 13);
    g.setColorAt(0, QColor(255, 250, 220));
    g.setColorAt(1, QColor(255, 196, 80));
    p.setPen(QPen(QColor(232, 140, 40), 1.2));
    p.setBrush(g);
    p.drawEllipse(QPointF(14, 14), 11, 11);
    DrawGlyph(p, GLYPH_SUN, QRectF(6, 6, 16, 16), QColor(240, 120, 30));
    return img;
}

// A tab page: the page colour, a header band for the combobox or the load button, the ten white
// thumbnail frames at the slot places, and a hint at the bottom.
QImage DrawTabPage(int tab) {
    static const char* const kHint[3] = {"クリックで画像を開きます", "クリックでスタンプを貼ります",
                                         "クリックでスタンプを貼ります"};
    const QColor base = kPageColor[tab];
    QImage img(kTabPage.size(), QImage::Format_RGB32);
    QPainter p(&img);
    InitPainter(p);
    QLinearGradient g(0, 0, 0, 413);
    g.setColorAt(0, base.lighter(108));
    g.setColorAt(1, base);
    p.fillRect(img.rect(), g);
    p.setPen(QPen(base.darker(125), 1));
    p.drawLine(QPointF(0.5, 0), QPointF(0.5, 413));
    p.drawLine(QPointF(191.5, 0), QPointF(191.5, 413));
    p.drawLine(QPointF(0, 412.5), QPointF(192, 412.5));
    // Header band behind the combobox (tabs 1, 2) or the load button (tab 0).
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawRoundedRect(QRectF(6, 5, 180, 24), 8, 8);
    DrawGlyph(p, tab == 0 ? GLYPH_CAMERA : GLYPH_FOLDER, QRectF(11, 9, 16, 16), base.darker(170));
    if (tab == 0)
        DrawTextIn(p, QRectF(30, 5, 64, 24), QString::fromUtf8("写真"), ArtFont(12, true),
                   base.darker(200), Qt::AlignLeft | Qt::AlignVCenter);
    for (int k = 0; k < 10; ++k) {
        const QRectF slot(18 + 85 * (k % 2), 37 + 69 * (k / 2), 70, 54);
        // A soft mat beyond the 3-pixel selection frame, then the white frame itself.
        p.setPen(Qt::NoPen);
        p.setBrush(base.darker(112));
        p.drawRoundedRect(slot.adjusted(-5.5, -5.5, 5.5, 5.5), 6, 6);
        p.setBrush(base.lighter(112));
        p.drawRoundedRect(slot.adjusted(-4, -4, 4, 4), 5, 5);
        p.fillRect(slot, Qt::white);
    }
    DrawTextIn(p, QRectF(0, 380, 192, 22), QString::fromUtf8(kHint[tab]), ArtFont(11, true),
               base.darker(190));
    return img;
}

// The antenna: a pink rod from the phone's top to the bear-head ball in the corner.
void DrawAntenna(QPainter& p) {
    DrawAntennaRod(p, QPointF(30, 30), QPointF(44, 64), 7);
    DrawAntennaBall(p, LOOK_NORMAL);
}

// The phone body with its screen bezel, speaker, key well and scale.
void DrawPhone(QPainter& p, const QImage& track) {
    DrawPhoneBody(p, kPhone, 34, 7);
    // Speaker slot and a small heart logo above the clear/reset keys.
    p.setBrush(kPinkDeep);
    p.drawRoundedRect(QRectF(76, 76, 46, 6), 3, 3);
    DrawGlyph(p, GLYPH_HEART, QRectF(93, 88, 12, 11), kPinkDeep);
    // Screen bezel, dark glossy, the white screen exactly under the work area.
    DrawScreenBezel(p, kScreen, 9, 9, 10);
    // Key well behind the zoom, rotate and mirror keys.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(252, 206, 224));
    p.drawRoundedRect(QRectF(17, 284, 163, 62), 14, 14);
    // Brightness scale: the track itself, framed, with the sun symbols at both ends outside.
    p.setBrush(QColor(236, 160, 192));
    p.drawRoundedRect(QRectF(kSlider).adjusted(-3, -3, 3, 3), 8, 8);
    p.drawImage(kSlider.topLeft(), track);
    // Key well of the send, save and settings keys.
    p.setBrush(QColor(252, 214, 228));
    p.drawRoundedRect(QRectF(25, 385, 150, 70), 14, 14);
}

// The picture panel with the logo.
void DrawPanel(QPainter& p, const QImage& page0) {
    QLinearGradient g(kPanel.topLeft(), kPanel.bottomLeft());
    g.setColorAt(0, QColor(255, 244, 248));
    g.setColorAt(1, QColor(255, 226, 236));
    p.setPen(QPen(kPinkDeep, 2));
    p.setBrush(g);
    p.drawRoundedRect(kPanel, 22, 22);
    p.setPen(QPen(kPink, 1.5, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(kPanel.adjusted(5, 5, -5, -5), 18, 18);
    // Logo: the name in rounded bold letters with a shadow, a heart and a line of Japanese.
    const QRectF logo(194, 18, 192, 62);
    const QFont lf = ArtFont(40, true);
    DrawTextIn(p, logo.translated(2, 2), "Quillet", lf, QColor(236, 160, 190));
    DrawTextIn(p, logo, "Quillet", lf, kPinkDeep);
    DrawGlyph(p, GLYPH_HEART, QRectF(364, 22, 16, 14), QColor(255, 120, 150));
    DrawGlyph(p, GLYPH_HEART, QRectF(204, 60, 10, 9), QColor(255, 170, 190));
    DrawTextIn(p, QRectF(194, 80, 192, 20), QString::fromUtf8("写真をケータイに送ろう"),
               ArtFont(12, true), kPinkDark);
    // Tab page 0 as the default content of the page area.
    p.drawImage(kTabPage.topLeft(), page0);
}

}  // namespace

int DrawMainSkins(const ArtOut& out) {
    const QImage trackBase = DrawTrackBase();
    const QImage track = DrawTrack(trackBase);
    QImage pages[3];
    for (int t = 0; t < 3; ++t) pages[t] = DrawTabPage(t);

    QImage shape = NewShape(407, 589);
    {
        QPainter p(&shape);
        InitPainter(p);
        DrawPanel(p, pages[0]);
        DrawAntenna(p);
        DrawPhone(p, track);
    }
    QImage skin = KeyFlatten(shape);
    // Strips are cut before the faces go onto the skin, so that every look lies on the bare
    // skin; then the skin gets the normal faces too and shows every key even without its button.
    int ok = 1;
    for (const MainBtn& b : kMainBtns) {
        const QImage strip = MakeStrip(
            skin.copy(b.rect), [&](QPainter& p, BtnLook look) { DrawMainFace(p, b, look); });
        ok &= SaveRes(out, RES_BMP, b.strip, strip);
        QPainter p(&skin);
        p.drawImage(b.rect.topLeft(), strip, QRect(QPoint(0, 0), b.rect.size()));
    }
    ok &= SaveRes(out, RES_BMP, 118, skin);
    for (int t = 0; t < 3; ++t) ok &= SaveRes(out, RES_BMP, 119 + t, pages[t]);
    ok &= SaveRes(out, RES_BMP, 122, track);
    ok &= SaveRes(out, RES_BMP, 123, DrawKnob(trackBase));
    return ok;
}
