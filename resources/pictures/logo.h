#pragma once

#include <QRectF>

class QPainter;

// The Zanvik mark: a white Z on a blue tile with an amber dot at one corner. The four
// phases move the dot round the tile clockwise, starting at the top right.
void DrawLogo(QPainter& painter, const QRectF& box, int phase);
