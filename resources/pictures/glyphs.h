#pragma once

#include <QRectF>

class QPainter;

// The pictures of the toolbar faces and the small marks. Each is drawn on a 32 x 32 grid
// scaled to the given square, so one drawing serves every size.
void DrawReadingGlyph(QPainter& painter, const QRectF& box);
void DrawScheduleGlyph(QPainter& painter, const QRectF& box);
void DrawPhoneBookGlyph(QPainter& painter, const QRectF& box);
void DrawOptionsGlyph(QPainter& painter, const QRectF& box);
void DrawDisconnectGlyph(QPainter& painter, const QRectF& box);
