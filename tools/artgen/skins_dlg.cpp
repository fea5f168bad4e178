// Dialog skins: rounded cream panels with a pink border, a scalloped title band, labels, white
// boxes under the program's fields and flat cream under every bitmap button.
#include "skins_dlg.h"

#include <QPainterPath>
#include <cstdio>
#include <span>

#include "art.h"

// Pale flat tints for the title band and for notes; text the program draws may sit on them.
static const QColor kBandTint(255, 234, 241);
static const QColor kNoteTint(255, 241, 245);
// Colour the send dialog reads from its skin for its counters and its delivery line.
static const QColor kSendInk = kPinkDark;

enum LblInk { INK_TEXT, INK_PINK };

// A label painted on a skin: text (lines split by \n) inside a box, with its font and alignment.
struct SkinLbl {
    const char* text;
    int x, y, w, h;
    double px;
    bool bold;
    LblInk ink;
    int align;
};

// A pixel whose colour the program reads from the skin to paint its own text.
struct InkProbe {
    int x, y;
    QColor color;
};

// One rounded dialog skin: size, title (none for message boxes), the rectangles of the
// program's fields and buttons, the labels, and the ornaments particular to it.
struct DlgSkin {
    int num, w, h;
    const char* title;
    std::span<const QRect> fields;
    std::span<const QRect> btns;
    std::span<const SkinLbl> lbls;
    void (*decorate)(QPainter& p);
    std::span<const InkProbe> probes;
};

constexpr int kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr int kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr int kTop = Qt::AlignLeft | Qt::AlignTop;
constexpr int kCenter = Qt::AlignCenter;

static void DrawHeart(QPainter& p, QPointF c, double s, const QColor& color) {
    QPainterPath path;
    path.moveTo(c.x(), c.y() + s * 0.45);
    path.cubicTo(c.x() - s * 0.75, c.y() - s * 0.05, c.x() - s * 0.45, c.y() - s * 0.62, c.x(),
                 c.y() - s * 0.22);
    path.cubicTo(c.x() + s * 0.45, c.y() - s * 0.62, c.x() + s * 0.75, c.y() - s * 0.05, c.x(),
                 c.y() + s * 0.45);
    p.fillPath(path, color);
}

// Flat pale band with a scalloped lower edge across the top of the panel, a heart and the title.
static void DrawTitleBand(QPainter& p, int w, int h, const char* title) {
    QPainterPath inner;
    inner.addRoundedRect(QRectF(6, 6, w - 12, h - 12), 8, 8);
    QPainterPath band;
    band.setFillRule(Qt::WindingFill);
    band.addRect(QRectF(6, 6, w - 12, 26));
    for (double x = 6; x < w - 6; x += 10) band.addEllipse(QPointF(x + 5, 32), 5, 3.5);
    p.fillPath(band.simplified().intersected(inner), kBandTint);
    DrawHeart(p, QPointF(24, 20), 13, kPinkDeep);
    DrawTextIn(p, QRectF(35, 6, w - 60, 28), QString::fromUtf8(title), ArtFont(16, true), kPinkDark,
               kLeft);
}

static void DrawLbls(QPainter& p, std::span<const SkinLbl> lbls) {
    for (const SkinLbl& l : lbls)
        DrawTextIn(p, QRectF(l.x, l.y, l.w, l.h), QString::fromUtf8(l.text), ArtFont(l.px, l.bold),
                   l.ink == INK_PINK ? kPinkDark : kText, l.align);
}

// A pale rounded note card with a dashed pink rim.
static void DrawNoteCard(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kPink, 1, Qt::DashLine));
    p.setBrush(kNoteTint);
    p.drawRoundedRect(r, 7, 7);
}

// A dotted pink rule, for underlines and dividers.
static void DrawDotLine(QPainter& p, QPointF a, QPointF b) {
    p.setPen(QPen(kPink, 1.5, Qt::DotLine, Qt::RoundCap));
    p.drawLine(a, b);
}

// An envelope with little wings, centred at c, s wide: mail on its way.
static void DrawWingEnv(QPainter& p, QPointF c, double s) {
    const QRectF env(c.x() - s / 2, c.y() - s / 3, s, s * 2 / 3);
    p.setPen(QPen(kPinkDeep, 1.3));
    p.setBrush(Qt::white);
    for (int side = -1; side <= 1; side += 2) {
        const double x0 = side < 0 ? env.left() + 2 : env.right() - 2;
        QPainterPath wing;
        wing.moveTo(x0, env.top() + s * 0.12);
        wing.quadTo(x0 + side * s * 0.35, env.top() - s * 0.32, x0 + side * s * 0.62,
                    env.top() - s * 0.1);
        for (int k = 0; k < 3; ++k) {
            const double t0 = 0.62 - k * 0.2, t1 = t0 - 0.2;
            wing.quadTo(x0 + side * s * (t0 - 0.02), env.top() + s * (0.06 + k * 0.06),
                        x0 + side * s * t1, env.top() + s * (0.02 + k * 0.07));
        }
        wing.closeSubpath();
        p.drawPath(wing);
    }
    p.drawRoundedRect(env, 2, 2);
    QPainterPath flap;
    flap.moveTo(env.topLeft() + QPointF(1, 1));
    flap.lineTo(c.x(), c.y() + s * 0.05);
    flap.lineTo(env.topRight() + QPointF(-1, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(flap);
    DrawHeart(p, QPointF(c.x(), c.y() + s * 0.06), s * 0.24, kPinkDeep);
}

void DrawHeartRow(QPainter& p, QPointF start, double step, int n, double s) {
    for (int i = 0; i < n; ++i) {
        const double t = n > 1 ? double(i) / (n - 1) : 0;
        const QColor c =
            QColor::fromRgbF(kPink.redF() + (kPinkDeep.redF() - kPink.redF()) * t,
                             kPink.greenF() + (kPinkDeep.greenF() - kPink.greenF()) * t,
                             kPink.blueF() + (kPinkDeep.blueF() - kPink.blueF()) * t);
        DrawHeart(p, start + QPointF(i * step, 0), s, c);
    }
}

// ---- 125 send dialog ----

static const QRect kSendFields[] = {{159, 63, 240, 18}, {159, 104, 315, 18}, {159, 165, 315, 113}};
static const QRect kSendBtns[] = {
    {299, 352, 102, 32}, {409, 352, 102, 32}, {403, 297, 85, 30}, {403, 57, 85, 30}};
static const SkinLbl kSendLbls[] = {
    {"宛先", 20, 63, 128, 18, 13, true, INK_TEXT, kRight},
    {"複数の宛先は「,」で区切ります（５件まで）", 160, 84, 240, 14, 11, false, INK_PINK, kLeft},
    {"件名", 20, 104, 128, 18, 13, true, INK_TEXT, kRight},
    {"メッセージ", 20, 146, 128, 16, 13, true, INK_TEXT, kRight},
    {"現在の文字数", 14, 177, 111, 14, 12, false, INK_TEXT, kRight},
    {"＋80文字", 14, 197, 111, 14, 12, false, INK_TEXT, kRight},
    {"相手の携帯電話で\n受信できる文字数\nより８０文字\n少なくしてください", 16, 226, 100, 60, 11,
     false, INK_PINK, kTop},
    {"配信日時", 20, 304, 128, 18, 13, true, INK_TEXT, kRight},
};
static const InkProbe kSendProbes[] = {{0, 177, kSendInk}, {120, 240, kSendInk}};

static void DecoSend(QPainter& p) {
    // The counters take their colour from the left border at (0,177): a deep pink accent
    // along the border beside them.
    p.setPen(Qt::NoPen);
    p.setBrush(kSendInk);
    p.drawRoundedRect(QRectF(0, 174, 3, 38), 1.5, 1.5);
    // A little phone beside the note; its round centre key at (120,240) gives the colour of
    // the delivery line.
    p.setBrush(kPinkDeep);
    p.drawRoundedRect(QRectF(112, 226, 17, 30), 4, 4);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(115, 229.5, 11, 8), 1.5, 1.5);
    p.setBrush(kSendInk);
    p.drawEllipse(QPointF(120.5, 240.5), 2.6, 2.6);
    p.setBrush(kPinkLight);
    for (int r = 0; r < 2; ++r)
        for (int k = 0; k < 3; ++k) p.drawEllipse(QPointF(116 + k * 4.5, 246 + r * 4.5), 1.3, 1.3);
    // The delivery line sits on a pale chip.
    p.setPen(QPen(kPink, 1));
    p.setBrush(kNoteTint);
    p.drawRoundedRect(QRectF(155.5, 296.5, 244, 29), 5, 5);
    DrawDotLine(p, QPointF(22, 338), QPointF(508, 338));
    DrawBearHead(p, QPointF(48, 368), 38);
    DrawHeartRow(p, QPointF(88, 372), 14, 4, 8);
    DrawWingEnv(p, QPointF(186, 366), 30);
}

// ---- 129 send progress ----

static void DecoProgress(QPainter& p) {
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(QColor(kPink.red(), kPink.green(), kPink.blue(), 90 + 40 * i));
        p.drawEllipse(QPointF(54 + i * 10, 40 - i * 1.5), 1.5 + i * 0.4, 1.5 + i * 0.4);
    }
    DrawWingEnv(p, QPointF(118, 33), 34);
    DrawHeartRow(p, QPointF(78, 104), 20, 5, 11);
    DrawHeart(p, QPointF(196, 24), 9, kPink);
    DrawHeart(p, QPointF(208, 34), 6, kPinkLight.darker(108));
}

// ---- 154 delivery date ----

static const QRect kDateFields[] = {{160, 89, 162, 128}, {160, 236, 162, 17}};
static const QRect kDateBtns[] = {{149, 292, 102, 32}, {259, 292, 102, 32}};
static const SkinLbl kDateLbls[] = {
    {"送信する日付と時刻を選んでください", 24, 50, 330, 16, 12, false, INK_TEXT, kLeft},
    {"日付", 20, 89, 130, 18, 13, true, INK_TEXT, kRight},
    {"時刻", 20, 236, 130, 17, 13, true, INK_TEXT, kRight},
    {"予約のきまり", 24, 128, 120, 16, 12, true, INK_PINK, kCenter},
    {"１時間単位で\n１週間後まで\n予約できます。\n過去の日時は\n指定できません。", 24, 148, 120, 70,
     11, false, INK_TEXT, Qt::AlignHCenter | Qt::AlignTop},
};

static void DecoDate(QPainter& p) {
    DrawNoteCard(p, QRectF(22.5, 122.5, 124, 100));
    DrawBearHead(p, QPointF(64, 296), 40);
    DrawHeart(p, QPointF(104, 284), 9, kPink);
    DrawHeart(p, QPointF(116, 296), 6, kPinkDeep);
}

// ---- 160 user settings ----

static const QRect kUserFields[] = {{172, 60, 151, 23}, {172, 101, 151, 23}};
static const QRect kUserBtns[] = {{28, 178, 49, 49}, {149, 242, 102, 32}, {259, 242, 102, 32}};
static const SkinLbl kUserLbls[] = {
    {"アルバムID", 20, 60, 142, 23, 13, true, INK_TEXT, kRight},
    {"パスワード", 20, 101, 142, 23, 13, true, INK_TEXT, kRight},
    {"※アルバムIDは半角英数字で1〜10文字\n※パスワードは半角英数字と「_」「-」で6〜20文字", 52, 131,
     310, 28, 11, false, INK_PINK, kTop},
    {"パスワードを忘れたときは「P」ボタンを\n押してください。登録したメールアドレスに\n"
     "パスワードをお送りします。",
     94, 173, 264, 44, 12, false, INK_TEXT, kTop},
    {"※インターネットに接続します", 94, 217, 264, 14, 11, false, INK_PINK, kLeft},
};

static void DecoUser(QPainter& p) {
    DrawNoteCard(p, QRectF(86.5, 168.5, 276, 66));
    DrawBearHead(p, QPointF(62, 260), 34);
    DrawHeart(p, QPointF(96, 252), 8, kPink);
    DrawHeart(p, QPointF(108, 264), 6, kPinkDeep);
}

// ---- 164 address book ----

static const QRect kAddrFields[] = {{20, 48, 490, 228}};
static const QRect kAddrBtns[] = {
    {20, 287, 75, 28}, {105, 287, 75, 28}, {296, 286, 102, 32}, {407, 286, 102, 32}};

// Label 1034 is drawn by the program at (378,13) 140 x 17 on the flat band, right of the title.
static void DecoAddr(QPainter& p) {
    // A ticked box beside label 1034: the list's check boxes choose the recipients.
    p.setPen(QPen(kPinkDeep, 1.3));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(361.5, 15.5, 11, 11), 2, 2);
    p.setPen(QPen(kPinkDark, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(364, 21), QPointF(366.5, 24), QPointF(371, 17.5)}));
    DrawBearHead(p, QPointF(238, 303), 30);
    DrawHeart(p, QPointF(207, 300), 8, kPink);
    DrawHeart(p, QPointF(270, 300), 8, kPink);
}

// ---- 176 first run ----

static const QRect kFstFields[] = {{133, 45, 137, 18}, {133, 72, 137, 18}, {32, 119, 238, 18}};
static const QRect kFstBtns[] = {{12, 158, 88, 32}, {106, 158, 88, 32}};
static const SkinLbl kFstLbls[] = {
    {"アルバムID", 16, 45, 110, 18, 13, true, INK_TEXT, kRight},
    {"パスワード", 16, 72, 110, 18, 13, true, INK_TEXT, kRight},
    {"登録メールアドレス", 32, 98, 238, 16, 13, true, INK_TEXT, kLeft},
    {"ようこそ！", 28, 208, 240, 16, 13, true, INK_PINK, kLeft},
    {"ご登録いただいたアルバムID、\nパスワード、メールアドレスを\n入力してください。", 28, 227, 244,
     42, 12, false, INK_TEXT, kTop},
    {"※メールアドレスは必ず入力してください。", 28, 270, 244, 13, 11, false, INK_PINK, kLeft},
};

static void DecoFst(QPainter& p) {
    DrawNoteCard(p, QRectF(18.5, 201.5, 263, 86));
    DrawBearHead(p, QPointF(246, 176), 38);
    DrawHeart(p, QPointF(212, 164), 9, kPink);
    DrawHeart(p, QPointF(280, 160), 7, kPinkDeep);
    DrawHeart(p, QPointF(110, 216), 9, kPinkDeep);
}

// ---- 185 first-run confirmation ----

static const QRect kConfBtns[] = {{17, 233, 88, 32}, {216, 234, 88, 32}};
static const SkinLbl kConfLbls[] = {
    {"アルバムID", 16, 48, 112, 20, 13, true, INK_TEXT, kRight},
    {"パスワード", 16, 77, 112, 15, 13, true, INK_TEXT, kRight},
    {"メールアドレス", 35, 102, 238, 16, 13, true, INK_TEXT, kLeft},
    {"以上の内容で登録します。\nよろしいですか？", 20, 160, 280, 40, 13, false, INK_TEXT, kCenter},
};

// The program writes the three values at (137,48), (137,77) and (35,122): dotted lines under them.
static void DecoConf(QPainter& p) {
    DrawDotLine(p, QPointF(137, 71), QPointF(296, 71));
    DrawDotLine(p, QPointF(137, 95), QPointF(296, 95));
    DrawDotLine(p, QPointF(35, 140), QPointF(296, 140));
    DrawHeart(p, QPointF(74, 180), 10, kPink);
    DrawHeart(p, QPointF(246, 180), 10, kPink);
    DrawBearHead(p, QPointF(160, 251), 30);
}

// ---- 197 and 198 message boxes ----

static const QRect kErrBtns[] = {{101, 117, 88, 32}};
// Notice OK and question Cancel + OK share this box: one flat area for all three.
static const QRect kAskBtns[] = {{15, 81, 196, 32}};

static void DecoErr(QPainter& p) {
    const QPointF c(40, 50);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 30));
    p.drawEllipse(c + QPointF(1, 1.5), 22, 22);
    QRadialGradient g(c - QPointF(7, 8), 30);
    g.setColorAt(0, QColor(255, 150, 168));
    g.setColorAt(1, QColor(232, 72, 108));
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(g);
    p.drawEllipse(c, 21, 21);
    p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-8, -8), c + QPointF(8, 8));
    p.drawLine(c + QPointF(8, -8), c + QPointF(-8, 8));
    DrawBearHead(p, QPointF(250, 130), 34);
    DrawHeart(p, QPointF(220, 124), 8, kPink);
}

static void DecoAsk(QPainter& p) {
    DrawHeart(p, QPointF(15, 14), 8, kPink);
    DrawHeart(p, QPointF(211, 14), 8, kPink);
}

static const DlgSkin kDlgSkins[] = {
    {125, 530, 399, "メール送信", kSendFields, kSendBtns, kSendLbls, DecoSend, kSendProbes},
    {129, 254, 143, nullptr, {}, {}, {}, DecoProgress, {}},
    {154, 380, 339, "配信日時の指定", kDateFields, kDateBtns, kDateLbls, DecoDate, {}},
    {160, 380, 289, "ユーザー設定", kUserFields, kUserBtns, kUserLbls, DecoUser, {}},
    {164, 530, 330, "アドレス帳", kAddrFields, kAddrBtns, {}, DecoAddr, {}},
    {176, 300, 300, "ユーザー登録", kFstFields, kFstBtns, kFstLbls, DecoFst, {}},
    {185, 320, 277, "登録内容の確認", {}, kConfBtns, kConfLbls, DecoConf, {}},
    {197, 290, 161, nullptr, {}, kErrBtns, {}, DecoErr, {}},
    {198, 227, 125, nullptr, {}, kAskBtns, {}, DecoAsk, {}},
};

static int DrawDlgSkin(const ArtOut& out, const DlgSkin& d) {
    QImage skin = NewSkin(d.w, d.h);
    {
        QPainter p(&skin);
        InitPainter(p);
        DrawDlgPanel(p, d.w, d.h);
        if (d.title) DrawTitleBand(p, d.w, d.h, d.title);
        d.decorate(p);
        DrawLbls(p, d.lbls);
        // The shared button strips are drawn on flat cream.
        for (const QRect& b : d.btns) p.fillRect(b.adjusted(-2, -2, 2, 2), kCream);
        for (const QRect& f : d.fields) DrawFieldBox(p, f);
    }
    for (const InkProbe& ip : d.probes)
        if (skin.pixelColor(ip.x, ip.y) != ip.color) {
            std::fprintf(stderr, "skin %d: pixel (%d,%d) is not the text colour\n", d.num, ip.x,
                         ip.y);
            return 0;
        }
    return SaveRes(out, RES_BMP, d.num, skin);
}

int DrawDlgSkins(const ArtOut& out) {
    for (const DlgSkin& d : kDlgSkins)
        if (!DrawDlgSkin(out, d)) return 0;
    return 1;
}
