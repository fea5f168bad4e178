// The preview phone 138 (a larger pink phone whose screen opening shows the canvas) with its close
// strip 139, and the splash 143.
#include <QPainterPath>

#include "art.h"
#include "glyphs.h"

namespace {

const QRect kPreScreen(114, 184, 120, 130);  // where the preview paints the canvas
const QRect kPreClose(200, 420, 45, 30);     // close button
const QRectF kPreBody(84.5, 92.5, 181, 542);

// A rounded phone key with a label.
void DrawPhoneKey(QPainter& p, const QRectF& r, const QString& label, BtnLook look,
                  const QColor& base = QColor(255, 214, 230)) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, LookShade(base, look));
    p.setPen(QPen(kPinkDeep, 1.2));
    p.setBrush(g);
    p.drawRoundedRect(r, r.height() / 2.4, r.height() / 2.4);
    DrawTextIn(p, r, label, ArtFont(r.height() * 0.5, true),
               look == LOOK_HOVER ? kPinkDeep : kPinkDark);
}

// A strap hanging from the phone's left side with a heart and a bear charm.
void DrawStrap(QPainter& p) {
    QPainterPath cord;
    cord.moveTo(92, 128);
    cord.cubicTo(40, 150, 30, 230, 46, 300);
    p.setPen(QPen(QColor(255, 140, 180), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(cord);
    p.setPen(QPen(QColor(255, 200, 220), 1.2, Qt::DotLine));
    p.drawPath(cord);
    p.setPen(QPen(kPinkDark, 1));
    p.setBrush(QColor(255, 236, 150));
    p.drawEllipse(QPointF(41, 200), 6, 6);
    p.setBrush(QColor(180, 220, 255));
    p.drawEllipse(QPointF(36, 240), 5, 5);
    DrawGlyph(p, GLYPH_HEART, QRectF(30, 160, 20, 18), QColor(255, 110, 150));
    DrawBearHead(p, QPointF(48, 322), 40);
}

void DrawPrePhone(QPainter& p) {
    // Antenna with a bear ball, as on the main window's phone.
    DrawAntennaRod(p, QPointF(112, 40), QPointF(118, 100), 8);
    DrawBearHead(p, QPointF(111, 30), 38);
    DrawStrap(p);
    DrawPhoneBody(p, kPreBody, 40, 8);
    // Earpiece and the screen bezel around the opening.
    p.setBrush(kPinkDeep);
    p.drawRoundedRect(QRectF(150, 140, 48, 7), 3.5, 3.5);
    DrawScreenBezel(p, kPreScreen, 10, 12, 12);
    DrawTextIn(p, QRectF(114, 329, 120, 14), "Quillet", ArtFont(11, true), kPinkDeep);
    // Cursor pad and the left soft key; the right soft key is the close button.
    p.setPen(QPen(kPinkDeep, 1.2));
    p.setBrush(QColor(255, 240, 246));
    p.drawEllipse(QPointF(174, 385), 28, 28);
    p.setBrush(QColor(255, 214, 230));
    p.drawEllipse(QPointF(174, 385), 11, 11);
    for (int i = 0; i < 4; ++i) {
        static const QPointF kDir[4] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
        DrawGlyph(p, GLYPH_HEART,
                  QRectF(QPointF(174, 385) + kDir[i] * 19 - QPointF(3, 3), QSizeF(6, 6)),
                  kPinkDeep);
    }
    DrawPhoneKey(p, QRectF(103, 420, 45, 30), QString::fromUtf8("メール"), LOOK_NORMAL);
    // Number keys.
    static const char* const kKeys[12] = {"1", "2", "3", "4",  "5", "6",
                                          "7", "8", "9", "＊", "0", "＃"};
    for (int k = 0; k < 12; ++k)
        DrawPhoneKey(p, QRectF(104 + 50 * (k % 3), 466 + 36 * (k / 3), 42, 28),
                     QString::fromUtf8(kKeys[k]), LOOK_NORMAL);
}

void DrawSplash(QPainter& p) {
    // A rounded card with a scalloped pink rim, the drawn phone and the product name.
    QPainterPath card;
    card.addRoundedRect(QRectF(6, 6, 384, 371), 46, 46);
    for (int i = 0; i < 16; ++i) {
        const double x = 30 + i * 22.5;
        card.addEllipse(QPointF(x, 10), 11, 11);
        card.addEllipse(QPointF(x, 373), 11, 11);
    }
    card.setFillRule(Qt::WindingFill);
    p.setPen(Qt::NoPen);
    p.setBrush(kPinkDeep);
    p.drawPath(card.simplified());
    QPainterPath inner;
    inner.addRoundedRect(QRectF(16, 20, 364, 343), 38, 38);
    QLinearGradient g(0, 20, 0, 363);
    g.setColorAt(0, QColor(255, 246, 250));
    g.setColorAt(1, QColor(255, 222, 234));
    p.fillPath(inner, g);
    // The phone, slightly tilted, a heart on its screen.
    p.save();
    p.translate(112, 212);
    p.rotate(-12);
    p.setPen(QPen(kPinkDark, 2));
    QLinearGradient body(-52, 0, 52, 0);
    body.setColorAt(0, QColor(250, 170, 198));
    body.setColorAt(0.4, QColor(255, 210, 226));
    body.setColorAt(1, QColor(240, 150, 184));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(-52, -110, 104, 220), 22, 22);
    p.setBrush(QColor(90, 50, 70));
    p.drawRoundedRect(QRectF(-40, -84, 80, 86), 8, 8);
    QLinearGradient sky(0, -78, 0, -4);
    sky.setColorAt(0, QColor(170, 220, 255));
    sky.setColorAt(1, QColor(255, 240, 250));
    p.fillRect(QRectF(-34, -78, 68, 74), sky);
    DrawGlyph(p, GLYPH_HEART, QRectF(-16, -56, 32, 28), QColor(255, 110, 150));
    p.setPen(QPen(kPinkDeep, 1));
    p.setBrush(QColor(255, 240, 246));
    for (int k = 0; k < 9; ++k)
        p.drawRoundedRect(QRectF(-33 + 24 * (k % 3), 16 + 20 * (k / 3), 18, 13), 5, 5);
    p.setPen(QPen(kPinkDark, 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-36, -110), QPointF(-40, -140));
    DrawBearHead(p, QPointF(-40, -150), 26);
    p.restore();
    // Name, tagline, version.
    const QRectF name(170, 120, 200, 64);
    DrawTextIn(p, name.translated(2.5, 2.5), "Quillet", ArtFont(48, true), QColor(240, 170, 196));
    DrawTextIn(p, name, "Quillet", ArtFont(48, true), kPinkDeep);
    DrawTextIn(p, QRectF(170, 186, 200, 20), QString::fromUtf8("写真をケータイに送ろう"),
               ArtFont(14, true), kPinkDark);
    DrawGlyph(p, GLYPH_HEART, QRectF(350, 104, 18, 16), QColor(255, 120, 150));
    DrawGlyph(p, GLYPH_ENVELOPE, QRectF(240, 226, 60, 40), Qt::white);
    DrawTextIn(p, QRectF(170, 300, 200, 16), "Version 2.11", ArtFont(12, false), kText);
    DrawTextIn(p, QRectF(170, 318, 200, 16), QString::fromUtf8("起動しています…"),
               ArtFont(12, false), kText);
}

}  // namespace

int DrawPreviewSkins(const ArtOut& out) {
    QImage shape = NewShape(268, 639);
    {
        QPainter p(&shape);
        InitPainter(p);
        DrawPrePhone(p);
    }
    QImage skin = KeyFlatten(shape);
    const QImage close = MakeStrip(skin.copy(kPreClose), [](QPainter& p, BtnLook look) {
        DrawPhoneKey(p, QRectF(1, 1, 43, 28), QString::fromUtf8("閉じる"), look,
                     QColor(255, 150, 186));
    });
    {
        QPainter p(&skin);
        p.drawImage(kPreClose.topLeft(), close, QRect(0, 0, 45, 30));
    }
    int ok = SaveRes(out, RES_BMP, 138, skin) & SaveRes(out, RES_BMP, 139, close);
    QImage splash = NewShape(396, 383);
    {
        QPainter p(&splash);
        InitPainter(p);
        DrawSplash(p);
    }
    return ok & SaveRes(out, RES_BMP, 143, splash);
}
