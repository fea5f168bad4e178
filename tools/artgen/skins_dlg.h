// Ornaments shared by the dialog skins (skins_dlg.cpp) and the stamp dialog (skins_stmpdlg.cpp).
#pragma once

#include <QPainter>
#include <QPointF>

// A row of n small hearts of size s from pale to deep pink, step apart from start.
void DrawHeartRow(QPainter& p, QPointF start, double step, int n, double s);
