#include "about.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "logo.h"
#include "painting.h"
#include "palette.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 260;

void DrawBackdrop(QPainter& painter)
{
    const QRectF all(0, 0, kWidth, kHeight);
    QLinearGradient sky(all.topLeft(), all.bottomRight());
    sky.setColorAt(0, QColor(0x2c, 0x4b, 0x7c));
    sky.setColorAt(1, QColor(0x10, 0x1e, 0x36));
    painter.fillRect(all, sky);
    QRadialGradient glow(QPointF(86, 100), 170);
    glow.setColorAt(0, QColor(0x4f, 0x9c, 0xf0, 70));
    glow.setColorAt(1, QColor(0x4f, 0x9c, 0xf0, 0));
    painter.fillRect(all, glow);
    QRadialGradient teal(QPointF(380, 250), 200);
    teal.setColorAt(0, QColor(0x25, 0xb8, 0xa8, 55));
    teal.setColorAt(1, QColor(0x25, 0xb8, 0xa8, 0));
    painter.fillRect(all, teal);

    painter.setBrush(Qt::NoBrush);
    for (int ring = 0; ring < 5; ++ring) {
        painter.setPen(QPen(QColor(255, 255, 255, 22 - ring * 3), 1));
        painter.drawEllipse(QPointF(400, 0), 90.0 + ring * 42, 70.0 + ring * 34);
    }
    painter.setPen(QPen(QColor(255, 255, 255, 18), 1));
    for (int line = 0; line < 3; ++line) {
        QPainterPath wave;
        const qreal y = 214 + line * 12;
        wave.moveTo(0, y);
        wave.cubicTo(120, y - 26, 260, y + 26, 400, y - 8);
        painter.drawPath(wave);
    }
}

} // namespace

QImage DrawAboutPicture()
{
    QImage image = NewPicture(kWidth, kHeight, Palette::NavyBottom);
    QPainter painter(&image);
    PreparePainter(painter);
    DrawBackdrop(painter);

    DrawSoftShadow(painter, QRectF(44, 72, 88, 88), 20);
    DrawLogo(painter, QRectF(36, 58, 104, 104), 0);

    painter.setPen(Qt::white);
    painter.setFont(LabelFont(50, true));
    painter.drawText(QPointF(160, 108), QStringLiteral("Zanvik"));
    painter.setPen(Palette::Label);
    painter.setFont(LabelFont(20, false));
    painter.drawText(QPointF(162, 140), QStringLiteral("網站離線閱讀器"));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::Amber);
    painter.drawRoundedRect(QRectF(163, 154, 44, 3), 1.5, 1.5);
    painter.setPen(Palette::LabelDim);
    painter.setFont(LabelFont(13, false));
    painter.drawText(QPointF(163, 180), QStringLiteral("排程下載 · 離線瀏覽 · 網頁電話簿"));
    return image;
}
