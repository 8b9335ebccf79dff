#include "ui/updown.h"

#include <algorithm>

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

TUpDown::TUpDown(QLineEdit& associate, int min, int max, QWidget* parent)
    : QWidget(parent), associate(associate), min(min), max(max)
{
    up = new QToolButton(this);
    up->setArrowType(Qt::UpArrow);
    down = new QToolButton(this);
    down->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {up, down}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(down, &QToolButton::clicked, this, [this] { Step(-1); });
    associate.installEventFilter(this);
}

// A box that holds no number counts as the lower end.
int TUpDown::Position() const
{
    bool number = false;
    int value = associate.text().trimmed().toInt(&number);
    return number ? std::clamp(value, min, max) : min;
}

void TUpDown::SetPosition(int value)
{
    associate.setText(QString::number(std::clamp(value, min, max)));
}

void TUpDown::Step(int by)
{
    SetPosition(Position() + by);
}

void TUpDown::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    int half = height() / 2;
    up->setGeometry(0, 0, width(), half);
    down->setGeometry(0, half, width(), height() - half);
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &associate && event->type() == QEvent::KeyPress && isEnabled()) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
