#include "ui/blankrun.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QLabel>

namespace {

const int kRoomAround = 6;  // pixels of blank kept on each side of the field

}  // namespace

void PlaceInBlankRun(QLabel* label, QWidget* field)
{
    const QString text = label->text();
    const int start = text.indexOf("  ");
    if (start < 0)
        return;
    int end = start;
    while (end < text.size() && text[end] == ' ')
        ++end;
    const int blanks = end - start;

    QFont font = label->font();
    const int needed = field->width() + 2 * kRoomAround;
    const int run = QFontMetrics(font).horizontalAdvance(text.mid(start, blanks));
    if (run < needed) {
        font.setWordSpacing(font.wordSpacing() + std::ceil(double(needed - run) / blanks));
        label->setFont(font);
    }
    const QFontMetrics metrics(font);
    const int before = metrics.horizontalAdvance(text.left(start));
    const int width = metrics.horizontalAdvance(text.mid(start, blanks));
    label->resize(metrics.horizontalAdvance(text) + 2, std::max(label->height(), metrics.height()));
    field->move(label->x() + before + (width - field->width()) / 2,
                label->y() + (label->height() - field->height()) / 2);
}
