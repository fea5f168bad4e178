// Small symbols drawn on keys and panels, each fitted into a rectangle in one colour.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

enum Glyph {
    GLYPH_NONE,
    GLYPH_PLUS,
    GLYPH_MINUS,
    GLYPH_ROTATE,  // anticlockwise arrow
    GLYPH_MIRROR,  // left-right arrow
    GLYPH_ENVELOPE,
    GLYPH_SUN,
    GLYPH_SUN_DIM,
    GLYPH_HEART,
    GLYPH_CAMERA,
    GLYPH_FOLDER,
    GLYPH_CROSS,
};

void DrawGlyph(QPainter& p, Glyph glyph, const QRectF& r, const QColor& color);
