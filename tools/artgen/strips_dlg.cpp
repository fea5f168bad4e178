// The pill buttons shared by the dialogs: pink normal, orange when lit, green when pressed, on the
// flat cream of the dialog panels.
#include "art.h"

namespace {

struct DlgStrip {
    int num;
    int w, h;
    const char* label;
};

const DlgStrip kDlgStrips[] = {
    {126, 102, 32, "送信！"},    {127, 102, 32, "キャンセル"}, {152, 85, 30, "予約取消"},
    {153, 85, 30, "アドレス帳"}, {157, 85, 30, "送信予約"},    {159, 102, 32, "OK"},
    {163, 88, 32, "OK"},         {165, 75, 28, "新規"},        {166, 75, 28, "削除"},
    {167, 102, 32, "決定"},      {186, 88, 32, "戻る"},        {189, 88, 32, "キャンセル"},
};

// The round "P" button of the user settings dialog.
void DrawPBtn(QPainter& p, BtnLook look) {
    const QRectF r(2, 2, 44, 44);
    if (look != LOOK_PRESSED) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 40));
        p.drawEllipse(r.translated(1, 1.5));
    }
    const QColor base = PillColor(look);
    QRadialGradient g(QPointF(18, 14), 30);
    g.setColorAt(0, base.lighter(130));
    g.setColorAt(1, base.darker(108));
    p.setPen(QPen(base.darker(150), 1.2));
    p.setBrush(g);
    p.drawEllipse(r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawEllipse(QRectF(10, 5, 28, 14));
    DrawTextIn(p, r.translated(1, 1), "P", ArtFont(26, true), base.darker(170));
    DrawTextIn(p, r, "P", ArtFont(26, true), Qt::white);
}

}  // namespace

int DrawDlgStrips(const ArtOut& out) {
    int ok = 1;
    for (const DlgStrip& s : kDlgStrips) {
        const QString label = QString::fromUtf8(s.label);
        const double px = label.size() > 4 ? s.h * 0.44 : s.h * 0.5;
        ok &= SaveRes(out, RES_BMP, s.num,
                      MakeStrip(FlatBg(s.w, s.h, kCream), [&](QPainter& p, BtnLook look) {
                          DrawPill(p, s.w, s.h, PillColor(look), look, label, px);
                      }));
    }
    ok &= SaveRes(out, RES_BMP, 161, MakeStrip(FlatBg(49, 49, kCream), DrawPBtn));
    return ok;
}
