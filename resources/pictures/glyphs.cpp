#include "glyphs.h"

#include <QPainter>
#include <QtMath>

#include "painting.h"
#include "palette.h"

namespace {

// Maps the 32 x 32 drawing grid onto the box for the lifetime of the object.
class GridScope {
public:
    GridScope(QPainter& painter, const QRectF& box) : painter_(painter)
    {
        painter_.save();
        painter_.translate(box.topLeft());
        painter_.scale(box.width() / 32, box.height() / 32);
    }
    ~GridScope() { painter_.restore(); }
    GridScope(const GridScope&) = delete;
    GridScope& operator=(const GridScope&) = delete;

private:
    QPainter& painter_;
};

QPen Outline(const QColor& colour, qreal width = 1.0)
{
    QPen pen(colour, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void FillShape(QPainter& painter, const QPainterPath& path, const QColor& top,
               const QColor& bottom, const QColor& edge)
{
    painter.setPen(Outline(edge));
    painter.setBrush(VerticalGradient(path.boundingRect(), top, bottom));
    painter.drawPath(path);
}

void DrawLines(QPainter& painter, const QColor& colour, qreal width,
               std::initializer_list<QLineF> lines)
{
    painter.setPen(Outline(colour, width));
    for (const QLineF& line : lines)
        painter.drawLine(line);
}

QPainterPath Page(bool left)
{
    const qreal s = left ? -1 : 1;
    QPainterPath page;
    page.moveTo(16, 9);
    page.quadTo(16 + s * 6.5, 5.8, 16 + s * 13, 7.2);
    page.lineTo(16 + s * 13, 25);
    page.quadTo(16 + s * 6.5, 23.6, 16, 27);
    page.closeSubpath();
    return page;
}

} // namespace

void DrawReadingGlyph(QPainter& painter, const QRectF& box)
{
    GridScope grid(painter, box);
    QPainterPath cover;
    cover.moveTo(16, 11);
    cover.quadTo(9, 7.8, 1.5, 9.5);
    cover.lineTo(1.5, 27.6);
    cover.quadTo(9, 26, 16, 29.6);
    cover.quadTo(23, 26, 30.5, 27.6);
    cover.lineTo(30.5, 9.5);
    cover.quadTo(23, 7.8, 16, 11);
    cover.closeSubpath();
    FillShape(painter, cover, Palette::Amber, Palette::AmberDeep, Palette::AmberDeep.darker(130));
    for (const bool left : {true, false})
        FillShape(painter, Page(left), Palette::Paper, Palette::PaperShade, QColor(0xa9, 0xb9, 0xd0));
    DrawLines(painter, QColor(0x7f, 0x9c, 0xc4), 1.3,
              {{5.5, 12.2, 12.8, 11.6}, {5.5, 15.6, 12.8, 15.0}, {5.5, 19.0, 12.8, 18.4},
               {19.2, 15.0, 26.5, 15.6}, {19.2, 18.4, 26.5, 19.0}, {19.2, 21.8, 24.0, 22.1}});
    QPainterPath ribbon;
    ribbon.moveTo(21.2, 7.4);
    ribbon.lineTo(25.0, 7.3);
    ribbon.lineTo(25.0, 13.8);
    ribbon.lineTo(23.1, 12.3);
    ribbon.lineTo(21.2, 13.8);
    ribbon.closeSubpath();
    FillShape(painter, ribbon, Palette::Red, Palette::RedDeep, Palette::RedDeep);
}

void DrawScheduleGlyph(QPainter& painter, const QRectF& box)
{
    GridScope grid(painter, box);
    const QRectF body(3.5, 6, 25, 23);
    FillShape(painter, RoundedBox(body, 3), Palette::Paper, Palette::PaperShade,
              QColor(0xa9, 0xb9, 0xd0));
    QPainterPath header = RoundedBox(body, 3).intersected(RoundedBox(QRectF(3.5, 6, 25, 7), 0));
    FillShape(painter, header, Palette::Teal, Palette::TealDeep, Palette::TealDeep);
    for (const qreal x : {10.0, 22.0})
        FillShape(painter, RoundedBox(QRectF(x - 1.3, 3, 2.6, 6.5), 1.3), QColor(0xf2, 0xf5, 0xfa),
                  QColor(0xb5, 0xc2, 0xd4), Palette::Slate);
    painter.setPen(Qt::NoPen);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            if (row == 2 && column >= 2)
                continue;
            const bool today = row == 1 && column == 1;
            painter.setBrush(today ? Palette::Amber : QColor(0x9f, 0xb3, 0xcf));
            painter.drawRoundedRect(QRectF(7 + column * 5, 15.5 + row * 4.3, 3, 2.6), 0.7, 0.7);
        }
    }
    const QPointF centre(24, 24);
    painter.setPen(Outline(Palette::Paper, 1.4));
    painter.setBrush(VerticalGradient(QRectF(17, 17, 14, 14), Palette::Amber, Palette::AmberDeep));
    painter.drawEllipse(centre, 6.6, 6.6);
    DrawLines(painter, Palette::Paper, 1.6, {{centre, {24, 20.2}}, {centre, {26.8, 25.4}}});
}

void DrawPhoneBookGlyph(QPainter& painter, const QRectF& box)
{
    GridScope grid(painter, box);
    FillShape(painter, RoundedBox(QRectF(7, 4.2, 20.5, 25.6), 2), Palette::Paper, Palette::PaperShade,
              QColor(0xa9, 0xb9, 0xd0));
    const QColor tabs[] = {Palette::Amber, Palette::Sky, Palette::Red};
    for (int i = 0; i < 3; ++i)
        FillShape(painter, RoundedBox(QRectF(23, 7.5 + i * 6, 6, 4.2), 1.2), tabs[i], tabs[i].darker(115),
                  tabs[i].darker(135));
    const QRectF cover(4, 3, 21.5, 26.5);
    FillShape(painter, RoundedBox(cover, 2.4), Palette::Green, Palette::GreenDeep,
              Palette::GreenDeep.darker(130));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 45));
    painter.drawRect(QRectF(7.2, 3.5, 1.4, 25.5));
    // A handset, the common sign for telephone numbers.
    painter.save();
    painter.translate(14.8, 15.4);
    painter.rotate(-135);
    QPainterPath handset;
    handset.moveTo(-8.6, -1.0);
    handset.cubicTo(-8.6, -7.4, 8.6, -7.4, 8.6, -1.0);
    handset.lineTo(8.6, 2.6);
    handset.quadTo(8.6, 3.4, 7.8, 3.4);
    handset.lineTo(4.4, 3.4);
    handset.quadTo(3.6, 3.4, 3.6, 2.6);
    handset.lineTo(3.6, -0.4);
    handset.cubicTo(1.4, -1.8, -1.4, -1.8, -3.6, -0.4);
    handset.lineTo(-3.6, 2.6);
    handset.quadTo(-3.6, 3.4, -4.4, 3.4);
    handset.lineTo(-7.8, 3.4);
    handset.quadTo(-8.6, 3.4, -8.6, 2.6);
    handset.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::Paper);
    painter.drawPath(handset);
    painter.restore();
}

void DrawOptionsGlyph(QPainter& painter, const QRectF& box)
{
    GridScope grid(painter, box);
    const QPointF centre(16, 16);
    QPainterPath gear;
    gear.addEllipse(centre, 10.6, 10.6);
    for (int tooth = 0; tooth < 8; ++tooth) {
        QTransform turn;
        turn.translate(16, 16);
        turn.rotate(tooth * 45);
        QPainterPath piece;
        piece.addRoundedRect(QRectF(-2.6, -14.4, 5.2, 6), 1.2, 1.2);
        gear = gear.united(turn.map(piece));
    }
    QPainterPath hole;
    hole.addEllipse(centre, 4.4, 4.4);
    gear = gear.subtracted(hole);
    FillShape(painter, gear, QColor(0xf1, 0xf5, 0xfb), QColor(0xa8, 0xb8, 0xcf), QColor(0x6f, 0x82, 0x9e));
    painter.setPen(Outline(Palette::SkyDeep, 2.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 7.3, 7.3);
}

void DrawDisconnectGlyph(QPainter& painter, const QRectF& box)
{
    GridScope grid(painter, box);
    // A plug pulled out of its socket, laid along the diagonal; sparks fly in the gap.
    painter.translate(16, 16);
    painter.rotate(-45);
    painter.setPen(Outline(QColor(0xc9, 0xd4, 0xe3), 2.4));
    painter.setBrush(Qt::NoBrush);
    QPainterPath cables;
    cables.moveTo(-12, 0);
    cables.cubicTo(-16, 0, -16, 5, -20, 5);
    cables.moveTo(13, 0);
    cables.cubicTo(17, 0, 17, -5, 21, -5);
    painter.drawPath(cables);
    for (const qreal y : {-2.6, 2.6})
        FillShape(painter, RoundedBox(QRectF(-3.5, y - 1.2, 5.5, 2.4), 0.8), QColor(0xfb, 0xe3, 0x9c),
                  Palette::AmberDeep, Palette::AmberDeep.darker(125));
    FillShape(painter, RoundedBox(QRectF(-13, -6, 10, 12), 2.6), Palette::Red, Palette::RedDeep,
              Palette::RedDeep.darker(130));
    FillShape(painter, RoundedBox(QRectF(5, -6.5, 9, 13), 2.6), QColor(0xf1, 0xf5, 0xfb),
              QColor(0xa8, 0xb8, 0xcf), QColor(0x6f, 0x82, 0x9e));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x52, 0x63, 0x7c));
    painter.drawRoundedRect(QRectF(5.8, -4.6, 1.8, 9.2), 0.8, 0.8);
    DrawLines(painter, Palette::Amber, 1.5,
              {{3.5, -8.2, 3.5, -12.0}, {1.0, -7.6, -0.6, -10.6}, {6.0, -7.6, 7.6, -10.6},
               {3.5, 8.2, 3.5, 12.0}, {1.0, 7.6, -0.6, 10.6}, {6.0, 7.6, 7.6, 10.6}});
}
