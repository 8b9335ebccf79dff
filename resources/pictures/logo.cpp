#include "logo.h"

#include <QLinearGradient>
#include <QPainter>

#include "painting.h"
#include "palette.h"

namespace {

QPointF Corner(int phase)
{
    switch (phase % 4) {
    case 0:
        return {0.82, 0.18};
    case 1:
        return {0.82, 0.82};
    case 2:
        return {0.18, 0.82};
    default:
        return {0.18, 0.18};
    }
}

} // namespace

void DrawLogo(QPainter& painter, const QRectF& box, int phase)
{
    painter.save();
    painter.translate(box.topLeft());
    const qreal size = box.width();
    const auto at = [size](qreal x, qreal y) { return QPointF(x * size, y * size); };

    const QRectF tile(at(0.08, 0.08), at(0.92, 0.92));
    QLinearGradient fill(tile.topLeft(), tile.bottomRight());
    fill.setColorAt(0, Palette::Sky);
    fill.setColorAt(0.55, Palette::SkyDeep);
    fill.setColorAt(1, Palette::TealDeep);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(RoundedBox(tile, size * 0.22));
    QLinearGradient sheen(tile.topLeft(), tile.bottomLeft());
    sheen.setColorAt(0, QColor(255, 255, 255, 70));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
    painter.setBrush(sheen);
    painter.drawPath(RoundedBox(tile, size * 0.22));

    // Faint lines of a globe behind the Z, for sizes where they can be seen.
    if (size >= 32) {
        painter.save();
        painter.setClipPath(RoundedBox(tile, size * 0.22));
        painter.setPen(QPen(QColor(255, 255, 255, 34), qMax(1.0, size * 0.012)));
        painter.setBrush(Qt::NoBrush);
        const QPointF centre = tile.center();
        const qreal radius = size * 0.36;
        painter.drawEllipse(centre, radius, radius);
        painter.drawEllipse(centre, radius * 0.45, radius);
        painter.drawLine(centre - QPointF(radius, 0), centre + QPointF(radius, 0));
        painter.restore();
    }

    // The bars of the Z sit on whole pixels so that the small icons stay sharp.
    const qreal width = qMax<qreal>(2, qRound(size * 0.12));
    const qreal offset = qRound(width) % 2 == 1 ? 0.5 : 0;
    const qreal top = qRound(size * 0.32) + offset;
    const qreal bottom = qRound(size * 0.68) + offset;
    QPen stroke(Qt::white, width);
    stroke.setJoinStyle(Qt::RoundJoin);
    stroke.setCapStyle(Qt::RoundCap);
    painter.setPen(stroke);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF({{size * 0.33, top}, {size * 0.67, top}, {size * 0.33, bottom},
                                    {size * 0.67, bottom}}));

    const QPointF dot = at(Corner(phase).x(), Corner(phase).y());
    painter.setPen(QPen(Qt::white, qMax(1.0, size * 0.04)));
    painter.setBrush(VerticalGradient(QRectF(dot - at(0.14, 0.14), dot + at(0.14, 0.14)), Palette::Amber,
                                      Palette::AmberDeep));
    painter.drawEllipse(dot, size * 0.13, size * 0.13);
    painter.restore();
}
