#include "ui/animated.h"

#include <QPainter>

TAnimated::TAnimated(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(30, 30);
}

TAnimated::~TAnimated() = default;

void TAnimated::SetBitMap(const QPixmap& value)
{
    bitmap = value;
    resize(width(), bitmap.height() > 0 ? bitmap.height() : 30);
    update();
}

void TAnimated::SetFrameCount(int value)
{
    frameCount = value < 1 ? 1 : value;
    if (frame >= frameCount)
        SetFrame(frame);
}

void TAnimated::SetFrame(int value)
{
    int next = value < 0 ? frameCount - 1 : value % frameCount;
    if (next == frame)
        return;
    frame = next;
    if (OnChangeFrame)
        OnChangeFrame(this);
    update();
}

void TAnimated::StartTimer()
{
    timer.reset();
    if (!play || interval <= 0)
        return;
    timer = std::make_unique<QTimer>();
    timer->setInterval(interval);
    QObject::connect(timer.get(), &QTimer::timeout, this, [this] { Tick(); });
    timer->start();
}

void TAnimated::SetInterval(int milliseconds)
{
    if (milliseconds == interval)
        return;
    interval = milliseconds;
    StartTimer();
}

void TAnimated::SetPlay(bool value)
{
    if (value == play)
        return;
    play = value;
    StartTimer();
}

void TAnimated::SetTransparentColor(const QColor& value)
{
    if (value == transparentColor)
        return;
    transparentColor = value;
    update();
}

void TAnimated::Tick()
{
    if (!reverse) {
        SetFrame(frame + 1);
        if (frame == frameCount - 1)
            EndOfRun();
    } else {
        SetFrame(frame - 1);
        if (frame == 0)
            EndOfRun();
    }
}

// A run that does not loop rests on its last frame (frame 0 in reverse).
void TAnimated::EndOfRun()
{
    if (!loop)
        SetPlay(false);
}

void TAnimated::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (bitmap.height() == 0) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    QRect source(width() * frame, 0, width(), height());
    if (!transparentColor.isValid()) {
        painter.drawPixmap(rect(), bitmap, source);
        return;
    }
    QImage picture = bitmap.copy(source).toImage().convertToFormat(QImage::Format_RGB32);
    QRgb clear = transparentColor.rgb();
    QRgb background = palette().color(backgroundRole()).rgb();
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if ((line[x] & 0xffffff) == (clear & 0xffffff))
                line[x] = background;
    }
    painter.drawImage(rect(), picture);
}
