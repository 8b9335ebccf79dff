#include "toolbar.h"

#include <QPainter>
#include <QRadialGradient>
#include <array>
#include <iterator>

#include "glyphs.h"
#include "logo.h"
#include "painting.h"
#include "palette.h"

namespace {

constexpr int kWidth = 793;
constexpr int kHeight = 65;

struct Face {
    QRect bounds;
    const char* word;
    void (*glyph)(QPainter&, const QRectF&);
};

// The window lays its picture buttons over exactly these rectangles.
const std::array<Face, 5> kFaces{{
    {{13, 1, 50, 61}, "閱讀", DrawReadingGlyph},
    {{72, 1, 52, 61}, "排程", DrawScheduleGlyph},
    {{132, 1, 52, 61}, "電話簿", DrawPhoneBookGlyph},
    {{191, 1, 56, 61}, "選項", DrawOptionsGlyph},
    {{543, 2, 56, 61}, "斷線", DrawDisconnectGlyph},
}};

void DrawGlow(QPainter& painter, const QPointF& centre, qreal radius, const QColor& colour)
{
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0, colour);
    glow.setColorAt(1, QColor(colour.red(), colour.green(), colour.blue(), 0));
    painter.fillRect(QRectF(0, 0, kWidth, kHeight), glow);
}

void DrawSeparator(QPainter& painter, qreal x)
{
    painter.setPen(QPen(QColor(0, 0, 0, 90), 1));
    painter.drawLine(QPointF(x, 10), QPointF(x, 55));
    painter.setPen(QPen(QColor(255, 255, 255, 28), 1));
    painter.drawLine(QPointF(x + 1, 10), QPointF(x + 1, 55));
}

// Faint arcs and nodes of a network behind the name and the animation.
void DrawNetwork(QPainter& painter)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 16), 1));
    for (int i = 0; i < 4; ++i)
        painter.drawEllipse(QPointF(760, 70), 60.0 + i * 34, 48.0 + i * 26);
    QPainterPath wave;
    wave.moveTo(258, 50);
    wave.cubicTo(330, 30, 420, 66, 534, 40);
    painter.drawPath(wave);
    QPainterPath wave2;
    wave2.moveTo(258, 58);
    wave2.cubicTo(350, 40, 440, 70, 534, 52);
    painter.setPen(QPen(QColor(255, 255, 255, 10), 1));
    painter.drawPath(wave2);
    const QPointF nodes[] = {{622, 46}, {638, 18}, {660, 36}, {684, 14}, {702, 42}, {716, 24}, {646, 56},
                             {676, 54}, {628, 30}};
    const int links[][2] = {{0, 8}, {8, 1}, {1, 2}, {2, 3}, {3, 5}, {2, 4}, {4, 5}, {0, 6}, {6, 2}, {4, 7}, {7, 6}};
    painter.setPen(QPen(QColor(255, 255, 255, 30), 1));
    for (const auto& link : links)
        painter.drawLine(nodes[link[0]], nodes[link[1]]);
    painter.setPen(Qt::NoPen);
    for (size_t i = 0; i < std::size(nodes); ++i) {
        painter.setBrush(i % 3 == 0 ? QColor(0x25, 0xb8, 0xa8, 150) : QColor(255, 255, 255, 70));
        painter.drawEllipse(nodes[i], i % 3 == 0 ? 2.0 : 1.5, i % 3 == 0 ? 2.0 : 1.5);
    }
}

void DrawWordmark(QPainter& painter)
{
    const QRectF mark(318, 14, 36, 36);
    DrawLogo(painter, mark, 0);
    const QFont name = LabelFont(25, true);
    painter.setFont(name);
    painter.setPen(Palette::Label);
    painter.drawText(QPointF(364, 35), QStringLiteral("Zanvik"));
    const QFont tagline = LabelFont(11, false);
    painter.setFont(tagline);
    painter.setPen(Palette::LabelDim);
    painter.drawText(QPointF(365, 50), QStringLiteral("網站離線閱讀"));
}

QImage DrawBackground()
{
    QImage image = NewPicture(kWidth, kHeight, Palette::NavyBottom);
    QPainter painter(&image);
    PreparePainter(painter);
    const QRectF all(0, 0, kWidth, kHeight);
    painter.fillRect(all, VerticalGradient(all, Palette::NavyTop, Palette::NavyBottom));
    DrawGlow(painter, QPointF(120, -20), 190, QColor(0x4f, 0x9c, 0xf0, 46));
    DrawGlow(painter, QPointF(390, 32), 150, QColor(0x25, 0xb8, 0xa8, 30));
    DrawGlow(painter, QPointF(740, 30), 120, QColor(0x4f, 0x9c, 0xf0, 30));
    DrawNetwork(painter);
    DrawSeparator(painter, 256);
    DrawSeparator(painter, 534);
    DrawSeparator(painter, 607);
    DrawWordmark(painter);
    painter.setPen(QPen(QColor(255, 255, 255, 40), 1));
    painter.drawLine(QPointF(0, 0.5), QPointF(kWidth, 0.5));
    painter.setPen(QPen(Palette::NavyEdge, 1));
    painter.drawLine(QPointF(0, kHeight - 0.5), QPointF(kWidth, kHeight - 0.5));
    return image;
}

void DrawPlate(QPainter& painter, const QRectF& card, FaceState state)
{
    switch (state) {
    case FaceState::Normal:
        return;
    case FaceState::Hover:
        painter.setPen(QPen(QColor(255, 255, 255, 70), 1));
        painter.setBrush(VerticalGradient(card, QColor(255, 255, 255, 46), QColor(255, 255, 255, 18)));
        painter.drawPath(RoundedBox(card, 7));
        return;
    case FaceState::Pressed:
        painter.setPen(QPen(QColor(0, 0, 0, 120), 1));
        painter.setBrush(VerticalGradient(card, QColor(0x08, 0x10, 0x20, 150), QColor(0x10, 0x1c, 0x33, 90)));
        painter.drawPath(RoundedBox(card, 7));
        return;
    case FaceState::Raised:
        painter.setPen(QPen(QColor(0x7d, 0xa6, 0xdc), 1));
        painter.setBrush(VerticalGradient(card, QColor(0x4d, 0x78, 0xb4), QColor(0x2b, 0x4d, 0x84)));
        painter.drawPath(RoundedBox(card, 7));
        painter.setPen(QPen(QColor(255, 255, 255, 70), 1));
        painter.drawLine(QPointF(card.left() + 6, card.top() + 1.5), QPointF(card.right() - 6, card.top() + 1.5));
        painter.setPen(Qt::NoPen);
        painter.setBrush(Palette::Amber);
        painter.drawRoundedRect(QRectF(card.left() + 9, card.bottom() - 4, card.width() - 18, 2.5), 1.2, 1.2);
        return;
    }
}

void DrawFace(QPainter& painter, const Face& face, FaceState state)
{
    painter.save();
    painter.setClipRect(face.bounds);
    const QRectF bounds(face.bounds);
    DrawPlate(painter, bounds.adjusted(1.5, 1.5, -1.5, -1.5), state);
    const qreal shift = state == FaceState::Pressed ? 1 : 0;
    const qreal glyph = 30;
    face.glyph(painter, QRectF(bounds.center().x() - glyph / 2 + shift, bounds.top() + 6 + shift, glyph, glyph));
    const QColor ink = state == FaceState::Normal ? Palette::Label : QColor(Qt::white);
    DrawCentredText(painter, QRectF(bounds.left() + shift, bounds.top() + 38 + shift, bounds.width(), 16),
                    QString::fromUtf8(face.word), LabelFont(12, true), ink);
    painter.restore();
}

} // namespace

QImage DrawToolbar(FaceState state)
{
    QImage image = DrawBackground();
    QPainter painter(&image);
    PreparePainter(painter);
    for (const Face& face : kFaces)
        DrawFace(painter, face, state);
    return image;
}
