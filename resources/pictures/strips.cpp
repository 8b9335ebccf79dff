#include "strips.h"

#include <QPainter>
#include <QRadialGradient>
#include <QtMath>

#include "painting.h"
#include "palette.h"

namespace {

constexpr int kGrabFrames = 16;
constexpr int kGrabWidth = 60;
constexpr int kGrabHeight = 52;
constexpr int kSendFrames = 3;
constexpr int kSendSize = 27;

// A globe seen from the side; its meridians turn with the frame number.
void DrawGlobe(QPainter& painter, const QPointF& centre, qreal radius, int frame)
{
    QRadialGradient body(centre + QPointF(-radius * 0.4, -radius * 0.45), radius * 1.5);
    body.setColorAt(0, QColor(0x7c, 0xbc, 0xff));
    body.setColorAt(0.6, Palette::SkyDeep);
    body.setColorAt(1, QColor(0x1a, 0x4a, 0x9a));
    painter.setPen(Qt::NoPen);
    painter.setBrush(body);
    painter.drawEllipse(centre, radius, radius);

    painter.save();
    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);
    painter.setClipPath(disc);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 120), 1));
    for (const qreal latitude : {-40.0, 0.0, 40.0}) {
        const qreal phi = qDegreesToRadians(latitude);
        const qreal y = centre.y() - radius * qSin(phi);
        const qreal half = radius * qCos(phi);
        painter.drawLine(QPointF(centre.x() - half, y), QPointF(centre.x() + half, y));
    }
    for (int meridian = 0; meridian < 4; ++meridian) {
        const qreal lambda = qDegreesToRadians(meridian * 45.0 + frame * 45.0 / 8 - 67.5);
        const qreal reach = radius * qSin(lambda);
        if (qCos(lambda) <= 0)
            continue;
        const QRectF ellipse(centre.x() - qAbs(reach), centre.y() - radius, 2 * qAbs(reach), 2 * radius);
        painter.drawArc(ellipse, reach >= 0 ? -90 * 16 : 90 * 16, 180 * 16);
    }
    painter.restore();
    painter.setPen(QPen(QColor(255, 255, 255, 90), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
}

// The store the pages fall into, with a light that blinks while it writes.
void DrawDrive(QPainter& painter, const QRectF& drive, bool lit)
{
    painter.setPen(QPen(QColor(0x6f, 0x82, 0x9e), 1));
    painter.setBrush(VerticalGradient(drive, QColor(0xf1, 0xf5, 0xfb), QColor(0xa8, 0xb8, 0xcf)));
    painter.drawPath(RoundedBox(drive, 2.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(lit ? QColor(0x5c, 0xf0, 0x8a) : QColor(0x4a, 0x6a, 0x58));
    painter.drawEllipse(QPointF(drive.right() - 3.5, drive.center().y()), 1.5, 1.5);
    painter.setBrush(QColor(0x8a, 0x9b, 0xb3));
    painter.drawRect(QRectF(drive.left() + 3, drive.center().y() - 0.5, drive.width() - 10, 1));
}

void DrawArrow(QPainter& painter, const QPointF& tip)
{
    QPainterPath arrow;
    arrow.moveTo(tip);
    arrow.lineTo(tip + QPointF(-4.5, -4.5));
    arrow.lineTo(tip + QPointF(-1.8, -4.5));
    arrow.lineTo(tip + QPointF(-1.8, -10));
    arrow.lineTo(tip + QPointF(1.8, -10));
    arrow.lineTo(tip + QPointF(1.8, -4.5));
    arrow.lineTo(tip + QPointF(4.5, -4.5));
    arrow.closeSubpath();
    painter.setPen(QPen(Palette::AmberDeep.darker(120), 0.8));
    painter.setBrush(VerticalGradient(arrow.boundingRect(), QColor(0xff, 0xd2, 0x7a), Palette::AmberDeep));
    painter.drawPath(arrow);
}

void DrawGrabFrame(QPainter& painter, int frame)
{
    const QRectF cell(0, 0, kGrabWidth, kGrabHeight);
    // Outside the rounded card the toolbar shows through, at the height the strip sits.
    painter.fillRect(cell, VerticalGradient(QRectF(0, -6, kGrabWidth, 65), Palette::NavyTop, Palette::NavyBottom));
    const QRectF card = cell.adjusted(1.5, 1.5, -1.5, -1.5);
    painter.setPen(QPen(QColor(255, 255, 255, 55), 1));
    painter.setBrush(VerticalGradient(card, QColor(0x31, 0x53, 0x86), QColor(0x18, 0x2c, 0x4f)));
    painter.drawPath(RoundedBox(card, 8));

    // A satellite circles the globe on a tilted orbit: the far half of the orbit passes
    // behind the globe and the near half in front of it.
    const QPointF globe(21, 25);
    const QRectF orbitBox(globe.x() - 17, globe.y() - 17 * 0.55, 34, 34 * 0.55);
    // The resting frame shows the satellite in front, at the lower right.
    const qreal orbit = qDegreesToRadians(120 + frame * 360.0 / kGrabFrames);
    const QPointF satellite = globe + QPointF(17 * qSin(orbit), -17 * 0.55 * qCos(orbit));
    const bool behind = qCos(orbit) > 0;
    const auto drawSatellite = [&] {
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(Palette::Amber);
        painter.drawEllipse(satellite, 2.2, 2.2);
    };
    painter.setPen(QPen(QColor(255, 255, 255, 50), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(orbitBox, 0, 180 * 16);
    if (behind)
        drawSatellite();
    DrawGlobe(painter, globe, 13, frame);
    painter.setPen(QPen(QColor(255, 255, 255, 90), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(orbitBox, 180 * 16, 180 * 16);
    if (!behind)
        drawSatellite();

    DrawArrow(painter, QPointF(48, 17 + (frame % 4) * 4));
    DrawDrive(painter, QRectF(40, 36, 16, 9), frame % 2 == 0);
}

} // namespace

QImage DrawGrabAnimation()
{
    QImage strip = NewPicture(kGrabWidth * kGrabFrames, kGrabHeight, Palette::NavyBottom);
    QPainter painter(&strip);
    PreparePainter(painter);
    for (int frame = 0; frame < kGrabFrames; ++frame) {
        painter.save();
        painter.translate(frame * kGrabWidth, 0);
        painter.setClipRect(QRect(0, 0, kGrabWidth, kGrabHeight));
        DrawGrabFrame(painter, frame);
        painter.restore();
    }
    return strip;
}

QImage DrawSendAnimation()
{
    QImage strip = NewPicture(kSendSize * kSendFrames, kSendSize, Palette::Window);
    QPainter painter(&strip);
    PreparePainter(painter);
    for (int frame = 0; frame < kSendFrames; ++frame) {
        const QPointF source(frame * kSendSize + 6, 21.5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(VerticalGradient(QRectF(source - QPointF(3, 3), source + QPointF(3, 3)), Palette::Sky,
                                          Palette::SkyDeep));
        painter.drawEllipse(source, 2.8, 2.8);
        for (int wave = 0; wave < kSendFrames; ++wave) {
            const qreal radius = 7.0 + wave * 5.5;
            QPen pen(wave <= frame ? Palette::SkyDeep : QColor(0xc4, 0xce, 0xdb), 2.2);
            pen.setCapStyle(Qt::RoundCap);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawArc(QRectF(source.x() - radius, source.y() - radius, 2 * radius, 2 * radius), 0, 90 * 16);
        }
    }
    return strip;
}
