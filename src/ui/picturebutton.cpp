#include "ui/picturebutton.h"

#include <QMouseEvent>
#include <QPainter>

TPictureButton::TPictureButton(int tag, QWidget* parent) : QWidget(parent), tag(tag)
{
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
}

void TPictureButton::Draw(TFace value, const QImage* from)
{
    face = value;
    picture = value == TFace::Plain ? nullptr : from;
    // Asked from inside our own paint, the face is painted right after.
    if (!painting)
        update();
}

void TPictureButton::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() == Qt::NoButton && OnMouseMove)
        OnMouseMove(this);
    QWidget::mouseMoveEvent(event);
}

void TPictureButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && OnMouseDown)
        OnMouseDown(this);
}

void TPictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (rect().contains(event->position().toPoint()) && OnClick)
        OnClick(this);
    if (OnMouseUp)
        OnMouseUp(this);
}

void TPictureButton::paintEvent(QPaintEvent*)
{
    painting = true;
    if (OnPaint)
        OnPaint(this);
    painting = false;
    if (!picture || picture->isNull())
        return;
    QPainter painter(this);
    painter.drawImage(rect(), *picture, geometry());
}
