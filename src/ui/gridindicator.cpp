#include "ui/gridindicator.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const int kWidth = 12;

}  // namespace

TGridIndicator::TGridIndicator(QWidget* parent) : QHeaderView(Qt::Vertical, parent)
{
    setSectionResizeMode(QHeaderView::Fixed);
    setSectionsClickable(false);
    setHighlightSections(false);
    setFixedWidth(kWidth);
}

void TGridIndicator::SetCurrentRow(int row)
{
    if (row == currentRow)
        return;
    currentRow = row;
    viewport()->update();
}

QSize TGridIndicator::sizeHint() const
{
    return {kWidth, QHeaderView::sizeHint().height()};
}

void TGridIndicator::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    painter->fillRect(rect, palette().button());
    painter->setPen(palette().color(QPalette::Mid));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    if (logicalIndex == currentRow) {
        int middle = rect.center().y();
        QPainterPath arrow;
        arrow.moveTo(rect.left() + 3, middle - 4);
        arrow.lineTo(rect.left() + 8, middle);
        arrow.lineTo(rect.left() + 3, middle + 4);
        arrow.closeSubpath();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->fillPath(arrow, palette().color(QPalette::ButtonText));
    }
    painter->restore();
}
