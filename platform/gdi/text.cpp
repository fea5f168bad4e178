// Fonts and text: creating fonts, measuring text and drawing it onto device pictures.
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/gdi/records.h"

namespace {

// Larger requests are clamped: Qt caches glyphs per size, and a huge size costs much memory.
constexpr int kMaxFontPx = 1000;
constexpr int kDefaultFontPx = 12;

const QString kFixedFace = QStringLiteral("IPAGothic");
const QString kPropFace = QStringLiteral("IPAPGothic");
// The letters whose mean advance is a font's average character width, as Windows measures it for
// dialog base units.
const QString kLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");

FontRec* GetDCFontRec(HDC dc) {
    return dc->font ? dc->font : GetGuiFontRec();
}

QString TextToQStr(LPCSTR text, int len) {
    return len < 0 ? QString::fromUtf8(text) : QString::fromUtf8(text, len);
}

int GetCellHeight(const QFontMetrics& fm) {
    return fm.ascent() + fm.descent();
}

// The largest pixel size whose cell (ascent plus descent) fits in `cell` pixels. A cell grows with
// the size and is never smaller than it, so the search walks down from the size `cell`.
int FitPxToCell(QFont font, int cell) {
    for (int px = cell; px > 1; px--) {
        font.setPixelSize(px);
        if (GetCellHeight(QFontMetrics(font)) <= cell) return px;
    }
    return 1;
}

// Clears the unused top byte that Qt's 32-bit drawing sets, over `area` of the picture.
void ClearPadBytes(BitmapRec* b, const QRect& area) {
    const QRect r = area.intersected(QRect(0, 0, b->width, b->height));
    for (int y = r.top(); y <= r.bottom(); y++) {
        uint32_t* row = b->px + size_t(y) * b->width;
        for (int x = r.left(); x <= r.right(); x++) row[x] &= 0xFFFFFF;
    }
}

// Draws s laid out in box by the Qt text flags, in the surface's font and text colour; only
// `area` of the picture changes. In OPAQUE mode the text's extent is filled with the
// background colour first.
void PaintText(HDC dc, const QRect& box, int flags, const QString& s, const QRect& area) {
    BitmapRec* b = dc->bmp;
    const QFont& font = GetDCFontRec(dc)->font;
    if (dc->bkMode == OPAQUE) {
        const QRect fill = QFontMetrics(font).boundingRect(box, flags, s).intersected(area);
        FillBlock(b, fill.x(), fill.y(), fill.width(), fill.height(), ColorToPx(dc->bkColor));
    }
    QImage pic(reinterpret_cast<uchar*>(b->px), b->width, b->height, b->width * 4,
               QImage::Format_RGB32);
    QPainter p(&pic);
    p.setClipRect(area);
    p.setFont(font);
    p.setPen(QColor::fromRgb(ColorToPx(dc->textColor)));
    p.drawText(box, flags, s);
    p.end();
    ClearPadBytes(b, area);
}

int GetQtTextFlags(UINT format) {
    // Lines are laid out from the top; GetLineDrop moves a single line down.
    int flags = Qt::AlignTop | ((format & DT_CENTER)  ? Qt::AlignHCenter
                                : (format & DT_RIGHT) ? Qt::AlignRight
                                                      : Qt::AlignLeft);
    if (format & DT_SINGLELINE) flags |= Qt::TextSingleLine;
    if (format & DT_WORDBREAK) flags |= Qt::TextWordWrap;
    if (format & DT_NOCLIP) flags |= Qt::TextDontClip;
    // "&x" underlines x and "&&" is one ampersand unless the caller says otherwise.
    if (!(format & DT_NOPREFIX)) flags |= Qt::TextShowMnemonic;
    return flags;
}

// How far below the box's top a single line goes: as on Windows, vertical alignment applies to a
// single line only, and a centred line drops half the spare height rounded down, so that it sits
// on whole pixels.
int GetLineDrop(UINT format, int boxHeight, int lineHeight) {
    if (!(format & DT_SINGLELINE)) return 0;
    if (format & DT_VCENTER) return (boxHeight - lineHeight) / 2;
    if (format & DT_BOTTOM) return boxHeight - lineHeight;
    return 0;
}

}  // namespace

FontRec* GetGuiFontRec() {
    static FontRec* gui = [] {
        EnsureQtApp();
        FontRec* f = new FontRec{};
        f->kind = GDI_FONT;
        f->stock = true;
        f->font = GetDlgQFont(kDefaultFontPx);
        f->charSet = SHIFTJIS_CHARSET;
        return f;
    }();
    return gui;
}

// The face is IPA Gothic for a fixed-pitch or modern font, IPA P Gothic otherwise; the face name
// is not looked at, as the program names no face these two cannot stand in for. A nonzero width
// stretches the glyphs horizontally until the mean advance of the letters is about that many
// pixels. DEFAULT_CHARSET reports Shift-JIS, the character set of a Japanese system.
HFONT CreateFontA(int height, int width, int, int, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD, DWORD, DWORD, DWORD pitchAndFamily,
                  LPCSTR) {
    EnsureQtApp();
    const bool fixed = (pitchAndFamily & 3) == FIXED_PITCH || (pitchAndFamily & 0xF0) == FF_MODERN;
    QFont font(fixed ? kFixedFace : kPropFace);
    font.setFixedPitch(fixed);
    font.setWeight(QFont::Weight(weight <= 0 ? FW_NORMAL : std::min(weight, 1000)));
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    height = std::clamp(height, -kMaxFontPx, kMaxFontPx);
    if (height < 0)
        font.setPixelSize(-height);
    else
        font.setPixelSize(height ? FitPxToCell(font, height) : kDefaultFontPx);
    if (width > 0) {
        const double natural = QFontMetricsF(font).horizontalAdvance(kLetters) / 52;
        font.setStretch(std::clamp(int(std::lround(100.0 * width / natural)), 1, 4000));
    }
    FontRec* f = new FontRec{};
    f->kind = GDI_FONT;
    f->font = font;
    f->charSet = BYTE(charSet == DEFAULT_CHARSET ? SHIFTJIS_CHARSET : charSet);
    return f;
}

BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* tm) {
    if (!dc || !tm) return FALSE;
    const FontRec* f = GetDCFontRec(dc);
    const QFontMetrics fm(f->font);
    *tm = TEXTMETRICA{};
    tm->tmAscent = fm.ascent();
    tm->tmDescent = fm.descent();
    tm->tmHeight = GetCellHeight(fm);
    tm->tmInternalLeading = std::max(0, tm->tmHeight - f->font.pixelSize());
    tm->tmExternalLeading = std::max(0, fm.leading());
    // Rounded as Windows rounds it for dialog base units.
    tm->tmAveCharWidth = (fm.horizontalAdvance(kLetters) / 26 + 1) / 2;
    tm->tmMaxCharWidth = fm.maxWidth();
    tm->tmWeight = f->font.weight();
    tm->tmDigitizedAspectX = 96;
    tm->tmDigitizedAspectY = 96;
    tm->tmFirstChar = 0x20;
    tm->tmLastChar = 0xFF;
    tm->tmDefaultChar = '?';
    tm->tmBreakChar = ' ';
    tm->tmItalic = f->font.italic();
    tm->tmUnderlined = f->font.underline();
    tm->tmStruckOut = f->font.strikeOut();
    // Windows sets the low bit for a variable-pitch font, despite its name TMPF_FIXED_PITCH.
    tm->tmPitchAndFamily = f->font.fixedPitch() ? 0 : 1;
    tm->tmCharSet = f->charSet;
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int len, SIZE* size) {
    if (!dc || !text || !size || len < -1) return FALSE;
    const QFontMetrics fm(GetDCFontRec(dc)->font);
    size->cx = fm.horizontalAdvance(TextToQStr(text, len));
    size->cy = GetCellHeight(fm);
    return TRUE;
}

// The text is clipped to its cell, so that what it changes is known.
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int len) {
    if (!dc || !text || len < -1) return FALSE;
    if (dc->display) return TRUE;
    const QString s = TextToQStr(text, len);
    const QFontMetrics fm(GetDCFontRec(dc)->font);
    const QRect cell(x, y, fm.horizontalAdvance(s), GetCellHeight(fm));
    PaintText(dc, cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, s, cell);
    return TRUE;
}

// Returns the height of the text, or with DT_VCENTER or DT_BOTTOM where its bottom is below the
// rectangle's top.
int DrawTextA(HDC dc, LPCSTR text, int len, RECT* rect, UINT format) {
    if (!dc || !text || !rect || len < -1) return 0;
    QString s = TextToQStr(text, len);
    if (!(format & DT_SINGLELINE)) s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const int flags = GetQtTextFlags(format);
    const QRect box(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    const QRect used = QFontMetrics(GetDCFontRec(dc)->font).boundingRect(box, flags, s);
    if (format & DT_CALCRECT) {
        rect->right = rect->left + used.width();
        rect->bottom = rect->top + used.height();
        return used.height();
    }
    const int drop = GetLineDrop(format, box.height(), used.height());
    if (dc->display) return drop + used.height();
    const QRect area = (format & DT_NOCLIP) ? QRect(0, 0, dc->bmp->width, dc->bmp->height) : box;
    PaintText(dc, box.translated(0, drop), flags, s, area);
    return drop + used.height();
}
