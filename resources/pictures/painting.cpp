#include "painting.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>

#include "fontcheck.h"

QImage NewPicture(int width, int height, const QColor& fill)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

void PreparePainter(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

QPainterPath RoundedBox(const QRectF& box, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(box, radius, radius);
    return path;
}

void DrawSoftShadow(QPainter& painter, const QRectF& box, qreal radius)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 14));
    for (int layer = 0; layer < 8; ++layer)
        painter.drawPath(RoundedBox(box.adjusted(-layer, -layer, layer, layer), radius + layer));
    painter.restore();
}

QBrush VerticalGradient(const QRectF& box, const QColor& top, const QColor& bottom)
{
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return QBrush(gradient);
}

QFont LabelFont(int pixelSize, bool bold)
{
    QFont font(ChineseFontFamily());
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

void DrawCentredText(QPainter& painter, const QRectF& box, const QString& text,
                     const QFont& font, const QColor& colour)
{
    const QFontMetricsF metrics(font);
    const QRectF ink = metrics.tightBoundingRect(text);
    const qreal x = box.center().x() - metrics.horizontalAdvance(text) / 2;
    const qreal y = box.center().y() - ink.center().y();
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QPointF(qRound(x), qRound(y)), text);
    painter.restore();
}
