#include "ui/statuscelldelegate.h"

#include <QPainter>

TStatusCellDelegate::TStatusCellDelegate(TPick pick, QSize box, QObject* parent)
    : QStyledItemDelegate(parent), pick(std::move(pick)), box(box)
{
}

QPoint TStatusCellDelegate::PictureOrigin(const QRect& cell) const
{
    return {cell.left() + (cell.width() - box.width()) / 2, cell.top() + (cell.height() - box.height()) / 2};
}

void TStatusCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->fillRect(option.rect, Qt::white);
    const QImage* picture = pick(index.data(Qt::DisplayRole).toString());
    if (picture && !picture->isNull())
        painter->drawImage(PictureOrigin(option.rect), *picture);
}
