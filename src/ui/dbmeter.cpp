#include "ui/dbmeter.h"

#include <QPainter>

namespace {

const QColor kWhite(255, 255, 255);
const QColor kGrey(128, 128, 128);

// num / den to the nearest integer, halves to the even neighbour; exact, so that a half
// stays a half (3 / 50 x 25 is 1.5, not a hair above it).
long long RoundRatio(long long num, long long den)
{
    if (den < 0) {
        num = -num;
        den = -den;
    }
    long long quotient = num / den;
    long long remainder = num % den;
    if (remainder < 0) {
        --quotient;
        remainder += den;
    }
    if (2 * remainder > den || (2 * remainder == den && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

// count x p / span, rounded.
int Scaled(int count, int span, int p)
{
    return static_cast<int>(RoundRatio(static_cast<long long>(count) * p, span));
}

}  // namespace

Tdbmeter::Tdbmeter(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(80, 17);
    Redraw();
}

template <typename T>
void Tdbmeter::Change(T& member, const T& value)
{
    if (member == value)
        return;
    member = value;
    Redraw();
}

void Tdbmeter::SetBevelStyle(TBevelStyle value) { Change(bevelStyle, value); }
void Tdbmeter::SetBevelWidth(int value) { Change(bevelWidth, value == 0 ? 1 : value); }
void Tdbmeter::SetGreens(int value) { Change(greens, value); }
void Tdbmeter::SetYellows(int value) { Change(yellows, value); }
void Tdbmeter::SetReds(int value) { Change(reds, value); }
void Tdbmeter::SetGreenMax(int value) { Change(greenMax, value); }
void Tdbmeter::SetYellowMax(int value) { Change(yellowMax, value); }
void Tdbmeter::SetRedMax(int value) { Change(redMax, value); }
void Tdbmeter::SetGreenColor(const QColor& value) { Change(greenColor, value); }
void Tdbmeter::SetYellowColor(const QColor& value) { Change(yellowColor, value); }
void Tdbmeter::SetRedColor(const QColor& value) { Change(redColor, value); }
void Tdbmeter::SetGreenBack(const QColor& value) { Change(greenBack, value); }
void Tdbmeter::SetYellowBack(const QColor& value) { Change(yellowBack, value); }
void Tdbmeter::SetRedBack(const QColor& value) { Change(redBack, value); }
void Tdbmeter::SetShowJustOne(bool value) { Change(showJustOne, value); }
void Tdbmeter::SetSepWidth(int value) { Change(sepWidth, value); }
void Tdbmeter::SetSepColor(const QColor& value) { Change(sepColor, value); }
void Tdbmeter::SetStyle(Tdbmeterstyle value) { Change(style, value); }
void Tdbmeter::SetDirection(tdbmeterdirection value) { Change(direction, value); }
void Tdbmeter::SetPosition(int value) { Change(position, value); }

int Tdbmeter::LitCount() const
{
    int n = greens + yellows + reds;
    int gm = greens != 0 ? greenMax : 0;
    int ym = yellows != 0 ? yellowMax : 0;
    int p = position;
    int count = 0;
    if (p >= gm + ym + redMax) {
        count = n;
    } else if (p <= gm) {
        count = gm == 0 ? 0 : Scaled(greens, gm, p);
    } else if (p <= gm + ym) {
        // One yellow segment lights as soon as the position passes the green span.
        count = Scaled(yellows, ym, p - gm) + greens;
        if (count == greens)
            ++count;
    } else if (reds != 0) {
        count = Scaled(reds, redMax, p - gm - ym) + greens + yellows;
        if (count == greens + yellows)
            ++count;
    } else {
        count = n;
    }
    if (count == 0 && p != 0)
        count = 1;
    return count;
}

QColor Tdbmeter::SegmentColor(int segment, int lit) const
{
    bool on = showJustOne ? segment == lit : segment <= lit;
    if (segment <= greens)
        return on ? greenColor : greenBack;
    if (segment <= greens + yellows)
        return on ? yellowColor : yellowBack;
    return on ? redColor : redBack;
}

void Tdbmeter::DrawSegments(QImage& image) const
{
    int n = greens + yellows + reds;
    if (n <= 0)
        return;
    bool horizontal = style == Tdbmeterstyle::dsHorizontal;
    int extent = horizontal ? image.width() : image.height();
    int across = (horizontal ? image.height() : image.width()) - 1;
    int size = extent / n;
    if (sepWidth >= size)
        return;
    QPainter painter(&image);
    // A span [from, to) on the layout axis, mirrored for ddLeftUp, across the full width
    // (or height) less one pixel.
    auto fill = [&](int from, int to, const QColor& color) {
        if (direction == tdbmeterdirection::ddLeftUp) {
            int mirrored = extent - to;
            to = extent - from;
            from = mirrored;
        }
        QRect area = horizontal ? QRect(from, 0, to - from, across) : QRect(0, from, across, to - from);
        painter.fillRect(area, color);
    };
    int lit = LitCount();
    for (int i = 1; i <= n; ++i) {
        fill(size * (i - 1), size * i, SegmentColor(i, lit));
        if (sepWidth > 0)
            fill(size * i - sepWidth, size * i + 1, sepColor);
    }
}

void Tdbmeter::DrawBevel(QImage& image) const
{
    if (bevelStyle == TBevelStyle::bvNone)
        return;
    int w = image.width();
    int h = image.height();
    int t = bevelWidth;
    if (t * 3 > h || t * 3 > w)
        t = 1;
    bool lowered = bevelStyle == TBevelStyle::bvLowered;
    QPainter painter(&image);
    for (int k = 0; k < t; ++k) {
        painter.fillRect(QRect(0, h - 1 - k, w, 1), lowered ? kWhite : kGrey);
        painter.fillRect(QRect(w - 1 - k, 0, 1, h), lowered ? kWhite : kGrey);
    }
    for (int k = 0; k < t; ++k) {
        painter.fillRect(QRect(k, k, w - k, 1), lowered ? kGrey : kWhite);
        painter.fillRect(QRect(k, k, 1, h - t - k), lowered ? kGrey : kWhite);
    }
}

void Tdbmeter::Redraw()
{
    QImage image(size(), QImage::Format_RGB32);
    if (!image.isNull()) {
        image.fill(sepColor);
        DrawSegments(image);
        DrawBevel(image);
    }
    bitmap = image;
    update();
}

void Tdbmeter::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Redraw();
}

void Tdbmeter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, bitmap);
}
