#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>

class QPainter;

// A blank picture of the given size filled with one colour (transparent allowed).
QImage NewPicture(int width, int height, const QColor& fill);

// Smooth edges, smooth scaling and anti-aliased text for every drawing.
void PreparePainter(QPainter& painter);

QPainterPath RoundedBox(const QRectF& box, qreal radius);

// A blurred dark shadow under a rounded box, built from widening translucent layers.
void DrawSoftShadow(QPainter& painter, const QRectF& box, qreal radius);

// Vertical two-stop gradient over the box.
QBrush VerticalGradient(const QRectF& box, const QColor& top, const QColor& bottom);

// The font of every label: the Traditional Chinese sans face, which also carries Latin.
QFont LabelFont(int pixelSize, bool bold);

// Text centred in the box; the baseline is placed from the font's own metrics so that
// Chinese labels sit in the middle of their box and not on the Latin baseline.
void DrawCentredText(QPainter& painter, const QRectF& box, const QString& text,
                     const QFont& font, const QColor& colour);
