#include "ui/blankrunlabel.h"

#include <algorithm>

#include <QPainter>
#include <QStyle>

namespace {

const int kRoomAround = 5;  // pixels of blank kept on each side of the field

}  // namespace

TBlankRunLabel::TBlankRunLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent)
{
    runStart = std::max(0, static_cast<int>(caption.indexOf("  ")));
    runEnd = runStart;
    while (runEnd < caption.size() && caption[runEnd] == ' ')
        ++runEnd;
    runWidth = fontMetrics().horizontalAdvance(caption.mid(runStart, runEnd - runStart));
}

void TBlankRunLabel::Hold(QWidget* field)
{
    runWidth = std::max(runWidth, field->width() + 2 * kRoomAround);
    resize(sizeHint().width(), std::max(height(), sizeHint().height()));
    const int before = fontMetrics().horizontalAdvance(Before());
    field->move(x() + before + (runWidth - field->width()) / 2, y() + (height() - field->height()) / 2);
}

QSize TBlankRunLabel::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return {metrics.horizontalAdvance(Before()) + runWidth + metrics.horizontalAdvance(After()) + 1,
            metrics.height()};
}

void TBlankRunLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int before = fontMetrics().horizontalAdvance(Before());
    const int flags = Qt::AlignLeft | Qt::AlignVCenter;
    style()->drawItemText(&painter, rect(), flags, palette(), isEnabled(), Before(), foregroundRole());
    style()->drawItemText(&painter, rect().adjusted(before + runWidth, 0, 0, 0), flags, palette(), isEnabled(),
                          After(), foregroundRole());
}
