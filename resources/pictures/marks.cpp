#include "marks.h"

#include <QPainter>
#include <QtMath>
#include <functional>

#include "painting.h"
#include "palette.h"

namespace {

QPen RoundPen(const QColor& colour, qreal width)
{
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

QImage Mark(const QColor& background, const std::function<void(QPainter&)>& draw)
{
    QImage image = NewPicture(16, 16, background);
    QPainter painter(&image);
    PreparePainter(painter);
    draw(painter);
    return image;
}

void DrawDisc(QPainter& painter, const QPointF& centre, qreal radius, const QColor& top, const QColor& bottom)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(VerticalGradient(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
                                      top, bottom));
    painter.drawEllipse(centre, radius, radius);
}

} // namespace

QImage DrawTickMark()
{
    return Mark(Qt::white, [](QPainter& painter) {
        painter.setPen(RoundPen(QColor(0x2e, 0x9d, 0x5b), 2.4));
        painter.drawPolyline(QPolygonF({{3.2, 8.4}, {6.6, 11.8}, {12.9, 4.4}}));
    });
}

QImage DrawFailureMark()
{
    return Mark(Qt::white, [](QPainter& painter) {
        DrawDisc(painter, {8, 8}, 7, Palette::Red, Palette::RedDeep);
        painter.setPen(RoundPen(Qt::white, 2));
        painter.drawLine(QPointF(8, 4.2), QPointF(8, 8.6));
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(8, 11.6), 1.15, 1.15);
    });
}

QImage DrawCrossMark()
{
    return Mark(Qt::white, [](QPainter& painter) {
        painter.setPen(RoundPen(Palette::Slate, 2.2));
        painter.drawLine(QPointF(4, 4), QPointF(12, 12));
        painter.drawLine(QPointF(12, 4), QPointF(4, 12));
    });
}

QImage DrawInfoMark()
{
    return Mark(Palette::Window, [](QPainter& painter) {
        DrawDisc(painter, {8, 8}, 7, Palette::Sky, Palette::SkyDeep);
        painter.setPen(RoundPen(Qt::white, 2));
        painter.drawLine(QPointF(8, 7.4), QPointF(8, 11.8));
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(8, 4.5), 1.15, 1.15);
    });
}

QImage DrawClockPicture()
{
    QImage image = NewPicture(48, 48, Palette::Window);
    QPainter painter(&image);
    PreparePainter(painter);
    const QPointF centre(22, 23);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 28));
    painter.drawEllipse(centre + QPointF(0, 1.5), 19, 19);
    DrawDisc(painter, centre, 19, Palette::Sky, Palette::SkyDeep);
    DrawDisc(painter, centre, 15.5, Qt::white, QColor(0xe6, 0xee, 0xf8));
    for (int hour = 0; hour < 12; ++hour) {
        const qreal angle = qDegreesToRadians(hour * 30.0);
        const qreal inner = hour % 3 == 0 ? 11.2 : 12.6;
        const QPointF direction(qSin(angle), -qCos(angle));
        painter.setPen(RoundPen(hour % 3 == 0 ? Palette::Ink : Palette::Slate, hour % 3 == 0 ? 1.8 : 1.1));
        painter.drawLine(centre + direction * inner, centre + direction * 13.8);
    }
    painter.setPen(RoundPen(Palette::Ink, 2.4));
    painter.drawLine(centre, centre + QPointF(-5.2, -4.6));
    painter.setPen(RoundPen(Palette::Ink, 1.8));
    painter.drawLine(centre, centre + QPointF(0, -10.5));
    painter.setPen(RoundPen(Palette::Red, 1.1));
    painter.drawLine(centre + QPointF(-2.4, -2.4), centre + QPointF(7.4, 7.4));
    DrawDisc(painter, centre, 1.8, Palette::Red, Palette::RedDeep);

    const QPointF badge(37, 36);
    painter.setPen(QPen(Palette::Window, 2));
    painter.setBrush(VerticalGradient(QRectF(badge - QPointF(9, 9), badge + QPointF(9, 9)), Palette::Teal,
                                      Palette::TealDeep));
    painter.drawEllipse(badge, 9, 9);
    painter.setPen(RoundPen(Qt::white, 2));
    painter.drawLine(badge + QPointF(0, -4.6), badge + QPointF(0, 3.6));
    painter.drawPolyline(QPolygonF({badge + QPointF(-3.6, 0.4), badge + QPointF(0, 4), badge + QPointF(3.6, 0.4)}));
    return image;
}
